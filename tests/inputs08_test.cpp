// INPUTS08.TXT: which records are read or skipped under each set of system
// variables, the echo of every kind of record, where the values land, and
// every check of the feeding calendar and of the technology codes.
#include <gtest/gtest.h>

#include <vector>

#include "input/inputs.h"
#include "input/reader.h"
#include "test_util.h"

using testutil::Harness;

namespace {

// One record of the test file with its expected echo.  A record stands in
// the file whatever the system variables; it is echoed only when all
// conditions named in `needs` hold: P protein records (feedcost = 1),
// W artificial rearing (typew = 2), X crossing (crossing = 2), F, M, C
// fattening of females, males, castrates.  The file has two seasons, two
// changes of season, two female, one male and one castrate fattening variant.
struct Rec {
    const char* needs;
    const char* input;
    const char* echo;
};

const Rec kFile[] = {
    {"", "/ Feeding calendar /\n", ""},
    {"", "2\n\"Seasons\" \"n\"\n", "\nSeasons    (n):  2 "},
    {"", "1\n\"Jan 1\" \"code\"\n", "\nJan 1    (code):  1 "},
    {"", "2\n\"Changes\" \"n\"\n", "\nChanges    (n):  2 "},
    {"", "/ Changes /\n", ""},
    {"", "0 4 15\n\"Change\" \"y m d\"\n", "\nChange    (y m d):0 4 15\n   Days from January 1st of year zero: 105"},
    {"", "2\n\"Season\" \"code\"\n", "\nSeason    (code):  2 "},
    {"", "0 10 1\n\"Change\" \"y m d\"\n", "\nChange    (y m d):0 10 1\n   Days from January 1st of year zero: 274"},
    {"", "1\n\"Season\" \"code\"\n", "\nSeason    (code):  1 "},
    {"", "/ Rams /\n", ""},
    {"", "14\n\"flushbbR\" \"d\"\n", "\nflushbbR    (d):  14 "},
    {"", "30\n\"dselR\" \"d\"\n", "\ndselR    (d):  30 "},
    {"", "18.5 -3.5\n\"tp\" \"C\"\n", "\ntp    (C):   18.5   -3.5"},
    {"", "1 2\n3 4\n\"drymR\" \"f\"\n", "\ndrymR    (f):\n     1.000     2.000\n     3.000     4.000"},
    {"", "5 6\n7 8\n\"nedR\" \"MJ\"\n", "\nnedR    (MJ):\n     5.000     6.000\n     7.000     8.000"},
    {"P", "9 10\n11 12\n\"pdidR\" \"g\"\n", "\npdidR    (g):\n     9.000    10.000\n    11.000    12.000"},
    {"", "13 14\n15 16\n\"lossfR\" \"%\"\n", "\nlossfR    (%):\n    13.000    14.000\n    15.000    16.000"},
    {"", "0.25 0.5\n17 18\n\"prfR\" \"EUR\"\n", "\nprfR    (EUR):\n      0.2500      0.5000\n     17.0000     18.0000"},
    {"", "21\n\"flushbbE\" \"d\"\n", "\nflushbbE    (d):  21 "},
    {"", "22\n\"flushabE\" \"d\"\n", "\nflushabE    (d):  22 "},
    {"", "40\n\"dnpregcE\" \"d\"\n", "\ndnpregcE    (d):  40 "},
    {"", "1 2\n\"techE\" \"code\"\n", "\ntechE    (code):  1  2"},
    {"", "0.5\n\"ktE\" \"1\"\n", "\nktE    (1):      0.5000 "},
    {"", "1.5\n\"ktE\" \"2\"\n", "\nktE    (2):      1.5000 "},
    {"", "2.5\n\"ktE\" \"3\"\n", "\nktE    (3):      2.5000 "},
    {"", "50\n\"dshpE\" \"d\"\n", "\ndshpE    (d):  50 "},
    {"", "7.25\n\"fat\" \"%\"\n", "\nfat    (%):      7.2500 "},
    {"", "5.75\n\"prot\" \"%\"\n", "\nprot    (%):      5.7500 "},
    {"", "1 2\n3 4\n5 6\n7 8\n9 10\n\"drymE\" \"f\"\n",
     "\ndrymE    (f):\n     1.000     2.000\n     3.000     4.000\n     5.000     6.000\n     7.000     8.000"
     "\n     9.000    10.000"},
    {"", "11 12\n13 14\n15 16\n17 18\n19 20\n\"nedE\" \"MJ\"\n",
     "\nnedE    (MJ):\n    11.000    12.000\n    13.000    14.000\n    15.000    16.000\n    17.000    18.000"
     "\n    19.000    20.000"},
    {"P", "21 22\n23 24\n25 26\n27 28\n29 30\n\"pdidE\" \"g\"\n",
     "\npdidE    (g):\n    21.000    22.000\n    23.000    24.000\n    25.000    26.000\n    27.000    28.000"
     "\n    29.000    30.000"},
    {"", "31 32\n33 34\n35 36\n37 38\n39 40\n\"lossfE\" \"%\"\n",
     "\nlossfE    (%):\n    31.000    32.000\n    33.000    34.000\n    35.000    36.000\n    37.000    38.000"
     "\n    39.000    40.000"},
    {"", "41 42\n43 44\n45 46\n47 48\n49 50\n\"prfE\" \"EUR\"\n",
     "\nprfE    (EUR):\n     41.0000     42.0000\n     43.0000     44.0000\n     45.0000     46.0000"
     "\n     47.0000     48.0000\n     49.0000     50.0000"},
    {"", "3 2\n\"techbL\" \"code\"\n", "\ntechbL    (code):  3  2"},
    {"", "2 3\n\"techfatL\" \"code\"\n", "\ntechfatL    (code):  2  3"},
    {"", "0.25\n\"dwoolptwL\" \"kg\"\n", "\ndwoolptwL    (kg):      0.2500 "},
    {"", "0.75\n\"ktL\" \"1\"\n", "\nktL    (1):      0.7500 "},
    {"", "1.75\n\"ktL\" \"2\"\n", "\nktL    (2):      1.7500 "},
    {"", "2.75\n\"ktL\" \"3\"\n", "\nktL    (3):      2.7500 "},
    {"", "4.5\n\"nemilk\" \"MJ\"\n", "\nnemilk    (MJ):      4.5000 "},
    {"P", "70\n\"pdimilk\" \"g\"\n", "\npdimilk    (g):     70.0000 "},
    {"", "0.5 0.25\n\"drymL1\" \"f\"\n", "\ndrymL1    (f):     0.500     0.250"},
    {"", "9 8\n\"nedL1\" \"MJ\"\n", "\nnedL1    (MJ):     9.000     8.000"},
    {"P", "101.25 99.5\n\"pdidL1\" \"g\"\n", "\npdidL1    (g):    101.25     99.50"},
    {"", "11 12\n\"lossfL1\" \"%\"\n", "\nlossfL1    (%):    11.0    12.0"},
    {"", "0.5 0.75\n\"prfL1\" \"EUR\"\n", "\nprfL1    (EUR):      0.5000      0.7500"},
    {"", "/ Artificial rearing /\n", ""},
    {"W", "0.5\n\"dwoolptarL\" \"kg\"\n", "\ndwoolptarL    (kg):      0.5000 "},
    {"W", "1 2\n\"drymL2\" \"f\"\n", "\ndrymL2    (f):     1.000     2.000"},
    {"W", "3 4\n\"nedL2\" \"MJ\"\n", "\nnedL2    (MJ):     3.000     4.000"},
    {"WP", "5 6\n\"pdidL2\" \"g\"\n", "\npdidL2    (g):      5.00      6.00"},
    {"W", "7 8\n\"lossfL2\" \"%\"\n", "\nlossfL2    (%):     7.0     8.0"},
    {"W", "9 10\n\"prfL2\" \"EUR\"\n", "\nprfL2    (EUR):      9.0000     10.0000"},
    {"", "0.00521 0.00432\n\"dwoolptrL\" \"pure\"\n", "\ndwoolptrL    (pure):   0.00521   0.00432"},
    {"X", "0.00611 0.00522\n\"dwoolptrL\" \"cross\"\n", "\ndwoolptrL    (cross):   0.00611   0.00522"},
    {"", "31 32\n\"drymL3\" \"f\"\n", "\ndrymL3    (f):    31.000    32.000"},
    {"", "33 34\n\"nedL3\" \"MJ\"\n", "\nnedL3    (MJ):    33.000    34.000"},
    {"P", "35 36\n\"pdidL3\" \"g\"\n", "\npdidL3    (g):     35.00     36.00"},
    {"", "37 38\n\"lossfL3\" \"%\"\n", "\nlossfL3    (%):    37.0    38.0"},
    {"", "39 40\n\"prfL3\" \"EUR\"\n", "\nprfL3    (EUR):     39.0000     40.0000"},
    {"", "41 42\n\"drymL4\" \"f\"\n", "\ndrymL4    (f):    41.000    42.000"},
    {"", "43 44\n\"nedL4\" \"MJ\"\n", "\nnedL4    (MJ):    43.000    44.000"},
    {"P", "45 46\n\"pdidL4\" \"g\"\n", "\npdidL4    (g):     45.00     46.00"},
    {"", "47 48\n\"lossfL4\" \"%\"\n", "\nlossfL4    (%):    47.0    48.0"},
    {"", "49 50\n\"prfL4\" \"EUR\"\n", "\nprfL4    (EUR):     49.0000     50.0000"},
    {"", "51 52\n\"drymL5\" \"f\"\n", "\ndrymL5    (f):    51.000    52.000"},
    {"", "53 54\n\"nedL5\" \"MJ\"\n", "\nnedL5    (MJ):    53.000    54.000"},
    {"P", "55 56\n\"pdidL5\" \"g\"\n", "\npdidL5    (g):     55.00     56.00"},
    {"", "57 58\n\"lossfL5\" \"%\"\n", "\nlossfL5    (%):    57.0    58.0"},
    {"", "59 60\n\"prfL5\" \"EUR\"\n", "\nprfL5    (EUR):     59.0000     60.0000"},
    {"", "10\n\"flushbbL\" \"d\"\n", "\nflushbbL    (d):  10 "},
    {"", "5\n\"flushabL\" \"d\"\n", "\nflushabL    (d):  5 "},
    {"", "/ Fattening of females /\n", ""},
    {"F", "1 2\n3 4\n\"drymF\" \"f\"\n", "\ndrymF    (f):\n     1.000     2.000\n     3.000     4.000"},
    {"F", "5 6\n7 8\n\"nedF\" \"MJ\"\n", "\nnedF    (MJ):\n     5.000     6.000\n     7.000     8.000"},
    {"FP", "9 10\n11 12\n\"pdidF\" \"g\"\n", "\npdidF    (g):\n       9.0      10.0\n      11.0      12.0"},
    {"F", "13 14\n15 16\n\"lossfF\" \"%\"\n", "\nlossfF    (%):\n    13.000    14.000\n    15.000    16.000"},
    {"F", "17 18\n19 20\n\"prfF\" \"EUR\"\n", "\nprfF    (EUR):\n     17.0000     18.0000\n     19.0000     20.0000"},
    {"", "/ Fattening of males /\n", ""},
    {"M", "21 22\n\"drymM\" \"f\"\n", "\ndrymM    (f):\n    21.000    22.000"},
    {"M", "23 24\n\"nedM\" \"MJ\"\n", "\nnedM    (MJ):\n    23.000    24.000"},
    {"MP", "25 26\n\"pdidM\" \"g\"\n", "\npdidM    (g):\n      25.0      26.0"},
    {"M", "27 28\n\"lossfM\" \"%\"\n", "\nlossfM    (%):\n    27.000    28.000"},
    {"M", "29 30\n\"prfM\" \"EUR\"\n", "\nprfM    (EUR):\n     29.0000     30.0000"},
    {"", "/ Fattening of castrates /\n", ""},
    {"C", "31 32\n\"drymC\" \"f\"\n", "\ndrymC    (f):\n    31.000    32.000"},
    {"C", "33 34\n\"nedC\" \"MJ\"\n", "\nnedC    (MJ):\n    33.000    34.000"},
    {"CP", "35 36\n\"pdidC\" \"g\"\n", "\npdidC    (g):\n      35.0      36.0"},
    {"C", "37 38\n\"lossfC\" \"%\"\n", "\nlossfC    (%):\n    37.000    38.000"},
    {"C", "39 40\n\"prfC\" \"EUR\"\n", "\nprfC    (EUR):\n     39.0000     40.0000"},
    {"", "1 2\n3 4\n5 6\n7 8\n9 10\n\"dwatE\" \"l\"\n",
     "\ndwatE    (l):\n       1.0       2.0\n       3.0       4.0\n       5.0       6.0\n       7.0       8.0"
     "\n       9.0      10.0"},
    {"", "11 12\n13 14\n\"dwatR\" \"l\"\n", "\ndwatR    (l):\n      11.0      12.0\n      13.0      14.0"},
    {"", "15 16\n\"dwatL1\" \"l\"\n", "\ndwatL1    (l):      15.0      16.0"},
    {"W", "17 18\n\"dwatL2\" \"l\"\n", "\ndwatL2    (l):      17.0      18.0"},
    {"", "19 20\n21 22\n23 24\n\"dwatL3\" \"l\"\n",
     "\ndwatL3    (l):\n      19.0      20.0\n      21.0      22.0\n      23.0      24.0"},
    {"", "/ Water in fattening of females /\n", ""},
    {"F", "25 26\n27 28\n\"dwatF\" \"l\"\n", "\ndwatF    (l):\n      25.0      26.0\n      27.0      28.0"},
    {"", "/ males /\n", ""},
    {"M", "29 30\n\"dwatM\" \"l\"\n", "\ndwatM    (l):\n      29.0      30.0"},
    {"", "/ castrates /\n", ""},
    {"C", "31 32\n\"dwatC\" \"l\"\n", "\ndwatC    (l):\n      31.0      32.0"},
    {"", "0.002\n\"prwat\" \"EUR\"\n", "\nprwat    (EUR):      0.0020 "},
};

struct Vars {
    int feedcost, typew, crossing, lfF, lfM, lfC;
};

bool holds(const char* needs, const Vars& v) {
    for (const char* c = needs; *c; ++c) {
        const bool ok = *c == 'P'   ? v.feedcost == 1
                        : *c == 'W' ? v.typew == 2
                        : *c == 'X' ? v.crossing == 2
                        : *c == 'F' ? v.lfF > 0
                        : *c == 'M' ? v.lfM > 0
                                    : v.lfC > 0;
        if (!ok) return false;
    }
    return true;
}

std::string fileText() {
    std::string s;
    for (const Rec& r : kFile) s += r.input;
    return s;
}

// Replaces the first occurrence of `from`; a text that does not occur
// spoils the file, so that the case cannot pass unnoticed.
std::string replaced(std::string s, const std::string& from, const std::string& to) {
    const auto p = s.find(from);
    if (p == std::string::npos) return "\"no " + from + " in the file\"";
    return s.replace(p, from.size(), to);
}

void setVars(Model& m, const Vars& v) {
    m.feedcost = v.feedcost;
    m.typew = v.typew;
    m.crossing = v.crossing;
    m.lf[1] = v.lfF;
    m.lf[2] = v.lfM;
    m.lf[0] = v.lfC;
}

// Reads `text` as INPUTS08.TXT; returns what is left in the file.
std::string readText(Harness& h, const std::string& text) {
    h.dir.write("INPUTS08.TXT", text);
    testutil::InDir dir(h.dir.path());
    InFile in = openInput(h.run, "INPUTS08.TXT");
    readInputs08(h.run, in);
    std::string rest;
    for (int c; (c = std::fgetc(in.f)) != EOF;) rest += char(c);
    closeInput(in);
    return rest;
}

class Inputs08Echo : public testing::TestWithParam<Vars> {};

}  // namespace

TEST_P(Inputs08Echo, ReadsExactlyTheNeededRecordsAndEchoesThem) {
    Harness h;
    setVars(*h.model, GetParam());
    std::string golden;
    for (const Rec& r : kFile)
        if (holds(r.needs, GetParam())) golden += r.echo;
    // Skipped records are consumed too: the reader ends at the end of the file.
    EXPECT_EQ(readText(h, fileText()), "\n");
    EXPECT_EQ(h.results(), golden);
    EXPECT_EQ(h.console(), "");
}

INSTANTIATE_TEST_SUITE_P(Variables, Inputs08Echo,
                         testing::Values(Vars{1, 2, 2, 2, 1, 1}, Vars{2, 1, 1, 0, 0, 0}, Vars{2, 2, 1, 2, 0, 0},
                                         Vars{1, 1, 2, 0, 1, 1}),
                         [](const testing::TestParamInfo<Vars>& i) {
                             const Vars& v = i.param;
                             return "feedcost" + std::to_string(v.feedcost) + "_typew" + std::to_string(v.typew) +
                                    "_crossing" + std::to_string(v.crossing) + "_lf" + std::to_string(v.lfF) +
                                    std::to_string(v.lfM) + std::to_string(v.lfC);
                         });

TEST(Inputs08, ValuesLandInTheirGroupsAndSeasons) {
    Harness h;
    setVars(*h.model, {1, 2, 2, 2, 1, 1});
    readText(h, fileText());
    const Model& m = *h.model;
    EXPECT_EQ(m.nfs, 2);
    EXPECT_EQ(m.nchfs, 2);
    EXPECT_EQ(m.valfs[0], 1);
    EXPECT_EQ(m.valfs[1], 2);
    EXPECT_EQ(m.valfs[2], 1);
    EXPECT_EQ(m.datchfs[1], 105);
    EXPECT_EQ(m.datchfs[2], 274);
    EXPECT_EQ(m.flushbbR, 14);
    EXPECT_EQ(m.dselR, 30);
    EXPECT_EQ(double(m.tp[2]), -3.5);
    EXPECT_EQ(double(m.drymR[2][1]), 3.0);
    EXPECT_EQ(double(m.pdidR[1][2]), 10.0);
    EXPECT_EQ(double(m.prfR[1][1]), 0.25);
    EXPECT_EQ(m.techE[2], 2);
    EXPECT_EQ(double(m.ktE[3]), 2.5);
    EXPECT_EQ(m.dshpE, 50);
    EXPECT_EQ(double(m.prot), 5.75);
    EXPECT_EQ(double(m.nedE[5][1]), 19.0);
    EXPECT_EQ(double(m.prfE[4][2]), 48.0);
    EXPECT_EQ(m.techbL[1], 3);
    EXPECT_EQ(m.techfatL[2], 3);
    EXPECT_EQ(double(m.ktL[1]), 0.75);
    EXPECT_EQ(double(m.pdimilk), 70.0);
    EXPECT_EQ(double(m.pdidL[1][1]), 101.25);
    EXPECT_EQ(double(m.dwoolptarL), 0.5);
    EXPECT_EQ(double(m.lossfL[2][2]), 8.0);
    EXPECT_EQ(double(m.dwoolptrL[1][1]), 0.00521f);
    EXPECT_EQ(double(m.dwoolptrL[2][1]), 0.00432f);
    EXPECT_EQ(double(m.dwoolptrL[1][2]), 0.00611f);
    EXPECT_EQ(double(m.dwoolptrL[2][2]), 0.00522f);
    EXPECT_EQ(double(m.prfL[5][2]), 60.0);
    EXPECT_EQ(m.flushabL, 5);
    // Female variants are groups 6 and 7, males 11, castrates 16.
    EXPECT_EQ(double(m.drymL[7][1]), 3.0);
    EXPECT_EQ(double(m.pdidL[6][2]), 10.0);
    EXPECT_EQ(double(m.drymL[8][1]), 0.0);
    EXPECT_EQ(double(m.nedL[11][2]), 24.0);
    EXPECT_EQ(double(m.prfL[16][1]), 39.0);
    EXPECT_EQ(double(m.dwatE[5][2]), 10.0);
    EXPECT_EQ(double(m.dwatR[2][1]), 13.0);
    EXPECT_EQ(double(m.dwatL[1][2]), 16.0);
    EXPECT_EQ(double(m.dwatL[2][1]), 17.0);
    EXPECT_EQ(double(m.dwatL[5][2]), 24.0);
    EXPECT_EQ(double(m.dwatL[7][1]), 27.0);
    EXPECT_EQ(double(m.dwatL[11][2]), 30.0);
    EXPECT_EQ(double(m.dwatL[16][1]), 31.0);
    EXPECT_EQ(double(m.prwat), 0.002f);
}

TEST(Inputs08, SkippedRecordsLeaveTheirQuantitiesZero) {
    Harness h;
    setVars(*h.model, {2, 1, 1, 0, 0, 0});
    readText(h, fileText());
    const Model& m = *h.model;
    EXPECT_EQ(double(m.pdidR[1][1]), 0.0);
    EXPECT_EQ(double(m.pdidE[5][2]), 0.0);
    EXPECT_EQ(double(m.pdidL[1][1]), 0.0);
    EXPECT_EQ(double(m.pdimilk), 0.0);
    EXPECT_EQ(double(m.dwoolptarL), 0.0);
    EXPECT_EQ(double(m.drymL[2][1]), 0.0);
    EXPECT_EQ(double(m.dwoolptrL[1][2]), 0.0);
    EXPECT_EQ(double(m.drymL[6][1]), 0.0);
    EXPECT_EQ(double(m.dwatL[2][1]), 0.0);
    EXPECT_EQ(double(m.dwatL[16][1]), 0.0);
    // The records after the skipped ones are still read in their place.
    EXPECT_EQ(double(m.drymL[3][2]), 32.0);
    EXPECT_EQ(double(m.dwatL[3][1]), 19.0);
    EXPECT_EQ(double(m.prwat), 0.002f);
}

// ---- checks ----

namespace {

const std::string kTail = "Correct this error in INPUTS08.TXT and restart the program.\n";
const std::string kSeasons = "The number of feeding seasons must be in the range from 1\nto 4. " + kTail;
const std::string kChanges =
    "The number of changes of the feeding season in a year must be in the\nrange from 0 to 7. " + kTail;
const std::string kBadDate =
    "The date of change in the feeding season is wrong. Correct the date in\n"
    "  INPUTS08.TXT and restart the program.\n\n\n";
const std::string kLastCode =
    "The code for the feeding season after the last change in the year\n"
    "  must be the same as the code on January 1st.\n  " + kTail;
const std::string kCode =
    "The code of a feeding season must be in the range from 1 to 2,\n"
    "the number of feeding seasons. Correct this error in INPUTS08.TXT\nand restart the program.\n";
const std::string kOrder =
    "The dates of change in the feeding season must increase and lie within\none year. " + kTail;
std::string technology(const std::string& animals) {
    return "The code of the keeping technology of " + animals + " must be in the\nrange from 1 to 3. " + kTail;
}

// The calendar of the test file with `nchfs` changes "0 q 10" (q = 1 ..
// nchfs) to the seasons in `codes`; the file ends after it.
std::string calendarOnly(int nfs, int start, const std::vector<int>& codes) {
    std::string s = "/ c /\n" + std::to_string(nfs) + " \"Seasons\" \"n\"\n" + std::to_string(start) +
                    " \"Jan 1\" \"code\"\n" + std::to_string(codes.size()) + " \"Changes\" \"n\"\n/ c /\n";
    for (std::size_t q = 0; q < codes.size(); ++q)
        s += "0 " + std::to_string(q + 1) + " 10 \"Change\" \"ymd\"\n" + std::to_string(codes[q]) + " \"S\" \"c\"\n";
    return s + "/ c /\n";
}

std::string endsAt(int record) {
    return "The input file INPUTS08.TXT ends in record " + std::to_string(record) +
           ", where a whole number is expected.\n  Complete the file and restart the program.\n";
}

struct CheckCase {
    const char* name;
    std::string file;
    std::string message;
    std::string echoEnd;  // the results file ends with this echo
};

class Inputs08DeathTest : public testing::TestWithParam<CheckCase> {};

}  // namespace

TEST_P(Inputs08DeathTest, StopsWithItsMessageAfterTheRightRecord) {
    Harness h;
    setVars(*h.model, {1, 2, 2, 2, 1, 1});
    EXPECT_EXIT(readText(h, GetParam().file), testing::ExitedWithCode(1), "");
    EXPECT_EQ(testutil::maskElapsed(h.console()),
              "\n\n\nError message:\n" + GetParam().message + "The program needed T seconds.\n\n\n");
    const std::string res = h.results();
    const std::string& end = GetParam().echoEnd;
    EXPECT_TRUE(res.size() >= end.size() && res.compare(res.size() - end.size(), end.size(), end) == 0) << res;
}

INSTANTIATE_TEST_SUITE_P(
    Checks, Inputs08DeathTest,
    testing::Values(
        CheckCase{"NoSeasons", replaced(fileText(), "2\n\"Seasons\"", "0\n\"Seasons\""), kSeasons,
                  "\nSeasons    (n):  0 "},
        CheckCase{"FiveSeasons", replaced(fileText(), "2\n\"Seasons\"", "5\n\"Seasons\""), kSeasons,
                  "\nSeasons    (n):  5 "},
        CheckCase{"EightChanges", replaced(fileText(), "2\n\"Changes\"", "8\n\"Changes\""), kChanges,
                  "\nChanges    (n):  8 "},
        CheckCase{"NegativeChanges", replaced(fileText(), "2\n\"Changes\"", "-1\n\"Changes\""), kChanges,
                  "\nChanges    (n):  -1 "},
        // The bad date is echoed with its day number -1 before the stop,
        // and the season code after it is not read.
        CheckCase{"BadDate", replaced(fileText(), "0 10 1", "0 9 31"), kBadDate,
                  "0 9 31\n   Days from January 1st of year zero: -1"},
        CheckCase{"LastCodeDiffersFromStart", replaced(fileText(), "1\n\"Season\"", "2\n\"Season\""), kLastCode,
                  "\nSeason    (code):  2 "},
        CheckCase{"CodeAboveSeasons", replaced(replaced(fileText(), "1\n\"Jan 1\"", "3\n\"Jan 1\""),
                                               "1\n\"Season\"", "3\n\"Season\""),
                  kCode, "\nSeason    (code):  3 "},
        CheckCase{"CodeZero", replaced(fileText(), "2\n\"Season\"", "0\n\"Season\""), kCode,
                  "\nSeason    (code):  1 "},
        CheckCase{"DatesDecrease", replaced(fileText(), "0 10 1", "0 3 1"), kOrder, "\nSeason    (code):  1 "},
        CheckCase{"EqualDates", replaced(fileText(), "0 10 1", "0 4 15"), kOrder, "\nSeason    (code):  1 "},
        CheckCase{"DatesSpanAYear", replaced(fileText(), "0 10 1", "1 4 15"), kOrder, "\nSeason    (code):  1 "},
        CheckCase{"EweTechnologyAboveThree", replaced(fileText(), "1 2\n\"techE\"", "1 4\n\"techE\""),
                  technology("ewes"), "\ntechE    (code):  1  4"},
        CheckCase{"EweTechnologyZero", replaced(fileText(), "1 2\n\"techE\"", "0 2\n\"techE\""),
                  technology("ewes"), "\ntechE    (code):  0  2"},
        CheckCase{"LambTechnologyZero", replaced(fileText(), "3 2\n\"techbL\"", "3 0\n\"techbL\""),
                  technology("lambs and young stock"), "\ntechbL    (code):  3  0"},
        CheckCase{"FatteningTechnologyAboveThree", replaced(fileText(), "2 3\n\"techfatL\"", "4 3\n\"techfatL\""),
                  technology("fattened lambs"), "\ntechfatL    (code):  4  3"},
        // Several faults: the first check in reading order stops the run.
        CheckCase{"BadDateBeforeCodes", replaced(replaced(fileText(), "0 4 15", "0 2 30"), "1\n\"Season\"",
                                                 "2\n\"Season\""),
                  kBadDate, "0 2 30\n   Days from January 1st of year zero: -1"},
        CheckCase{"LastCodeBeforeRange", calendarOnly(2, 3, {1, 2}), kLastCode, " S    (c):  2 "},
        CheckCase{"CodeBeforeOrder", replaced(replaced(fileText(), "0 10 1", "0 3 1"), "2\n\"Season\"",
                                              "3\n\"Season\""),
                  kCode, "\nSeason    (code):  1 "},
        // Calendars that pass every check: the run stops only because the
        // file ends after the calendar.
        CheckCase{"OneSeasonNoChange", calendarOnly(1, 1, {}), endsAt(7), " Changes    (n):  0 "},
        CheckCase{"FourSeasonsSevenChanges", calendarOnly(4, 4, {1, 2, 3, 4, 3, 2, 4}), endsAt(21),
                  " S    (c):  4 "},
        CheckCase{"ChangesWithinOneYear",
                  replaced(replaced(fileText(), "0 10 1", "1 4 14"), "1 2\n\"techE\"", "1 5\n\"techE\""),
                  technology("ewes"), "\ntechE    (code):  1  5"}),
    [](const testing::TestParamInfo<CheckCase>& i) { return std::string(i.param.name); });
