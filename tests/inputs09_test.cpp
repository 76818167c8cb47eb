// INPUTS09.TXT: the records read and skipped under each set of system
// variables, their echo and where the values land.
//
// The test file holds its records in the order of the file; the record at
// position p holds the value p (the values of a record of several numbers
// p * 10 + 1, p * 10 + 2, ...) and is named "q<p>".  The four records of each fattened kind
// occupy positions 89 to 100 (females, males, castrates), so the records
// that follow them stand at positions 101 to 107.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "input/inputs.h"
#include "input/reader.h"
#include "test_util.h"

using testutil::Harness;

namespace {

// Numbers per record, 0 for a comment; record 77 is a vector of three
// values, and the fattening records hold two values for females, one for
// males and three for castrates.
std::vector<int> layout() {
    std::vector<int> n(108, 1);
    for (int p : {1, 28, 31, 46, 49, 56, 66, 88}) n[p] = 0;
    n[77] = 3;
    for (int p = 89; p <= 92; ++p) n[p] = 2;
    for (int p = 97; p <= 100; ++p) n[p] = 3;
    return n;
}

std::string numberedFile(const std::vector<int>& n) {
    std::string s;
    for (std::size_t p = 1; p < n.size(); ++p) {
        const std::string q = std::to_string(p);
        if (n[p] == 0) {
            s += "/ comment " + q + " /\n";
            continue;
        }
        if (n[p] == 1) s += q;
        for (int j = 1; n[p] > 1 && j <= n[p]; ++j) s += (j > 1 ? " " : "") + std::to_string(p * 10 + j);
        s += "\n\"q" + q + "\" \"u\"\n";
    }
    return s;
}

// The echo of the scalar records at positions from .. to.
std::string scalars(int from, int to) {
    std::string s;
    char b[64];
    for (int p = from; p <= to; ++p) {
        std::snprintf(b, sizeof b, "\nq%d    (u):%12.4f ", p, double(p));
        s += b;
    }
    return s;
}

// Echo of the integer record nreins.
const std::string kNreins = "\nq20    (u):  20 ";
const std::string kShearingsOfYoungStock = "\nq77    (u):  771.0  772.0  773.0";
const std::string kFemales = "\nq89    (u):  891.0  892.0\nq90    (u):  901.0  902.0"
                             "\nq91    (u):    911.0000    912.0000\nq92    (u):  921.0  922.0";
const std::string kMales = "\nq93    (u):   93.0\nq94    (u):   94.0\nq95    (u):     95.0000\nq96    (u):   96.0";
const std::string kCastrates = "\nq97    (u):  971.0  972.0  973.0\nq98    (u):  981.0  982.0  983.0"
                               "\nq99    (u):    991.0000    992.0000    993.0000\nq100    (u): 1001.0 1002.0 1003.0";

struct Case {
    const char* name;
    int crossing, typeb, typew, lfF, lfM, lfC;
    std::string echo;
};

class Inputs09Echo : public testing::TestWithParam<Case> {};

Model& readWith(Harness& h, const Case& c) {
    Model& m = *h.model;
    m.crossing = c.crossing;
    m.typeb = c.typeb;
    m.typew = c.typew;
    m.lf[1] = c.lfF;
    m.lf[2] = c.lfM;
    m.lf[0] = c.lfC;
    h.dir.write("INPUTS09.TXT", numberedFile(layout()));
    testutil::InDir dir(h.dir.path());
    InFile in = openInput(h.run, "INPUTS09.TXT");
    readInputs09(h.run, in);
    // Every record, skipped or read, has been consumed.
    EXPECT_EQ(std::fgetc(in.f), '\n');
    EXPECT_EQ(std::fgetc(in.f), EOF);
    closeInput(in);
    return m;
}

}  // namespace

TEST_P(Inputs09Echo, GoldenEcho) {
    Harness h;
    readWith(h, GetParam());
    EXPECT_EQ(h.results(), GetParam().echo);
}

INSTANTIATE_TEST_SUITE_P(
    Variables, Inputs09Echo,
    testing::Values(
        Case{"Everything", 2, 1, 2, 2, 1, 3,
             scalars(2, 19) + kNreins + scalars(21, 27) + scalars(29, 30) + scalars(32, 45) + scalars(47, 48) +
                 scalars(50, 55) + scalars(57, 65) + scalars(67, 76) + kShearingsOfYoungStock + scalars(78, 87) +
                 kFemales + kMales + kCastrates + scalars(101, 107)},
        // No crossing, no milking, weaning only, no fattening: the twelve
        // fattening records and the six that follow them are skipped.
        Case{"Nothing", 1, 2, 1, 0, 0, 0,
             scalars(2, 14) + scalars(16, 16) + scalars(18, 18) + kNreins + scalars(21, 27) + scalars(32, 36) +
                 scalars(38, 44) + scalars(47, 48) + scalars(50, 55) + scalars(67, 76) + kShearingsOfYoungStock +
                 scalars(78, 81) + scalars(83, 87) + scalars(107, 107)},
        Case{"MalesFattenedOnly", 1, 3, 2, 0, 1, 0,
             scalars(2, 14) + scalars(16, 16) + scalars(18, 18) + kNreins + scalars(21, 27) + scalars(32, 36) +
                 scalars(38, 44) + scalars(47, 48) + scalars(50, 55) + scalars(57, 65) + scalars(67, 76) +
                 kShearingsOfYoungStock + scalars(78, 81) + scalars(83, 87) + kMales + scalars(101, 107)}),
    [](const testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

TEST(Inputs09, ValuesLandWhereTheyBelong) {
    Harness h;
    const Model& m = readWith(h, {"", 2, 1, 2, 2, 1, 3, ""});
    EXPECT_EQ(double(m.nendopE), 2.0);
    EXPECT_EQ(double(m.prstraw), 13.0);
    EXPECT_EQ(double(m.pinsE[1]), 14.0);
    EXPECT_EQ(double(m.pinsE[2]), 15.0);
    EXPECT_EQ(double(m.costreins[2]), 19.0);
    EXPECT_EQ(m.nreins, 20);
    EXPECT_EQ(double(m.costdead), 27.0);
    EXPECT_EQ(double(m.costmilk0E), 29.0);
    EXPECT_EQ(double(m.costcheese0E), 30.0);
    EXPECT_EQ(double(m.nsheR[2]), 37.0);
    EXPECT_EQ(double(m.prbR[2]), 45.0);
    EXPECT_EQ(double(m.costmarkwL), 48.0);
    EXPECT_EQ(double(m.ptskwL), 55.0);
    EXPECT_EQ(double(m.ptskarL), 65.0);
    EXPECT_EQ(double(m.nendoprL[2]), 68.0);
    EXPECT_EQ(double(m.vetclFP), 75.0);
    EXPECT_EQ(double(m.nsherL[3]), 773.0);
    EXPECT_EQ(double(m.pinsFP[2]), 82.0);
    EXPECT_EQ(double(m.costmarkrL[2]), 87.0);
    EXPECT_EQ(double(m.nendopf[1][2]), 892.0);
    EXPECT_EQ(double(m.vetf[2][1]), 95.0);
    EXPECT_EQ(double(m.nshefL[0][3]), 1003.0);
    EXPECT_EQ(double(m.AkhfL), 101.0);
    EXPECT_EQ(double(m.costmarkfL), 106.0);
    EXPECT_EQ(double(m.kdif), 107.0);
}

TEST(Inputs09, SkippedRecordsLeaveTheirQuantitiesZero) {
    Harness h;
    const Model& m = readWith(h, {"", 1, 2, 1, 0, 0, 0, ""});
    for (double v : {double(m.pinsE[2]), double(m.costins[2]), double(m.costmilk0E), double(m.nsheR[2]),
                     double(m.prbR[2]), double(m.nendoparL), double(m.ptskarL), double(m.pinsFP[2]),
                     double(m.nendopf[1][1]), double(m.nshefL[0][1]), double(m.AkhfL), double(m.costmarkfL)})
        EXPECT_EQ(v, 0.0);
    EXPECT_EQ(double(m.costins[1]), 16.0);
    EXPECT_EQ(double(m.costoeinFP), 83.0);
    EXPECT_EQ(double(m.kdif), 107.0);
}
