// INPUTS04.TXT: which of the 54 records are read and which skipped for the
// surplus progeny reared for breeding, crossing, female replacement and
// purchase of rams; the echo; and the weight check of purchased rams.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "input/inputs.h"
#include "input/reader.h"
#include "test_util.h"

using testutil::Harness;

namespace {

// The records 2..54 of the file: number of values (0 a scalar record read
// with readfloat, -1 the integer record) and the model element of value k.
struct Rec {
    int n;
    double (*get)(const Model& m, int k);
};

const std::map<int, Rec> kRecords = {
    {2, {0, [](const Model& m, int) -> double { return m.mwE[1]; }}},
    {3, {0, [](const Model& m, int) -> double { return m.mwE2; }}},
    {4, {0, [](const Model& m, int) -> double { return m.pwrepFP[1]; }}},
    {5, {0, [](const Model& m, int) -> double { return m.pwrepFP[2]; }}},
    {6, {2, [](const Model& m, int k) -> double { return m.adgr[1][k][1]; }}},
    {7, {2, [](const Model& m, int k) -> double { return m.adgr[1][k][2]; }}},
    {8, {0, [](const Model& m, int) -> double { return m.vcwr[1][1]; }}},
    {9, {0, [](const Model& m, int) -> double { return m.vcwr[1][2]; }}},
    {10, {0, [](const Model& m, int) -> double { return m.psold[1][0][1]; }}},
    {11, {0, [](const Model& m, int) -> double { return m.psold[1][0][2]; }}},
    {12, {3, [](const Model& m, int k) -> double { return m.conrateFP[k][1]; }}},
    {13, {3, [](const Model& m, int k) -> double { return m.conrateFP[k][2]; }}},
    {14, {2, [](const Model& m, int k) -> double { return m.pbarrFP[k][1]; }}},
    {15, {2, [](const Model& m, int k) -> double { return m.pbarrFP[k][2]; }}},
    {16, {3, [](const Model& m, int k) -> double { return m.surbs[1][k][1]; }}},
    {17, {3, [](const Model& m, int k) -> double { return m.surbs[1][k][2]; }}},
    {18, {0, [](const Model& m, int) -> double { return m.surmlFP[1]; }}},
    {19, {0, [](const Model& m, int) -> double { return m.surmlFP[2]; }}},
    {20, {-1, [](const Model& m, int) -> double { return m.lpreg; }}},
    {21, {0, [](const Model& m, int) -> double { return m.wgfE; }}},
    {22, {0, [](const Model& m, int) -> double { return m.wgfL; }}},
    {23, {0, [](const Model& m, int) -> double { return m.agetP[13][1]; }}},
    {24, {0, [](const Model& m, int) -> double { return m.agetP[13][2]; }}},
    {25, {0, [](const Model& m, int) -> double { return m.agetP[26][1]; }}},
    {26, {0, [](const Model& m, int) -> double { return m.agetP[26][2]; }}},
    {27, {0, [](const Model& m, int) -> double { return m.dpregsFP; }}},
    {28, {0, [](const Model& m, int) -> double { return m.dnpregcFP; }}},
    {29, {0, [](const Model& m, int) -> double { return m.ppurchFP; }}},
    {30, {0, [](const Model& m, int) -> double { return m.ppurchMP; }}},
    {31, {0, [](const Model& m, int) -> double { return m.mwMP[1]; }}},
    {32, {0, [](const Model& m, int) -> double { return m.mwR[2]; }}},
    {33, {0, [](const Model& m, int) -> double { return m.pwrepMP; }}},
    {34, {2, [](const Model& m, int k) -> double { return m.adgr[2][k][1]; }}},
    {35, {2, [](const Model& m, int k) -> double { return m.adgr[2][k][2]; }}},
    {36, {0, [](const Model& m, int) -> double { return m.vcwr[2][1]; }}},
    {37, {0, [](const Model& m, int) -> double { return m.vcwr[2][2]; }}},
    {38, {0, [](const Model& m, int) -> double { return m.psold[2][1][1]; }}},
    {39, {0, [](const Model& m, int) -> double { return m.psold[2][1][2]; }}},
    {40, {2, [](const Model& m, int k) -> double { return m.surbs[2][k][1]; }}},
    {41, {2, [](const Model& m, int k) -> double { return m.surbs[2][k][2]; }}},
    {42, {2, [](const Model& m, int k) -> double { return m.cullbsMP[k][1]; }}},
    {43, {2, [](const Model& m, int k) -> double { return m.cullbsMP[k][2]; }}},
    {44, {0, [](const Model& m, int) -> double { return m.agetP[38][1]; }}},
    {45, {0, [](const Model& m, int) -> double { return m.agetP[38][2]; }}},
    {46, {0, [](const Model& m, int) -> double { return m.agetP[40][1]; }}},
    {47, {0, [](const Model& m, int) -> double { return m.agetP[40][2]; }}},
    {48, {0, [](const Model& m, int) -> double { return m.agepurMP[1]; }}},
    {49, {0, [](const Model& m, int) -> double { return m.agepurMP[2]; }}},
    {50, {0, [](const Model& m, int) -> double { return m.wpurMP[1]; }}},
    {51, {0, [](const Model& m, int) -> double { return m.wpurMP[2]; }}},
    {52, {0, [](const Model& m, int) -> double { return m.ratioyoungR; }}},
    {53, {0, [](const Model& m, int) -> double { return m.ratiooldR; }}},
    {54, {0, [](const Model& m, int) -> double { return m.hetmw; }}},
};

using Overrides = std::map<int, std::vector<double>>;

// Values of record r: r + 0.25 for a scalar, r + 0.01 k for value k of a
// vector, except the length of pregnancy, the purchase fraction of rams and
// the ram weights, which must make sense together.
std::vector<double> values(int r, const Overrides& ov) {
    const auto o = ov.find(r);
    if (o != ov.end()) return o->second;
    static const Overrides fixed = {{20, {150}}, {30, {0.5}}, {31, {90}}, {32, {100}}, {50, {40}}, {51, {45}}};
    const auto f = fixed.find(r);
    if (f != fixed.end()) return f->second;
    const int n = kRecords.at(r).n;
    if (n <= 0) return {r + 0.25};
    std::vector<double> v;
    for (int k = 1; k <= n; ++k) v.push_back(r + 0.01 * k);
    return v;
}

// A complete INPUTS04.TXT: the comment and the records 2..54 named
// "Record r", then a record of the next file.
std::string file04(const Overrides& ov = {}) {
    std::string s = "/ Mature weights and replacement /\n";
    for (const auto& [r, rec] : kRecords) {
        char num[32];
        for (double x : values(r, ov)) {
            std::snprintf(num, sizeof num, "%.9g ", x);
            s += num;
        }
        s += "\"Record " + std::to_string(r) + "\" \"u\"\n";
    }
    return s;
}

const std::string kSentinel = "99 \"Next file\" \"-\"\n";

std::string rest(InFile& in) {
    std::string s;
    for (int c; (c = std::fgetc(in.f)) != EOF;) s += char(c);
    return s;
}

// Reads `text` as INPUTS04.TXT with the reader itself.
void read04(Harness& h, const std::string& text, std::string* remainder = nullptr) {
    h.dir.write("INPUTS04.TXT", text);
    testutil::InDir dir(h.dir.path());
    InFile in = openInput(h.run, "INPUTS04.TXT");
    readInputs04(h.run, in);
    if (remainder) *remainder = rest(in);
    closeInput(in);
}

// Surplus progeny reared for breeding: psp[k][2][b] of females (k = 1)
// and males (k = 2) of breed b.
struct Reared {
    double F1 = 0, F2 = 0, M1 = 0, M2 = 0;
};

void setSystem(Harness& h, int crossing, int femrep, Reared p) {
    Model& m = *h.model;
    m.crossing = crossing;
    m.femrep = femrep;
    m.psp[1][2][1] = p.F1;
    m.psp[1][2][2] = p.F2;
    m.psp[2][2][1] = p.M1;
    m.psp[2][2][2] = p.M2;
}

std::set<int> range(int a, int b) {
    std::set<int> s;
    for (int r = a; r <= b; ++r) s.insert(r);
    return s;
}

}  // namespace

// ---- presence of the records ---------------------------------------------

struct Presence {
    const char* name;
    int crossing, femrep;
    Reared reared;
    Overrides ov;
    std::set<int> present;   // records read; all others are skipped
};

void PrintTo(const Presence& c, std::ostream* os) { *os << c.name; }

class Inputs04Presence : public testing::TestWithParam<Presence> {};

TEST_P(Inputs04Presence, ReadsExactlyTheRecordsOfTheSystem) {
    const Presence& c = GetParam();
    Harness h;
    setSystem(h, c.crossing, c.femrep, c.reared);
    std::string remainder;
    read04(h, file04(c.ov) + kSentinel, &remainder);
    EXPECT_EQ(remainder, "\n" + kSentinel);   // every record, read or skipped, is consumed
    EXPECT_EQ(h.console(), "");
    const Model& m = *h.model;
    for (const auto& [r, rec] : kRecords) {
        const std::vector<double> v = values(r, c.ov);
        const bool present = c.present.count(r) > 0;
        for (int k = 1; k <= int(v.size()); ++k)
            EXPECT_EQ(rec.get(m, k), present ? double(float(v[k - 1])) : 0.0) << "record " << r << " value " << k;
    }
    EXPECT_EQ(double(m.mwR[1]), double(m.mwMP[1]));
    // The vectors hold the stages of their sex only.
    EXPECT_EQ(double(m.adgr[1][3][1]), 0.0);
    EXPECT_EQ(double(m.pbarrFP[3][1]), 0.0);
    EXPECT_EQ(double(m.surbs[2][3][1]), 0.0);
    EXPECT_EQ(double(m.cullbsMP[3][1]), 0.0);
}

namespace {
const Reared kAll{0.2, 0.2, 0.2, 0.2};
const std::set<int> kAlwaysRead = {2, 4, 6, 8, 12, 14, 16, 18, 20, 21, 22, 28, 30, 31, 52, 53, 54};
std::set<int> plus(std::set<int> s, std::initializer_list<int> more) {
    s.insert(more);
    return s;
}
}  // namespace

INSTANTIATE_TEST_SUITE_P(
    Systems, Inputs04Presence,
    testing::Values(
        Presence{"PureBredNothingReared", 1, 1, {}, {}, plus(kAlwaysRead, {33, 34, 36, 40, 42, 48, 50})},
        Presence{"CrossingEverythingReared", 2, 2, kAll, {}, range(2, 54)},
        // Without crossing no record of breed 2 is read, whatever the fractions.
        Presence{"NoCrossBredRecordsWithoutCrossing", 1, 2, kAll, {},
                 plus(kAlwaysRead, {10, 23, 25, 27, 29, 33, 34, 36, 38, 40, 42, 44, 46, 48, 50})},
        // Nothing bought: wpurMP[1] and agepurMP[1] stay zero; rams of the
        // breed used for crossing are read all the same.
        Presence{"CrossingNothingRearedNothingBought", 2, 1, {}, {{30, {0}}},
                 plus(kAlwaysRead, {3, 32, 33, 34, 36, 40, 42, 49, 51})},
        Presence{"PurchaseFractionOneStillReadsRamRearing", 1, 1, {}, {{30, {1}}},
                 plus(kAlwaysRead, {33, 34, 36, 40, 42, 48, 50})},
        Presence{"PurchaseFractionAboveOneSkipsRamRearing", 1, 1, {}, {{30, {1.00001}}},
                 plus(kAlwaysRead, {48, 50})},
        Presence{"PurchaseFractionAboveOneWithRearedMales", 1, 1, Reared{0, 0, 0.2, 0}, {{30, {1.00001}}},
                 plus(kAlwaysRead, {33, 34, 36, 38, 40, 42, 44, 46, 48, 50})},
        // The sale ages of young females follow psold of their own breed.
        Presence{"SaleAgesOfCrossBredFemalesOnly", 2, 1, Reared{0.2, 0.2, 0, 0}, {{10, {0}}, {11, {0.3}}},
                 plus(range(2, 22), {24, 26, 27, 28, 30, 31, 32, 33, 34, 36, 40, 42, 48, 49, 50, 51, 52,
                                     53, 54})},
        Presence{"CrossBredFemalesOnly", 2, 1, Reared{0, 0.2, 0, 0}, {},
                 plus(kAlwaysRead, {3, 5, 7, 9, 11, 13, 15, 17, 19, 24, 26, 27, 32, 33, 34, 36, 40, 42, 48, 49,
                                    50, 51})},
        Presence{"CrossBredMalesOnly", 2, 1, Reared{0, 0, 0, 0.2}, {},
                 plus(kAlwaysRead, {3, 32, 33, 34, 35, 36, 37, 39, 40, 41, 42, 43, 45, 47, 48, 49, 50, 51})},
        Presence{"FemaleReplacementBought", 1, 2, {}, {}, plus(kAlwaysRead, {29, 33, 34, 36, 40, 42, 48, 50})}),
    [](const testing::TestParamInfo<Presence>& i) { return std::string(i.param.name); });

// ---- echo ---------------------------------------------------------------

TEST(Inputs04, EchoOfASmallCompleteFileAsASection) {
    Harness h;
    setSystem(h, 1, 1, {});
    h.run.sectionNo = 4;
    h.dir.write("INPUTS04.TXT", file04());
    {
        testutil::InDir dir(h.dir.path());
        readInputFile(h.run, 4, readInputs04);
    }
    EXPECT_EQ(h.console(), "Reading data from INPUTS04.TXT\n");
    EXPECT_EQ(h.results(),
              "2.5 Data from file INPUTS04.TXT\n"
              "-------------------------------\n"
              " Record 2    (u):      2.2500 "
              " Record 4    (u):      4.2500 "
              "\nRecord 6    (u):   6.010   6.020"
              " Record 8    (u):      8.2500 "
              "\nRecord 12    (u):  12.010  12.020  12.030"
              "\nRecord 14    (u):  14.010  14.020"
              "\nRecord 16    (u):  16.010  16.020  16.030"
              " Record 18    (u):     18.2500 "
              " Record 20    (u):  150 "
              " Record 21    (u):     21.2500 "
              " Record 22    (u):     22.2500 "
              " Record 28    (u):     28.2500 "
              " Record 30    (u):      0.5000 "
              " Record 31    (u):     90.0000 "
              " Record 33    (u):     33.2500 "
              "\nRecord 34    (u):  34.010  34.020"
              " Record 36    (u):     36.2500 "
              "\nRecord 40    (u):  40.010  40.020"
              "\nRecord 42    (u):  42.010  42.020"
              " Record 48    (u):     48.2500 "
              " Record 50    (u):     40.0000 "
              " Record 52    (u):     52.2500 "
              " Record 53    (u):     53.2500 "
              " Record 54    (u):     54.2500 "
              "\n\n\n");
    EXPECT_EQ(h.model->lpreg, 150);
}

// ---- weight of purchased rams ---------------------------------------------

struct RamWeight {
    const char* name;
    int crossing;
    Overrides ov;
    std::string message;   // empty: passes
};

const std::string kPureBredRams =
    "The weight of purchased rams of the breed of the herd\n"
    "  is not correct.\n"
    "  The weight must be less than mature weight ( 90 kg).\n"
    "  Correct the appropriate value in INPUTS04.TXT and restart the program.\n\n\n";
const std::string kCrossBredRams =
    "The weight of purchased rams of of the breed used for crossing in the herd\n"
    "  is not correct.\n"
    "  The weight must be less than mature weight (100 kg).\n"
    "  Correct the appropriate value in INPUTS04.TXT and restart the program.\n\n\n";

void PrintTo(const RamWeight& c, std::ostream* os) { *os << c.name; }

class Inputs04RamWeight : public testing::TestWithParam<RamWeight> {};

TEST_P(Inputs04RamWeight, PurchasedRamsAreNotHeavierThanMature) {
    const RamWeight& c = GetParam();
    Harness h;
    setSystem(h, c.crossing, 1, {});
    const std::string text = file04(c.ov);
    if (c.message.empty()) {
        read04(h, text);
        EXPECT_EQ(h.console(), "");
        EXPECT_NE(h.results().find("Record 54"), std::string::npos);
        if (c.ov.count(30)) {
            EXPECT_EQ(double(h.model->wpurMP[1]), 0.0);
        }
    } else {
        EXPECT_EXIT(read04(h, text), testing::ExitedWithCode(1), "");
        EXPECT_EQ(testutil::maskElapsed(h.console()),
                  "\n\n\nError message:\n" + c.message + "The program needed T seconds.\n\n\n");
        // Tested after the last weight record, before the three that follow.
        const std::string res = h.results();
        EXPECT_NE(res.find(c.crossing == 2 ? "Record 51" : "Record 50"), std::string::npos);
        EXPECT_EQ(res.find("Record 52"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Checks, Inputs04RamWeight,
    testing::Values(
        RamWeight{"EqualWeightsPass", 2, {{50, {90}}, {51, {100}}}, ""},
        RamWeight{"PureBredGramAboveStops", 1, {{50, {90.001}}}, kPureBredRams},
        RamWeight{"PureBredGramAboveStopsWithCrossing", 2, {{50, {90.001}}}, kPureBredRams},
        RamWeight{"CrossBredGramAboveStops", 2, {{50, {90}}, {51, {100.001}}}, kCrossBredRams},
        RamWeight{"BothAboveReportsPureBredFirst", 2, {{50, {95}}, {51, {120}}}, kPureBredRams},
        // The weight record of bought rams is skipped: wpurMP[1] stays 0.
        RamWeight{"NothingBoughtPasses", 1, {{30, {0}}, {50, {95}}}, ""},
        // Without crossing the record of cross-bred rams is skipped, so not
        // tested.
        RamWeight{"CrossBredNotTestedWithoutCrossing", 1, {{51, {500}}}, ""}),
    [](const testing::TestParamInfo<RamWeight>& i) { return std::string(i.param.name); });
