#include "input/reader.h"

#include <cctype>
#include <cmath>

#include "driver/run.h"

namespace {

constexpr int kQuote = 34;
constexpr int kSlash = 47;

// A file that ends while a routine waits for a quote or a slash.
[[noreturn]] void endedEarly(InFile& in, const char* expected) {
    if (in.fragments)
        failCheck(*in.run,
                  "The file %s holds too few text fragments: it ends in fragment %d,\n"
                  "  where %s is expected.\n%s"
                  "  Complete the file and restart the program.\n",
                  in.name, in.record + 1, expected,
                  in.run->checks1Written ? "  The values of all variables are complete in the file CHECKS1.\n" : "");
    failCheck(*in.run,
              "The input file %s ends in record %d, where %s is expected.\n"
              "  Complete the file and restart the program.\n",
              in.name, in.record + 1, expected);
}

// Text (or a value that is not a finite number) where a number is expected.
[[noreturn]] void notANumber(InFile& in, const char* kind) {
    char seen[24] = {};
    int n = 0, c;
    while (n < 20 && (c = std::fgetc(in.f)) != EOF && !std::isspace(c)) seen[n++] = char(c);
    failCheck(*in.run,
              "In the input file %s, record %d holds \"%s\" where %s is expected.\n"
              "  Correct the record and restart the program.\n",
              in.name, in.record + 1, seen, kind);
}

int nextChar(InFile& in, const char* expected) {
    const int c = std::fgetc(in.f);
    if (c == EOF) endedEarly(in, expected);
    return c;
}

// Reads up to and including the n-th character `mark`, writing every other
// character to out (when out is given).
void skipThrough(InFile& in, int mark, int n, std::FILE* out, const char* expected) {
    for (int count = 0; count < n;) {
        const int c = nextChar(in, expected);
        if (c == mark) ++count;
        else if (out) std::fputc(c, out);
    }
}

// The second text of a record: what stands before its opening quote, then
// "   (", then the text (the closing parenthesis is written by the caller).
void secondText(InFile& in, std::FILE* res) {
    bool bracket = false;
    for (int count = 0; count < 2;) {
        const int c = nextChar(in, "the unit text of the record in double quotes");
        if (c == kQuote) ++count;
        if (count == 1 && !bracket) {
            std::fputs("   (", res);
            bracket = true;
        }
        if (c != kQuote) std::fputc(c, res);
    }
}

}  // namespace

InFile openInput(Run& run, const char* name) {
    InFile in;
    in.name = name;
    in.run = &run;
    in.f = std::fopen(name, "r");
    if (!in.f)
        failCheck(run,
                  "The input file %s cannot be opened.\n"
                  "  Put the file into the working directory and restart the program.\n",
                  name);
    return in;
}

void closeInput(InFile& in) {
    if (in.f) std::fclose(in.f);
    in.f = nullptr;
}

float readNum(InFile& in) {
    float x;
    const int r = std::fscanf(in.f, "%f", &x);
    if (r == EOF) endedEarly(in, "a number");
    if (r != 1) notANumber(in, "a number");
    if (!std::isfinite(x)) {
        failCheck(*in.run,
                  "In the input file %s, record %d holds a value that is not a finite number.\n"
                  "  Correct the record and restart the program.\n",
                  in.name, in.record + 1);
    }
    return x;
}

int readInt(InFile& in) {
    int x;
    const int r = std::fscanf(in.f, "%d", &x);
    if (r == EOF) endedEarly(in, "a whole number");
    if (r != 1) notANumber(in, "a whole number");
    return x;
}

float readfloat(std::FILE* res, InFile& in) {
    const float x = readNum(in);
    skipThrough(in, kQuote, 2, res, "the name text of the record in double quotes");
    secondText(in, res);
    std::fprintf(res, "):%12.4f ", double(x));
    ++in.record;
    return x;
}

int readint(std::FILE* res, InFile& in) {
    const int x = readInt(in);
    skipThrough(in, kQuote, 2, res, "the name text of the record in double quotes");
    secondText(in, res);
    std::fprintf(res, "):  %d ", x);
    ++in.record;
    return x;
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
    int dn = dsjf(month, day) + 365 * year;
    if (month < 1 || month > 12) dn = -1;
    if (day < 1 || day > 31) dn = -1;
    if (month == 2 && day > 29) dn = -1;
    if ((month == 4 || month == 6 || month == 9 || month == 11) && day > 30) dn = -1;
    if (year < 0 || year > 10) dn = -1;
    wrides(in, res);
    std::fprintf(res, "%d %d %d\n", year, month, day);
    std::fprintf(res, "   Days from January 1st of year zero: %d", dn);
    return dn;
}

void readdes(InFile& in) {
    skipThrough(in, kQuote, 4, nullptr, "the texts of a record in double quotes");
    ++in.record;
}

void readdes(InFile& in, int n) {
    for (int i = 0; i < n; ++i) readdes(in);
}

void readfloatIf(InFile& in, std::FILE* res, bool present, Real& x) {
    if (present) x = readfloat(res, in);
    else readdes(in);
}

void readcom(InFile& in) {
    skipThrough(in, kSlash, 2, nullptr, "a comment between two slashes");
    ++in.record;
}

void wrides(InFile& in, std::FILE* res) {
    std::fputc('\n', res);
    for (int count = 0; count < 2;) {
        const int c = nextChar(in, "the name text of the record in double quotes");
        if (c == kQuote) ++count;
        else if (count > 0) std::fputc(c, res);
    }
    secondText(in, res);
    std::fputs("):", res);
    ++in.record;
}

void readVectorRecord(InFile& in, std::FILE* res, Real* first, int n, int stride, const char* fmt) {
    for (int i = 0; i < n; ++i) first[i * stride] = readNum(in);
    wrides(in, res);
    for (int i = 0; i < n; ++i) std::fprintf(res, fmt, double(first[i * stride]));
}

void readVectorRecord(InFile& in, std::FILE* res, int* first, int n, int stride, const char* fmt) {
    for (int i = 0; i < n; ++i) first[i * stride] = readInt(in);
    wrides(in, res);
    for (int i = 0; i < n; ++i) std::fprintf(res, fmt, first[i * stride]);
}

void readMatrixRecord(InFile& in, std::FILE* res, Real* first, int rows, int rowStride, int cols, int colStride,
                      const char* fmt) {
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) first[r * rowStride + c * colStride] = readNum(in);
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
    skipThrough(in, kQuote, 2, nullptr, "the text of a system variable in double quotes");
    ++in.record;
    return x;
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
