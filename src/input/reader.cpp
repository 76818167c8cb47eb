#include "input/reader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "context/run.h"
#include "input/overrides.h"
#include "model/input_ranges.h"
#include "model/model.h"
#include "model/quantities.h"

namespace {

constexpr int kQuote = 34;
constexpr int kSlash = 47;

// A file that ends while a routine waits for a quote or a slash.
[[noreturn]] void endedEarly(InFile& in, const char* expected) {
    if (in.fragments)
        failCheck(*in.run,
                  "The file %s holds too few text fragments: it ends in fragment %d (line %d),\n"
                  "  where %s is expected.\n"
                  "  Complete the file and restart the program.\n",
                  in.name, in.record + 1, in.charLine, expected);
    failCheck(*in.run,
              "The input file %s ends in record %d (line %d), where %s is expected.\n"
              "  Complete the file and restart the program.\n",
              in.name, in.record + 1, in.charLine, expected);
}

// A byte that no text file holds: a control character other than the
// white-space ones.  Such a file is not an annotated text file (or it is
// damaged), and its bytes are not copied into the results file.
bool binaryByte(int c) { return (c >= 0 && c < 32 && c != '\t' && c != '\n' && c != '\v' && c != '\f' && c != '\r') || c == 127; }

[[noreturn]] void notText(InFile& in, int c) {
    failCheck(*in.run,
              "The file %s holds a byte that is not text (code %d) in record %d (line %d).\n"
              "  It may be damaged or not a text file. Correct the file and restart the program.\n",
              in.name, c, in.record + 1, in.charLine);
}

// The next character of the file, counting the lines; unget puts one back.
int get(InFile& in) {
    const int c = std::fgetc(in.f);
    if (c == EOF) return c;
    ++in.offset;
    in.charLine = in.line;
    if (c == '\n') ++in.line;
    return c;
}

void unget(InFile& in, int c) {
    if (c == EOF) return;
    if (c == '\n') --in.line;
    --in.offset;
    std::ungetc(c, in.f);
}

int nextChar(InFile& in, const char* expected) {
    const int c = get(in);
    if (c == EOF) endedEarly(in, expected);
    if (binaryByte(c)) notText(in, c);
    return c;
}

// The lines of the numbers of the record being read start anew with its
// first number.
void noteValue(InFile& in) {
    if (in.valuesOf != in.record + 1) {
        in.valuesOf = in.record + 1;
        in.valueLines.clear();
    }
    in.valueLines.push_back(in.numberLine);
}

// The line of value `element` (from 1; 0 for a single value) of the record
// read last, or of its first number; the line of the last number read where
// the record's numbers are not known.
int valueLine(const InFile& in, int element) {
    const std::size_t i = element > 0 ? std::size_t(element - 1) : 0;
    if (in.valuesOf == in.record && i < in.valueLines.size()) return in.valueLines[i];
    return in.numberLine;
}

// The characters of one number: everything up to the next white space,
// double quote or slash (at most kToken - 1 of them are kept).
constexpr int kToken = 64;
struct Token {
    char text[kToken] = {};
    bool tooLong = false;
};

// Skips white space and reads the next number's characters; a file that
// ends first stops the run.
Token readToken(InFile& in, const char* expected, bool whole) {
    int c;
    do c = get(in);
    while (c != EOF && std::isspace(c));
    if (c == EOF) endedEarly(in, expected);
    Token t;
    in.numberLine = in.line;
    in.numberOffset = in.offset - 1;
    noteValue(in);
    int n = 0;
    while (c != EOF && !std::isspace(c) && c != kQuote && c != kSlash) {
        if (binaryByte(c)) notText(in, c);
        if (n < kToken - 1) t.text[n++] = char(c);
        else t.tooLong = true;
        c = get(in);
    }
    unget(in, c);
    if (in.run->overrides && !t.tooLong) in.run->overrides->number(*in.run, in, t.text, sizeof t.text, whole);
    return t;
}

bool decimalDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// A number written with a decimal comma ("0,030") where a number with a
// fraction may stand: the line that says how to write it, else "".
std::string decimalCommaHint(const Token& t, bool whole) {
    if (whole || t.tooLong) return "";
    std::string point = t.text;
    const std::size_t comma = point.find(',');
    if (comma == std::string::npos || comma + 1 >= point.size() || !decimalDigit(point[comma + 1])) return "";
    point[comma] = '.';
    if (!decimalNumber(point.c_str())) return "";
    return "  Write numbers with a decimal point, not a comma: " + point + ", not " + t.text + ".\n";
}

// Text where a number is expected.
[[noreturn]] void notANumber(InFile& in, const Token& t, const char* kind, bool whole) {
    std::string seen(t.text, std::min<std::size_t>(std::strlen(t.text), 20));
    // A quote or a slash where the number should begin: show what follows.
    if (seen.empty())
        for (int c; seen.size() < 20 && (c = get(in)) != EOF && !std::isspace(c);) seen += char(c);
    if (t.tooLong || std::strlen(t.text) > 20) seen += "...";
    const std::string hint = decimalCommaHint(t, whole);
    failCheck(*in.run,
              "In the input file %s, record %d (line %d) holds \"%s\" where %s is expected.\n"
              "%s  Correct the record and restart the program.\n",
              in.name, in.record + 1, in.numberLine, printable(seen.c_str()).c_str(), kind, hint.c_str());
}

// Optional sign and decimal digits.
bool wholeNumber(const char* s) {
    if (*s == '+' || *s == '-') ++s;
    if (!std::isdigit(static_cast<unsigned char>(*s))) return false;
    while (std::isdigit(static_cast<unsigned char>(*s))) ++s;
    return *s == '\0';
}

}  // namespace

bool decimalNumber(const char* s) {
    if (*s == '+' || *s == '-') ++s;
    int digits = 0;
    while (std::isdigit(static_cast<unsigned char>(*s))) ++s, ++digits;
    if (*s == '.') {
        ++s;
        while (std::isdigit(static_cast<unsigned char>(*s))) ++s, ++digits;
    }
    if (digits == 0) return false;
    if (*s == 'e' || *s == 'E') {
        ++s;
        if (*s == '+' || *s == '-') ++s;
        if (!std::isdigit(static_cast<unsigned char>(*s))) return false;
        while (std::isdigit(static_cast<unsigned char>(*s))) ++s;
    }
    return *s == '\0';
}

namespace {

// Reads up to and including the n-th character `mark`, writing every other
// character to out (when out is given).
void skipThrough(InFile& in, int mark, int n, std::FILE* out, const char* expected) {
    for (int count = 0; count < n;) {
        const int c = nextChar(in, expected);
        if (c == mark) ++count;
        else if (out) std::fputc(c, out);
    }
}

constexpr const char* kNameExpected = "the name text of the record in double quotes";

// Why the system reads no more numbers of a record than it does.
constexpr const char* kFewerNumbers =
    "it reads fewer numbers than the file holds\n"
    "  because of its numbers of cycles, classes or variants (PARAS.TXT, INPUTS01.TXT, INPUTS03.TXT, ...)";
constexpr const char* kSingleValue = "the record holds a single value";
constexpr const char* kDateNumbers = "a date is a year, a month and a day";

// The lines of the numbers that stand before the name text of the record
// being read, which stays in the stream from its opening quote on; what is
// read is written to echo when given.  Other words standing there are
// passed over, as they always were.
std::vector<int> numbersBeforeName(InFile& in, std::FILE* echo, const char* expected) {
    std::vector<int> lines;
    std::string word;
    int wordLine = 0;
    for (;;) {
        const int c = nextChar(in, expected);
        if ((c == kQuote || std::isspace(c)) && !word.empty()) {
            if (word.size() < std::size_t(kToken) && decimalNumber(word.c_str())) lines.push_back(wordLine);
            word.clear();
        }
        if (c == kQuote) {
            unget(in, c);
            return lines;
        }
        if (echo) std::fputc(c, echo);
        if (std::isspace(c)) continue;
        if (word.empty()) wordLine = in.charLine;
        if (word.size() < std::size_t(kToken)) word += char(c);
    }
}

// For rows of cols numbers read one after the other from a file that writes
// them one per line (the numbers read and the extra ones stand on at least
// as many lines as there are rows): the first row (from 0) that was read
// from the line where the row before it ends, or 0 when none was.
int shiftedRow(const InFile& in, int rows, int cols, const std::vector<int>& extra) {
    const std::vector<int>& v = in.valueLines;
    if (rows < 2 || cols < 1 || v.size() != std::size_t(rows) * std::size_t(cols)) return 0;
    int lines = 1;
    for (std::size_t i = 1; i < v.size(); ++i) lines += v[i] != v[i - 1];
    for (std::size_t i = 0; i < extra.size(); ++i) lines += extra[i] != (i == 0 ? v.back() : extra[i - 1]);
    if (lines < rows) return 0;
    for (int r = 1; r < rows; ++r)
        if (v[std::size_t(r * cols)] == v[std::size_t(r * cols - 1)]) return r;
    return 0;
}

void readName(InFile& in, std::FILE* res, bool writeLeading, const char* expected);

// The check of checkRecordEnd, made once per record (the one being read);
// a warning is left for nameText to give once the name text is known.
void checkEnd(InFile& in, std::FILE* echo, int rows, int cols, const char* why,
              const char* expected = kNameExpected) {
    if (in.endCheckedOf == in.record + 1) return;
    if (in.valuesOf != in.record + 1) {  // a record of which no number is read
        in.valuesOf = in.record + 1;
        in.valueLines.clear();
    }
    in.endCheckedOf = in.record + 1;
    const std::vector<int> extra = numbersBeforeName(in, echo, expected);
    in.extraNumbers = int(extra.size());
    in.extraRows = rows;
    in.extraWhy = why;
    const int r = extra.empty() ? 0 : shiftedRow(in, rows, cols, extra);
    if (r == 0) return;
    readName(in, nullptr, false, expected);
    const int read = int(in.valueLines.size());
    failCheck(*in.run,
              "In the input file %s, record %d (line %d, %s) holds %d numbers,\n"
              "  but the system reads %d of them, %d rows of %d, one row after the other: row %d would\n"
              "  begin on line %d, where row %d ends, and take the numbers of one row for those of another.\n"
              "  The system reads fewer numbers than the file holds because of its numbers of cycles,\n"
              "  classes or variants (PARAS.TXT, INPUTS01.TXT, INPUTS03.TXT, ...).\n"
              "  Remove the numbers it does not read from every row, or correct those numbers,\n"
              "  and restart the program.\n",
              in.name, in.record + 1, in.valueLines.front(), printable(in.lastName).c_str(), read + int(extra.size()),
              read, rows, cols, r + 1, in.valueLines[std::size_t(r * cols)], r);
}

// The warning about the numbers found before the name text of the record
// being read (its name text read).
void warnExtra(InFile& in) {
    const int read = int(in.valueLines.size());
    char shape[48] = "";
    if (in.extraRows > 1 && read > 0)
        std::snprintf(shape, sizeof shape, ", %d rows of %d", in.extraRows, read / in.extraRows);
    const int held = read + in.extraNumbers;
    std::fprintf(in.run->messages(),
                 "Warning: in the input file %s, record %d (line %d, %s) holds %d numbers;\n"
                 "  the system reads %d of them%s and ignores the rest: %s.\n",
                 in.name, in.record + 1, read > 0 ? in.valueLines.front() : in.charLine,
                 printable(in.lastName).c_str(), held, read, shape, in.extraWhy);
}

// The name text of a record (everything up to and including its closing
// quote), written to res like skipThrough does; the text itself is kept in
// in.lastName for messages.
void readName(InFile& in, std::FILE* res, bool writeLeading, const char* expected) {
    int n = 0;
    for (int count = 0; count < 2;) {
        const int c = nextChar(in, expected);
        if (c == kQuote) {
            ++count;
            continue;
        }
        if (res && (writeLeading || count > 0)) std::fputc(c, res);
        if (count == 1 && n < int(sizeof in.lastName) - 1) in.lastName[n++] = char(c == '\n' ? ' ' : c);
    }
    in.lastName[n] = '\0';
}

// The name text of a record, after the check of what stands before it
// (made here, for a single value or a vector, where the caller has not
// made it); extra numbers found there are reported once the name is known.
void nameText(InFile& in, std::FILE* res, bool writeLeading, const char* why,
              const char* expected = kNameExpected) {
    checkEnd(in, writeLeading ? res : nullptr, 1, 0, why, expected);
    readName(in, res, writeLeading, expected);
    if (in.extraNumbers > 0) {
        warnExtra(in);
        in.extraNumbers = 0;
    }
}

// The second text of a record: what stands before its opening quote, then
// "   (", then the text (the closing parenthesis is written by the caller).
void secondText(InFile& in, std::FILE* res) {
    bool bracket = false;
    int n = 0;
    for (int count = 0; count < 2;) {
        const int c = nextChar(in, "the unit text of the record in double quotes");
        if (c == kQuote) ++count;
        if (count == 1 && !bracket) {
            std::fputs("   (", res);
            bracket = true;
        }
        if (c != kQuote) std::fputc(c, res);
        if (count == 1 && c != kQuote && n < int(sizeof in.lastUnit) - 1) in.lastUnit[n++] = char(c == '\n' ? ' ' : c);
    }
    in.lastUnit[n] = '\0';
}

// The range of the element at `offset` in the model state (nullptr where
// the table does not bound it).
const inputranges::Range* rangeAt(std::size_t offset) {
    std::string name;
    std::vector<int> idx;
    quantities::Element e;
    if (!quantities::elementAt(offset, name, idx, e)) return nullptr;
    return inputranges::find(name, idx);
}

// The numbers of the record that lie outside their ranges, now that its
// name text is known: a money amount beyond the warning size warns, any
// other number stops the run (the first of them is named).
void checkRanges(InFile& in) {
    const int numbers = in.valuesOf == in.record ? int(in.valueLines.size()) : 1;
    const std::string label = printable(in.lastName);
    const std::vector<InFile::RangeNote> notes = std::move(in.outOfRange);
    in.outOfRange.clear();
    for (const InFile::RangeNote& n : notes) {
        const int which = numbers > 1 ? n.element : 0;
        char what[32] = "";
        if (which > 0) std::snprintf(what, sizeof what, "value %d of ", which);
        if (n.range->kind == inputranges::Kind::Money) {
            std::fprintf(in.run->messages(),
                         "Warning: in the input file %s, %srecord %d (line %d, %s) is %g:\n"
                         "  an amount beyond %g leaves the profit without its precision.\n",
                         in.name, what, in.record, valueLine(in, which), label.c_str(), n.value,
                         inputranges::kMoneyWarning);
            continue;
        }
        failCheck(*in.run,
                  "In the input file %s, %srecord %d (line %d, %s) is %g,\n"
                  "  but it must be %s. Correct the record and restart the program.\n",
                  in.name, what, in.record, valueLine(in, which), label.c_str(), n.value,
                  inputranges::text(*n.range).c_str());
    }
}

// A record whose texts have been read is complete; a tracing reading takes
// its texts as the label and unit of the numbers read into it.
void endRecord(InFile& in) {
    if (in.run->overrides) in.run->overrides->recordRead(in);
    ++in.record;
    Run& run = *in.run;
    for (; run.placesLabelled < run.readPlaces.size(); ++run.placesLabelled)
        run.readPlaces[run.placesLabelled].label = in.lastName;
    if (!in.outOfRange.empty()) checkRanges(in);
}

// Notes where the element at x of the model state is read from; false for
// a place outside the model state.
bool notePlace(InFile& in, const void* x) {
    std::size_t offset = 0;
    if (!quantities::offsetIn(in.run->m, x, offset)) return false;
    in.run->readPlaces.push_back({offset, in.name, in.numberLine, in.record + 1, ""});
    return true;
}

// A number stored at x: a tracing reading notes the element, its place is
// noted, and a number outside the range of its element is noted for the
// end of the record.
void stored(InFile& in, const void* x, double value) {
    if (in.run->overrides) in.run->overrides->stored(*in.run, in, x);
    if (!notePlace(in, x)) return;
    const inputranges::Range* r = rangeAt(in.run->readPlaces.back().offset);
    if (!r) return;
    const bool large = r->kind == inputranges::Kind::Money && std::fabs(value) > inputranges::kMoneyWarning;
    if (large || !inputranges::allows(*r, value)) {
        const int element = in.valuesOf == in.record + 1 ? int(in.valueLines.size()) : 1;
        in.outOfRange.push_back({element, value, r});
    }
}

}  // namespace

InFile openInput(Run& run, const char* name, bool inputValues) {
    InFile in;
    in.name = name;
    in.run = &run;
    errno = 0;
    in.f = std::fopen(name, "r");
    if (!in.f && errno != ENOENT && errno != 0)
        failCheck(run,
                  "The input file %s cannot be read (%s).\n"
                  "  Make the file readable and restart the program.\n",
                  name, std::strerror(errno));
    if (!in.f)
        failCheck(run,
                  "The input file %s cannot be opened.\n"
                  "  Put the file into the working directory and restart the program.\n",
                  name);
    struct stat st;
    if (fstat(fileno(in.f), &st) == 0 && S_ISDIR(st.st_mode))
        failCheck(run,
                  "The input file %s is a directory, not a file.\n"
                  "  Put the file into the working directory and restart the program.\n",
                  name);
    if (inputValues && run.overrides) run.overrides->opened(run, in);
    return in;
}

void closeInput(InFile& in) {
    if (in.f && in.run && in.run->overrides) in.run->overrides->closed(*in.run, in);
    if (in.f) std::fclose(in.f);
    in.f = nullptr;
}

RealStored toStored(const char* text) {
    if constexpr (sizeof(RealStored) == sizeof(float)) return std::strtof(text, nullptr);
    else return std::strtod(text, nullptr);
}

RealStored readNum(InFile& in) {
    const Token t = readToken(in, "a number", false);
    if (t.tooLong || !decimalNumber(t.text)) notANumber(in, t, "a number", false);
    errno = 0;
    const RealStored x = toStored(t.text);
    if (!std::isfinite(x))
        failCheck(*in.run,
                  "In the input file %s, record %d (line %d) holds %s, a value too large for the program.\n"
                  "  Correct the record and restart the program.\n",
                  in.name, in.record + 1, in.numberLine, t.text);
    return x;
}

namespace {

// A whole number; its text as the reader took it is kept in text when given.
int readWhole(InFile& in, std::string* text) {
    const Token t = readToken(in, "a whole number", true);
    if (t.tooLong || !wholeNumber(t.text)) notANumber(in, t, "a whole number", true);
    errno = 0;
    const long long x = std::strtoll(t.text, nullptr, 10);
    if (errno == ERANGE || x < INT_MIN || x > INT_MAX)
        failCheck(*in.run,
                  "In the input file %s, record %d (line %d) holds %s, where a whole number from\n"
                  "  %d to %d is expected. Correct the record and restart the program.\n",
                  in.name, in.record + 1, in.numberLine, t.text, INT_MIN, INT_MAX);
    if (text) *text = t.text;
    return int(x);
}

}  // namespace

int readInt(InFile& in) { return readWhole(in, nullptr); }

void readNum(InFile& in, Real& x) {
    x = readNum(in);
    stored(in, &x, double(x));
}

void readInt(InFile& in, int& x) {
    x = readInt(in);
    stored(in, &x, x);
}

namespace {

// The texts of a scalar record and its echo.
void scalarTexts(std::FILE* res, InFile& in) {
    nameText(in, res, true, kSingleValue);
    secondText(in, res);
}

}  // namespace

RealStored readfloat(std::FILE* res, InFile& in) {
    const RealStored x = readNum(in);
    scalarTexts(res, in);
    std::fprintf(res, "):%12.4f ", double(x));
    endRecord(in);
    return x;
}

int readint(std::FILE* res, InFile& in) {
    const int x = readInt(in);
    scalarTexts(res, in);
    std::fprintf(res, "):  %d ", x);
    endRecord(in);
    return x;
}

void readfloat(std::FILE* res, InFile& in, Real& x) {
    readNum(in, x);
    scalarTexts(res, in);
    std::fprintf(res, "):%12.4f ", double(x));
    endRecord(in);
}

void readint(std::FILE* res, InFile& in, int& x) {
    readInt(in, x);
    scalarTexts(res, in);
    std::fprintf(res, "):  %d ", x);
    endRecord(in);
}

void requireIn(InFile& in, double x, const Allowed& a, int element) {
    if (x >= a.lo && x <= a.hi && !(a.loOpen && x == a.lo)) return;
    char which[32] = "";
    if (element > 0) std::snprintf(which, sizeof which, "value %d of ", element);
    failCheck(*in.run,
              "In the input file %s, %srecord %d (line %d, %s) is %g,\n"
              "  but it must be %s. Correct the record and restart the program.\n",
              in.name, which, in.record, valueLine(in, element), printable(in.lastName).c_str(), x, a.text);
}

void warnOdd(InFile& in, const char* what) {
    std::fprintf(in.run->messages(), "Warning: in the input file %s, record %d (line %d, %s) is %s.\n", in.name,
                 in.record, valueLine(in, 1), printable(in.lastName).c_str(), what);
}

void readfloat(std::FILE* res, InFile& in, Real& x, const Allowed& a) {
    readfloat(res, in, x);
    requireIn(in, x, a);
}

void readfloatWarnNegative(std::FILE* res, InFile& in, Real& x, const char* what) {
    readfloat(res, in, x);
    if (x < 0) warnOdd(in, what);
}

void readfloatWarnNegativeIf(InFile& in, std::FILE* res, bool present, Real& x, const char* what) {
    if (present) readfloatWarnNegative(res, in, x, what);
    else readdes(in);
}

int dsjf(int month, int day) {
    // Lengths of January .. November: a month adds the lengths of all months
    // before it (a month number above 12 adds no December).
    static const int kLength[11] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30};
    int d = day;
    for (int m = 1; m < month && m <= 11; ++m) d += kLength[m - 1];
    return d;
}

namespace {

// What is wrong with a date ("" for a valid one).  February has 29 days:
// the day numbers are those of a common year, and 29 February is 1 March.
std::string dateFault(int year, int month, int day) {
    static const char* const kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                            "July",    "August",   "September", "October", "November", "December"};
    static const int kDays[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::string fault;
    const auto add = [&fault](const std::string& part) { fault += (fault.empty() ? "" : " and ") + part; };
    if (year < 0 || year > 10) add("the year " + std::to_string(year) + " is not from 0 to 10");
    if (month < 1 || month > 12) add("the month " + std::to_string(month) + " is not from 1 to 12");
    if (day < 1 || day > 31) add("the day " + std::to_string(day) + " is not from 1 to 31");
    else if (month >= 1 && month <= 12 && day > kDays[month - 1])
        add("the day " + std::to_string(day) + " does not exist in " + kMonths[month - 1]);
    return fault;
}

// A date record as written: its three numbers' texts.
struct DateRead {
    std::string year, month, day;
    std::string fault;
};

int readDate(InFile& in, std::FILE* res, DateRead& d) {
    const int year = readWhole(in, &d.year);
    const int month = readWhole(in, &d.month);
    const int day = readWhole(in, &d.day);
    // The day number is formed only from a valid date, so that no value
    // typed can overflow it.
    d.fault = dateFault(year, month, day);
    const int dn = d.fault.empty() ? dsjf(month, day) + 365 * year : -1;
    checkEnd(in, nullptr, 1, 3, kDateNumbers);
    wrides(in, res);
    std::fprintf(res, "%d %d %d\n", year, month, day);
    std::fprintf(res, "   Days from January 1st of year zero: %d", dn);
    return dn;
}

}  // namespace

int readymd(InFile& in, std::FILE* res) {
    DateRead d;
    return readDate(in, res, d);
}

void readymd(InFile& in, std::FILE* res, int& day, const char* what) {
    DateRead d;
    day = readDate(in, res, d);
    if (in.run->overrides) in.run->overrides->stored(*in.run, in, &day, true);
    // The record's texts are read: the date takes its label at once.
    if (notePlace(in, &day)) {
        in.run->readPlaces.back().label = in.lastName;
        in.run->readPlaces.back().record = in.record;
        in.run->placesLabelled = in.run->readPlaces.size();
    }
    if (day < 0)
        failCheck(*in.run,
                  "The date %sis wrong: in the input file %s, record %d (line %d, %s)\n"
                  "  holds %s %s %s (year month day), and %s.\n"
                  "  Correct the date in %s and restart the program.\n\n\n",
                  what, in.name, in.record, valueLine(in, 1), printable(in.lastName).c_str(), d.year.c_str(),
                  d.month.c_str(), d.day.c_str(), d.fault.c_str(), in.name);
}

void readdes(InFile& in) {
    skipThrough(in, kQuote, 4, nullptr, "the texts of a record in double quotes");
    ++in.record;
}

void readdes(InFile& in, int n) {
    for (int i = 0; i < n; ++i) readdes(in);
}

void readfloatIf(InFile& in, std::FILE* res, bool present, Real& x) {
    if (present) readfloat(res, in, x);
    else readdes(in);
}

void readfloatIf(InFile& in, std::FILE* res, bool present, Real& x, const Allowed& a) {
    if (present) readfloat(res, in, x, a);
    else readdes(in);
}

void readcom(InFile& in) {
    skipThrough(in, kSlash, 2, nullptr, "a comment between two slashes");
    ++in.record;
}

void wrides(InFile& in, std::FILE* res) {
    std::fputc('\n', res);
    nameText(in, res, false, kFewerNumbers);
    secondText(in, res);
    std::fputs("):", res);
    endRecord(in);
}

void checkRecordEnd(InFile& in, int rows, int cols) { checkEnd(in, nullptr, rows, cols, kFewerNumbers); }

void readVectorRecord(InFile& in, std::FILE* res, Real* first, int n, int stride, const char* fmt) {
    for (int i = 0; i < n; ++i) readNum(in, first[i * stride]);
    wrides(in, res);
    for (int i = 0; i < n; ++i) std::fprintf(res, fmt, double(first[i * stride]));
}

void readVectorRecord(InFile& in, std::FILE* res, int* first, int n, int stride, const char* fmt) {
    for (int i = 0; i < n; ++i) readInt(in, first[i * stride]);
    wrides(in, res);
    for (int i = 0; i < n; ++i) std::fprintf(res, fmt, first[i * stride]);
}

void readMatrixRecord(InFile& in, std::FILE* res, Real* first, int rows, int rowStride, int cols, int colStride,
                      const char* fmt) {
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) readNum(in, first[r * rowStride + c * colStride]);
    checkRecordEnd(in, rows, cols);
    wrides(in, res);
    for (int r = 0; r < rows; ++r) {
        std::fputc('\n', res);
        for (int c = 0; c < cols; ++c) std::fprintf(res, fmt, double(first[r * rowStride + c * colStride]));
    }
}

void sysvar(InFile& in, std::FILE* res) {
    for (int i = 0; i < 9; ++i) {
        const int x = readInt(in);
        skipThrough(in, kQuote, 2, res, "the text of a system variable in double quotes");
        std::fprintf(res, ":  %d", x);
        ++in.record;
    }
    std::fputc('\n', res);
}

int readsyva(InFile& in) {
    const int x = readInt(in);
    nameText(in, nullptr, false, kSingleValue, "the text of a system variable in double quotes");
    in.lastUnit[0] = '\0';
    endRecord(in);
    return x;
}

void readsyva(InFile& in, int& x) {
    x = readInt(in);
    stored(in, &x, x);
    nameText(in, nullptr, false, kSingleValue, "the text of a system variable in double quotes");
    in.lastUnit[0] = '\0';
    endRecord(in);
}

void inp00(std::FILE* res, int f, int s) {
    if (s > 9) std::fprintf(res, "2.%2d Data from file ", s);
    else std::fprintf(res, "2.%1d Data from file ", s);
    if (f <= 9) std::fprintf(res, "INPUTS0%d.TXT\n", f);
    else std::fprintf(res, "INPUTS%d.TXT\n", f);
    std::fputs(s > 9 ? "--------------------------------\n" : "-------------------------------\n", res);
}

void outputrw(InFile& in, std::FILE* res) {
    skipThrough(in, kQuote, 2, res, "a text in double quotes");
    ++in.record;
}

void outputr(InFile& in) {
    skipThrough(in, kQuote, 2, nullptr, "a text in double quotes");
    ++in.record;
}
