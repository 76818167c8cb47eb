// Non-feed costs and by-product revenues on hand-built states whose values
// are worked out by hand, and on the three example systems.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

#include "example_run.h"
#include "feeding/feeding.h"
#include "feeding/phases.h"
#include "test_util.h"

using testutil::Harness;

namespace {

double tol(double v) { return 1e-5 * std::fabs(v) + 1e-6; }

// Two feeding seasons: season 1 before day 100 and from day 300 to the next
// day 100, season 2 from day 100 to day 299 of each year.  Ewes are housed
// in season 1, lambs and young stock in season 2.
void calendar(Model& m) {
    m.nfs = 2;
    m.nchfs = 2;
    m.datchfs[1] = 100;
    m.datchfs[2] = 300;
    m.valfs[0] = 1;
    m.valfs[1] = 2;
    m.valfs[2] = 1;
    m.techE[1] = 1;
    m.techE[2] = 2;
    m.techbL[1] = 2;
    m.techbL[2] = 1;
    m.techfatL[1] = 2;
    m.techfatL[2] = 1;
    extendCalendar(m);
}

// Four parities, lambing on day 60; every ewe state lasts a year unless a
// test says otherwise.
void eweInputs(Model& m) {
    m.LL = 4;
    m.TE = 18;
    m.crossing = 2;
    m.typeb = 2;
    m.datlamb = 60;
    calendar(m);
    m.wlE[1] = 50;
    m.mwE[1] = 70;
    for (int k = 2; k <= 4; ++k) m.wlE[k] = 70;
    for (int e = 1; e <= 18; ++e) m.dcE[e] = 365;
    m.nendopE = 2;
    m.prendop = 3;
    m.nectopE = 1;
    m.prectop = 4;
    m.vetE = 10;
    m.costAkh = 10;
    m.AkhE = 7.3f;
    m.nsheE = 2;
    m.costshe0E = 1.5f;
    m.costfix0E = 0.1f;
    m.prman = 2;
    m.manE = 1.5f;
    m.prstraw = 0.1f;
    m.strawE = 1;
    m.pcrossE[1] = 0.2f;
    m.pinsE[1] = 30;
    m.pinsE[2] = 50;
    m.nreins = 1;
    m.costreins[1] = 5;
    m.costins[1] = 15;
    m.costreins[2] = 8;
    m.costins[2] = 22;
    m.costoeinE = 2;
    m.costtan = 4;
    m.pskE = 0.5f;
    m.ptskE = 0.5f;
    m.costmarkcul = 6;
    m.costdead = 0.5f;
}

}  // namespace

// ---------------------------------------------------------------- ewes

TEST(NonFeedEwes, CostItemsOfAFirstParityState) {
    Harness h;
    Model& m = *h.model;
    eweInputs(m);
    // Stage 3 of the first parity: not pregnant and culled after 146.5 days.
    m.dcE[3] = 146.5f;
    m.qaveE[3] = 0.8f;
    m.qendE[3] = 0.9f;
    m.qbreedE[3] = 0.95f;
    m.costfE[3] = 50;
    m.costwatE[3] = 2;
    m.costmilk0E = 0.05f;
    m.milkmpar[1] = 200;
    m.plambE[3] = 1;
    m.costmilkE[3] = 7;  // left over from an earlier evaluation
    nonFeedCosts(h.run);

    // Weight of the first parity (50 + 70) / 2 = 60: 2 × 60 × 3 + 4 + 10 = 374
    // a year, × 0.8 × 146.5 / 365.
    EXPECT_NEAR(m.costvetE[3], 120.089863, tol(120.09));
    EXPECT_NEAR(m.costlabE[3], 23.44, tol(23.44));       // 0.8 × 73 × 146.5 / 365
    EXPECT_NEAR(m.costsheE[3], 0.963288, tol(0.963));    // 0.8 × 2 × 1.5 × 146.5 / 365
    EXPECT_NEAR(m.costfixE[3], 29.2, tol(29.2));         // 0.8 × 0.1 × 365, the whole year
    // Days 60 .. 205 from lambing, housed up to day 99: 40 days and half a day.
    EXPECT_NEAR(m.revmanE[3], 97.2, tol(97.2));          // 0.8 × 40.5 × 2 × 1.5
    EXPECT_NEAR(m.costbedE[3], 3.24, tol(3.24));         // 0.8 × 0.1 × 1 × 40.5
    // (0.8 × 30 × (5 + 15)) / 100 + 2 + (50 × 0.2 × (8 + 22)) / 100 = 9.8, × 0.95.
    EXPECT_NEAR(m.costbreedE[3], 9.31, tol(9.31));
    EXPECT_NEAR(m.costskE[3], 0.9, tol(0.9));            // 0.9 × 4 × 0.5 × 0.5
    EXPECT_NEAR(m.costmarkE[3], 5.4, tol(5.4));          // 0.9 × 6
    EXPECT_EQ(float(m.costdiedE[3]), 0.0f);
    EXPECT_EQ(float(m.costmilkE[3]), 0.0f);              // a breed that is not milked
    EXPECT_EQ(float(m.costcheeseE[3]), 0.0f);
    EXPECT_NEAR(m.costnfE[3], 192.543151, tol(192.54));
    EXPECT_NEAR(m.costE[3], 244.543151, tol(244.54));    // + feed 50 + water 2
}

TEST(NonFeedEwes, LaterParitiesUseTheMatureWeight) {
    Harness h;
    Model& m = *h.model;
    eweInputs(m);
    // Stage 1 of the second parity: died after half a year.
    m.dcE[6] = 182.5f;
    m.qaveE[6] = 0.5f;
    m.qendE[6] = 0.6f;
    nonFeedCosts(h.run);
    EXPECT_NEAR(m.costvetE[6], 108.5, tol(108.5));   // (2 × 70 × 3 + 14) × 0.5 × 0.5
    EXPECT_NEAR(m.costdiedE[6], 21.0, tol(21.0));    // 0.6 × 0.5 × 70 kg
    EXPECT_NEAR(m.revmanE[6], 60.75, tol(60.75));    // 0.5 × 40.5 days × 3
    EXPECT_NEAR(m.costbreedE[6], 8.0, tol(8.0));     // no crossing in parity 2: 6 + 2
    EXPECT_EQ(float(m.costskE[6]), 0.0f);
    EXPECT_EQ(float(m.costmarkE[6]), 0.0f);
    // A kept ewe, lambing to lambing: days 60 .. 424, housed 60 .. 99 and
    // 300 .. 424.
    EXPECT_NEAR(m.costbedE[9], 16.5, tol(16.5));     // 165 days × 0.1
    EXPECT_NEAR(m.revmanE[9], 495.0, tol(495.0));
    EXPECT_NEAR(m.costvetE[9], 434.0, tol(434.0));
    EXPECT_NEAR(m.costdiedE[1], 25.0, tol(25.0));    // first parity: 0.5 × 50 kg at lambing
}

struct BreedingCase {
    int crossing;
    double firstParity;  // costbreedE of a first-parity state
};

class NonFeedEweBreeding : public testing::TestWithParam<BreedingCase> {};

TEST_P(NonFeedEweBreeding, InseminationOfPureAndCrossedMatings) {
    Harness h;
    Model& m = *h.model;
    eweInputs(m);
    m.crossing = GetParam().crossing;
    for (int e = 1; e <= 5; ++e) m.qbreedE[e] = 0.95f;
    nonFeedCosts(h.run);
    for (int e = 1; e <= 5; ++e) EXPECT_NEAR(m.costbreedE[e], GetParam().firstParity, tol(9.31)) << e;
    // No mating follows the last lambing.
    for (int e = 16; e <= 18; ++e) EXPECT_EQ(float(m.costbreedE[e]), 0.0f) << e;
}

INSTANTIATE_TEST_SUITE_P(Crossing, NonFeedEweBreeding,
                         testing::Values(BreedingCase{2, 9.31},     // 6.8 + 3.0, × 0.95
                                         BreedingCase{1, 6.46}));  // 6.8 only

struct MilkCase {
    int cy;            // cheese-yield method; 0 when no cheese is made
    float pmilkch;
    float pmilkwm;
    double milk3, cheese3;  // costmilkE[3], costcheeseE[3]
};

class NonFeedEweMilk : public testing::TestWithParam<MilkCase> {};

TEST_P(NonFeedEweMilk, MilkingAndCheeseMaking) {
    Harness h;
    Model& m = *h.model;
    eweInputs(m);
    const MilkCase& c = GetParam();
    m.typeb = 1;
    m.cy = c.cy;
    m.pmilkch = c.pmilkch;
    m.pmilkwm = c.pmilkwm;
    m.costmilk0E = 0.05f;
    m.costcheese0E = 0.1f;
    m.kmilkcE = 0.5f;
    m.milkmpar[1] = 200;
    m.milksw[1] = 40;
    m.milkmpar[4] = 100;
    m.milksw[4] = 20;
    for (int e = 1; e <= 5; ++e) m.plambE[e] = 1;
    for (int e = 16; e <= 18; ++e) m.plambE[e] = 0.5f;
    m.plambE[19] = m.plambE[20] = 1;  // beyond the last state
    m.qmilkE[3] = 0.85f;
    nonFeedCosts(h.run);

    EXPECT_NEAR(m.costmilkE[3], c.milk3, tol(c.milk3));
    EXPECT_NEAR(m.costcheeseE[3], c.cheese3, tol(c.cheese3));
    // Ewes that die or are culled give half the milk (kmilkcE).
    EXPECT_NEAR(m.costmilkE[1], c.milk3 / 0.85 / 2, tol(c.milk3));
    EXPECT_NEAR(m.costcheeseE[2], c.cheese3 / 0.85 / 2, tol(c.cheese3));
    EXPECT_NEAR(m.costmilkE[4], c.milk3 / 0.85, tol(c.milk3));
    // The last parity has three stages; half of its ewes lamb.
    const double last = c.pmilkwm > 0 ? 120 : 100;
    EXPECT_NEAR(m.costmilkE[18], last * 0.05 * 0.5, tol(3.0));
    EXPECT_NEAR(m.costcheeseE[18], c.pmilkch > 0 ? last * 0.1 * 0.5 : 0.0, tol(6.0));
    EXPECT_EQ(float(m.costmilkE[19]), 0.0f);
    EXPECT_EQ(float(m.costmilkE[20]), 0.0f);
    EXPECT_NEAR(m.costnfE[3] - m.costvetE[3] - m.costlabE[3] - m.costfixE[3] - m.costsheE[3] - m.costbedE[3] -
                    m.costbreedE[3] - m.costskE[3] - m.costmarkE[3],
                c.milk3 + c.cheese3, 1e-4);
}

// 240 kg milk (200 of the milking period, 40 sold while suckling) × 0.05
// and × 0.1, × 0.85; the cheese cost does not depend on the yield method.
INSTANTIATE_TEST_SUITE_P(Cheese, NonFeedEweMilk,
                         testing::Values(MilkCase{1, 0.3f, 0.2f, 10.2, 20.4}, MilkCase{2, 0.3f, 0.2f, 10.2, 20.4},
                                         MilkCase{0, 0.0f, 0.2f, 10.2, 0.0},
                                         // No milk sold while suckling: 200 kg only.
                                         MilkCase{2, 0.3f, 0.0f, 8.5, 17.0}));

TEST(NonFeedEwes, AverageProductiveLifeInYears) {
    Harness h;
    Model& m = *h.model;
    eweInputs(m);
    m.l1E[1] = 0.1;  // died in the first parity after 182.5 days
    m.dcE[1] = 182.5f;
    m.l1E[8] = 0.2;  // culled barren in the second parity after 261 days
    m.dcE[8] = 261;
    m.l1E[18] = 0.3;  // culled in the fourth parity after 141 days
    m.dcE[18] = 141;
    m.l1E[4] = 0.4;  // kept ewes do not leave
    m.l4E[1] = 0.5;
    nonFeedCosts(h.run);
    // (182.5 × 0.1 + 626 × 0.2 + 1236 × 0.3) / (0.5 × 365) = 514.25 / 182.5
    EXPECT_NEAR(m.avlifeyE, 2.817808, tol(2.8178));
}

// ---------------------------------------------------------------- rams

namespace {

// Two breeding cycles of pure-bred and crossing sires.
void ramInputs(Model& m) {
    m.RR = 2;
    m.TR = 7;
    m.crossing = 2;
    m.wbR[1][1] = 60;
    m.wbR[2][1] = 90;
    m.mwR[1] = 90;
    m.wbR[1][2] = 70;
    m.wbR[2][2] = 100;
    m.mwR[2] = 100;
    m.nendopR = 2;
    m.prendop = 3;
    m.nectopR = 1;
    m.prectop = 4;
    m.vetR = 10;
    m.costAkh = 10;
    m.AkhR = 3.65f;
    m.nsheR[1] = 1;
    m.nsheR[2] = 2;
    m.costshe0R = 3;
    m.costfix0R = 0.2f;
    m.prstraw = 0.1f;
    m.strawR = 0.5f;
    m.costtan = 4;
    m.pskR = 0.5f;
    m.ptskR = 0.5f;
    m.costmarkbR = 20;
    m.costmarkcul = 6;
    m.costdead = 0.5f;
    m.qpurchR = 0.9f;
    m.ppurchMP = 0.25f;
    m.prbR[1] = 400;
    m.prbR[2] = 600;
    const float dc[8] = {0, 182.5f, 73, 182.5f, 365, 182.5f, 73, 73};
    for (int r = 1; r <= 7; ++r) {
        m.dcR[r] = dc[r];
        m.l1aR[r][1] = m.l1aR[r][2] = 0.1;
    }
}

}  // namespace

TEST(NonFeedRams, CostItemsOfARamSoldInTheFirstCycle) {
    Harness h;
    Model& m = *h.model;
    ramInputs(m);
    m.qaveR[2][1] = 0.8f;
    m.qendR[2][1] = 0.7f;
    m.costfR[2][1] = 30;
    m.costwatR[2][1] = 1;
    nonFeedCosts(h.run);
    // Weight (60 + 90) / 2 = 75: (2 × 75 × 3 + 4 + 10) × 0.8 × 73 / 365.
    EXPECT_NEAR(m.costvetR[2][1], 74.24, tol(74.24));
    EXPECT_NEAR(m.costlabR[2][1], 5.84, tol(5.84));    // 0.8 × 36.5 × 0.2
    EXPECT_NEAR(m.costsheR[2][1], 0.48, tol(0.48));    // 0.8 × 1 × 3 × 0.2
    EXPECT_NEAR(m.costfixR[2][1], 58.4, tol(58.4));    // 0.8 × 0.2 × 365
    EXPECT_NEAR(m.costbedR[2][1], 2.92, tol(2.92));    // 0.8 × 0.1 × 0.5 × 73 days
    EXPECT_NEAR(m.costmarkR[2][1], 14.0, tol(14.0));   // 0.7 × 20, a breeding ram
    EXPECT_EQ(float(m.costskR[2][1]), 0.0f);
    EXPECT_EQ(float(m.costdiedR[2][1]), 0.0f);
    EXPECT_NEAR(m.costpurchR[2][1], 90.0, tol(90.0));  // 0.9 × 0.25 × 400
    EXPECT_NEAR(m.costnfR[2][1], 245.88, tol(245.88));
    EXPECT_NEAR(m.costR[2][1], 276.88, tol(276.88));
}

TEST(NonFeedRams, LaterCycleCullingDeathAndPurchase) {
    Harness h;
    Model& m = *h.model;
    ramInputs(m);
    nonFeedCosts(h.run);
    // Culled in the second cycle: mature weight, skins and marketing.
    EXPECT_NEAR(m.costvetR[7][1], 110.8, tol(110.8));  // (2 × 90 × 3 + 14) × 0.2
    EXPECT_NEAR(m.costskR[7][1], 1.0, tol(1.0));
    EXPECT_NEAR(m.costmarkR[7][1], 6.0, tol(6.0));
    EXPECT_NEAR(m.costbedR[7][1], 3.65, tol(3.65));
    EXPECT_EQ(float(m.costpurchR[7][1]), 0.0f);
    EXPECT_NEAR(m.costdiedR[5][1], 45.0, tol(45.0));  // 0.5 × 90 kg
    // A crossing sire dying in his first cycle: weight (70 + 100) / 2 = 85,
    // disposal by the weight of the first cycle, bought at the full price.
    EXPECT_NEAR(m.costvetR[1][2], 262.0, tol(262.0));  // (2 × 85 × 3 + 14) × 0.5
    EXPECT_NEAR(m.costsheR[1][2], 3.0, tol(3.0));      // 2 shearings × 3 × 0.5
    EXPECT_NEAR(m.costdiedR[1][2], 35.0, tol(35.0));
    for (int r = 1; r <= 4; ++r) {
        EXPECT_NEAR(m.costpurchR[r][1], 90.0, tol(90.0)) << r;
        EXPECT_NEAR(m.costpurchR[r][2], 540.0, tol(540.0)) << r;  // 0.9 × 600
    }
    for (int r = 5; r <= 7; ++r) EXPECT_EQ(float(m.costpurchR[r][2]), 0.0f) << r;
}

TEST(NonFeedRams, StateWithoutRamsCostsNothing) {
    Harness h;
    Model& m = *h.model;
    ramInputs(m);
    m.l1aR[7][2] = 0.0000009;
    m.l1aR[3][1] = 0.000001;  // the limit itself counts as present
    nonFeedCosts(h.run);
    EXPECT_EQ(float(m.costvetR[7][2]), 0.0f);
    EXPECT_EQ(float(m.costlabR[7][2]), 0.0f);
    EXPECT_EQ(float(m.costsheR[7][2]), 0.0f);
    EXPECT_EQ(float(m.costfixR[7][2]), 0.0f);
    EXPECT_EQ(float(m.costbedR[7][2]), 0.0f);
    EXPECT_EQ(float(m.costskR[7][2]), 0.0f);
    EXPECT_EQ(float(m.costmarkR[7][2]), 0.0f);
    EXPECT_EQ(float(m.costnfR[7][2]), 0.0f);
    EXPECT_EQ(float(m.costR[7][2]), 0.0f);
    EXPECT_GT(float(m.costnfR[7][1]), 0.0f);
    EXPECT_GT(float(m.costnfR[3][1]), 0.0f);
}

TEST(NonFeedRams, SingleCycleBuysForItsThreeStates) {
    Harness h;
    Model& m = *h.model;
    ramInputs(m);
    m.RR = 1;
    m.TR = 3;
    nonFeedCosts(h.run);
    for (int r = 1; r <= 3; ++r) EXPECT_NEAR(m.costpurchR[r][1], 90.0, tol(90.0)) << r;
    EXPECT_EQ(float(m.costpurchR[4][1]), 0.0f);
    EXPECT_EQ(float(m.costnfR[4][1]), 0.0f);
}

// ---------------------------------------------------------------- progeny

namespace {

// Pure-bred progeny weaned on day 120 at 60 days; breeding seasons from
// day 244, at the ages 185, 550 and 915 days.
void progenyInputs(Model& m) {
    m.crossing = 1;
    m.typew = 1;
    m.datlamb = 60;
    m.datwL = 120;
    m.agewL = 60;
    m.datbbs = 244;
    m.datebs = 290;
    m.lpreg = 150;
    calendar(m);
    m.ager[1][1] = 185;
    m.ager[1][2] = 550;
    m.ager[1][3] = 915;
    m.ager[2][1] = 185;
    m.ager[2][2] = 550;
    m.avww[1][1] = 20;
    m.avww[2][1] = m.avww[0][1] = 25;
    m.prendop = 3;
    m.prectop = 4;
    m.costAkh = 10;
    m.costshe0L = 2;
    m.prwoolL[1] = 2;
    m.costtan = 4;
    m.prman = 2;
    m.prstraw = 0.1f;
    m.costdead = 0.5f;
    m.costmarkcul = 6;
    // Fattening.
    m.nendopf[1][1] = m.nendopf[1][2] = 2;
    m.nectopf[1][1] = m.nectopf[1][2] = 1;
    m.vetf[1][1] = m.vetf[1][2] = 5;
    m.nshefL[1][1] = 1;
    m.nshefL[1][2] = 2;
    m.wshefL[1][1] = 1.5f;
    m.pskfL = 0.5f;
    m.ptskfL = 0.5f;
    m.costmarkfL = 0.5f;
    m.AkhfL = 3.65f;
    m.costfixfL = 0.1f;
    m.manfL = 0.5f;
    m.strawfL = 1;
    // Until weaning and slaughter at weaning.
    m.nendopwL = 1;
    m.nectopwL = 1;
    m.vetwL = 2;
    m.nshewL = 1;
    m.wshewL[1][1] = 0.5f;
    m.costmarkwL = 0.5f;
    m.pskwL = 0.5f;
    m.ptskwL = 0.5f;
    m.prskrL[1] = 6;
    m.prsktL[1] = 10;
    // Young breeding stock.
    m.nendoprL[1] = 2;
    m.nendoprL[2] = 1;
    m.nectoprL[1] = 1;
    m.nectoprL[2] = 2;
    m.vetrL[1] = 6;
    m.vetrL[2] = 7;
    m.AkhrL = 3.65f;
    m.nsherL[1] = 1;
    m.nsherL[2] = 2;
    m.nsherL[3] = 3;
    m.nsheFP = 1;
    m.wsherL[1][1] = 2;
    m.wsherL[2][1] = 3;
    m.costfixrL = 0.2f;
    m.strawrL = 1;
    m.manbL = 0.5f;
    m.nreins = 1;
    m.costreins[1] = 5;
    m.costins[1] = 15;
    m.pinsFP[1] = 50;
    m.costoeinFP = 3;
    m.pmat[1][1][1] = 0.8f;
    m.costmarkrL[1] = 8;
    m.costmarkrL[2] = 12;
    m.pskrL = 0.5f;
    m.ptskrL = 0.5f;
    m.wrL[1][1][1] = 40;
    m.wmat[1][1] = 44;
    m.wnmat[1][1] = 36;
    m.wrL[1][2][1] = 56;
    m.wrL[1][3][1] = 70;
    m.wrL[2][1][1] = 45;
    m.wnmat[2][1] = 40;
    m.wrL[2][2][1] = 80;
    m.dpregsFP = 42;
    // Categories with animals and their stays (as the stay phase gives them).
    for (int i : {5, 7, 13, 14, 15, 18, 20, 22, 38, 39, 41}) m.l1skL[i][1] = 0.1f;
    m.agetP[13][1] = 150.5f;
    m.dcL[13][1] = 90.5f;
    m.dcL[14][1] = 125;  // ager[1][1] - 60
    m.dcL[15][1] = 73;   // datconFP[1] 275 + dpregsFP 42 - datbbs 244
    m.dcL[18][1] = 365;
    m.dcL[20][1] = 180;  // 2 × 365 - ager[1][2]
    m.dcL[22][1] = 365;
    m.agetP[38][1] = 150.5f;
    m.dcL[38][1] = 90.5f;
    m.dcL[39][1] = 125;
    m.dcL[41][1] = 365;
}

// Female fattening variant 1 at 40 kg, variant 2 at 50 kg.
void fattening(Model& m, float age1, float age2) {
    m.lf[1] = 2;
    m.l1skL[8][1] = m.l1skL[9][1] = 0.2f;
    m.wP[8][1] = 40;
    m.wP[9][1] = 50;
    m.agetP[8][1] = age1;
    m.agetP[9][1] = age2;
    m.dcL[8][1] = age1 - 60;
    m.dcL[9][1] = age2 - 60;
}

}  // namespace

struct FatteningCase {
    float age;         // age at sale
    double housed;     // housed days from weaning
};

class NonFeedFattening : public testing::TestWithParam<FatteningCase> {};

TEST_P(NonFeedFattening, FatteningLamb) {
    Harness h;
    Model& m = *h.model;
    progenyInputs(m);
    const FatteningCase& c = GetParam();
    fattening(m, c.age, c.age);
    m.costfL[8][1] = 20;
    m.costwatL[8][1] = 0.5f;
    nonFeedCosts(h.run);
    const double dc = c.age - 60;
    EXPECT_NEAR(m.costvetL[8][1], 189.0, tol(189.0));   // 2 × 3 × (40 + 20) / 2 + 4 + 5
    EXPECT_NEAR(m.costsheL[8][1], 2.0, tol(2.0));
    EXPECT_NEAR(m.revwL[8][1], 3.0, tol(3.0));          // 1 × 1.5 kg × 2
    EXPECT_NEAR(m.costskL[8][1], 1.0, tol(1.0));        // 4 × 0.5 × 0.5
    EXPECT_NEAR(m.costmarkL[8][1], 20.0, tol(20.0));    // 40 kg × 0.5
    EXPECT_NEAR(m.costlabL[8][1], 0.1 * dc, tol(19.0)); // 36.5 × dc / 365
    EXPECT_NEAR(m.costfixL[8][1], 0.1 * dc, tol(19.0));
    EXPECT_NEAR(m.revmanL[8][1], c.housed, tol(c.housed));          // × 2 × 0.5
    EXPECT_NEAR(m.costbedL[8][1], 0.1 * c.housed, tol(c.housed));  // × 0.1 × 1
    EXPECT_NEAR(m.costnfL[8][1], 189 + 0.2 * dc + 2 + 0.1 * c.housed + 1 + 20, tol(260.0));
    EXPECT_NEAR(m.costL[8][1], 189 + 0.2 * dc + 2 + 0.1 * c.housed + 1 + 20 + 20.5, tol(280.0));
}

INSTANTIATE_TEST_SUITE_P(
    LastDay, NonFeedFattening,
    testing::Values(
        // Days 120 .. 259 are all housed, and so is the rest of the day of sale.
        FatteningCase{200.4f, 140.4},
        // Days 120 .. 299 are housed, 300 .. 309 not: the rest of day 309 is
        // not housed either.
        FatteningCase{250.4f, 180.0}));

TEST(NonFeedProgeny, LambsUntilAndAtWeaning) {
    Harness h;
    Model& m = *h.model;
    progenyInputs(m);
    nonFeedCosts(h.run);
    EXPECT_NEAR(m.costvetL[5][1], 66.0, tol(66.0));  // 20 kg × 1 × 3 + 4 + 2
    EXPECT_NEAR(m.costsheL[5][1], 2.0, tol(2.0));
    EXPECT_NEAR(m.revwL[5][1], 1.0, tol(1.0));       // 0.5 kg × 1 × 2
    EXPECT_EQ(float(m.costlabL[5][1]), 0.0f);        // the ewe's
    EXPECT_NEAR(m.costmarkL[7][1], 10.0, tol(10.0)); // 20 kg × 0.5
    EXPECT_NEAR(m.costskL[7][1], 1.0, tol(1.0));
    EXPECT_NEAR(m.revskrL[7][1], 1.5, tol(1.5));     // 6 × 0.5 × (1 - 0.5)
    EXPECT_NEAR(m.revsktL[7][1], 2.5, tol(2.5));     // 10 × 0.5 × 0.5
    EXPECT_NEAR(m.costnfL[7][1], 11.0, tol(11.0));
}

TEST(NonFeedProgeny, LambsSlaughteredAfterArtificialRearing) {
    Harness h;
    Model& m = *h.model;
    progenyInputs(m);
    m.typew = 2;
    m.agearL = 90;
    m.avwar[1][1] = 30;
    m.pskarL = 1;
    m.ptskarL = 0.25f;
    nonFeedCosts(h.run);
    EXPECT_NEAR(m.costmarkL[7][1], 15.0, tol(15.0));  // 30 kg × 0.5
    EXPECT_NEAR(m.costskL[7][1], 1.0, tol(1.0));      // 4 × 1 × 0.25
    EXPECT_NEAR(m.revskrL[7][1], 4.5, tol(4.5));      // 6 × 1 × 0.75
    EXPECT_NEAR(m.revsktL[7][1], 2.5, tol(2.5));
}

TEST(NonFeedProgeny, YoungFemales) {
    Harness h;
    Model& m = *h.model;
    progenyInputs(m);
    nonFeedCosts(h.run);
    // 13: sold at 150.5 days, 90.5 of the 125 days to the first breeding
    // season (share 0.724); housed on days 120 .. 209 and half a day.
    EXPECT_NEAR(m.costvetL[13][1], 137.56, tol(137.56));  // (2 × 3 × 30 + 4 + 6) × 0.724
    EXPECT_NEAR(m.costsheL[13][1], 1.448, tol(1.448));
    EXPECT_NEAR(m.costfixL[13][1], 25.0, tol(25.0));       // 125 days × 0.2
    EXPECT_NEAR(m.costmarkL[13][1], 8.0, tol(8.0));
    EXPECT_NEAR(m.revwL[13][1], 2.896, tol(2.896));        // 1 × 2 kg × 2 × 0.724
    EXPECT_NEAR(m.costlabL[13][1], 9.05, tol(9.05));       // 36.5 × 90.5 / 365
    EXPECT_NEAR(m.revmanL[13][1], 90.5, tol(90.5));
    EXPECT_NEAR(m.costbedL[13][1], 9.05, tol(9.05));
    // 14: at the first breeding season, 125 days, days 120 .. 244 housed.
    EXPECT_NEAR(m.costvetL[14][1], 190.0, tol(190.0));
    EXPECT_NEAR(m.costsheL[14][1], 2.0, tol(2.0));
    EXPECT_NEAR(m.costfixL[14][1], 25.0, tol(25.0));
    EXPECT_NEAR(m.costbreedL[14][1], 10.4, tol(10.4));     // ((5 + 15) × 50 / 100 + 3) × 0.8
    EXPECT_NEAR(m.revwL[14][1], 4.0, tol(4.0));
    EXPECT_NEAR(m.costlabL[14][1], 12.5, tol(12.5));
    EXPECT_NEAR(m.revmanL[14][1], 125.0, tol(125.0));
    // 15: pregnant and sold after 73 of the 365 days to the second season;
    // days 245 .. 316, housed up to day 299.
    EXPECT_NEAR(m.costvetL[15][1], 33.0, tol(33.0));       // (1 × 3 × 50 + 8 + 7) × 0.2
    EXPECT_NEAR(m.costsheL[15][1], 0.8, tol(0.8));
    EXPECT_NEAR(m.costfixL[15][1], 73.0, tol(73.0));       // 365 days × 0.2
    EXPECT_NEAR(m.costmarkL[15][1], 8.0, tol(8.0));
    EXPECT_NEAR(m.revwL[15][1], 1.6, tol(1.6));            // 2 × 2 kg × 2 × 0.2
    EXPECT_NEAR(m.costlabL[15][1], 7.3, tol(7.3));
    EXPECT_NEAR(m.revmanL[15][1], 55.0, tol(55.0));
    EXPECT_EQ(float(m.costbreedL[15][1]), 0.0f);
    // 22: at the third breeding season; days 610 .. 973, housed 610 .. 664
    // and 830 .. 973.
    EXPECT_NEAR(m.costvetL[22][1], 204.0, tol(204.0));     // 1 × 3 × (56 + 70) / 2 + 8 + 7
    EXPECT_NEAR(m.costsheL[22][1], 6.0, tol(6.0));
    EXPECT_NEAR(m.costfixL[22][1], 73.0, tol(73.0));
    EXPECT_NEAR(m.costbreedL[22][1], 13.0, tol(13.0));     // no share mated
    EXPECT_NEAR(m.revwL[22][1], 12.0, tol(12.0));          // 3 × 2 kg × 2
    EXPECT_NEAR(m.costlabL[22][1], 36.5, tol(36.5));
    EXPECT_NEAR(m.revmanL[22][1], 199.0, tol(199.0));
    EXPECT_NEAR(m.costbedL[22][1], 19.9, tol(19.9));
}

TEST(NonFeedProgeny, YoungMales) {
    Harness h;
    Model& m = *h.model;
    progenyInputs(m);
    nonFeedCosts(h.run);
    // 38: sold at 150.5 days (share 0.724 of the 125 days to the breeding
    // season); its wool is sold as that of the female lambs.
    EXPECT_NEAR(m.costvetL[38][1], 159.28, tol(159.28));  // (2 × 3 × (45 + 25) / 2 + 10) × 0.724
    EXPECT_NEAR(m.costsheL[38][1], 1.448, tol(1.448));
    EXPECT_NEAR(m.costfixL[38][1], 25.0, tol(25.0));
    EXPECT_NEAR(m.costmarkL[38][1], 12.0, tol(12.0));
    EXPECT_NEAR(m.revwL[38][1], 4.344, tol(4.344));        // 1 × 3 kg × 2 × 0.724
    EXPECT_NEAR(m.costlabL[38][1], 9.05, tol(9.05));
    EXPECT_NEAR(m.costbedL[38][1], 9.05, tol(9.05));
    // 41: into the ram flock, days 244 .. 608: housed 244 .. 299 and 465 .. 608.
    EXPECT_NEAR(m.costvetL[41][1], 195.0, tol(195.0));     // 1 × 3 × (40 + 80) / 2 + 8 + 7
    EXPECT_NEAR(m.revwL[41][1], 12.0, tol(12.0));          // 2 × 3 kg × 2
    EXPECT_NEAR(m.revmanL[41][1], 200.0, tol(200.0));
}

TEST(NonFeedProgeny, FirstBreedingSeasonAtWeaningLeavesNoStayToShare) {
    Harness h;
    Model& m = *h.model;
    progenyInputs(m);
    m.ager[1][1] = m.ager[2][1] = 60;  // the breeding season begins at weaning
    m.agetP[13][1] = m.agetP[38][1] = 60;
    m.dcL[13][1] = m.dcL[38][1] = 0;
    nonFeedCosts(h.run);
    for (int i : {13, 38}) {
        EXPECT_EQ(float(m.costvetL[i][1]), 0.0f) << i;
        EXPECT_EQ(float(m.costsheL[i][1]), 0.0f) << i;
        EXPECT_EQ(float(m.costfixL[i][1]), 0.0f) << i;
        EXPECT_EQ(float(m.revwL[i][1]), 0.0f) << i;
        EXPECT_TRUE(std::isfinite(double(m.costnfL[i][1]))) << i;
        EXPECT_NEAR(m.costnfL[i][1], i == 13 ? 8.0 : 12.0, 1e-5) << i;  // marketing only
    }
}

TEST(NonFeedProgeny, AnimalsDyingDuringFattening) {
    Harness h;
    Model& m = *h.model;
    progenyInputs(m);
    fattening(m, 200.4f, 250.4f);
    m.l1skL[3][1] = 0.06f;
    m.ndiedfat[1][1][1] = 0.02f;
    m.ndiedfat[1][2][1] = 0.04f;
    m.wP[3][1] = 30;
    m.qaveL[8][1] = m.qaveL[9][1] = 0.5f;  // the sources are averaged before discounting
    nonFeedCosts(h.run);
    // Variant 1: vet 189, lab = fix = bed 14.04, she 2, wool 3, manure 140.4;
    // variant 2: vet 219, lab = fix 19.04, bed 18, she 4, wool 6, manure 180.
    EXPECT_NEAR(m.costvetL[3][1], 104.5, tol(104.5));     // (189 × 0.02 + 219 × 0.04) / 0.12
    EXPECT_NEAR(m.costlabL[3][1], 8.686667, tol(8.69));
    EXPECT_NEAR(m.costfixL[3][1], 17.373333, tol(17.37));  // divided by 0.06 only
    EXPECT_NEAR(m.costsheL[3][1], 1.666667, tol(1.67));
    EXPECT_NEAR(m.costbedL[3][1], 8.34, tol(8.34));
    EXPECT_NEAR(m.revwL[3][1], 2.5, tol(2.5));
    EXPECT_NEAR(m.revmanL[3][1], 83.4, tol(83.4));
    EXPECT_NEAR(m.costdiedL[3][1], 15.0, tol(15.0));      // 30 kg × 0.5
    EXPECT_EQ(float(m.costmarkL[3][1]), 0.0f);
    EXPECT_EQ(float(m.costskL[3][1]), 0.0f);
}

TEST(NonFeedProgeny, YoungStockDyingOrCulled) {
    Harness h;
    Model& m = *h.model;
    progenyInputs(m);
    m.nrdied[1][1][1] = 0.01f;
    m.nspdied[1][1][1] = 0.01f;
    m.nrdied[1][2][1] = 0.02f;
    m.nspdied[1][3][1] = 0.01f;
    m.nrdiedmlFP[1] = 0.02f;
    m.l1skL[4][1] = 0.07f;
    m.wP[4][1] = 40;
    m.nrdied[2][1][1] = 0.01f;
    m.nspdied[2][1][1] = 0.01f;
    m.nrdied[2][2][1] = 0.02f;
    m.l1skL[29][1] = 0.04f;
    m.wP[29][1] = 50;
    m.nrcull[2][1][1] = 0.03f;
    m.nspcull[2][1][1] = 0.01f;
    m.nrcull[2][2][1] = 0.02f;
    m.nspcull[2][2][1] = 0.02f;
    m.l1skL[42][1] = 0.08f;
    nonFeedCosts(h.run);
    // Fixed costs of the sources 14, 18, 22, 20: 25, 73, 73, (730 - 550) × 0.2 = 36;
    // shearing: 2, 4, 6, 2.
    EXPECT_NEAR(m.costfixL[4][1], 48.714286, tol(48.71));  // 3.41 / 0.07
    EXPECT_NEAR(m.costsheL[4][1], 1.571429, tol(1.57));    // 0.22 / 0.14
    EXPECT_NEAR(m.costdiedL[4][1], 20.0, tol(20.0));
    // Males from 39 (fix 25, she 2) and 41 (fix 73, she 4).
    EXPECT_NEAR(m.costfixL[29][1], 49.0, tol(49.0));  // (0.02 × 25 + 0.02 × 73) / 0.04
    EXPECT_NEAR(m.costsheL[29][1], 1.5, tol(1.5));    // (0.02 × 2 + 0.02 × 4) / 0.08
    EXPECT_NEAR(m.costdiedL[29][1], 25.0, tol(25.0));
    EXPECT_NEAR(m.costfixL[42][1], 49.0, tol(49.0));  // (0.04 × 25 + 0.04 × 73) / 0.08
    EXPECT_NEAR(m.costsheL[42][1], 1.5, tol(1.5));
    EXPECT_NEAR(m.costskL[42][1], 1.0, tol(1.0));
    EXPECT_NEAR(m.costmarkL[42][1], 6.0, tol(6.0));
    EXPECT_EQ(float(m.costdiedL[42][1]), 0.0f);
}

TEST(NonFeedProgeny, DiscountingAndTotals) {
    Harness h;
    Model& m = *h.model;
    progenyInputs(m);
    m.qaveL[14][1] = 0.9f;
    m.qendL[14][1] = 0.5f;
    m.qbreedL[14] = 0.8f;
    m.costfL[14][1] = 40;
    m.costwatL[14][1] = 1;
    m.qendL[7][1] = 0.95f;
    m.qaveL[7][1] = 0.5f;
    nonFeedCosts(h.run);
    EXPECT_NEAR(m.costvetL[14][1], 171.0, tol(171.0));   // 190 × 0.9
    EXPECT_NEAR(m.costlabL[14][1], 11.25, tol(11.25));
    EXPECT_NEAR(m.costsheL[14][1], 1.8, tol(1.8));
    EXPECT_NEAR(m.costfixL[14][1], 22.5, tol(22.5));
    EXPECT_NEAR(m.costbedL[14][1], 11.25, tol(11.25));
    EXPECT_NEAR(m.revwL[14][1], 3.6, tol(3.6));
    EXPECT_NEAR(m.costbreedL[14][1], 8.32, tol(8.32));   // 10.4 × 0.8
    EXPECT_NEAR(m.revmanL[14][1], 125.0, tol(125.0));    // discounted with the revenues
    EXPECT_NEAR(m.costnfL[14][1], 226.12, tol(226.12));
    EXPECT_NEAR(m.costL[14][1], 267.12, tol(267.12));
    EXPECT_NEAR(m.costmarkL[7][1], 9.5, tol(9.5));
    EXPECT_NEAR(m.costskL[7][1], 0.95, tol(0.95));
    EXPECT_NEAR(m.revskrL[7][1], 1.5, tol(1.5));
    EXPECT_NEAR(m.costnfL[7][1], 10.45, tol(10.45));
}

TEST(NonFeedProgeny, ReevaluationLeavesNothingOfEmptiedCategories) {
    Harness h;
    Model& m = *h.model;
    progenyInputs(m);
    ramInputs(m);
    m.costfL[13][1] = 10;  // nutrition leaves 0 for an empty category
    m.revcL[13][1] = 99;   // set by the revenues of the last evaluation
    nonFeedCosts(h.run);
    ASSERT_GT(float(m.costL[13][1]), 0.0f);
    m.l1skL[13][1] = 0;
    m.costfL[13][1] = 0;
    m.l1aR[2][1] = 0;
    m.itrait = 4;
    nonFeedCosts(h.run);
    EXPECT_EQ(float(m.costvetL[13][1]), 0.0f);
    EXPECT_EQ(float(m.revmanL[13][1]), 0.0f);
    EXPECT_EQ(float(m.revwL[13][1]), 0.0f);
    EXPECT_EQ(float(m.revcL[13][1]), 0.0f);
    EXPECT_EQ(float(m.costnfL[13][1]), 0.0f);
    EXPECT_EQ(float(m.costL[13][1]), 0.0f);
    EXPECT_EQ(float(m.costpurchR[2][1]), 0.0f);
    EXPECT_EQ(float(m.costR[2][1]), 0.0f);
}

TEST(NonFeedProgeny, ProgressLineOnlyInTheBaseEvaluation) {
    Harness h;
    Model& m = *h.model;
    progenyInputs(m);
    nonFeedCosts(h.run);
    EXPECT_EQ(h.console(), "Calculating non-feed costs\n");
    m.itrait = 12;
    nonFeedCosts(h.run);
    EXPECT_EQ(h.console(), "Calculating non-feed costs\n");
}

// ---------------------------------------------------------------- examples

namespace {

const testutil::ExampleRun& example(const std::string& name) {
    static std::unique_ptr<testutil::ExampleRun> runs[3];
    const char* const names[3] = {"dairy", "meat", "extensive"};
    for (int i = 0; i < 3; ++i)
        if (name == names[i]) {
            if (!runs[i]) runs[i] = testutil::runExample(name);
            return *runs[i];
        }
    throw std::invalid_argument(name);
}

struct ExampleCase {
    const char* name;
    double ewesLo, ewesHi;        // non-feed costs of ewes per ewe and year
    double progenyLo, progenyHi;  // of progeny
};

class NonFeedExample : public testing::TestWithParam<ExampleCase> {};

}  // namespace

TEST_P(NonFeedExample, PlausibleCosts) {
    const testutil::ExampleRun& r = example(GetParam().name);
    ASSERT_EQ(r.status, 0) << r.console;
    EXPECT_NE(r.console.find("Calculating non-feed costs\n"), std::string::npos);
    const Model& m = *r.model;

    // A ewe leaves in the cycle she is in: her life in years is at most her
    // life in cycles and more than one cycle shorter.
    EXPECT_LE(double(m.avlifeyE), m.avlifelE + 1e-4);
    EXPECT_GT(double(m.avlifeyE), m.avlifelE - 1);

    double ewes = 0;
    for (int e = 1; e <= m.TE; ++e) {
        const double items[] = {m.costvetE[e], m.costlabE[e], m.costsheE[e], m.costfixE[e], m.costbedE[e],
                                m.costbreedE[e], m.costskE[e], m.costmarkE[e], m.costdiedE[e], m.costmilkE[e],
                                m.costcheeseE[e], m.revmanE[e]};
        double s = 0;
        for (double v : items) {
            EXPECT_TRUE(std::isfinite(v) && v >= 0) << e;
            s += v;
        }
        s -= m.revmanE[e];
        EXPECT_NEAR(m.costnfE[e], s, 1e-4 * s + 1e-4) << e;
        EXPECT_NEAR(m.costE[e], m.costfE[e] + m.costnfE[e] + m.costwatE[e], 1e-4 * m.costE[e] + 1e-4) << e;
        ewes += m.costnfE[e] * m.l1E[e];
    }
    EXPECT_GT(ewes, GetParam().ewesLo);
    EXPECT_LT(ewes, GetParam().ewesHi);

    double rams = 0;
    for (int r2 = 1; r2 <= m.TR; ++r2)
        for (int j = 1; j <= m.crossing; ++j) {
            EXPECT_TRUE(std::isfinite(double(m.costR[r2][j])) && m.costnfR[r2][j] >= 0) << r2 << " " << j;
            if (m.l1aR[r2][j] < 0.000001) {
                EXPECT_EQ(float(m.costR[r2][j]), 0.0f);
            }
            rams += m.costnfR[r2][j] * m.l1R[r2] * m.neweR[j];
        }
    EXPECT_GT(rams, 1.0);
    EXPECT_LT(rams, 20.0);

    double progeny = 0;
    for (int i = 1; i <= m.PP; ++i)
        for (int j = 1; j <= m.crossing; ++j) {
            EXPECT_TRUE(std::isfinite(double(m.costL[i][j])) && m.costnfL[i][j] >= 0) << i << " " << j;
            EXPECT_TRUE(std::isfinite(double(m.revwL[i][j])) && std::isfinite(double(m.revmanL[i][j]))) << i << " " << j;
            if (m.l1skL[i][j] <= 0.000001) {
                EXPECT_EQ(float(m.costnfL[i][j]), 0.0f) << i << " " << j;
            }
            progeny += m.costnfL[i][j] * m.l1skL[i][j];
        }
    EXPECT_GT(progeny, GetParam().progenyLo);
    EXPECT_LT(progeny, GetParam().progenyHi);
}

// Per ewe and year the examples give about 293 (35 of them for milking and
// cheese making), 142 and 79 of non-feed costs of the ewes, 7.1, 8.4 and 4.2
// of the rams and 71, 117 and 39 of the progeny.
INSTANTIATE_TEST_SUITE_P(Systems, NonFeedExample,
                         testing::Values(ExampleCase{"dairy", 150, 400, 30, 150},
                                         ExampleCase{"meat", 80, 250, 50, 200},
                                         ExampleCase{"extensive", 40, 150, 15, 100}),
                         [](const testing::TestParamInfo<ExampleCase>& i) { return std::string(i.param.name); });
