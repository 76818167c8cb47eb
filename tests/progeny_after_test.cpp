// Replacement, surplus progeny, sires and the progeny categories after
// weaning on a small pure-bred flock.
#include <gtest/gtest.h>

#include "flock_fixture.h"
#include "herd/herd.h"
#include "test_util.h"

using testutil::Harness;

namespace {

// The flock of the fixture with its replacement and sale inputs.  The
// evaluation counts as a later one (itrait = 1) so that no carcass-class
// file is read.
void setUp(Model& m) {
    flockfix::flock(m);
    m.itrait = 1;
    m.femrep = 1;
    m.RR = 3;
    for (int r = 1; r <= 3; ++r) {
        m.pdiedR[r] = 0.05;
        m.psoldR[r] = 0.15;
        m.pcullR[r] = r < 3 ? 0.2 : 0.8;
    }
    m.csp[1] = 2;
    m.csp[2] = 5;
    m.psp[1][1][1] = 0.7;   // female surplus: slaughtered at weaning
    m.psp[1][2][1] = 0.3;   //                 reared for breeding
    m.psp[2][1][1] = 0.2;   // male surplus:   slaughtered at weaning
    m.psp[2][2][1] = 0.1;   //                 reared for breeding
    m.psp[2][4][1] = 0.4;   //                 fattening variant 1
    m.psp[2][5][1] = 0.3;   //                 fattening variant 2
    m.surfat[2][1][1] = 0.98;
    m.surfat[2][2][1] = 0.97;
    for (int j = 1; j <= 3; ++j) m.surbs[1][j][1] = 0.97;
    m.surbs[2][1][1] = m.surbs[2][2][1] = 0.96;
    m.surmlFP[1] = 0.98;
    m.pbarrFP[1][1] = 0.6;
    m.pbarrFP[2][1] = 0.4;
    m.cullbsMP[1][1] = 0.1;
    m.cullbsMP[2][1] = 0.05;
    m.psold[2][1][1] = 0.5;
    m.agetP[38][1] = 150;
    m.agetP[40][1] = 300;
    m.ratioyoungR = 30;
    m.ratiooldR = 50;
    m.ppurchMP = 0.2;
    m.agepurMP[1] = 400;
    m.wpurMP[1] = 80;
    m.pinsE[1] = 10;
    m.coninsE = 0.01;
}

void evaluate(Harness& h) {
    flockfix::upToGrowth(h);
    progenyAfterWeaning(h.run);
}

}  // namespace

TEST(ProgenyAfterWeaning, OwnReplacementMatchesTheEweReplacementRate) {
    Harness h;
    Model& m = *h.model;
    setUp(m);
    evaluate(h);
    const double pm = m.pmat[1][1][1];
    const double pc1 = 0.97 * pm * 0.8;
    EXPECT_NEAR(double(m.prconFP[1][1]), pc1, 1e-6);
    const double pm2 = (0.97 - pc1 - 0.4 * 0.97 * pm * 0.2) * 0.97;
    EXPECT_NEAR(double(m.pmat[1][2][1]), pm2, 1e-6);
    EXPECT_NEAR(double(m.Pherd[1]) * double(m.nherd[1]), m.l4E[1], 1e-6);
    // Weaned female lambs: own replacement plus surplus.
    EXPECT_NEAR(double(m.nherd[1]) + double(m.nwsp[1][1]), double(m.l1skL[5][1]), 1e-6);
    EXPECT_EQ(double(m.npurchFP), 0.0);
    EXPECT_NEAR(double(m.nsp[1][1][1]) + double(m.nsp[1][2][1]), double(m.nwsp[1][1]), 1e-6);
    EXPECT_NEAR(double(m.l1skL[7][1]), double(m.nsp[1][1][1]), 1e-7);
    // Categories 16, 20, 24: young females joining the flock after each season.
    EXPECT_NEAR(double(m.l1skL[16][1]) + double(m.l1skL[20][1]) + double(m.l1skL[24][1]), m.l4E[1], 1e-6);
    EXPECT_NEAR(double(m.ageE[2]) - double(m.ageE[1]), 365, 1e-3);
    EXPECT_EQ(double(m.wlE[3]), 70.0);
}

TEST(ProgenyAfterWeaning, SurplusMalesFattenedAndRams) {
    Harness h;
    Model& m = *h.model;
    setUp(m);
    evaluate(h);
    EXPECT_NEAR(double(m.nherd[2]) + double(m.nwsp[2][1]), double(m.l1skL[30][1]), 1e-6);
    for (int s = 1; s <= 2; ++s)
        EXPECT_NEAR(double(m.nfattar[2][s][1]) + double(m.ndiedfat[2][s][1]), double(m.nsp[2][s + 3][1]), 1e-7);
    EXPECT_NEAR(double(m.l1skL[28][1]), double(m.ndiedfat[2][1][1]) + double(m.ndiedfat[2][2][1]), 1e-7);
    const double w0 = m.avww[2][1];
    EXPECT_NEAR(double(m.wP[28][1]),
                ((40 + w0) * double(m.ndiedfat[2][1][1]) + (double(m.wP[34][1]) + w0) * double(m.ndiedfat[2][2][1])) /
                    (2 * double(m.l1skL[28][1])),
                1e-4);
    // No ewe is crossed: every sire is pure-bred.
    for (int s = 1; s <= m.TR; ++s) EXPECT_EQ(m.l1aR[s][1], m.l1R[s]);
    const double S = double(m.nherd[1]) * (double(m.pmat[1][1][1]) + double(m.pmat[1][2][1]) + double(m.pmat[1][3][1]));
    EXPECT_NEAR(double(m.neweR[1]), (double(m.pctE[1]) + S) / double(m.ratioR), 1e-7);
    EXPECT_NEAR(double(m.npurchMP[1]), 0.2 * double(m.neweR[1]), 1e-8);
    EXPECT_NEAR(double(m.nherd[2]) * double(m.Pherd[2]), double(m.nramMP[1]), 1e-8);
    // Young males at the first season: own replacement and surplus reared
    // for breeding, less those sold, dead or culled in it.
    EXPECT_NEAR(double(m.l1skL[39][1]),
                double(m.nherd[2]) + double(m.nsp[2][2][1]) - double(m.nrdied[2][1][1]) - double(m.nrcull[2][1][1]) -
                    double(m.nsold[2][1][1]) - double(m.nspdied[2][1][1]) - double(m.nspcull[2][1][1]),
                1e-7);
    for (int c = 3; c <= 48; ++c) {
        if (c == 5 || c == 6 || c == 30 || c == 31) continue;
        EXPECT_EQ(double(m.l1skL[c][0]), double(Real(double(m.l1skL[c][1]) + double(m.l1skL[c][2])))) << c;
    }
    EXPECT_NEAR(double(m.ageR[1][1]),
                0.8 * (double(m.ager[2][1]) * double(m.pherd[2][1]) + double(m.ager[2][2]) * double(m.pherd[2][2])) /
                        double(m.Pherd[2]) + 0.2 * 400,
                1e-3);
    EXPECT_NEAR(double(m.adgR[1]), (95 - double(m.wbR[1][1])) / 365, 1e-7);
}

TEST(ProgenyAfterWeaning, SingleBreedingCycleOfRamsGrowsToMatureWeight) {
    Harness h;
    Model& m = *h.model;
    setUp(m);
    m.RR = 1;
    m.pdiedR[1] = 0.1;
    m.psoldR[1] = 0.3;
    m.pcullR[1] = 0.6;
    evaluate(h);
    EXPECT_NEAR(double(m.adgR[1]), (95 - double(m.wbR[1][1])) / 365, 1e-7);
}

TEST(ProgenyAfterWeaning, ShortfallOfFemalesIsPurchasedOnlyWhileItLasts) {
    Harness h;
    Model& m = *h.model;
    setUp(m);
    m.pdiedwL[1][1] = m.pdiedwL[2][1] = 0.85;   // few lambs survive to weaning
    evaluate(h);
    EXPECT_GT(double(m.npurchFP), 0.0);
    EXPECT_EQ(double(m.nwsp[1][1]), 0.0);
    EXPECT_NEAR(double(m.npurchFP), double(m.nherd[1]) - double(m.l1skL[5][1]), 1e-6);
    // Next evaluation with enough lambs: nothing is purchased.
    m.pdiedwL[1][1] = 0.04;
    m.pdiedwL[2][1] = 0.08;
    evaluate(h);
    EXPECT_EQ(double(m.npurchFP), 0.0);
}

TEST(ProgenyAfterWeaning, NoRemainderOfYoungMalesAfterTheFirstSeason) {
    Harness h;
    Model& m = *h.model;
    setUp(m);
    m.psold[2][1][1] = 1;   // all sold before the first season, some culled
    m.agetP[38][1] = 150;
    evaluate(h);
    EXPECT_EQ(double(m.nsold[2][2][1]), 0.0);
    EXPECT_EQ(double(m.nspdied[2][2][1]), 0.0);
    EXPECT_EQ(double(m.nspcull[2][2][1]), 0.0);
}

TEST(ProgenyAfterWeaningDeathTest, TooFewPureBredFemalesWithCrossing) {
    Harness h;
    Model& m = *h.model;
    setUp(m);
    m.crossing = 2;
    for (int p = 0; p <= 3; ++p) m.pcrossE[p] = 0.9;
    EXPECT_EXIT(evaluate(h), testing::ExitedWithCode(1), "");
    EXPECT_NE(h.console().find("Error message:\nThere are not enough pure-bred female weaned lambs for own "
                               "replacement.\n  Decrease the fraction of ewes crossed with other breeds, i.e.\n"
                               "  decrease the appropriate values in input file INPUTS01.TXT\n"
                               "  and restart the program.\n\n\n"),
              std::string::npos)
        << h.console();
}
