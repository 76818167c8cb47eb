// Feed and water costs of lambs and young stock: daily requirement terms at
// one point for every kind of progeny, the milk supply of suckling lambs,
// spans of young females over their matings, fattening to a fractional
// age, the costs of lost animals, the pregnancy check, and the three
// example systems.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "feeding/feeding.h"
#include "feeding/phases.h"
#include "herd/herd.h"
#include "input/inputs.h"
#include "input/paras.h"
#include "input/reader.h"
#include "test_util.h"

using testutil::Harness;

namespace {

void expectRel(double actual, double expected, const char* what, double tol = 2e-6) {
    EXPECT_NEAR(actual, expected, tol * std::fabs(expected) + 1e-9) << what;
}

// One season all year at 20 degrees (no temperature correction).  Every
// ration holds 10 MJ and 100 g PDI per kg of dry matter, is all dry matter,
// has no losses and costs 1 per kg, so the feed of a bin is the larger of
// energy / 10 and protein / 100.  Water: 2 units a day at 0.01.  Lambing on
// day 10, weaning at 30 days (day 40).  Activity coefficient 0.75 for lambs
// and young stock (technology 3), 0.25 for fattening lambs (technology 2),
// 0.5 for artificially reared lambs (technology 1).
void baseSystem(Model& m) {
    m.feedcost = 1;
    m.crossing = 1;
    m.clt = 1;
    m.LL = 1;
    m.typew = 1;
    m.typeb = 2;
    m.nfs = 1;
    m.nchfs = 0;
    m.valfs[0] = 1;
    for (int s = 1; s <= 2; ++s) {
        m.tp[s] = 20;
        m.techbL[s] = 3;
        m.techfatL[s] = 2;
    }
    m.ktL[1] = 0.5;
    m.ktL[2] = 0.25;
    m.ktL[3] = 0.75;
    for (int f = 1; f <= 20; ++f)
        for (int s = 1; s <= 4; ++s) {
            m.nedL[f][s] = 10;
            m.pdidL[f][s] = 100;
            m.drymL[f][s] = 1;
            m.lossfL[f][s] = 0;
            m.prfL[f][s] = 1;
            m.dwatL[f][s] = 2;
        }
    m.prwat = 0.01;
    m.datlamb = 10;
    m.datwL = 40;
    m.agewL = 30;
    m.datbbs = 200;
    m.datebs = 250;
    m.lpreg = 150;
    m.dshpE = 40;
    m.Nlamb = 1;
    m.l3E[1] = 1;
    m.ktlp[1] = 1;
    for (int c = 0; c <= 4; ++c) m.ktlsl[c] = 1;
    m.dwoolptwL = 0.002;
    m.dwoolptarL = 0.003;
    m.dwoolptrL[1][1] = 0.004;
    m.dwoolptrL[2][1] = 0.005;
    extendCalendar(m);
    setSexConstants(m);
}

// Two seasons: season 2 from day 12 to day 299.
void twoSeasons(Model& m) {
    m.nfs = 2;
    m.nchfs = 2;
    m.datchfs[1] = 12;
    m.valfs[1] = 2;
    m.datchfs[2] = 300;
    m.valfs[2] = 1;
    extendCalendar(m);
}

void present(Model& m, int i, double share) {
    m.l1skL[i][1] = share;
    m.l1L[i][1][1] = share;
}

// Young females: first breeding season from day 200 (age 191 days at the
// day after), flushing 5 days before and 5 after, 1 kg flushing gain (0.1
// kg a day), conception on day 225 + 365 (p - 1), single lambs of 4 kg.
void youngFemales(Model& m) {
    m.ager[1][1] = 191;
    m.ager[1][2] = 556;
    m.ager[1][3] = 921;
    for (int p = 1; p <= 3; ++p) m.datconFP[p] = p * 365 + m.datlamb - m.lpreg;
    m.flushbbL = 5;
    m.flushabL = 5;
    m.wgfL = 1;
    m.dpregsFP = 60;
    m.dnpregcFP = 30;
    m.twL[1][1] = 4;
    m.Pltype[1][1] = 1;
    m.avww[1][1] = 16;
    m.wmat[1][1] = 30;
    m.wnmat[1][1] = 25;
    m.wrL[1][2][1] = 40;
    m.wrL[1][3][1] = 50;
    m.pmat[1][1][1] = 0.6;
}

double pregnancyNE(int u1, int u2) {
    double s = 0;
    for (int u = u1; u <= u2; ++u) s += pregnancyNEDay(u);
    return s;
}

double pregnancyPDI(int u1, int u2) {
    double s = 0;
    for (int u = u1; u <= u2; ++u) s += pregnancyPDIDay(u);
    return s;
}

// ---- daily requirement terms at one point --------------------------------

// Each kind of progeny is fed for exactly one day at 16 kg live weight
// (15.8 kg plus 0.2 kg gain on day 1), so W^0.75 = 8.
struct Point {
    const char* name;
    int state, group;
    bool litter;  // requirements kept per litter size
    double nem, neg, neww, pdim, pdig, pdiw;
};

void setupPoint(Model& m, int state) {
    switch (state) {
    case 13:  // female sold before the first breeding season at 31 days
        m.avww[1][1] = 15.8f;
        m.adgr[1][1][1] = 0.2f;
        m.agetP[13][1] = 31;
        break;
    case 38:  // male sold before the first breeding season
        m.avww[2][1] = 15.8f;
        m.adgr[2][1][1] = 0.2f;
        m.agetP[38][1] = 31;
        break;
    case 43:  // castrate fattened to 31 days, from the male weaning weight
        m.lf[0] = 1;
        m.avww[2][1] = 15.8f;
        m.adgP[43][1] = 0.2f;
        m.agetP[43][1] = 31;
        break;
    case 5:  // suckling female, weaned the day after lambing, no milk
        m.datwL = 11;
        m.bwL[1][1][1] = 15.8f;
        m.adgbwL[1][1][1] = 0.2f;
        break;
    case 31:  // male artificially reared from day 40 to the age of 31 days
        m.typew = 2;
        m.agearL = 31;
        m.wwL[2][1][1] = 15.8f;
        m.adgwarL[2][1][1] = 0.2f;
        break;
    }
    present(m, state, 0.3);
}

class DailyTerms : public testing::TestWithParam<Point> {};

}  // namespace

TEST_P(DailyTerms, OfEachSexClassAndAge) {
    const Point& p = GetParam();
    Harness h;
    Model& m = *h.model;
    baseSystem(m);
    setupPoint(m, p.state);
    feedCostsLambs(h.run);
    const int i = p.state, f = p.group;
    if (p.litter) {
        expectRel(m.nembL[1][i][1][f][1], p.nem, "nem");
        expectRel(m.negbL[1][i][1][f][1], p.neg, "neg");
        expectRel(m.newbL[1][i][1][f][1], p.neww, "new");
        expectRel(m.pdimbL[1][i][1][f][1], p.pdim, "pdim");
        expectRel(m.pdigbL[1][i][1][f][1], p.pdig, "pdig");
        expectRel(m.pdiwbL[1][i][1][f][1], p.pdiw, "pdiw");
    } else {
        expectRel(m.nemL[i][1][f][1], p.nem, "nem");
        expectRel(m.negL[i][1][f][1], p.neg, "neg");
        expectRel(m.newL[i][1][f][1], p.neww, "new");
        expectRel(m.pdimL[i][1][f][1], p.pdim, "pdim");
        expectRel(m.pdigL[i][1][f][1], p.pdig, "pdig");
        expectRel(m.pdiwL[i][1][f][1], p.pdiw, "pdiw");
    }
    expectRel(m.watL[i][1][f][1], 2, "water");
    // Without milk the totals are the sums (suckling protein / 0.65); the
    // ration buys the larger of energy / 10 and protein / 100.
    const double ne = p.nem + p.neg + p.neww, pdi = (p.pdim + p.pdig + p.pdiw) / (i == 5 ? 0.65 : 1.0);
    expectRel(m.neL[i][1][f][1], ne, "neL");
    expectRel(m.pdiL[i][1][f][1], pdi, "pdiL");
    expectRel(m.costfL[i][1], std::max(ne / 10, pdi / 100), "cost");
    expectRel(m.costwatL[i][1], 0.02, "water cost");
}

// Hand values at W = 16, g = 0.2:
//   maintenance NE 0.277 c1 (8 + kt 16): females kt 0.75: 5.54; males
//     6.371; castrates (fattening, kt 0.25) 3.8226; artificially reared
//     males (kt 0.5) 5.0968; maintenance PDI 2.1875 x 8 = 17.5;
//   growth NE 0.2 (c3 16 + c2): females 1.86, males 1.62, castrates 1.904;
//   growth PDI 0.2 q / e with q = c4 - 16 c5 + 256 c6 = 129.4888 (females),
//     143.568 (males, castrates): e = 0.59: 43.894511, 48.667117; suckling
//     (e = 1) 25.897761; artificial rearing (e = 0.8) 35.891999;
//   wool NE 23.7 x daily wool: young stock 0.004 / 0.005 (castrates the male
//     rate), suckling 0.002, artificial rearing 0.003;
//   wool PDI 0.3846 x 0.2 q + 11.54 = 21.500279 / 22.583250; suckling
//     0.1 x 0.2 q + 3 = 5.589776; artificial (0.02 q + 3) / 0.8 = 7.339200.
INSTANTIATE_TEST_SUITE_P(
    FeedLambs, DailyTerms,
    testing::Values(Point{"YoungFemale", 13, 4, false, 5.54, 1.86, 0.0948, 17.5, 43.894511, 21.500279},
                    Point{"YoungMale", 38, 4, false, 6.371, 1.62, 0.1185, 17.5, 48.667117, 22.583250},
                    Point{"FattenedCastrate", 43, 16, false, 3.8226, 1.904, 0.1185, 17.5, 48.667117, 22.583250},
                    Point{"SucklingFemale", 5, 1, true, 5.54, 1.86, 0.0474, 17.5, 25.897761, 5.589776},
                    Point{"ArtificiallyRearedMale", 31, 2, true, 5.0968, 1.62, 0.0711, 17.5, 35.891999, 7.339200}),
    [](const testing::TestParamInfo<Point>& i) { return std::string(i.param.name); });

// ---- milk supply -----------------------------------------------------------

namespace {

// A flat curve of 1 kg a day from lambing (day 10) to weaning (day 40):
// 2 days in season 1 (days 10 and 11), 28 in season 2.  Two parities, twins.
void milkSystem(Model& m) {
    baseSystem(m);
    twoSeasons(m);
    m.typeb = 1;
    m.clt = 2;
    m.LL = 2;
    m.awo = 1;
    m.ktlsl[0] = 0.5;
    m.ktlsl[1] = 1.0;
    m.ktlsl[2] = 1.6;
    m.ktlp[1] = 0.8;
    m.ktlp[2] = 1.0;
    m.l3E[1] = 0.4;
    m.l3E[2] = 0.6;
    m.PsuckE[0][1] = 0.05;
    m.PsuckE[0][2] = 0.1;
    m.na24hL[0][2] = 0.7;
    m.nemilk = 5;
    m.pdimilk = 50;
}

}  // namespace

TEST(FeedLambs, MilkSupplyOfSucklingLambs) {
    Harness h;
    Model& m = *h.model;
    milkSystem(m);
    feedCostsLambs(h.run);
    EXPECT_FLOAT_EQ(m.basemilkws[1], 2);
    EXPECT_FLOAT_EQ(m.basemilkws[2], 28);
    EXPECT_FLOAT_EQ(m.milkwsrel[2][1][2], 28 * 1.6 * 0.8);
    EXPECT_FLOAT_EQ(m.milkws[0][2][2], 28 * 0.5 * 1.0 * 0.1);
    // Per lamb: base x ktlsl x (0.8 x 0.4 + 1.0 x 0.6) / litter size.
    EXPECT_FLOAT_EQ(m.milkwL[1][1], 1.84f);
    EXPECT_FLOAT_EQ(m.milkwL[1][2], 25.76f);
    EXPECT_FLOAT_EQ(m.milkwL[2][2], 20.608f);
    // Ewes without a lamb: 0.5 x base x (0.8 x 0.05 + 1.0 x 0.1) = 0.07
    // base, shared by the 0.7 twin lambs.
    EXPECT_FLOAT_EQ(m.tmilkw0[2], 1.96f);
    EXPECT_FLOAT_EQ(m.milkw0L[2], 2.8f);
    // Single lambs get no share of it.
    EXPECT_FLOAT_EQ(m.nelwL[1][2], 128.8f);
    EXPECT_FLOAT_EQ(m.pdilwL[1][2], 1288);
    EXPECT_FLOAT_EQ(m.nelwL[2][2], (2.8f + 20.608f) * 5);
    EXPECT_FLOAT_EQ(m.pdilwL[2][1], (0.2f + 1.472f) * 50);
}

TEST(FeedLambs, MilkOfEwesWithoutLambsWhenNobodyTakesIt) {
    Harness h;
    Model& m = *h.model;
    milkSystem(m);
    // No lamb of a twin litter alive at 24 hours: the divisor is 0.
    m.na24hL[0][2] = 0;
    feedCostsLambs(h.run);
    EXPECT_FLOAT_EQ(m.tmilkw0[2], 1.96f);
    EXPECT_EQ(m.milkw0L[2], 0.0f);
    EXPECT_FLOAT_EQ(m.nelwL[2][2], 20.608f * 5);
    // Milk sold during suckling, or a breed that is not milked: no share.
    milkSystem(m);
    m.pmilkwm = 0.2;
    feedCostsLambs(h.run);
    EXPECT_FLOAT_EQ(m.tmilkw0[2], 1.96f);
    EXPECT_EQ(m.milkw0L[2], 0.0f);
    EXPECT_FLOAT_EQ(m.milkwL[1][2], 25.76f * 0.8f);
    milkSystem(m);
    m.typeb = 2;
    feedCostsLambs(h.run);
    EXPECT_EQ(m.tmilkw0[2], 0.0f);
    EXPECT_EQ(m.milkw0L[2], 0.0f);
}

TEST(FeedLambs, MilkThatCoversTheRequirementLeavesNothingToBuy) {
    Harness h;
    Model& m = *h.model;
    baseSystem(m);
    twoSeasons(m);
    // Weaning on day 13: days 10 and 11 in season 1, day 12 in season 2.
    // Lambs of 16 kg that do not grow need 4.432 MJ and 17.5 + 3 g PDI a
    // day.  The curve e^-u gives the milk; 40 MJ and 200 g PDI per kg.
    m.datwL = 13;
    m.clt = 2;
    m.awo = 1;
    m.cwo = 1;
    m.nemilk = 40;
    m.pdimilk = 200;
    m.techbL[1] = m.techbL[2] = 1;
    for (int c = 1; c <= 2; ++c) m.bwL[1][c][1] = 16;
    m.l1skL[5][1] = 0.4;
    m.l1L[5][1][1] = 0.3;
    m.l1L[5][1][2] = 0.1;
    feedCostsLambs(h.run);
    const double need2 = 4.432 + 23.7 * 0.002, pdi2 = 20.5;
    const double milk2 = std::exp(-3.0);
    // Season 1: single and twin lambs have more milk than they need.
    EXPECT_LT(m.nebL[1][5][1][1][1], 0.0f);
    EXPECT_LT(m.nebL[2][5][1][1][1], 0.0f);
    EXPECT_EQ(m.neL[5][1][1][1], 0.0f);
    EXPECT_EQ(m.pdiL[5][1][1][1], 0.0f);
    EXPECT_EQ(m.feL[5][1][1][1], 0.0f);
    EXPECT_EQ(m.fpdiL[5][1][1][1], 0.0f);
    EXPECT_EQ(m.ffL[5][1][1][1], 0.0f);
    // Season 2: 2.487917 MJ and 10.542586 g short for a single lamb,
    // 3.483659 MJ and 15.521293 g for a twin, weighted 0.3 : 0.1.
    expectRel(m.nebL[1][5][1][1][2], need2 - 40 * milk2, "single", 1e-5);
    expectRel(m.nebL[2][5][1][1][2], need2 - 20 * milk2, "twin", 1e-5);
    expectRel(m.neL[5][1][1][2], 2.736853, "energy", 1e-5);
    expectRel(m.pdiL[5][1][1][2], (0.3 * (pdi2 - 200 * milk2) + 0.1 * (pdi2 - 100 * milk2)) / 0.26, "protein", 1e-5);
    expectRel(m.pdiL[5][1][1][2], 18.134250, "protein", 1e-5);
    expectRel(m.ffL[5][1][1][2], 0.2736853, "feed", 1e-5);
    expectRel(m.costfL[5][1], 0.2736853, "cost", 1e-5);
    // Water of 3 days at 2 units, from the single lambs only.
    EXPECT_FLOAT_EQ(m.watL[5][1][1][1], 4);
    EXPECT_FLOAT_EQ(m.watL[5][1][1][2], 2);
    EXPECT_FLOAT_EQ(m.costwatL[5][1], 0.06f);
    // Lambs dead before weaning: half the cost, of a female in half of them.
    expectRel(m.costfL[2][1], 0.2736853 / 4, "dead lambs", 1e-5);
}

// ---- weaning systems -------------------------------------------------------

namespace {

// Suckling females and males; with artificial rearing both sexes are also
// reared from day 40 to 50 days of age.
void bothSexes(Model& m) {
    baseSystem(m);
    for (int n = 1; n <= 2; ++n) {
        m.bwL[n][1][1] = 4;
        m.adgbwL[n][1][1] = 0.25f;
        m.wwL[n][1][1] = 11.5f;
        m.adgwarL[n][1][1] = 0.3f;
    }
    m.agearL = 50;
    for (int i : {5, 6, 30, 31}) present(m, i, 0.4);
}

}  // namespace

TEST(FeedLambs, WeaningFeedsOnlyTheSucklingLambs) {
    Harness h;
    Model& m = *h.model;
    bothSexes(m);
    feedCostsLambs(h.run);
    EXPECT_GT(m.costfL[5][1], 0.1f);
    EXPECT_GT(m.costfL[30][1], m.costfL[5][1]);  // males grow the same but need more
    // States 6 and 31 are not fed, whatever their share says.
    EXPECT_EQ(m.costfL[6][1], 0.0f);
    EXPECT_EQ(m.costfL[31][1], 0.0f);
    EXPECT_EQ(m.ffL[6][1][2][1], 0.0f);
    EXPECT_EQ(m.nembL[1][31][1][2][1], 0.0f);
    EXPECT_FLOAT_EQ(m.costfL[2][1], (m.costfL[5][1] + m.costfL[30][1]) / 4);
    EXPECT_FLOAT_EQ(m.costwatL[2][1], (m.costwatL[5][1] + m.costwatL[30][1]) / 4);
    // 30 suckling days of water.
    EXPECT_FLOAT_EQ(m.watL[5][1][1][1], 60);
}

TEST(FeedLambs, ArtificialRearingAddsToTheDeadLambs) {
    Harness h;
    Model& m = *h.model;
    bothSexes(m);
    m.typew = 2;
    feedCostsLambs(h.run);
    // Days 40 to 59 in group 2.
    EXPECT_FLOAT_EQ(m.watL[6][1][2][1], 40);
    EXPECT_FLOAT_EQ(m.newbL[1][6][1][2][1], 20 * 23.7 * 0.003);
    EXPECT_GT(m.costfL[6][1], 0.1f);
    EXPECT_GT(m.costfL[31][1], 0.1f);
    EXPECT_FLOAT_EQ(m.costfL[2][1],
                    ((m.costfL[5][1] + m.costfL[6][1]) * 0.5 + (m.costfL[30][1] + m.costfL[31][1]) * 0.5) / 2);
    EXPECT_FLOAT_EQ(m.costwatL[2][1],
                    ((m.costwatL[5][1] + m.costwatL[6][1]) * 0.5 + (m.costwatL[30][1] + m.costwatL[31][1]) * 0.5) /
                        2);
}

// ---- young females ---------------------------------------------------------

TEST(FeedLambs, FirstBreedingSeasonMixesMatedAndNotMatedFemales) {
    Harness h;
    Model& m = *h.model;
    baseSystem(m);
    youngFemales(m);
    m.adgr[1][1][1] = 0.1f;
    present(m, 14, 0.5);
    feedCostsLambs(h.run);
    // Mated set: days 40..194 (t 1..155) in group 4, flushing 195..200
    // (t 156..161) in group 3; the not-mated set: days 40..200 in group 4.
    // Growth NE 0.1 x sum of (0.45 (16 + 0.1 t) + 2.1).
    EXPECT_FLOAT_EQ(m.watL14m[1][1], 310);
    EXPECT_FLOAT_EQ(m.watL14nm[1][1], 322);
    expectRel(m.negL14m[1][1], 198.555, "mated");
    expectRel(m.negL14nm[1][1], 208.4145, "not mated");
    expectRel(m.negL[14][1][4][1], 0.6 * 198.555 + 0.4 * 208.4145, "mixed growth");
    EXPECT_FLOAT_EQ(m.watL[14][1][4][1], 0.6f * 310 + 0.4f * 322);
    expectRel(m.newL[14][1][4][1], (0.6 * 155 + 0.4 * 161) * 23.7 * 0.004, "mixed wool");
    expectRel(m.nemL[14][1][4][1], 0.6 * m.nemL14m[1][1] + 0.4 * m.nemL14nm[1][1], "mixed maintenance");
    expectRel(m.pdiwL[14][1][4][1], 0.6 * m.pdiwL14m[1][1] + 0.4 * m.pdiwL14nm[1][1], "mixed wool protein");
    // Flushing group: 6 days of the mated share, the day count continued.
    expectRel(m.negL[14][1][3][1], 0.6 * 0.1 * (0.45 * (96 + 0.1 * 951) + 6 * 2.1), "flushing growth");
    EXPECT_FLOAT_EQ(m.watL[14][1][3][1], 0.6f * 12);
    expectRel(m.nefL[14][1][3][1], 0.6 * 6 * 23.85 * 0.1, "flushing energy");
    expectRel(m.pdifL[14][1][3][1], 0.6 * 6 * 140 * 0.1, "flushing protein");
    EXPECT_FLOAT_EQ(m.adgfL, 0.1f);
}

TEST(FeedLambs, PregnantFemaleSoldBeforeLatePregnancy) {
    Harness h;
    Model& m = *h.model;
    baseSystem(m);
    youngFemales(m);
    present(m, 15, 0.2);
    feedCostsLambs(h.run);
    // Flushing days 201..205, then group 4 up to 365 + 10 - 150 + 60 - 1 =
    // day 284; pregnant from day 225 (gestation days 1..60).
    EXPECT_FLOAT_EQ(m.watL[15][1][3][1], 10);
    EXPECT_FLOAT_EQ(m.watL[15][1][4][1], 158);
    expectRel(m.nefL[15][1][3][1], 5 * 23.85 * 0.1, "flushing");
    expectRel(m.nepbL[1][15][1][4][1], 4 * 0.083773 * pregnancyNE(1, 60), "pregnancy", 1e-5);
    expectRel(m.pdipbL[1][15][1][4][1], 4 * 0.043889 * pregnancyPDI(1, 60), "pregnancy protein", 1e-5);
    EXPECT_FLOAT_EQ(m.nepL[15][1][4][1], m.nepbL[1][15][1][4][1]);
    // No late-pregnancy group.
    EXPECT_EQ(m.watL[15][1][5][1], 0.0f);
    EXPECT_EQ(m.nemL[15][1][5][1], 0.0f);
    EXPECT_EQ(m.nepbL[1][15][1][5][1], 0.0f);
    EXPECT_EQ(m.ffL[15][1][5][1], 0.0f);
}

TEST(FeedLambs, PregnantFemaleSoldInLatePregnancyReleasesTheReserve) {
    Harness h;
    Model& m = *h.model;
    baseSystem(m);
    youngFemales(m);
    m.dpregsFP = 120;  // sold 10 days after the start of late pregnancy (110 days)
    present(m, 15, 0.2);
    feedCostsLambs(h.run);
    // Group 4 days 206..334, group 5 days 335..344 (gestation days 111..120).
    EXPECT_FLOAT_EQ(m.watL[15][1][4][1], 258);
    EXPECT_FLOAT_EQ(m.watL[15][1][5][1], 20);
    EXPECT_EQ(m.nd[1], 10);
    expectRel(m.nepbL[1][15][1][4][1], 4 * 0.083773 * pregnancyNE(1, 110), "early", 1e-5);
    // Reserve: 10 x 20.034 x 1 / 40 MJ and 10 x 119 / 40 g.
    expectRel(m.nepbL[1][15][1][5][1], 4 * 0.083773 * pregnancyNE(111, 120) - 5.0085, "late", 1e-5);
    expectRel(m.pdipbL[1][15][1][5][1], 4 * 0.043889 * pregnancyPDI(111, 120) - 29.75, "late protein", 1e-5);
    EXPECT_FLOAT_EQ(m.neL[15][1][5][1], m.negL[15][1][5][1] + m.nemL[15][1][5][1] + m.newL[15][1][5][1] +
                                            m.nepL[15][1][5][1]);
}

namespace {

// Females joining the flock after their first season: late pregnancy on
// days 335..374 (gestation days 111..150).
void joiningFemales(Model& m) {
    baseSystem(m);
    youngFemales(m);
    present(m, 16, 0.3);
}

}  // namespace

TEST(FeedLambs, EnergyMethodReleasesOnlyTheEnergyOfTheReserve) {
    Harness h;
    Model& m = *h.model;
    joiningFemales(m);
    feedCostsLambs(h.run);
    const double ne = 4 * 0.083773 * pregnancyNE(111, 150), pdi = 4 * 0.043889 * pregnancyPDI(111, 150);
    expectRel(m.nepbL[1][16][1][5][1], ne - 20.034, "method 1", 1e-5);
    expectRel(m.pdipbL[1][16][1][5][1], pdi - 119, "method 1 protein", 1e-5);
    // Method 2: no protein at all; the protein part of the reserve, taken
    // from zero, would stop the run.
    m.feedcost = 2;
    feedCostsLambs(h.run);
    expectRel(m.nepbL[1][16][1][5][1], ne - 20.034, "method 2", 1e-5);
    for (int f = 1; f <= 5; ++f) {
        EXPECT_EQ(m.pdipbL[1][16][1][f][1], 0.0f) << f;
        EXPECT_EQ(m.pdiL[16][1][f][1], 0.0f) << f;
        EXPECT_EQ(m.pdimL[16][1][f][1], 0.0f) << f;
        EXPECT_EQ(m.fpdiL[16][1][f][1], 0.0f) << f;
    }
    EXPECT_GT(m.costfL[16][1], 0.0f);
}

TEST(FeedLambsDeathTest, NegativePregnancyRequirementStops) {
    Harness h;
    Model& m = *h.model;
    joiningFemales(m);
    m.wgfL = 14;  // the late-pregnancy energy is released many times over
    EXPECT_EXIT(feedCostsLambs(h.run), testing::ExitedWithCode(1), "");
    EXPECT_NE(h.console().find("\n\n\nError message:\n"
                               "There is at least one negative value for net energy or protein\n"
                               "  requirement for pregnancy for female breeding lambs.\n"
                               "  Decrease the weight gain during flushing for female breeding lambs\n"
                               "  in INPUTS04.TXT and restart the program.\n\n\n"),
              std::string::npos)
        << h.console();
}

TEST(FeedLambsDeathTest, NegativeWeightStops) {
    Harness h;
    Model& m = *h.model;
    baseSystem(m);
    setupPoint(m, 13);
    m.avww[1][1] = 0.5;
    m.adgr[1][1][1] = -1;
    EXPECT_EXIT(feedCostsLambs(h.run), testing::ExitedWithCode(1), "");
    EXPECT_NE(h.console().find("Error message:\nThe live weight of progeny of category 13 calculated for their "
                               "feeding\n  is negative."),
              std::string::npos)
        << h.console();
}

TEST(FeedLambs, LaterMatingsFollowTheirOwnCalendar) {
    Harness h;
    Model& m = *h.model;
    baseSystem(m);
    youngFemales(m);
    m.adgr[1][2][1] = 0.1f;
    for (int i : {18, 20, 21, 22, 24, 25}) present(m, i, 0.1);
    feedCostsLambs(h.run);
    // Not pregnant after season 1, kept: days 201..205 flushing, 206..559 in
    // group 4, 560..564 flushing before season 2 (two rows in group 3).
    EXPECT_FLOAT_EQ(m.watL[18][1][3][1], 20);
    EXPECT_FLOAT_EQ(m.watL[18][1][4][1], 708);
    // The day count runs on through the rows (t = 1..364); the first
    // flushing grows from the weight of the mated females (30 kg), the rest
    // from that of the not mated ones (25 kg): growth NE 0.1 x sum of
    // (0.45 W + 2.1) over t = 6..359 in group 4, over t = 1..5 and 360..364
    // in group 3.
    expectRel(m.negL[18][1][4][1], 0.1 * (0.45 * (354 * 25 + 0.1 * 64605) + 354 * 2.1), "kept, growing");
    expectRel(m.negL[18][1][4][1], 763.3125, "kept, growing");
    expectRel(m.negL[18][1][3][1], 0.1 * (0.45 * (5 * 30 + 0.1 * 15 + 5 * 25 + 0.1 * 1810) + 10 * 2.1), "flushing");
    // Joining after season 2: flushing from day 566, late pregnancy on days
    // 700..739 of the second year, gestation days 111..150 of conception 2.
    EXPECT_FLOAT_EQ(m.watL[20][1][5][1], 80);
    EXPECT_FLOAT_EQ(m.watL[20][1][4][1], 2 * (699 - 571 + 1));
    expectRel(m.nepbL[1][20][1][5][1], 4 * 0.083773 * pregnancyNE(111, 150) - 20.034, "second", 1e-5);
    // Culled after season 2: group 4 until 365 + 250 + 30 - 1 = day 644.
    EXPECT_FLOAT_EQ(m.watL[21][1][4][1], 2 * (644 - 571 + 1));
    // Kept to season 3: flushing 566..570 and 925..929.
    EXPECT_FLOAT_EQ(m.watL[22][1][3][1], 20);
    // Joining after season 3: late pregnancy days 1065..1104, gestation
    // days 111..150 of conception 3 (day 955).
    EXPECT_FLOAT_EQ(m.watL[24][1][5][1], 80);
    expectRel(m.nepbL[1][24][1][5][1], 4 * 0.083773 * pregnancyNE(111, 150) - 20.034, "third", 1e-5);
    // Culled after season 3: until 730 + 250 + 30 - 1 = day 1009.
    EXPECT_FLOAT_EQ(m.watL[25][1][4][1], 2 * (1009 - 936 + 1));
    // No growth after the third season.
    EXPECT_EQ(m.negL[24][1][4][1], 0.0f);
}

// ---- fattening -------------------------------------------------------------

TEST(FeedLambs, FatteningLambLeavingAtAFractionalAge) {
    Harness h;
    Model& m = *h.model;
    baseSystem(m);
    m.lf[2] = 1;
    m.avww[2][1] = 20;
    m.adgP[33][1] = 0.2f;
    m.agetP[33][1] = 120.4f;
    present(m, 33, 0.3);
    feedCostsLambs(h.run);
    // 120 - (40 - 10) = 90 full days from weaning, and 0.4 of a day.
    const double r = double(120.4f) - 120;
    expectRel(m.watL[33][1][11][1], (90 + r) * 2, "water");
    expectRel(m.newL[33][1][11][1], (90 + r) * 23.7 * 0.005, "wool");
    // Growth NE 0.2 x (sum over t = 1..90 of 0.35 (20 + 0.2 t) + 2.5, plus
    // r x (0.35 (20 + 0.2 (90 + r)) + 2.5)) = 0.2 x (1141.65 + 6.3312).
    expectRel(m.negL[33][1][11][1], 0.2 * (1141.65 + r * (0.35 * (20 + 0.2 * (90 + r)) + 2.5)), "growth");
    expectRel(m.negL[33][1][11][1], 229.596, "growth", 1e-5);
    EXPECT_GT(m.costfL[33][1], 0.0f);
}

TEST(FeedLambs, NoFatteningLeavesItsStatesEmptyInTheNextEvaluation) {
    Harness h;
    Model& m = *h.model;
    baseSystem(m);
    m.lf[0] = m.lf[1] = m.lf[2] = 1;
    m.avww[1][1] = m.avww[2][1] = 20;
    for (int i : {8, 33, 43}) {
        m.adgP[i][1] = 0.2f;
        m.agetP[i][1] = 100;
        present(m, i, 0.2);
    }
    m.ndiedfat[1][1][1] = m.ndiedfat[2][1][1] = m.ndiedfat[0][1][1] = 0.01;
    for (int i : {3, 28, 48}) present(m, i, 0.01);
    feedCostsLambs(h.run);
    for (int i : {3, 8, 28, 33, 43, 48}) EXPECT_GT(m.costfL[i][1], 0.0f) << i;
    m.lf[0] = m.lf[1] = m.lf[2] = 0;
    feedCostsLambs(h.run);
    for (int i : {3, 8, 9, 10, 11, 12, 28, 33, 34, 35, 36, 37, 43, 44, 45, 46, 47, 48}) {
        EXPECT_EQ(m.costfL[i][1], 0.0f) << i;
        EXPECT_EQ(m.costwatL[i][1], 0.0f) << i;
    }
    for (int f = 6; f <= 20; ++f)
        for (int i : {8, 33, 43}) {
            EXPECT_EQ(m.ffL[i][1][f][1], 0.0f) << i << " " << f;
            EXPECT_EQ(m.nemL[i][1][f][1], 0.0f) << i << " " << f;
        }
}

// ---- progeny lost on the way -----------------------------------------------

TEST(FeedLambs, LostAnimalsCostHalfOfTheStatesTheyLeave) {
    Harness h;
    Model& m = *h.model;
    baseSystem(m);
    youngFemales(m);
    m.lf[0] = m.lf[1] = m.lf[2] = 1;
    m.avww[2][1] = 18;
    m.wnmat[2][1] = 35;
    m.adgr[2][1][1] = 0.2f;
    m.adgr[2][2][1] = 0.1f;
    for (int i : {8, 33, 43}) {
        m.adgP[i][1] = 0.25f;
        m.agetP[i][1] = 110;
    }
    for (int i : {8, 14, 16, 18, 20, 22, 24, 33, 39, 41, 43}) present(m, i, 0.1);
    // Sources are discounted by 0.8, the lost animals by 0.5: the losses
    // take the cost per animal before discounting.
    for (int i = 1; i <= 48; ++i) m.qaveL[i][1] = 0.8;
    for (int i : {3, 4, 28, 29, 42, 48}) m.qaveL[i][1] = 0.5;
    m.nrdied[2][1][1] = 0.01;
    m.nspdied[2][1][1] = 0.02;
    m.nrdied[2][2][1] = 0.03;
    m.nspdied[2][2][1] = 0.04;
    present(m, 29, 0.1);
    m.nrcull[2][1][1] = 0.02;
    m.nspcull[2][1][1] = 0.01;
    m.nrcull[2][2][1] = 0.05;
    present(m, 42, 0.08);
    m.nrdied[1][1][1] = 0.01;
    m.nrdied[1][2][1] = 0.02;
    m.nrdied[1][3][1] = 0.03;
    m.nspdied[1][1][1] = 0.01;
    m.nspdied[1][3][1] = 0.01;
    m.pherd[1][1] = 0.5;
    m.pherd[1][2] = 0.3;
    m.pherd[1][3] = 0.1;
    m.Pherd[1] = 0.9;
    m.nrdiedmlFP[1] = 0.02;
    present(m, 4, 0.1);
    m.ndiedfat[1][1][1] = 0.01;
    m.ndiedfat[2][1][1] = 0.02;
    m.ndiedfat[0][1][1] = 0.03;
    present(m, 3, 0.01);
    present(m, 28, 0.02);
    present(m, 48, 0.03);
    feedCostsLambs(h.run);
    const Real(&k)[cap::P][3] = m.costfL;
    const Real(&w)[cap::P][3] = m.costwatL;
    auto c = [](const Real(&a)[cap::P][3], int i) { return double(a[i][1]) / 0.8; };
    for (int i : {8, 14, 16, 18, 20, 22, 24, 33, 39, 41, 43}) EXPECT_GT(c(k, i), 0.5) << i;
    expectRel(k[29][1], 0.5 * (0.03 * c(k, 39) + 0.07 * c(k, 41)) / 0.2, "died males", 1e-5);
    expectRel(w[29][1], 0.5 * (0.03 * c(w, 39) + 0.07 * c(w, 41)) / 0.2, "died males water", 1e-5);
    expectRel(k[42][1], 0.5 * (0.03 * c(k, 39) + 0.05 * c(k, 41)) / 0.16, "culled males", 1e-5);
    expectRel(w[42][1], 0.5 * (0.03 * c(w, 39) + 0.05 * c(w, 41)) / 0.16, "culled males water", 1e-5);
    const auto females = [&](const Real(&a)[cap::P][3]) {
        return 0.5 *
               (0.02 * c(a, 14) + 0.02 * c(a, 18) + 0.04 * c(a, 22) +
                (0.5 * c(a, 16) + 0.3 * c(a, 20) + 0.1 * c(a, 24)) * 0.02 / 0.9) /
               0.2;
    };
    expectRel(k[4][1], females(k), "died females", 1e-5);
    expectRel(w[4][1], females(w), "died females water", 1e-5);
    expectRel(k[3][1], 0.5 * 0.01 * c(k, 8) / 0.02, "fattened females", 1e-5);
    expectRel(k[28][1], 0.5 * 0.02 * c(k, 33) / 0.04, "fattened males", 1e-5);
    expectRel(k[48][1], 0.5 * 0.03 * c(k, 43) / 0.06, "fattened castrates", 1e-5);
    expectRel(w[48][1], 0.5 * 0.03 * c(w, 43) / 0.06, "fattened castrates water", 1e-5);
}

// ---- the example systems ---------------------------------------------------

namespace {

// Reads an example system, with one text of one input file replaced, and
// runs the phases before the feeding of the progeny.
void loadExample(Harness& h, const std::string& name, const char* file = nullptr, const char* from = nullptr,
                 const char* to = nullptr) {
    testutil::copyExample(name, h.dir);
    if (file) {
        std::string text = h.dir.read(file);
        const auto at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, std::string(from).size(), to);
        h.dir.write(file, text);
    }
    testutil::InDir in(h.dir.path());
    Run& run = h.run;
    Model& m = *h.model;
    run.texts = openInput(run, "TEXTS_OUT.TXT");
    run.texts.fragments = true;
    outputrw(run.texts, run.res);
    readParas(run);
    readAllInputs(run);
    growthConstants(run);
    rebuildAtReentry(run);
    eweFlock(run);
    ramPopulation(run);
    progenyUntilWeaning(run);
    growth(run);
    progenyAfterWeaning(run);
    milkProduction(run);
    stayDurations(run);
    closeInput(run.texts);
    extendCalendar(m);
    setSexConstants(m);
    litterBirthWeights(m);
}

const char* const kDairyWgfL = "1.5\n\"Weight gain of young females during flushing\"";
const char* const kDairyWgfLTooLarge = "5.1\n\"Weight gain of young females during flushing\"";

class FeedLambsExample : public testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(FeedLambsExample, PlausibleFeedAndCosts) {
    Harness h;
    Model& m = *h.model;
    loadExample(h, GetParam());
    ASSERT_EQ(h.console().find("Error"), std::string::npos) << h.console();
    feedCostsLambs(h.run);
    int fed = 0;
    for (int i = 1; i <= m.PP; ++i)
        for (int j = 1; j <= m.crossing; ++j) {
            const double cost = m.costfL[i][j], water = m.costwatL[i][j];
            EXPECT_TRUE(std::isfinite(cost) && std::isfinite(water)) << i << " " << j;
            EXPECT_GE(cost, 0.0) << i << " " << j;
            EXPECT_LT(cost, 150.0) << i << " " << j;  // per animal, at most a year and a half
            if (m.l1skL[i][j] <= 1e-6) {
                EXPECT_EQ(cost, 0.0) << i << " " << j;
                continue;
            }
            // Every category that stays after weaning is fed: net energy of
            // 4 to 14 MJ a day, feed of 0.5 to 12 kg as fed a day.
            const bool young = (i >= 13 && i <= 26) || (i >= 38 && i <= 41) || (i >= 8 && i <= 12) ||
                               (i >= 33 && i <= 37) || (i >= 43 && i <= 47);
            if (!young) continue;
            double ne = 0, ff = 0;
            for (int f = 3; f <= m.fL; ++f)
                for (int s = 1; s <= m.nfs; ++s) {
                    ne += m.neL[i][j][f][s];
                    ff += m.ffL[i][j][f][s];
                }
            const double days = m.dcL[i][j];
            ASSERT_GT(days, 30) << i << " " << j;
            EXPECT_GT(ne / days, 4) << i << " " << j;
            EXPECT_LT(ne / days, 14) << i << " " << j;
            EXPECT_GT(ff / days, 0.5) << i << " " << j;
            EXPECT_LT(ff / days, 12) << i << " " << j;
            EXPECT_GT(cost, 1.0) << i << " " << j;
            ++fed;
        }
    EXPECT_GE(fed, 15);
    // Suckling lambs get most of their energy from milk.
    for (int j = 1; j <= m.crossing; ++j)
        if (m.l1skL[5][j] > 1e-6) {
            EXPECT_LT(m.costfL[5][j], 3.0f);
        }
    for (int c = 1; c <= m.clt; ++c)
        for (int s = 1; s <= m.nfs; ++s) EXPECT_GE(m.nelwL[c][s], 0.0f);
}

INSTANTIATE_TEST_SUITE_P(Examples, FeedLambsExample, testing::Values("dairy", "meat", "extensive"),
                         [](const testing::TestParamInfo<const char*>& i) { return std::string(i.param); });

TEST(FeedLambsExamples, MeatCostsEnergyOnly) {
    Harness h;
    Model& m = *h.model;
    loadExample(h, "meat");
    ASSERT_EQ(m.feedcost, 2);
    feedCostsLambs(h.run);
    // The flushing reserve is released in energy only.
    bool late = false;
    for (int c = 1; c <= m.clt; ++c)
        for (int i = 1; i <= m.PP; ++i)
            for (int j = 1; j <= m.crossing; ++j)
                for (int f = 1; f <= m.fL; ++f)
                    for (int s = 1; s <= m.nfs; ++s) {
                        EXPECT_EQ(m.pdipbL[c][i][j][f][s], 0.0f);
                        if (f == 5 && m.nepbL[c][i][j][f][s] > 0) late = true;
                    }
    EXPECT_TRUE(late);
    for (int i = 1; i <= m.PP; ++i)
        for (int j = 1; j <= m.crossing; ++j)
            for (int f = 1; f <= m.fL; ++f)
                for (int s = 1; s <= m.nfs; ++s) {
                    EXPECT_EQ(m.pdiL[i][j][f][s], 0.0f);
                    EXPECT_EQ(m.fpdiL[i][j][f][s], 0.0f);
                }
}

TEST(FeedLambsExamples, DairyFlushingGainJustBelowTheLimit) {
    Harness h;
    loadExample(h, "dairy", "INPUTS04.TXT", kDairyWgfL, "5.0\n\"Weight gain of young females during flushing\"");
    feedCostsLambs(h.run);
    EXPECT_EQ(h.console().find("Error"), std::string::npos);
    EXPECT_GT(h.model->nepbL[1][16][1][5][1], 0.0f);
}

TEST(FeedLambsExamplesDeathTest, DairyFlushingGainTooLarge) {
    Harness h;
    EXPECT_EXIT(
        {
            loadExample(h, "dairy", "INPUTS04.TXT", kDairyWgfL, kDairyWgfLTooLarge);
            feedCostsLambs(h.run);
        },
        testing::ExitedWithCode(1), "");
    EXPECT_NE(h.console().find("\n\n\nError message:\n"
                               "There is at least one negative value for net energy or protein\n"
                               "  requirement for pregnancy for female breeding lambs.\n"
                               "  Decrease the weight gain during flushing for female breeding lambs\n"
                               "  in INPUTS04.TXT and restart the program.\n\n\n"),
              std::string::npos)
        << h.console();
}
