// The record reader: what each routine consumes from the input and what it
// echoes into the results file, character by character.
#include "input/reader.h"

#include <gtest/gtest.h>

#include "test_util.h"

using testutil::Harness;

namespace {

// Opens `text` as the input file NAME.TXT of the harness directory.
InFile openText(Harness& h, const std::string& text, const char* name = "INPUTS99.TXT") {
    h.dir.write(name, text);
    testutil::InDir in(h.dir.path());
    return openInput(h.run, name);
}

std::string rest(InFile& in) {
    std::string s;
    for (int c; (c = std::fgetc(in.f)) != EOF;) s += char(c);
    return s;
}

}  // namespace

TEST(Reader, ScalarRecordOnOneLineEchoesABlankBeforeTheName) {
    Harness h;
    InFile in = openText(h, "  12.5 \"Mature weight of ewes\" \"kg\"\nnext");
    EXPECT_FLOAT_EQ(readfloat(h.run.res, in), 12.5f);
    EXPECT_EQ(h.results(), " Mature weight of ewes    (kg):     12.5000 ");
    EXPECT_EQ(rest(in), "\nnext");
    EXPECT_EQ(in.record, 1);
}

TEST(Reader, ScalarRecordOnTwoLinesEchoesTheLineBreak) {
    Harness h;
    InFile in = openText(h, "7\n\"Length of pregnancy\"\n  \"days\"\n");
    EXPECT_EQ(readint(h.run.res, in), 7);
    // The line break after the number stands before the name, the line
    // break and blanks between the texts stand before "   (".
    EXPECT_EQ(h.results(), "\nLength of pregnancy\n     (days):  7 ");
}

TEST(Reader, VectorRecordAlwaysStartsANewLine) {
    Harness h;
    InFile in = openText(h, "0.1 0.2 0.3   \"Losses\" \"fraction\" 1.5 \"x\" \"y\"");
    float v[3];
    for (float& x : v) x = readNum(in);
    wrides(in, h.run.res);
    EXPECT_FLOAT_EQ(v[2], 0.3f);
    EXPECT_EQ(h.results(), "\nLosses    (fraction):");
    EXPECT_FLOAT_EQ(readNum(in), 1.5f);
}

TEST(Reader, VectorAndMatrixRecordsWithStrides) {
    Harness h;
    InFile in = openText(h, "1 2 3 \"v\" \"u\"\n4 5 6\n7 8 9 \"m\" \"n\" 2 3 \"i\" \"c\"");
    Real v[3][3] = {};
    readVectorRecord(in, h.run.res, &v[0][1], 3, 3, "%6.2f");   // a column
    EXPECT_EQ(double(v[2][1]), 3.0);
    Real mat[4][2] = {};
    readMatrixRecord(in, h.run.res, &mat[1][0], 3, 2, 2, 1, "%5.1f");  // rows of two
    EXPECT_EQ(double(mat[3][1]), 9.0);
    int codes[4] = {};
    readVectorRecord(in, h.run.res, &codes[1], 2, 1, "%3d");
    EXPECT_EQ(codes[2], 3);
    EXPECT_EQ(h.results(), "\nv    (u):  1.00  2.00  3.00"
                           "\nm    (n):\n  4.0  5.0\n  6.0  7.0\n  8.0  9.0"
                           "\ni    (c):  2  3");
    EXPECT_EQ(in.record, 3);
}

TEST(Reader, ReaddesSkipsAWholeVectorRecordWithoutEcho) {
    Harness h;
    std::string rec;
    for (int i = 0; i < 200; ++i) rec += "0.25 ";
    InFile in = openText(h, rec + "\"long\" \"vector\"\n\"a\" \"b\" 3.5 \"n\" \"u\"");
    readdes(in);
    readdes(in);
    EXPECT_FLOAT_EQ(readfloat(h.run.res, in), 3.5f);
    EXPECT_EQ(h.results(), " n    (u):      3.5000 ");
    EXPECT_EQ(in.record, 3);
}

TEST(Reader, CommentEndsAtItsSecondSlash) {
    Harness h;
    // The slash inside the comment ends it; "2 /" is then data.
    InFile in = openText(h, "/ rates per year/ 2 / \"name\" \"unit\"");
    readcom(in);
    EXPECT_EQ(readint(h.run.res, in), 2);
    EXPECT_EQ(h.results(), " / name    (unit):  2 ");
}

TEST(Reader, DayNumbers) {
    EXPECT_EQ(dsjf(1, 1), 1);
    EXPECT_EQ(dsjf(3, 1), 60);
    EXPECT_EQ(dsjf(12, 31), 365);
    EXPECT_EQ(dsjf(2, 29), 60);
}

struct DateCase {
    const char* text;
    int day;
};

class ReadymdTest : public testing::TestWithParam<DateCase> {};

TEST_P(ReadymdTest, DayNumberAndEcho) {
    Harness h;
    InFile in = openText(h, std::string(GetParam().text) + " \"Date of lambing\" \"y m d\"");
    EXPECT_EQ(readymd(in, h.run.res), GetParam().day);
    // The annotation, the date and the day number are echoed also for an
    // invalid date, so that the user sees it before the run stops.
    std::string y, m, d;
    std::istringstream(GetParam().text) >> y >> m >> d;
    EXPECT_EQ(h.results(), "\nDate of lambing    (y m d):" + y + " " + m + " " + d +
                               "\n   Days from January 1st of year zero: " + std::to_string(GetParam().day));
}

INSTANTIATE_TEST_SUITE_P(Dates, ReadymdTest,
                         testing::Values(DateCase{"0 2 29", 60}, DateCase{"0 3 1", 60}, DateCase{"1 1 1", 366},
                                         DateCase{"10 12 31", 4015}, DateCase{"0 2 30", -1},
                                         DateCase{"0 4 31", -1}, DateCase{"0 13 1", -1}, DateCase{"11 1 1", -1},
                                         DateCase{"0 1 0", -1}, DateCase{"-1 5 5", -1}, DateCase{"0 0 5", -1}),
                         [](const testing::TestParamInfo<DateCase>& i) {
                             std::string n = i.param.text;
                             for (char& c : n) c = (c == ' ') ? '_' : (c == '-') ? 'm' : c;
                             return "d" + n;
                         });

TEST(Reader, SectionHeadings) {
    Harness h;
    inp00(h.run.res, 1, 1);
    inp00(h.run.res, 12, 9);
    inp00(h.run.res, 12, 10);
    inp00(h.run.res, 14, 13);
    EXPECT_EQ(h.results(),
              "2.1 Data from file INPUTS01.TXT\n" + std::string(31, '-') + "\n" +
                  "2.9 Data from file INPUTS12.TXT\n" + std::string(31, '-') + "\n" +
                  "2.10 Data from file INPUTS12.TXT\n" + std::string(32, '-') + "\n" +
                  "2.13 Data from file INPUTS14.TXT\n" + std::string(32, '-') + "\n");
}

TEST(Reader, SystemVariablesAndFragments) {
    Harness h;
    std::string paras = "\"Heading\"";
    for (int i = 1; i <= 9; ++i) paras += "\n" + std::to_string(i) + " \"var " + std::to_string(i) + "\"";
    InFile in = openText(h, paras + "\n", "PARAS.TXT");
    outputrw(in, h.run.res);
    sysvar(in, h.run.res);
    std::string expect = "Heading";
    // The line break before each number is white space that "%d" skips.
    for (int i = 1; i <= 9; ++i) expect += " var " + std::to_string(i) + ":  " + std::to_string(i);
    EXPECT_EQ(h.results(), expect + "\n");
    closeInput(in);

    InFile again = openText(h, paras, "PARAS.TXT");
    outputr(again);
    for (int i = 1; i <= 9; ++i) EXPECT_EQ(readsyva(again), i);
}

// ---- files that end too early and text where a number is expected ----

namespace {

void expectStop(Harness& h, const std::string& text, void (*read)(Harness&, InFile&), const std::string& message) {
    InFile in = openText(h, text);
    EXPECT_THROW(read(h, in), RunStopped);
    const std::string con = h.console();
    EXPECT_NE(con.find("\n\n\nError message:\n" + message), std::string::npos) << con;
}

}  // namespace

TEST(ReaderStop, FileEndingInsideATextStops) {
    Harness h;
    expectStop(h, "1.5 \"name\" \"unit", [](Harness& hh, InFile& in) { readfloat(hh.run.res, in); },
               "The input file INPUTS99.TXT ends in record 1 (line 1), where the unit text of the record in double quotes "
               "is expected.\n  Complete the file and restart the program.\n");
}

TEST(ReaderStop, FileEndingInsideACommentStops) {
    Harness h;
    expectStop(h, "/ open comment", [](Harness&, InFile& in) { readcom(in); },
               "The input file INPUTS99.TXT ends in record 1 (line 1), where a comment between two slashes is expected.\n");
}

TEST(ReaderStop, MissingNumberStops) {
    Harness h;
    expectStop(h, "/c/ 2 \"a\" \"b\"\n", [](Harness& hh, InFile& in) {
        readcom(in);
        readint(hh.run.res, in);
        readint(hh.run.res, in);
    }, "The input file INPUTS99.TXT ends in record 3 (line 1), where a whole number is expected.\n");
}

TEST(ReaderStop, TextWhereANumberIsExpectedStops) {
    Harness h;
    expectStop(h, "\"Weight\" \"kg\"", [](Harness& hh, InFile& in) { readfloat(hh.run.res, in); },
               "In the input file INPUTS99.TXT, record 1 (line 1) holds \"\"Weight\"\" where a number is expected.\n"
               "  Correct the record and restart the program.\n");
}

// Only decimal numbers are numbers: no hexadecimal, no "nan" or "inf", no
// fraction where a whole number is expected, nothing beyond the 32-bit
// range or the range of a real value.
TEST(ReaderStop, NumbersOfOtherForms) {
    struct Case {
        const char* text;
        bool whole;
        const char* message;
    };
    const Case cases[] = {
        {"nan \"W\" \"kg\"", false, "record 1 (line 1) holds \"nan\" where a number is expected.\n"},
        {"-inf \"W\" \"kg\"", false, "record 1 (line 1) holds \"-inf\" where a number is expected.\n"},
        {"0x10 \"W\" \"kg\"", false, "record 1 (line 1) holds \"0x10\" where a number is expected.\n"},
        {"1.5kg \"W\" \"kg\"", false, "record 1 (line 1) holds \"1.5kg\" where a number is expected.\n"},
        {"1e400 \"W\" \"kg\"", false, "record 1 (line 1) holds 1e400, a value too large for the program.\n"},
        {"8.5 \"N\" \"n\"", true, "record 1 (line 1) holds \"8.5\" where a whole number is expected.\n"},
        {"4294967304 \"N\" \"n\"", true,
         "record 1 (line 1) holds 4294967304, where a whole number from\n  -2147483648 to 2147483647 is expected."},
        {"\x01\x02 \"N\" \"n\"", true, "The file INPUTS99.TXT holds a byte that is not text (code 1) in record 1 (line 1).\n"},
    };
    for (const Case& c : cases) {
        Harness h;
        expectStop(h, c.text,
                   c.whole ? +[](Harness& hh, InFile& in) { readint(hh.run.res, in); }
                           : +[](Harness& hh, InFile& in) { readfloat(hh.run.res, in); },
                   c.message[0] == 'T' ? c.message : std::string("In the input file INPUTS99.TXT, ") + c.message);
    }
}

TEST(ReaderStop, MissingFileStops) {
    Harness h;
    testutil::InDir in(h.dir.path());
    EXPECT_THROW(openInput(h.run, "INPUTS05.TXT"), RunStopped);
    EXPECT_NE(h.console().find("The input file INPUTS05.TXT cannot be opened.\n"), std::string::npos);
}

TEST(ReaderStop, TooFewFragmentsStops) {
    Harness h;
    InFile in = openText(h, "\"one\"\n\"two", "TEXTS_OUT.TXT");
    in.fragments = true;
    outputrw(in, h.run.res);
    EXPECT_THROW(outputrw(in, h.run.res), RunStopped);
    EXPECT_NE(h.console().find("The file TEXTS_OUT.TXT holds too few text fragments: it ends in fragment 2 (line 2),\n"),
              std::string::npos)
        << h.console();
}

// ---- the line of a message, extra numbers in a record, decimal commas ----
//
// Each row reads a small file as a matrix of 2 rows of 2 numbers (or, with
// rows = 1, a vector of 2 numbers) and expects a message on the console
// (empty: none) and whether the run stops.  A message about a value names
// the value's line; one about the whole record names the line of its first
// number.

namespace {

struct LineCase {
    const char* name;
    const char* text;
    int rows;
    const char* message;
    bool stops;
};

// Two fractions of a vector, or a 2 x 2 table of fractions.
void readTwoByRows(Harness& h, InFile& in, int rows) {
    readcom(in);
    Model& m = h.run.m;
    if (rows == 1) readVectorRecord(in, h.run.res, &m.pdiedE[1], 2, 1, "%5.1f");
    else readMatrixRecord(in, h.run.res, &m.Pltype[1][1], 2, int(std::size(m.Pltype[0])), 2, 1, "%5.1f");
}

}  // namespace

TEST(ReaderLines, MessagesNameTheLineAndExtraNumbers) {
    const LineCase cases[] = {
        {"ValueOnItsLine", "/c/\n0.1\n\n0.2\n0.3 7\n\"M\" \"u\"", 2,
         "In the input file INPUTS99.TXT, value 4 of record 2 (line 5, M) is 7,", true},
        {"NotANumberOnItsLine", "/c\n/ 0.1 0.2\n0.3\n  x4 \"M\" \"u\"", 2,
         "In the input file INPUTS99.TXT, record 2 (line 4) holds \"x4\" where a number is expected.\n"
         "  Correct the record", true},
        {"DecimalComma", "/c/\n0.1 0,030\n\"V\" \"u\"", 1,
         "record 2 (line 2) holds \"0,030\" where a number is expected.\n"
         "  Write numbers with a decimal point, not a comma: 0.030, not 0,030.\n", true},
        {"TwoCommasGetNoHint", "/c/\n0.1 0,0,3\n\"V\" \"u\"", 1, "holds \"0,0,3\" where a number is expected.\n  Correct", true},
        {"ExtraAtTheEndOfAVector", "/c/\n0.1 0.2\n0.3 \"V\" \"u\"", 1,
         "Warning: in the input file INPUTS99.TXT, record 2 (line 2, V) holds 3 numbers;\n"
         "  the system reads 2 of them and ignores the rest: it reads fewer numbers than the file holds\n", false},
        {"RowsShifted", "/c/\n0.1 0.2 0.5\n0.3 0.4 0.5\n\"M\" \"u\"", 2,
         "In the input file INPUTS99.TXT, record 2 (line 2, M) holds 6 numbers,\n"
         "  but the system reads 4 of them, 2 rows of 2, one row after the other: row 2 would\n"
         "  begin on line 2, where row 1 ends,", true},
        {"RowsShiftedBeforeTheirValuesAreChecked", "/c/\n0.1 0.2 9\n0.3 0.4 9\n\"M\" \"u\"", 2,
         "holds 6 numbers,\n  but the system reads 4 of them", true},
        {"WholeExtraRow", "/c/\n0.1 0.2\n0.3 0.4\n0.5 0.6\n\"M\" \"u\"", 2,
         "Warning: in the input file INPUTS99.TXT, record 2 (line 2, M) holds 6 numbers;\n"
         "  the system reads 4 of them, 2 rows of 2 and ignores the rest", false},
        {"RowsOnOneLine", "/c/\n0.1 0.2 0.3 0.4 0.5\n\"M\" \"u\"", 2, "record 2 (line 2, M) holds 5 numbers;\n", false},
        {"WordsBeforeTheNameAreNoNumbers", "/c/\n0.1 0.2 kg\n\"V\" \"u\"", 1, "", false},
        {"Exact", "/c/\n0.1 0.2\n0.3 0.4\n\"M\" \"u\"", 2, "", false},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        InFile in = openText(h, c.text);
        if (c.stops) EXPECT_THROW(readTwoByRows(h, in, c.rows), RunStopped);
        else EXPECT_NO_THROW(readTwoByRows(h, in, c.rows));
        const std::string con = h.console();
        if (*c.message) EXPECT_NE(con.find(c.message), std::string::npos) << con;
        else EXPECT_EQ(con.find("Warning"), std::string::npos) << con;
    }
}

// A scalar and a date with a number too many: a warning that says why, and
// the echo of the scalar keeps what stands between its number and its name.
TEST(ReaderLines, ExtraNumberOfAScalarAndOfADate) {
    Harness h;
    InFile in = openText(h, "1.5 2 \"W\" \"kg\"\n0 1\n5 6 \"D\" \"y m d\"");
    EXPECT_FLOAT_EQ(readfloat(h.run.res, in), 1.5f);
    EXPECT_EQ(readymd(in, h.run.res), 5);
    EXPECT_EQ(h.results().rfind(" 2 W    (kg):      1.5000 ", 0), 0u) << h.results();
    const std::string con = h.console();
    EXPECT_NE(con.find("record 1 (line 1, W) holds 2 numbers;\n  the system reads 1 of them and ignores the rest: "
                       "the record holds a single value.\n"),
              std::string::npos)
        << con;
    EXPECT_NE(con.find("record 2 (line 2, D) holds 4 numbers;\n  the system reads 3 of them and ignores the rest: "
                       "a date is a year, a month and a day.\n"),
              std::string::npos)
        << con;
}
