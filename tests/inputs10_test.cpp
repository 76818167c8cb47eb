// INPUTS10.TXT: the records read and skipped under each set of system
// variables and progeny fractions, their echo, where the values land, and
// the check of the option for young stock sold for breeding.
//
// Record p of the test file holds the value p (a record of several numbers
// p * 10 + 1, p * 10 + 2, ...) and is named "q<p>"; record 46 holds the
// option given by the test.
#include <gtest/gtest.h>

#include <cstdio>

#include "input/inputs.h"
#include "input/reader.h"
#include "test_util.h"

using testutil::Harness;

namespace {

std::string numberedFile(int opsbL) {
    int n[67];
    for (int& x : n) x = 1;
    n[1] = n[47] = n[56] = 0;
    n[52] = n[53] = n[61] = n[62] = 3;  // categories 15, 19, 23
    n[54] = n[55] = n[63] = n[64] = 2;  // categories 38, 40
    std::string s;
    for (int p = 1; p <= 66; ++p) {
        const std::string q = std::to_string(p);
        if (n[p] == 0) {
            s += "/ comment " + q + " /\n";
            continue;
        }
        if (p == 46) s += std::to_string(opsbL);
        else if (n[p] == 1) s += q;
        for (int j = 1; n[p] > 1 && j <= n[p]; ++j) s += (j > 1 ? " " : "") + std::to_string(p * 10 + j);
        s += "\n\"q" + q + "\" \"u\"\n";
    }
    return s;
}

std::string scalars(int from, int to) {
    std::string s;
    char b[64];
    for (int p = from; p <= to; ++p) {
        std::snprintf(b, sizeof b, "\nq%d    (u):%12.4f ", p, double(p));
        s += b;
    }
    return s;
}

struct Case {
    const char* name;
    int crossing, typew, lfF, lfM, lfC;
    double ppurchMP, f1, f2, m1, m2;  // psp[1][2][1], psp[1][2][2], psp[2][2][1], psp[2][2][2]
    int opsbL;
    std::string echo;
};

Model& readWith(Harness& h, const Case& c) {
    Model& m = *h.model;
    m.crossing = c.crossing;
    m.typew = c.typew;
    m.lf[1] = c.lfF;
    m.lf[2] = c.lfM;
    m.lf[0] = c.lfC;
    m.ppurchMP = c.ppurchMP;
    m.psp[1][2][1] = c.f1;
    m.psp[1][2][2] = c.f2;
    m.psp[2][2][1] = c.m1;
    m.psp[2][2][2] = c.m2;
    h.dir.write("INPUTS10.TXT", numberedFile(c.opsbL));
    testutil::InDir dir(h.dir.path());
    InFile in = openInput(h.run, "INPUTS10.TXT");
    readInputs10(h.run, in);
    EXPECT_EQ(std::fgetc(in.f), '\n');
    EXPECT_EQ(std::fgetc(in.f), EOF);
    closeInput(in);
    return m;
}

const Case kEverything{"Everything", 2, 1, 1, 1, 1, 0.0, 0.1, 0.1, 0.1, 0.1, 1,
                       scalars(2, 24) + scalars(29, 43) + scalars(45, 45) + "\nq46    (u):  1 " + scalars(48, 51) +
                           "\nq52    (u):      521      522      523\nq53    (u):      531      532      533"
                           "\nq54    (u):      541      542\nq55    (u):      551      552" +
                           scalars(65, 66)};

// Artificial rearing of pure-bred lambs without fattening and without
// young stock: the price records (option 2) are all skipped, and the wool
// of male young stock is read because the purchased fraction is at most 1.
const Case kNothing{"Nothing", 1, 2, 0, 0, 0, 1.0, 0.0, 0.0, 0.0, 0.0, 2,
                    scalars(2, 8) + scalars(10, 10) + scalars(12, 12) + scalars(14, 14) + scalars(16, 17) +
                        scalars(19, 19) + scalars(25, 25) + scalars(27, 27) + scalars(35, 35) + scalars(37, 37) +
                        scalars(39, 39) + scalars(41, 41) + scalars(44, 45) + "\nq46    (u):  2 " + scalars(66, 66)};

// Pure-bred females and cross-bred males for breeding, prices per kg.
const Case kMixed{"Mixed", 2, 2, 0, 1, 1, 1.5, 0.2, 0.0, 0.0, 0.3, 2,
                  scalars(2, 20) + scalars(25, 28) + scalars(31, 36) + scalars(38, 45) + "\nq46    (u):  2 " +
                      scalars(57, 57) + scalars(59, 59) + "\nq61    (u):      611      612      613" +
                      "\nq64    (u):      641      642" + scalars(65, 66)};

// Without crossing the cross-bred columns are skipped even where a
// cross-bred fraction is given; revenues only for pure-bred males.
const Case kPureBred{"PureBred", 1, 1, 1, 0, 0, 0.5, 0.0, 0.1, 0.1, 0.1, 1,
                     scalars(2, 8) + scalars(10, 10) + scalars(12, 12) + scalars(14, 14) + scalars(16, 17) +
                         scalars(19, 19) + scalars(21, 21) + scalars(23, 23) + scalars(29, 29) + scalars(35, 35) +
                         scalars(37, 37) + scalars(39, 39) + scalars(41, 41) + scalars(43, 43) + scalars(45, 45) +
                         "\nq46    (u):  1 " + "\nq54    (u):      541      542" + scalars(65, 66)};

class Inputs10Echo : public testing::TestWithParam<Case> {};

}  // namespace

TEST_P(Inputs10Echo, GoldenEcho) {
    Harness h;
    readWith(h, GetParam());
    EXPECT_EQ(h.results(), GetParam().echo);
}

INSTANTIATE_TEST_SUITE_P(Variables, Inputs10Echo, testing::Values(kEverything, kNothing, kMixed, kPureBred),
                         [](const testing::TestParamInfo<Case>& i) { return std::string(i.param.name); });

TEST(Inputs10, RevenuesPerAnimalLandInTheirCategories) {
    Harness h;
    const Model& m = readWith(h, kEverything);
    EXPECT_EQ(double(m.prwoolR[2]), 9.0);
    EXPECT_EQ(double(m.prsktR[2]), 15.0);
    EXPECT_EQ(double(m.wshewL[1][2]), 22.0);
    EXPECT_EQ(double(m.wshewL[2][1]), 23.0);
    EXPECT_EQ(double(m.wshefL[1][2]), 30.0);
    EXPECT_EQ(double(m.wshefL[0][1]), 33.0);
    EXPECT_EQ(double(m.wsherL[2][2]), 38.0);
    EXPECT_EQ(double(m.manfL), 43.0);
    EXPECT_EQ(double(m.manarL), 0.0);
    EXPECT_EQ(m.opsbL, 1);
    const int rows[][3] = {{13, 1, 48}, {13, 2, 49}, {26, 1, 50}, {26, 2, 51}, {15, 1, 521}, {19, 1, 522},
                           {23, 1, 523}, {15, 2, 531}, {23, 2, 533}, {38, 1, 541}, {40, 1, 542}, {38, 2, 551},
                           {40, 2, 552}};
    for (const auto& r : rows) {
        EXPECT_EQ(double(m.revsbL[r[0]][r[1]]), r[2]) << r[0] << " " << r[1];
        EXPECT_EQ(double(m.prsbL[r[0]][r[1]]), 0.0) << r[0] << " " << r[1];
    }
    EXPECT_EQ(double(m.subR), 65.0);
    EXPECT_EQ(double(m.subE), 66.0);
}

TEST(Inputs10, PricesPerKgOnlyForTheYoungStockThatExists) {
    Harness h;
    const Model& m = readWith(h, kMixed);
    EXPECT_EQ(double(m.wshearL[2][2]), 28.0);
    EXPECT_EQ(double(m.wshefL[1][1]), 0.0);
    EXPECT_EQ(double(m.wsherL[2][1]), 0.0);
    EXPECT_EQ(double(m.prsbL[13][1]), 57.0);
    EXPECT_EQ(double(m.prsbL[13][2]), 0.0);
    EXPECT_EQ(double(m.prsbL[26][1]), 59.0);
    EXPECT_EQ(double(m.prsbL[19][1]), 612.0);
    EXPECT_EQ(double(m.prsbL[15][2]), 0.0);
    EXPECT_EQ(double(m.prsbL[38][1]), 0.0);
    EXPECT_EQ(double(m.prsbL[40][2]), 642.0);
    EXPECT_EQ(double(m.revsbL[13][1]), 0.0);
    EXPECT_EQ(double(m.revsbL[19][1]), 0.0);
    EXPECT_EQ(double(m.subR), 65.0);
}

TEST(Inputs10DeathTest, OptionForBreedingSalesMustBeOneOrTwo) {
    for (int opsbL : {0, 3}) {
        Harness h;
        Case c = kEverything;
        c.opsbL = opsbL;
        EXPECT_EXIT(readWith(h, c), testing::ExitedWithCode(1), "");
        EXPECT_EQ(testutil::maskElapsed(h.console()),
                  "\n\n\nError message:\nThe option for the young stock sold for breeding must be 1 (revenue per\n"
                  "animal) or 2 (price per kg live weight). Correct this error in INPUTS10.TXT\n"
                  "and restart the program.\nThe program needed T seconds.\n\n\n");
        // The option is echoed before the stop; nothing after it is read.
        const std::string end = "\nq45    (u):     45.0000 \nq46    (u):  " + std::to_string(opsbL) + " ";
        const std::string res = h.results();
        ASSERT_GE(res.size(), end.size());
        EXPECT_EQ(res.substr(res.size() - end.size()), end);
    }
}
