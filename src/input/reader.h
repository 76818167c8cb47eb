// Reader of the annotated input files.
//
// Every input value is followed by two quoted texts (its name and its unit
// or a remark); comments stand between two slashes.  The routines below read
// the values, copy the annotations into the results file as they go, and
// consume the stream character by character exactly as the echo requires:
// nothing is ever read back.  A file that ends too early, or text where a
// number is expected, stops the run with a message that names the file and
// the record.  Beside the record, a message names the line of the file as an
// editor counts it (from 1), in one form: "record 11 (line 28, <name text>)",
// or "record 11 (line 28)" before the name text is read.  The line is that
// of the value the message is about, or, for a message about a whole record,
// the line of the record's first number.
#pragma once

#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "context/in_file.h"
#include "model/real.h"

struct Run;
namespace inputranges {
struct Range;
}


// Every number stored into the model state is checked against the range of
// its quantity (model/input_ranges.def) when the texts of its record are
// read: a number outside stops the run with a message that names the file,
// the record, its line and label, and the range; a money amount beyond the
// warning size warns.
//
// A range that depends on other inputs (a part of the pregnancy, at most
// its length) is checked by the reading code, right after the record is
// read, with requireIn.  A value outside stops the run with a message that
// names the file, the record and this range.
struct Allowed {
    double lo, hi;
    bool loOpen;       // lo itself is not allowed
    const char* text;  // the range in words, for the message
};

// Stops the run when x lies outside a (element: the number of the value
// within its record, from 1, or 0 for a single value).
void requireIn(InFile& in, double x, const Allowed& a, int element = 0);

// A value that the model can compute with but that is odd (a negative
// price, a discount rate above 0.5): a warning on the console that names
// the file, the record and what is odd; the run goes on.
void warnOdd(InFile& in, const char* what);

// A record whose value may be negative but is odd when it is (a price, a
// cost): read with its echo, and warnOdd(what) when it is below 0.
void readfloatWarnNegative(std::FILE* res, InFile& in, Real& x, const char* what);
void readfloatWarnNegativeIf(InFile& in, std::FILE* res, bool present, Real& x, const char* what);

// Opens an input file of the working directory; stops the run when it
// cannot be opened.  The numbers of an input file may be changed from the
// command line (run.overrides); those of the text fragments never are.
InFile openInput(Run& run, const char* name, bool inputValues = true);
void closeInput(InFile& in);

// Whether s is a decimal number as the input files write one: optional
// sign, digits with an optional decimal point (at least one digit),
// optional exponent; no hexadecimal, no "nan" or "inf".
bool decimalNumber(const char* s);

// The stored value of a number as the input files write it: converted once,
// to the nearest value of the storage precision (not through a double).
RealStored toStored(const char* text);

// Numbers stored into the model state are read by the forms that take the
// element: the reader stores the value itself, so that a tracing reading
// (run.overrides) learns which element each number of a file goes to,
// whatever the reading code does to the element before or after.  The forms
// that return the value are for numbers that the model does not keep as
// they stand (the parts of a date, the echo of PARAS.TXT).

// One value of a vector record (the caller reads the numbers of the record
// itself, then calls wrides and echoes the values).
RealStored readNum(InFile& in);
int readInt(InFile& in);
void readNum(InFile& in, Real& x);
void readInt(InFile& in, int& x);

// Scalar records: the value with "%f" or "%d", then the two texts, echoed
// as "<texts>   (<unit>):%12.4f " or "):  %d ".
RealStored readfloat(std::FILE* res, InFile& in);
int readint(std::FILE* res, InFile& in);
void readfloat(std::FILE* res, InFile& in, Real& x);
void readint(std::FILE* res, InFile& in, int& x);
void readfloat(std::FILE* res, InFile& in, Real& x, const Allowed& a);

// Date record: year, month, day and the two texts; returns the day number
// 365 * year + day of the year, or -1 for an invalid date.  Valid dates have
// a year from 0 to 10, a month from 1 to 12 and a day of that month in a
// common year, but for 29 February (which is day 60, as 1 March).
int readymd(InFile& in, std::FILE* res);
// The same, stored at day (a tracing reading notes the date).  An invalid
// date stops the run after its echo, with a message that begins "The date
// <what>is wrong." (what: e.g. "of lambing ") and names the file, the
// record, its line, the date as written and which part of it is wrong.
void readymd(InFile& in, std::FILE* res, int& day, const char* what);

// Day of the year of a month and day of a common year (January 1 is 1).
int dsjf(int month, int day);

// Skips everything up to and including the fourth double quote: one whole
// record whose quantity is not needed.
void readdes(InFile& in);

// Skips n records (n calls of readdes).
void readdes(InFile& in, int n);

// A scalar record that always stands in the file: read into x (with its
// echo) when present, otherwise skipped.
void readfloatIf(InFile& in, std::FILE* res, bool present, Real& x);
void readfloatIf(InFile& in, std::FILE* res, bool present, Real& x, const Allowed& a);

// Skips a comment: everything up to and including the second slash.
void readcom(InFile& in);

// Echoes the two texts that end a vector record or a date: a line break,
// the name, "   (", the unit, "):".
void wrides(InFile& in, std::FILE* res);

// A whole vector record of n values stored at first[0], first[stride],
// first[2 * stride], ...: reads the numbers, echoes the texts (wrides) and
// then every value with fmt (for example "%8.3f"), without separators.
void readVectorRecord(InFile& in, std::FILE* res, Real* first, int n, int stride, const char* fmt);
void readVectorRecord(InFile& in, std::FILE* res, int* first, int n, int stride, const char* fmt);

// What stands between the numbers of a record and its name text, checked
// for a record whose numbers the caller has read itself as rows of cols
// numbers, one row after the other: call it after the last number and
// before any check of the values.  Numbers standing there are numbers of
// the file that the system does not read, because its numbers of cycles,
// classes or variants make the record shorter than the file.  Where the
// file writes the rows one per line and a row was read from the line where
// the row before it ends, the extra numbers have been taken for values of
// the next rows: the run stops.  Otherwise they are ignored, with a warning
// once the name text is read.  The name text routines make this check
// themselves (the record taken as one row) where the caller has not; it
// is made once per record.
void checkRecordEnd(InFile& in, int rows, int cols);

// A whole matrix record, read row by row (rows values of cols numbers each,
// element [r][c] at first[r * rowStride + c * colStride]); echoed as the
// texts, then each row preceded by a line break, every value with fmt.
void readMatrixRecord(InFile& in, std::FILE* res, Real* first, int rows, int rowStride, int cols, int colStride,
                      const char* fmt);

// Echo of the nine system-variable records of PARAS.TXT.
void sysvar(InFile& in, std::FILE* res);

// One system-variable record: the integer and its one text, not echoed.
int readsyva(InFile& in);
void readsyva(InFile& in, int& x);

// Heading of section 2.s of the results file for input file f.
void inp00(std::FILE* res, int f, int s);

// Copies the next text fragment (and what precedes its opening quote) to
// the results file without the quotes; outputr skips it.
void outputrw(InFile& in, std::FILE* res);
void outputr(InFile& in);
