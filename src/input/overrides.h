// Changes of input values by name, asked for on the command line
// (--set NAME=VALUE, --scale NAME=FACTOR, and the values of a sweep), and
// the list of the numbers that can be changed (--list).
//
// A change acts on the number in the input file that the element is read
// from: the reader gets the new number in place of the file's, so that the
// echo in the results file, the checks of the value and everything derived
// from it while the inputs are read are as if the file held the new number.
// Where an element's number stands is found by a tracing reading of the
// inputs beforehand: the reader stores every number into the element the
// reading code names, and notes which number of which file went where.
// What the reading code does to the element before or after (clearing it,
// giving it a default, deriving other values from it) cannot mislead this.
#pragma once

#include <string>
#include <vector>

#include "model/quantities.h"

struct InFile;
struct Model;
struct Run;

struct Override {
    std::string name;       // the element as typed, e.g. "prlwwL[2]" or "prfE[*][1]"
    bool scale = false;     // --scale: the file's number times `number`
    std::string option;     // the option that asks for it, for messages ("--set", "--scale", "--sweep")
    double number = 0;      // the value (--set) or the factor (--scale)
    std::string valueText;  // the value as typed (--set)
    std::string base;       // the quantity's name
    std::vector<int> idx;   // the element's indices; kAny for an index written *
    quantities::Element element;  // the element (not for a pattern)

    static constexpr int kAny = -1;
    bool pattern() const;

    // Where a number stands: the file, the count of numbers read from that
    // file before it (since the file was opened), its line and record,
    // whether the reader takes a whole number there, and the number as the
    // file writes it.
    struct Where {
        std::string file;
        int token = -1;
        int line = 0;
        int record = 0;
        bool whole = false;
        std::string text;
        long offset = -1;  // byte offset of the number in the file
        bool operator==(const Where& o) const { return file == o.file && token == o.token; }
    };
    Where at;              // the number of the element, found by locating
    std::string usedText;  // the number the reader gets instead of at.text
    bool applied = false;  // the reader took usedText in this run
};

// Parses "NAME=VALUE" or "NAME[i][j]=VALUE" (an index may be *) into o,
// not yet located.  On a fault returns false with a message in error.
bool parseOverride(const std::string& text, bool scale, Override& o, std::string& error);

// A number of an input file that the reader stored into an element of the
// model state during a tracing reading.
struct TracedNumber {
    Override::Where where;
    quantities::Element element;
    std::string base;           // the quantity
    std::vector<int> idx;       // the element's indices
    std::string name;           // as --set takes it: "prfE[1][1]"
    std::string label, unit;    // the texts of its record
    std::string usedText;       // the number as the reader took it (a change replaces the file's)
    bool storedAsRead = true;   // the element still held the number when its file was closed
    bool date = false;          // the day number of a date: year, month and day ending with this number
};

class Overrides {
public:
    std::vector<Override> items;

    // A tracing reading notes every number stored into the model (trace).
    bool tracing = false;
    std::vector<TracedNumber> trace;

    // Hooks of the reader: an input file opened or closed, the text of every
    // number read (which a located change replaces; at most `capacity` - 1
    // characters are written), a number stored at `element`, and the texts
    // of a record read.
    void opened(Run& run, InFile& in);
    void closed(Run& run, InFile& in);
    void number(Run& run, InFile& in, char* text, std::size_t capacity, bool whole);
    void stored(Run& run, InFile& in, const void* element, bool date = false);
    void recordRead(InFile& in);

    // Before a tracing reading: forget the last trace.
    void startTracing();

    // After a tracing reading: patterns become the elements they match (anew
    // each time), and every change gets the place of its number (`at`);
    // `same` tells whether every place is the one found before.  A change
    // that no number of the inputs is stored into as it stands gives false,
    // with the reason and what to do instead in error; after a reading that
    // stopped early (not `complete`) such a change stays unplaced instead
    // (no `at`, not made), since the reading may not have reached it.
    bool locate(bool complete, std::string& error, bool& same);

    // Sets usedText of every change from `at` (the factor of --scale times
    // the file's number); a whole number that would get a fraction is a
    // fault, put into error.
    bool prepare(std::string& error);

    // The numbers that can be changed by name after a tracing reading: the
    // last number stored into each element that kept it, in reading order
    // (a date, three numbers, is not one of them).
    std::vector<const TracedNumber*> changeable() const;

private:
    const TracedNumber* numberOf(const quantities::Element& e) const;
    std::vector<Override> asked_;  // the changes as asked for, patterns unexpanded
    bool haveLast_ = false;
    Override::Where last_;
    std::string lastUsed_;
};

// A value as a change writes it into the file: at most 15 significant
// digits, so that a product or a step of a sweep has no rounding digits.
std::string decimalText(double v);

// The number as --list shows it and --set takes it: the value the reader
// stored from the file (which the model may change later, in the base
// evaluation), as a whole number or the shortest decimal text that reads
// back to that value.
std::string valueText(const TracedNumber& t);
