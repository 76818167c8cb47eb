// Machine-readable output of the economic weights: a CSV table, a JSON
// document, the rows of a sweep, and the relative emphasis of the traits as
// an SVG bar chart.  All of them are written from the model state after the
// economic-weight loop (which holds the base values and the weights).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

struct Model;

namespace exporting {

// The program as the JSON document names it (the version is the one the
// console banner of a run shows).
inline constexpr const char* kProgramName = "KARVEL1";
inline constexpr const char* kProgramVersion = "1.1.6";

// Name and unit of trait t (1 .. 35); the unit is that of the reported
// weight (evp): the change of the profit per ewe and year per this unit.
// The key is a short name made from the name (letters, digits and '_'),
// unique among the traits, for the column names of the sweep table.
struct TraitInfo {
    const char* name;
    const char* unit;
    const char* key;
};
const TraitInfo& trait(int t);

// Genetic standard deviations per trait, in the units of the reported
// weights.  has[t] is false for a trait the table leaves out.
struct SdTable {
    double sd[36] = {};
    bool has[36] = {};
};

// Reads a table of standard deviations: one trait per line, its number
// (1 .. 35) and the standard deviation (a finite number, 0 or more),
// separated by white space or a comma; blank lines and lines that begin
// with '#' are skipped.  On a fault returns false and puts a message that
// names the file and the line into error.
bool readSdTable(const std::string& path, SdTable& out, std::string& error);

// A value changed from the command line, noted in the outputs.
struct ChangedValue {
    std::string name;   // as typed, e.g. "prlwwL[2]"
    std::string file;   // input file that holds it
    int record = 0;     // record number within that file (from 1)
    std::string from;   // the number in the file
    std::string to;     // the number used
};

// The weights as a table: one row per trait (all 35) and weight column of
// m's system (pure-bred, cross-bred, combined as ewopt gives them).  Status
// "evaluated" (the loop computed the weight), "skipped" (the system has the
// trait but the loop does not evaluate it in that column: weight 0, as the
// results file prints it) or "not in this system" (weights::inSystem is
// false: NA).  Numbers are rounded to 8 significant digits; "NA" marks a
// number that is not available.  sd may be null.  Returns false when
// writing failed.
bool writeCsv(const Model& m, const SdTable* sd, std::FILE* out);

// The weights (the rows of the CSV table, null for NA), the totals per ewe
// and year, the main flock figures, the system variables and the changed
// values.  Every number is written with the shortest text that reads back
// to the same double.  sd may be null.
bool writeJson(const Model& m, const SdTable* sd, const std::vector<ChangedValue>& changes, std::FILE* out);

// The relative emphasis of every evaluated trait with a standard deviation
// as a horizontal bar chart, the pure-bred and cross-bred columns side by
// side.
bool writeChart(const Model& m, const SdTable& sd, std::FILE* out);

// The numbers of one complete run of a sweep, as the cells of its row.
// For each weight column k of the run's system (0 combined, 1 pure-bred,
// 2 cross-bred) cells[k][0] holds the 35 weights of the column and, with an
// sd table, cells[k][1] the 35 standardised weights and cells[k][2] the 35
// relative emphases; each cell is preceded by a comma and holds the CSV
// table's number or NA.
struct SweepNumbers {
    bool column[3] = {};
    std::string profit;  // Tprof
    std::string cells[3][3];
};
SweepNumbers sweepNumbers(const Model& m, const SdTable* sd);

// One run of a sweep: the values of the swept quantities, its status and
// message (one line), and its numbers where it ran to the end (complete).
struct SweepRow {
    std::vector<std::string> values;
    bool complete = false;
    std::string status;
    std::string message;
    SweepNumbers numbers;
};

// The sweep table: each note as a line beginning with "# "; the header
// (the swept quantities, status, message, Tprof, then the weight columns
// w<t>_<column>_<key>, e.g. w1_pure_birth_weight, of every column that a
// run's system has, pure-bred before cross-bred before combined and trait 1
// to 35 within a column; with sd then the same for std<t>_... and for
// emph<t>_...);
// one line per row, with NA for every number of a run that is not complete
// or lacks the column.
bool writeSweep(const std::vector<std::string>& notes, const std::vector<std::string>& swept, bool sd,
                const std::vector<SweepRow>& rows, std::FILE* out);

}  // namespace exporting
