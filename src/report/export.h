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
struct TraitInfo {
    const char* name;
    const char* unit;
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

// The weights as a table: one row per trait and column.  sd may be null.
// Returns false when writing failed.
bool writeCsv(const Model& m, const SdTable* sd, std::FILE* out);

// The weights, the totals per ewe and year, the main flock figures, the
// system variables and the changed values.  sd may be null.
bool writeJson(const Model& m, const SdTable* sd, const std::vector<ChangedValue>& changes, std::FILE* out);

// The relative emphasis of every evaluated trait with a standard deviation
// as a horizontal bar chart, the pure-bred and cross-bred columns side by
// side.
bool writeChart(const Model& m, const SdTable& sd, std::FILE* out);

// A sweep: a header naming the swept quantity, the profit and every weight
// column of m's system, then one row per value.
bool writeSweepHeader(const Model& m, const std::string& quantity, std::FILE* out);
bool writeSweepRow(const Model& m, const std::string& value, std::FILE* out);

}  // namespace exporting
