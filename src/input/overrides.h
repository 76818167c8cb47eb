// Changes of input values by name, asked for on the command line
// (--set NAME=VALUE, --scale NAME=FACTOR, and the values of a sweep).
//
// A change acts on the number in the input file that the quantity is read
// from: the reader gets the new number in place of the file's, so that the
// echo in the results file, the checks of the value and everything derived
// from it while the inputs are read are as if the file held the new number.
// Where a quantity's number stands is found by reading the inputs once
// beforehand (locate): the element is given a marker value while each input
// file is read, and the number read just before the marker is overwritten
// is the quantity's.  A quantity that no number of the inputs is stored
// into unchanged (one computed by the model, a date, a value derived from
// several numbers) cannot be changed this way and is refused.
#pragma once

#include <string>
#include <vector>

#include "model/quantities.h"

struct InFile;
struct Model;
struct Run;

struct Override {
    std::string name;       // the element as typed, e.g. "prlwwL[2]"
    bool scale = false;     // --scale: the file's number times `number`
    std::string option;     // the option that asks for it, for messages ("--set", "--scale", "--sweep")
    double number = 0;      // the value (--set) or the factor (--scale)
    std::string valueText;  // the value as typed (--set)
    quantities::Element element;

    // Where the number stands: the file, the count of numbers read from
    // that file before it (since the file was opened), the record, whether
    // the reader takes a whole number there, and the number as the file
    // writes it.  `at` is used by the reader; a locating reading fills
    // `found`.
    struct Where {
        std::string file;
        int token = -1;
        int record = 0;
        bool whole = false;
        std::string text;
        bool storedAsRead = false;
        bool operator==(const Where& o) const { return file == o.file && token == o.token; }
    };
    Where at, found;
    std::string usedText;  // the number the reader gets instead of at.text
    bool applied = false;  // the reader took usedText in this run
};

// Parses "NAME=VALUE" or "NAME[i][j]=VALUE" into o (not yet located).  On a
// fault returns false with a message in error.
bool parseOverride(const std::string& text, bool scale, Override& o, std::string& error);

class Overrides {
public:
    std::vector<Override> items;

    // Locating: markers in the elements while input files are read.
    bool locating = false;

    // Hooks of the reader: an input file opened or closed, and the text of
    // every number read, which a located change replaces (at most
    // `capacity` - 1 characters are written).
    void opened(Run& run, InFile& in);
    void closed(Run& run, InFile& in);
    void number(Run& run, InFile& in, char* text, std::size_t capacity, bool whole);

    // Before a locating reading: forget what an earlier one found.
    void startLocating();
    // After a locating reading: whether every change was found, stored as
    // read (else a message in error); then whether `found` equals `at`
    // everywhere, and `at` = `found`.
    bool located(std::string& error);
    bool settle();

    // Sets usedText of every change from `at` (the factor of --scale times
    // the file's number); a whole number that would get a fraction is a
    // fault, put into error.
    bool prepare(std::string& error);

private:
    void look(Run& run);
    struct Marked {
        std::size_t item;
        unsigned char saved[8];
    };
    std::vector<Marked> marked_;
    bool haveLast_ = false;
    Override::Where last_;
    std::string lastUsed_;
};
