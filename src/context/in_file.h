// An input file open for reading, as the run context holds it (the text
// fragments) and the reader of the input files reads it (input/reader.h).
#pragma once

#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

struct Run;
namespace inputranges {
struct Range;
}

// An input file open for reading; closed when the object goes (also when
// an error stop unwinds the run).
struct InFile {
    std::FILE* f = nullptr;
    const char* name = "";     // file name, for messages
    Run* run = nullptr;
    int record = 0;            // records completed so far
    bool fragments = false;    // a file of text fragments (TEXTS_OUT.TXT)
    char lastName[160] = {};    // name text of the last record read, for messages
    char lastUnit[160] = {};    // its unit text
    int numberLine = 0;         // line of the last number read
    int numbers = 0;           // numbers read since the file was opened
    int line = 1;              // line of the next character, as an editor counts them
    long offset = 0;           // byte offset of the next character in the file
    long numberOffset = 0;     // byte offset of the last number read
    int charLine = 1;          // line of the last character read
    // The record whose numbers are being read or were read last (record + 1
    // while it is read) and the line of each of its numbers in reading order.
    int valuesOf = 0;
    std::vector<int> valueLines;
    // The record whose end (what stands between its numbers and its name
    // text) has been checked, and the extra numbers found there, reported
    // once the name text is known.
    int endCheckedOf = 0;
    int extraNumbers = 0;
    int extraRows = 1;
    const char* extraWhy = "";
    // The numbers of the record being read that lie outside their ranges
    // (input_ranges.def), checked when the record's texts are read.
    struct RangeNote {
        int element;  // from 1
        double value;
        const inputranges::Range* range;
    };
    std::vector<RangeNote> outOfRange;

    InFile() = default;
    InFile(const InFile&) = delete;
    InFile& operator=(const InFile&) = delete;
    InFile(InFile&& o) noexcept { *this = std::move(o); }
    InFile& operator=(InFile&& o) noexcept {
        if (this != &o) {
            if (f) std::fclose(f);
            f = o.f;
            name = o.name;
            run = o.run;
            record = o.record;
            fragments = o.fragments;
            std::memcpy(lastName, o.lastName, sizeof lastName);
            std::memcpy(lastUnit, o.lastUnit, sizeof lastUnit);
            numberLine = o.numberLine;
            numbers = o.numbers;
            line = o.line;
            offset = o.offset;
            numberOffset = o.numberOffset;
            charLine = o.charLine;
            valuesOf = o.valuesOf;
            valueLines = std::move(o.valueLines);
            endCheckedOf = o.endCheckedOf;
            extraNumbers = o.extraNumbers;
            extraRows = o.extraRows;
            extraWhy = o.extraWhy;
            outOfRange = std::move(o.outOfRange);
            o.f = nullptr;
        }
        return *this;
    }
    ~InFile() {
        if (f) std::fclose(f);
    }
};
