#include "input/reader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/stat.h>

#include "driver/run.h"
#include "input/overrides.h"

namespace {

constexpr int kQuote = 34;
constexpr int kSlash = 47;

// A file that ends while a routine waits for a quote or a slash.
[[noreturn]] void endedEarly(InFile& in, const char* expected) {
    if (in.fragments)
        failCheck(*in.run,
                  "The file %s holds too few text fragments: it ends in fragment %d,\n"
                  "  where %s is expected.\n"
                  "  Complete the file and restart the program.\n",
                  in.name, in.record + 1, expected);
    failCheck(*in.run,
              "The input file %s ends in record %d, where %s is expected.\n"
              "  Complete the file and restart the program.\n",
              in.name, in.record + 1, expected);
}

// A byte that no text file holds: a control character other than the
// white-space ones.  Such a file is not an annotated text file (or it is
// damaged), and its bytes are not copied into the results file.
bool binaryByte(int c) { return (c >= 0 && c < 32 && c != '\t' && c != '\n' && c != '\v' && c != '\f' && c != '\r') || c == 127; }

[[noreturn]] void notText(InFile& in, int c) {
    failCheck(*in.run,
              "The file %s holds a byte that is not text (code %d) in record %d.\n"
              "  It may be damaged or not a text file. Correct the file and restart the program.\n",
              in.name, c, in.record + 1);
}

// The next character of the file, counting the lines; unget puts one back.
int get(InFile& in) {
    const int c = std::fgetc(in.f);
    if (c == '\n') ++in.line;
    return c;
}

void unget(InFile& in, int c) {
    if (c == EOF) return;
    if (c == '\n') --in.line;
    std::ungetc(c, in.f);
}

int nextChar(InFile& in, const char* expected) {
    const int c = get(in);
    if (c == EOF) endedEarly(in, expected);
    if (binaryByte(c)) notText(in, c);
    return c;
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

// Text where a number is expected.
[[noreturn]] void notANumber(InFile& in, const Token& t, const char* kind) {
    std::string seen(t.text, std::min<std::size_t>(std::strlen(t.text), 20));
    // A quote or a slash where the number should begin: show what follows.
    if (seen.empty())
        for (int c; seen.size() < 20 && (c = get(in)) != EOF && !std::isspace(c);) seen += char(c);
    if (t.tooLong || std::strlen(t.text) > 20) seen += "...";
    failCheck(*in.run,
              "In the input file %s, record %d holds \"%s\" where %s is expected.\n"
              "  Correct the record and restart the program.\n",
              in.name, in.record + 1, printable(seen.c_str()).c_str(), kind);
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

// The name text of a record (everything up to and including its closing
// quote), written to res like skipThrough does; the text itself is kept in
// in.lastName for messages.
void nameText(InFile& in, std::FILE* res, bool writeLeading,
              const char* expected = "the name text of the record in double quotes") {
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

// A record whose texts have been read is complete; a tracing reading takes
// its texts as the label and unit of the numbers read into it.
void endRecord(InFile& in) {
    if (in.run->overrides) in.run->overrides->recordRead(in);
    ++in.record;
}

// A number stored at x: a tracing reading notes the element.
void stored(InFile& in, const void* x) {
    if (in.run->overrides) in.run->overrides->stored(*in.run, in, x);
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
    if (t.tooLong || !decimalNumber(t.text)) notANumber(in, t, "a number");
    errno = 0;
    const RealStored x = toStored(t.text);
    if (!std::isfinite(x))
        failCheck(*in.run,
                  "In the input file %s, record %d holds %s, a value too large for the program.\n"
                  "  Correct the record and restart the program.\n",
                  in.name, in.record + 1, t.text);
    return x;
}

int readInt(InFile& in) {
    const Token t = readToken(in, "a whole number", true);
    if (t.tooLong || !wholeNumber(t.text)) notANumber(in, t, "a whole number");
    errno = 0;
    const long long x = std::strtoll(t.text, nullptr, 10);
    if (errno == ERANGE || x < INT_MIN || x > INT_MAX)
        failCheck(*in.run,
                  "In the input file %s, record %d holds %s, where a whole number from\n"
                  "  %d to %d is expected. Correct the record and restart the program.\n",
                  in.name, in.record + 1, t.text, INT_MIN, INT_MAX);
    return int(x);
}

void readNum(InFile& in, Real& x) {
    x = readNum(in);
    stored(in, &x);
}

void readInt(InFile& in, int& x) {
    x = readInt(in);
    stored(in, &x);
}

namespace {

// The texts of a scalar record and its echo.
void scalarTexts(std::FILE* res, InFile& in) {
    nameText(in, res, true);
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
              "In the input file %s, %srecord %d (%s) is %g,\n"
              "  but it must be %s. Correct the record and restart the program.\n",
              in.name, which, in.record, printable(in.lastName).c_str(), x, a.text);
}

void warnOdd(InFile& in, const char* what) {
    std::fprintf(in.run->messages(), "Warning: in the input file %s, record %d (%s) is %s.\n", in.name, in.record,
                 printable(in.lastName).c_str(), what);
}

void readfloat(std::FILE* res, InFile& in, Real& x, const Allowed& a) {
    readfloat(res, in, x);
    requireIn(in, x, a);
}

void readint(std::FILE* res, InFile& in, int& x, const Allowed& a) {
    readint(res, in, x);
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

int readymd(InFile& in, std::FILE* res) {
    const int year = readInt(in);
    const int month = readInt(in);
    const int day = readInt(in);
    // The day number is formed only from a valid date, so that no value
    // typed can overflow it.
    bool valid = true;
    if (month < 1 || month > 12) valid = false;
    if (day < 1 || day > 31) valid = false;
    if (month == 2 && day > 29) valid = false;
    if ((month == 4 || month == 6 || month == 9 || month == 11) && day > 30) valid = false;
    if (year < 0 || year > 10) valid = false;
    const int dn = valid ? dsjf(month, day) + 365 * year : -1;
    wrides(in, res);
    std::fprintf(res, "%d %d %d\n", year, month, day);
    std::fprintf(res, "   Days from January 1st of year zero: %d", dn);
    return dn;
}

void readymd(InFile& in, std::FILE* res, int& day) {
    day = readymd(in, res);
    if (in.run->overrides) in.run->overrides->stored(*in.run, in, &day, true);
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
    nameText(in, res, false);
    secondText(in, res);
    std::fputs("):", res);
    endRecord(in);
}

void readVectorRecord(InFile& in, std::FILE* res, Real* first, int n, int stride, const char* fmt,
                      const Allowed& a) {
    for (int i = 0; i < n; ++i) readNum(in, first[i * stride]);
    wrides(in, res);
    for (int i = 0; i < n; ++i) std::fprintf(res, fmt, double(first[i * stride]));
    for (int i = 0; i < n; ++i) requireIn(in, first[i * stride], a, i + 1);
}

void readVectorRecord(InFile& in, std::FILE* res, int* first, int n, int stride, const char* fmt,
                      const Allowed& a) {
    for (int i = 0; i < n; ++i) readInt(in, first[i * stride]);
    wrides(in, res);
    for (int i = 0; i < n; ++i) std::fprintf(res, fmt, first[i * stride]);
    for (int i = 0; i < n; ++i) requireIn(in, first[i * stride], a, i + 1);
}

void readMatrixRecord(InFile& in, std::FILE* res, Real* first, int rows, int rowStride, int cols, int colStride,
                      const char* fmt, const Allowed& a) {
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) readNum(in, first[r * rowStride + c * colStride]);
    wrides(in, res);
    for (int r = 0; r < rows; ++r) {
        std::fputc('\n', res);
        for (int c = 0; c < cols; ++c) std::fprintf(res, fmt, double(first[r * rowStride + c * colStride]));
    }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) requireIn(in, first[r * rowStride + c * colStride], a, r * cols + c + 1);
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
    nameText(in, nullptr, false, "the text of a system variable in double quotes");
    in.lastUnit[0] = '\0';
    endRecord(in);
    return x;
}

void readsyva(InFile& in, int& x) {
    x = readInt(in);
    stored(in, &x);
    nameText(in, nullptr, false, "the text of a system variable in double quotes");
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
