// Stay durations and discount factors on a hand-built flock whose calendar
// gives round numbers of days.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "herd/herd.h"
#include "test_util.h"

using testutil::Harness;

namespace {

// Lambing on day 60, weaning at 61 days, breeding season days 244 to 290,
// drying on day 200; four ewe cycles, two ram cycles.
void calendar(Model& m) {
    m.typeb = 1;
    m.typew = 1;
    m.crossing = 1;
    m.LL = 4;
    m.TE = 18;
    m.RR = 2;
    m.TR = 7;
    m.datlamb = 60;
    m.datwL = 121;
    m.agewL = 61;
    m.datbbs = 244;
    m.datebs = 290;
    m.datdry = 200;
    m.lengthmp = 79;
    m.dnpregcE = 30;
    m.dselR = 20;
    m.flushbbR = 14;
    m.u = 0.05;
    for (int p = 1; p <= 4; ++p) m.ageE[p] = 365 * p;
    m.ageR[1][1] = 500;
    m.ageR[2][1] = 865;
    m.ageR[1][2] = 450;
    m.ageR[2][2] = 815;
}

// Young stock of pure-bred progeny: one fattening variant of each kind,
// young females over three breeding seasons and young males over two.
void youngStock(Model& m) {
    m.lf[0] = m.lf[1] = m.lf[2] = 1;
    m.ager[1][1] = 185;  // datbbs - datlamb + 1
    m.ager[1][2] = 550;
    m.ager[1][3] = 915;
    m.ager[2][1] = 185;
    m.ager[2][2] = 550;
    m.datconFP[1] = 275;  // j * 365 + datlamb - 150 days of pregnancy
    m.datconFP[2] = 640;
    m.datconFP[3] = 1005;
    m.dpregsFP = 60;
    m.dnpregcFP = 30;
    m.agetP[8][1] = 200;
    m.agetP[33][1] = 180;
    m.agetP[43][1] = 240;
    m.agetP[13][1] = 150;
    m.agetP[26][1] = 300;
    m.agetP[38][1] = 150;
    m.agetP[40][1] = 400;
    for (int c : {2, 5, 7, 8, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 30, 32, 33, 38, 39, 40, 41, 43})
        m.l1skL[c][1] = 0.1;
    m.ndiedfat[1][1][1] = 0.02;
    m.ndiedfat[2][1][1] = 0.01;
    m.ndiedfat[0][1][1] = 0.04;
    m.l1skL[3][1] = 0.02;
    m.l1skL[28][1] = 0.01;
    m.l1skL[48][1] = 0.04;
    m.nrdied[1][1][1] = 0.01;
    m.nspdied[1][1][1] = 0.01;
    m.nrdied[1][2][1] = 0.01;
    m.nspdied[1][3][1] = 0.02;
    m.nrdiedmlFP[1] = 0.01;
    m.l1skL[4][1] = 0.06;
    m.nrdied[2][1][1] = 0.01;
    m.nspdied[2][1][1] = 0.01;
    m.nrdied[2][2][1] = 0.02;
    m.l1skL[29][1] = 0.04;
    m.nrcull[2][1][1] = 0.03;
    m.nspcull[2][1][1] = 0.01;
    m.nrcull[2][2][1] = 0.02;
    m.nspcull[2][2][1] = 0.02;
    m.l1skL[42][1] = 0.08;
}

double q05(double days) { return std::pow(1.05, -days / 365); }

}  // namespace

TEST(Stay, EweAndRamStages) {
    Harness h;
    Model& m = *h.model;
    calendar(m);
    stayDurations(h.run);
    for (int p = 1; p <= 4; ++p) {
        const int B = (p - 1) * 5;
        EXPECT_FLOAT_EQ(float(m.dcE[B + 1]), 182.5f) << p;  // died: half a year
        EXPECT_FLOAT_EQ(float(m.dcE[B + 2]), 141) << p;     // culled at drying
        EXPECT_FLOAT_EQ(float(m.dcE[B + 3]), 261) << p;     // barren, culled 30 days after the season
        EXPECT_FLOAT_EQ(float(m.dcE[B + 4]), p < 4 ? 365 : 0) << p;  // the last cycle keeps no ewe
        EXPECT_FLOAT_EQ(float(m.dcE[B + 5]), p < 4 ? 365 : 0) << p;
    }
    const float ram[9] = {0, 182.5f, 81, 182.5f, 365, 182.5f, 81, 61, 365};
    for (int X = 1; X <= 8; ++X) EXPECT_FLOAT_EQ(float(m.dcR[X]), ram[X]) << X;
    EXPECT_EQ(h.console(), "");
}

TEST(Stay, SingleRamCycleIsCulledAfterTheSeason) {
    Harness h;
    Model& m = *h.model;
    calendar(m);
    m.RR = 1;
    m.TR = 3;
    stayDurations(h.run);
    EXPECT_FLOAT_EQ(float(m.dcR[2]), 81);
    EXPECT_FLOAT_EQ(float(m.dcR[3]), 61);  // 290 - 244 + 14 + 1
}

TEST(Stay, EweAndRamDiscountFactors) {
    Harness h;
    Model& m = *h.model;
    calendar(m);
    stayDurations(h.run);
    // Stage 4 of cycle 1 ends at two years: 1 / 1.05^2.
    EXPECT_NEAR(double(m.qendE[4]), 1 / (1.05 * 1.05), 1e-7);
    EXPECT_NEAR(double(m.qendE[6]), q05(730 + 182.5), 1e-7);
    EXPECT_NEAR(double(m.qaveE[2]), q05(365 + 70.5), 1e-7);
    EXPECT_NEAR(double(m.qaveE[18]), q05(1460 + 130.5), 1e-7);
    EXPECT_NEAR(double(m.qbreedE[7]), q05(244 + 730 - 60), 1e-7);
    // Milking period: from weaning at 61 days, half of 79 days.
    EXPECT_NEAR(double(m.qmilkE[11]), q05(61 + 1095 + 39.5), 1e-7);
    EXPECT_NEAR(double(m.qpurchR), std::pow(1.05, (60 - 244) / 365.0), 1e-7);
    EXPECT_NEAR(double(m.qaveR[3][1]), q05(91.25 + 500), 1e-7);
    EXPECT_NEAR(double(m.qendR[7][1]), q05(865 + 61), 1e-7);
    EXPECT_FLOAT_EQ(float(m.qaveR[3][2]), 1.0f);  // no crossing sires
    EXPECT_FLOAT_EQ(float(m.qendE[19]), 1.0f);    // beyond the last state
}

TEST(Stay, NoMilkingPeriodLeavesItsFactorAlone) {
    Harness h;
    Model& m = *h.model;
    calendar(m);
    m.typeb = 2;
    m.lengthmp = 0;
    stayDurations(h.run);
    for (int X = 1; X <= 18; ++X) EXPECT_FLOAT_EQ(float(m.qmilkE[X]), 1.0f) << X;
}

TEST(Stay, ProgenyCategoriesOfPureBredStock) {
    Harness h;
    Model& m = *h.model;
    calendar(m);
    youngStock(m);
    stayDurations(h.run);
    struct Row {
        int c;
        double dc, tave, tend;
    };
    const Row rows[] = {
        {1, 0, 0, 0},              // dead at birth: no stay
        {2, 30.5, 15.25, 30.5},    // dead before weaning: half the suckling period
        {3, 69.5, 95.75, 130.5},   // dead in fattening: half of variant 8
        {4, 15.23 / 0.12, 61 + 15.23 / 0.24, 61 + 15.23 / 0.12},
        {5, 61, 30.5, 61},
        {7, 0, 61, 61},            // slaughtered at weaning
        {8, 139, 130.5, 200},
        {13, 89, 105.5, 150},
        {14, 124, 123, 185},
        {15, 91, 230.5, 276},
        {16, 180, 275, 365},
        {17, 75, 222.5, 260},
        {18, 365, 367.5, 550},
        {19, 91, 595.5, 641},
        {20, 180, 640, 730},
        {21, 75, 587.5, 625},
        {22, 365, 732.5, 915},
        {23, 91, 960.5, 1006},
        {24, 180, 1005, 1095},
        {25, 75, 952.5, 990},
        {26, 115, 242.5, 300},
        {28, 59.5, 90.75, 120.5},
        {29, 122.25, 122.125, 183.25},
        {30, 61, 30.5, 61},
        {32, 0, 61, 61},
        {33, 119, 120.5, 180},
        {38, 89, 105.5, 150},
        {39, 124, 123, 185},
        {40, 215, 292.5, 400},
        {41, 365, 367.5, 550},
        {42, 122.25, 122.125, 183.25},
        {43, 179, 150.5, 240},
        {48, 89.5, 105.75, 150.5},
    };
    for (const Row& r : rows) {
        EXPECT_NEAR(double(m.dcL[r.c][1]), r.dc, 2e-5) << r.c;
        EXPECT_NEAR(double(m.taveL[r.c][1]), r.tave, 2e-5) << r.c;
        EXPECT_NEAR(double(m.tendL[r.c][1]), r.tend, 2e-5) << r.c;
        const bool animals = m.l1skL[r.c][1] > 1e-06;
        EXPECT_NEAR(double(m.qaveL[r.c][1]), animals ? q05(r.tave) : 1.0, 1e-6) << r.c;
        EXPECT_NEAR(double(m.qendL[r.c][1]), animals ? q05(r.tend) : 1.0, 1e-6) << r.c;
    }
    // Joining the flock after one, two, three years.
    EXPECT_NEAR(double(m.qendL[16][1]), 1 / 1.05, 1e-7);
    EXPECT_NEAR(double(m.qendL[20][1]), 1 / (1.05 * 1.05), 1e-7);
    EXPECT_NEAR(double(m.qendL[24][1]), 1 / (1.05 * 1.05 * 1.05), 1e-7);
    EXPECT_NEAR(double(m.qbreedL[14]), q05(185), 1e-7);
    EXPECT_NEAR(double(m.qbreedL[18]), q05(550), 1e-7);
    EXPECT_NEAR(double(m.qbreedL[22]), q05(915), 1e-7);
    // Categories without animals: the artificially reared lambs.
    for (int c : {6, 31}) {
        EXPECT_EQ(double(m.dcL[c][1]), 0.0);
        EXPECT_EQ(double(m.qaveL[c][1]), 1.0);
    }
}

TEST(Stay, ArtificialRearing) {
    Harness h;
    Model& m = *h.model;
    calendar(m);
    youngStock(m);
    m.typew = 2;
    m.agearL = 95;
    m.l1skL[6][1] = m.l1skL[31][1] = 0.1;
    stayDurations(h.run);
    EXPECT_FLOAT_EQ(float(m.dcL[2][1]), 47.5f);  // half the time until the end of rearing
    EXPECT_FLOAT_EQ(float(m.dcL[6][1]), 34);
    EXPECT_FLOAT_EQ(float(m.taveL[6][1]), 78);
    EXPECT_FLOAT_EQ(float(m.tendL[31][1]), 95);
    EXPECT_FLOAT_EQ(float(m.taveL[7][1]), 95);
    EXPECT_FLOAT_EQ(float(m.dcL[8][1]), 105);    // fattening starts at the end of rearing
    EXPECT_FLOAT_EQ(float(m.tendL[8][1]), 200);
    EXPECT_FLOAT_EQ(float(m.dcL[14][1]), 90);
    EXPECT_FLOAT_EQ(float(m.dcL[5][1]), 61);
}

TEST(Stay, WithoutDiscountingEveryFactorIsOne) {
    Harness h;
    Model& m = *h.model;
    calendar(m);
    youngStock(m);
    m.u = 0;
    stayDurations(h.run);
    for (int X = 1; X <= 18; ++X) {
        EXPECT_EQ(double(m.qaveE[X]), 1.0);
        EXPECT_EQ(double(m.qendE[X]), 1.0);
        EXPECT_EQ(double(m.qbreedE[X]), 1.0);
        EXPECT_EQ(double(m.qmilkE[X]), 1.0);
    }
    for (int X = 1; X <= 7; ++X) {
        EXPECT_EQ(double(m.qaveR[X][1]), 1.0);
        EXPECT_EQ(double(m.qendR[X][1]), 1.0);
    }
    EXPECT_EQ(double(m.qpurchR), 1.0);
    for (int c = 1; c <= 48; ++c) {
        EXPECT_EQ(double(m.qaveL[c][1]), 1.0) << c;
        EXPECT_EQ(double(m.qendL[c][1]), 1.0) << c;
    }
    for (int c : {14, 18, 22}) EXPECT_EQ(double(m.qbreedL[c]), 1.0);
}

TEST(Stay, CategoriesThatEmptyKeepNoStayAndAreNotDiscounted) {
    Harness h;
    Model& m = *h.model;
    calendar(m);
    youngStock(m);
    m.crossing = 2;
    m.ageR[1][2] = 450;
    // Cross-bred young females exist only in a later evaluation.
    stayDurations(h.run);
    EXPECT_EQ(double(m.dcL[14][2]), 0.0);
    EXPECT_EQ(double(m.qaveL[14][2]), 1.0);

    m.l1skL[14][2] = 0.05;
    m.l1skL[13][1] = 0;
    m.l1skL[18][1] = 0;
    stayDurations(h.run);
    EXPECT_FLOAT_EQ(float(m.dcL[14][2]), 124);
    EXPECT_NEAR(double(m.qendL[14][2]), q05(185), 1e-7);
    EXPECT_NEAR(double(m.qbreedL[14]), q05(185), 1e-7);
    EXPECT_NEAR(double(m.qaveR[1][2]), q05(91.25 + 450), 1e-7);

    // Back at the base values: both categories are empty again.
    m.l1skL[14][2] = 0;
    m.l1skL[14][1] = 0;
    stayDurations(h.run);
    for (int c : {13, 14, 18}) {
        for (int cr = 1; cr <= 2; ++cr) {
            EXPECT_EQ(double(m.dcL[c][cr]), 0.0) << c << " " << cr;
            EXPECT_EQ(double(m.taveL[c][cr]), 0.0) << c << " " << cr;
            EXPECT_EQ(double(m.tendL[c][cr]), 0.0) << c << " " << cr;
            EXPECT_EQ(double(m.qaveL[c][cr]), 1.0) << c << " " << cr;
            EXPECT_EQ(double(m.qendL[c][cr]), 1.0) << c << " " << cr;
        }
    }
    EXPECT_EQ(double(m.qbreedL[14]), 1.0);
    EXPECT_EQ(double(m.qbreedL[18]), 1.0);
    EXPECT_NEAR(double(m.qbreedL[22]), q05(915), 1e-7);
    // Young females dying in their seasons lived no season of 14 or 18 now.
    EXPECT_NEAR(double(m.dcL[4][1]), (0.02 * 365 + 180 * 0.01) / 0.12, 2e-5);
}

TEST(StayDeathTest, DiscountFactorsTooLargeStop) {
    Harness h;
    Model& m = *h.model;
    calendar(m);
    m.u = -0.9999f;  // 1e-4^(-4 years) is still representable, 1e-4^(-11 years) is not
    m.ageE[4] = 4000;
    EXPECT_EXIT(stayDurations(h.run), testing::ExitedWithCode(1), "");
    EXPECT_NE(h.console().find("\n\n\nError message:\nThe discount rate gives discount factors too large to be "
                               "calculated.\n  Correct the discount rate in INPUTS01.TXT and restart the "
                               "program.\n\n\n"),
              std::string::npos)
        << h.console();
}
