// Feed and water costs of rams and ewes on hand-built flocks whose calendar
// gives spans of one or a few days, so that every requirement can be worked
// out by hand; and on the example systems.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "example_run.h"
#include "feeding/feeding.h"
#include "feeding/phases.h"
#include "test_util.h"

using testutil::Harness;

namespace {

// Relative comparison for quantities stored in single precision.
void expectNear(double actual, double expected, const char* what) {
    EXPECT_NEAR(actual, expected, 2e-6 * std::fabs(expected) + 1e-6) << what;
}

// Two feeding seasons: 1 before day 100 and from day 300 on (10 degrees),
// 2 in between (20 degrees, no temperature term).
void calendar(Model& m) {
    m.nfs = 2;
    m.nchfs = 2;
    m.valfs[0] = 1;
    m.datchfs[1] = 100;
    m.valfs[1] = 2;
    m.datchfs[2] = 300;
    m.valfs[2] = 1;
    extendCalendar(m);
    m.tp[1] = 10;
    m.tp[2] = 20;
    m.feedcost = 1;
    m.prwat = 0.01;
    for (int s = 1; s <= 2; ++s) {
        for (int f = 1; f <= 2; ++f) {
            m.nedR[f][s] = 6;
            m.pdidR[f][s] = 90;
            m.drymR[f][s] = 0.5;
            m.prfR[f][s] = 0.3;
            m.dwatR[f][s] = 6;
        }
        for (int f = 1; f <= 5; ++f) {
            m.nedE[f][s] = 5;
            m.pdidE[f][s] = 100;
            m.drymE[f][s] = 0.5;
            m.prfE[f][s] = 0.2;
            m.dwatE[f][s] = f + s;
        }
    }
}

// Two breeding cycles of pure-bred rams (states 1 to 7): 60 kg at the start
// of the first cycle, gaining 0.2 kg a day, 100 kg mature, 3.65 kg of wool
// a year; no flushing, rams sold one day after the breeding season.
void rams(Model& m) {
    m.RR = 2;
    m.TR = 7;
    m.crossing = 1;
    m.wbR[1][1] = 60;
    m.adgR[1] = 0.2;
    m.mwR[1] = 100;
    m.dwoolptR[1] = 0.01;
    m.flushbbR = 0;
    m.dselR = 1;
    for (int r = 1; r <= 7; ++r) m.l1aR[r][1] = 0.1;
}

// Two parities (states 1 to 8), litters of one to three.  Lambing on day
// 10, drying off the next day, one dry day before flushing on days 12 and
// 13, breeding season from day 13 to day 14, ewes not pregnant culled on
// day 14, one day of late pregnancy, 150 days of pregnancy.  The young ewe
// weighs 50 kg at lambing and gains 0.1 kg a day; mature weight 60 kg.
void ewes(Model& m) {
    m.LL = 2;
    m.TE = 8;
    m.clt = 3;
    m.datlamb = 10;
    m.datdry = 11;
    m.datbbs = 13;
    m.datebs = 14;
    m.flushbbE = m.flushabE = 1;
    m.dnpregcE = 0;
    m.dshpE = 1;
    m.lpreg = 150;
    m.wlE[1] = 50;
    m.adgE = 0.1;
    m.mwE[1] = 60;
    m.dwoolptE = 0.01;
    m.wgfE = 0.1;
    m.techE[1] = 2;  // season 1 on pasture
    m.techE[2] = 1;
    m.ktE[1] = 0;
    m.ktE[2] = 0.01;
    // Litters of the second parity and their birth weights.
    m.Pltype[1][2] = 0.5;
    m.Pltype[2][2] = 0.35;
    m.Pltype[3][2] = 0.15;
    m.twL[1][2] = 4;
    m.twL[2][2] = 7;
    m.twL[3][2] = 9;
    // Milk: 2 × exp(-0.01) kg on the one day of lactation.
    m.awo = 2;
    m.bwo = 0.2;
    m.cwo = 0.01;
    m.fat = 6;
    m.prot = 5;
    const double ktlsl[4] = {0.8, 1.0, 1.3, 1.5};
    for (int c = 0; c <= 3; ++c) m.ktlsl[c] = ktlsl[c];
    m.ktlp[1] = 0.9;
    m.ktlp[2] = 1.0;
    // Flock: 90 per cent of the second-parity ewes were pregnant.
    m.l1E[4] = 0.02;
    m.l1E[5] = 0.18;
    m.l3E[1] = 0.4;
    m.l3E[2] = 0.36;
    const double suck1[4] = {0.02, 0.2, 0.12, 0.06}, suck2[4] = {0.01, 0.17, 0.12, 0.06};
    for (int c = 0; c <= 3; ++c) {
        m.PsuckE[c][1] = suck1[c];
        m.PsuckE[c][2] = suck2[c];
    }
}

// A flock of ewes and the rams that it needs.
void flock(Model& m) {
    calendar(m);
    rams(m);
    ewes(m);
}

// The flock with a breeding season on day 50 only (season 1).
void oneDaySeason(Model& m) {
    flock(m);
    m.datbbs = m.datebs = 50;
}

}  // namespace

// ---- rams -------------------------------------------------------------------

TEST(FeedRams, DailyRequirementsOfAGrowingAndAMatureRam) {
    Harness h;
    Model& m = *h.model;
    oneDaySeason(m);
    feedCostsRamsEwes(h.run);
    EXPECT_EQ(h.console(), "");  // the phase prints nothing

    // Growing ram (state 2) on day 50 in the breeding season, season 1:
    // W = 60.2, activity 1.8, temperature term 1 + 0.0091 × 10.
    expectNear(m.nemR[2][1][2][1], 12.081481, "0.277 W^0.75 a 1.091 + 0.0054 W");
    expectNear(m.pdimR[2][1][2][1], 85.097722, "2.1875 W^0.75 a");
    expectNear(m.negR[2][1][2][1], 4.714, "0.2 (0.35 W + 2.5)");
    expectNear(m.pdigR[2][1][2][1], 42.375736, "0.2 (160.4 - 1.22 W + 0.0105 W^2) / 0.59");
    expectNear(m.newR[2][1][2][1], 0.237, "23.7 × 0.01");
    expectNear(m.pdiwR[2][1][2][1], 30.886, "3088.6 × 0.01");
    expectNear(m.watR[2][1][2][1], 6, "one day of water");
    // The next day in the rest of the year: W = 60.4, activity 1.
    expectNear(m.nemR[2][1][1][1], 6.873761, "group 1");
    expectNear(m.pdimR[2][1][1][1], 47.394262, "group 1");
    // Mature ram (state 6, the second cycle): 100 kg, no growth.
    expectNear(m.nemR[6][1][2][1], 17.741924, "mature");
    expectNear(m.pdimR[6][1][2][1], 124.514683, "mature");
    EXPECT_EQ(double(m.negR[6][1][2][1]), 0.0);
    EXPECT_EQ(double(m.pdigR[6][1][2][1]), 0.0);

    // Feed: the energy decides in both groups (5.677 and 3.946 kg against
    // 3.519 and 2.681 kg for the protein); 0.3 a kg.
    expectNear(m.ffR[2][1][2][1], 5.677494, "ff group 2");
    expectNear(m.fpdiR[2][1][2][1], 3.519099, "fpdi group 2");
    expectNear(m.ffR[2][1][1][1], 3.946254, "ff group 1");
    expectNear(m.costfR[2][1], 0.3 * (5.677494 + 3.946254), "cost");
    expectNear(m.costwatR[2][1], 2 * 6 * 0.01, "water cost");
}

TEST(FeedRams, BinsOfOneStateOverAShortCalendar) {
    Harness h;
    Model& m = *h.model;
    flock(m);
    // Flushing from day 98, breeding season days 100 and 101 (seasons 1, 1,
    // 2, 2), sold after days 102 and 103 (season 2).
    m.flushbbR = 2;
    m.datbbs = 100;
    m.datebs = 101;
    m.dselR = 2;
    feedCostsRamsEwes(h.run);
    // Days per bin, from the water.
    expectNear(m.watR[2][1][2][1], 12, "group 2 season 1");
    expectNear(m.watR[2][1][2][2], 12, "group 2 season 2");
    expectNear(m.watR[2][1][1][2], 12, "group 1 season 2");
    EXPECT_EQ(double(m.watR[2][1][1][1]), 0.0);
    expectNear(m.newR[2][1][2][2], 2 * 0.237, "wool");
    // The weight grows on from one group to the next: 60.2 and 60.4 kg,
    // then 61.0 and 61.2 kg.
    expectNear(m.negR[2][1][2][1], 0.2 * (0.35 * 60.2 + 2.5 + 0.35 * 60.4 + 2.5), "growth group 2");
    expectNear(m.negR[2][1][1][2], 0.2 * (0.35 * 61.0 + 2.5 + 0.35 * 61.2 + 2.5), "growth group 1");
    expectNear(m.nemR[2][1][2][1], 24.193323, "maintenance at 60.2 and 60.4 kg, 10 degrees");
    expectNear(m.nemR[2][1][2][2], 22.341272, "maintenance at 60.6 and 60.8 kg, 20 degrees");
    expectNear(m.nemR[2][1][1][2], 12.766992, "maintenance at 61.0 and 61.2 kg, activity 1");
    // A mature ram on the same days.
    expectNear(m.nemR[6][1][2][1], 2 * 17.741924, "mature");
    // A ram that stays is fed until the day before the next flushing, day
    // 462: days 102 to 299 in season 2, 300 to 462 in season 1.
    expectNear(m.watR[4][1][1][2], 198 * 6, "staying ram, season 2");
    expectNear(m.watR[4][1][1][1], 163 * 6, "staying ram, season 1");
}

TEST(FeedRams, StatesThatDieOrAreCulledAndEmptyStates) {
    Harness h;
    Model& m = *h.model;
    oneDaySeason(m);
    m.l1aR[6][1] = 0.0000009;  // below the presence threshold
    m.l1aR[4][1] = 0.000001;   // at it: costed
    m.qaveR[2][1] = 0.9;
    feedCostsRamsEwes(h.run);
    const double c4 = m.costfR[4][1];
    ASSERT_GT(c4, 0);
    expectNear(m.costfR[2][1], 0.9 * 0.3 * (5.677494 + 3.946254), "discounted cost");
    // Cycle 1: dead and culled rams cost half of one that stays.
    expectNear(m.costfR[1][1], c4 / 2, "died");
    expectNear(m.costfR[3][1], c4 / 2, "culled");
    expectNear(m.costwatR[3][1], m.costwatR[4][1] / 2, "water");
    // Last cycle: state 6 has no rams and costs nothing, but the states
    // that take their cost from it are costed before.
    EXPECT_EQ(double(m.costfR[6][1]), 0.0);
    EXPECT_EQ(double(m.costwatR[6][1]), 0.0);
    for (int f = 1; f <= 2; ++f)
        for (int s = 1; s <= 2; ++s) EXPECT_EQ(double(m.ffR[6][1][f][s]), 0.0) << f << s;
    const double c6 = 0.3 * (m.feR[6][1][2][1] + m.feR[6][1][1][1]);  // its cost before the removal
    ASSERT_GT(c6, 0);
    expectNear(m.costfR[5][1], c6 / 2, "died in the last cycle");
    expectNear(m.costfR[7][1], c6, "culled in the last cycle");
}

// ---- ewes -------------------------------------------------------------------

TEST(FeedEwes, DailyRequirementsOfAGrowingAndAMatureEwe) {
    Harness h;
    Model& m = *h.model;
    flock(m);
    feedCostsRamsEwes(h.run);
    // Young ewe (state 3) on the lambing day, season 1: W = 50.1, pasture
    // activity 0.01 MJ per kg.
    expectNear(m.nemlE[3][1][1], 6.191924, "0.277 W^0.75 1.091 + 0.01 W");
    expectNear(m.pdimlE[3][1][1], 41.193278, "2.1875 W^0.75");
    expectNear(m.neglE[3][1][1], 2.4645, "0.1 (0.45 W + 2.1)");
    expectNear(m.pdiglE[3][1][1], 17.343928, "0.1 (156.1 - 1.94 W + 0.0173 W^2) / 0.59");
    expectNear(m.newlE[3][1][1], 0.237, "23.7 × 0.01");
    expectNear(m.pdiwlE[3][1][1], 30.886, "3088.6 × 0.01");
    expectNear(m.watlE[3][1][1], 2, "water of group 1");
    // Both lactation groups, and the other stages of the parity, have the
    // same requirements apart from milk.
    expectNear(m.nemlE[3][2][1], 6.191924, "group 2");
    expectNear(m.watlE[3][2][1], 3, "water of group 2");
    expectNear(m.nemlE[5][1][1], 6.191924, "copied to the pregnant ewe");
    expectNear(m.neglE[4][2][1], 2.4645, "copied to stage 4");
    // Mature ewe of the last parity (state 8): 60 kg, no growth.
    expectNear(m.nemlE[8][1][1], 7.115053, "mature");
    expectNear(m.pdimlE[8][1][1], 47.158665, "mature");
    EXPECT_EQ(double(m.neglE[8][1][1]), 0.0);

    // Flushing: 0.1 kg over two days, both in season 1.
    expectNear(m.adgfE, 0.05, "daily flushing gain");
    for (int e = 3; e <= 5; ++e) {
        expectNear(m.nefE[e][3][1], 2 * 0.05 * 23.85, "flushing NE");
        expectNear(m.pdifE[e][3][1], 2 * 0.05 * 140, "flushing PDI");
    }
    EXPECT_EQ(double(m.nefE[8][3][1]), 0.0);  // not flushed in the last parity

    // Late pregnancy on the day before the second lambing (day 374, season
    // 1), day 150 of gestation: NE 10.121841 and PDI 361.594304 per kg of
    // litter, less the flushing reserve 20.034 × 0.1 and 119 × 0.1.
    expectNear(m.nepbE[1][5][5][1], 1.388348, "single");
    expectNear(m.pdipbE[1][5][5][1], 51.580050, "single");
    expectNear(m.nepbE[2][5][5][1], 3.932159, "twins");
    expectNear(m.nepbE[3][5][5][1], 5.628033, "triplets");
    EXPECT_EQ(m.nd[1], 1);
    EXPECT_EQ(m.nd[2], 0);
    expectNear(m.nepE[5][5][1], 0.5 * 1.388348 + 0.35 * 3.932159 + 0.15 * 5.628033, "mean over litters");

    // Lactation of the first parity, one day: 1.980100 kg of milk ×
    // ktlsl × 0.9, with 4.239 MJ and 86.21 g PDI a kg.
    expectNear(m.nelbE[0][3][1][1], 6.057679, "no lamb suckled");
    expectNear(m.nelbE[1][3][1][1], 7.572099, "one lamb");
    expectNear(m.pdilbE[1][3][1][1], 153.628420, "one lamb");
    expectNear(m.nelbE[3][4][2][1], 11.358149, "three lambs");
    expectNear(m.pdilbE[2][5][2][1], 199.716946, "two lambs");
}

TEST(FeedEwes, LactationSplitByLittersSuckled) {
    Harness h;
    Model& m = *h.model;
    flock(m);
    feedCostsRamsEwes(h.run);
    // First parity: 0.02 ewes suckle no lamb and 0.2 one lamb (group 1),
    // 0.12 two and 0.06 three (group 2), of 0.4 lambings.
    for (int e = 3; e <= 5; ++e) {
        expectNear(m.nelE[e][1][1], (6.057679 * 0.02 + 7.572099 * 0.2) / 0.22, "group 1");
        expectNear(m.nelE[e][2][1], (9.843729 * 0.12 + 11.358149 * 0.06) / 0.18, "group 2");
        // Totals: the shares of the ewes in each group.
        expectNear(m.neE[e][1][1], (2.4645 + 6.191924 + 0.237 + 7.434425) * 0.22 / 0.4, "total group 1");
        expectNear(m.neE[e][2][1], (2.4645 + 6.191924 + 0.237 + 10.348535) * 0.18 / 0.4, "total group 2");
    }
}

TEST(FeedEwes, LastParityCostsOnlyItsLactatingEweWater) {
    Harness h;
    Model& m = *h.model;
    flock(m);
    m.qaveE[8] = 0.5;
    m.qaveE[6] = 0.8;
    feedCostsRamsEwes(h.run);
    // 90 per cent of the last-parity ewes lamb; half of those suckle one
    // lamb or none, half more.  The others spend the lactation day in
    // group 4 at the water of group 1.
    expectNear(m.plambE[8], 0.9, "share lambing");
    expectNear(m.pnlambE[8], 0.1, "share not lambing");
    expectNear(m.watE[8][1][1], 2 * 0.9 * 0.18 / 0.36, "group 1");
    expectNear(m.watE[8][2][1], 3 * 0.9 * 0.18 / 0.36, "group 2");
    expectNear(m.watE[8][4][1], 2 * 0.1, "group 4");
    expectNear(m.costwatE[8], 0.5 * 0.01 * (0.9 + 1.35 + 0.2), "water cost");
    // Feed of group 2 by hand: 8.4827 MJ and 140.10 g PDI need 3.3931 kg
    // for the energy and 2.8020 kg for the protein.
    expectNear(m.neE[8][2][1], 8.482692, "NE group 2");
    expectNear(m.pdiE[8][2][1], 140.099519, "PDI group 2");
    expectNear(m.ffE[8][2][1], 3.393077, "feed group 2");
    // Only stage 3 is costed in the last parity, only on its lactation day.
    for (int f = 1; f <= 5; ++f)
        for (int s = 1; s <= 2; ++s) {
            if (f == 3 || f == 5 || s == 2) {
                EXPECT_EQ(double(m.neE[8][f][s]), 0.0) << f << s;
            }
            EXPECT_EQ(double(m.ffE[6][f][s]), 0.0) << f << s;
            EXPECT_EQ(double(m.ffE[7][f][s]), 0.0) << f << s;
        }
    // Stages 1 and 2 take half of state TE, then their own discount.
    const double raw = m.costfE[8] / 0.5;
    ASSERT_GT(raw, 0);
    expectNear(m.costfE[6], raw / 2 * 0.8, "died");
    expectNear(m.costfE[7], raw / 2, "culled");
    expectNear(m.costwatE[7], 0.01 * (0.9 + 1.35 + 0.2) / 2, "water of the culled");
    // Earlier parities: half of the pregnant ewe.
    expectNear(m.costfE[1], m.costfE[5] / 2, "died, parity 1");
    expectNear(m.costfE[2], m.costfE[5] / 2, "culled, parity 1");
}

TEST(FeedEwes, EmptyGroupsCostNothing) {
    Harness h;
    Model& m = *h.model;
    flock(m);
    // No second-parity ewe suckles two or more lambs, none of the first
    // parity suckles fewer than two, and none of the first parity was
    // pregnant or open at the end: empty shares, no lambings.
    m.PsuckE[2][2] = m.PsuckE[3][2] = 0;
    m.PsuckE[0][1] = m.PsuckE[1][1] = 0;
    m.l1E[4] = m.l1E[5] = 0;
    feedCostsRamsEwes(h.run);
    for (int s = 1; s <= 2; ++s) {
        EXPECT_EQ(double(m.nelE[8][2][s]), 0.0);
        EXPECT_EQ(double(m.neE[8][2][s]), 0.0);
        EXPECT_EQ(double(m.nelE[3][1][s]), 0.0);
        EXPECT_EQ(double(m.neE[3][1][s]), 0.0);
    }
    EXPECT_EQ(double(m.plambE[8]), 0.0);
    EXPECT_EQ(double(m.pnlambE[8]), 0.0);
    // With no share lambing nobody of the state is costed in groups 1 and 2.
    EXPECT_EQ(double(m.neE[8][1][1]), 0.0);
    expectNear(m.watE[8][4][1], 2, "all in group 4");
    EXPECT_TRUE(std::isfinite(double(m.costfE[8])));
}

TEST(FeedEwes, DryDaysCountedOnceWithoutFlushing) {
    Harness h;
    Model& m = *h.model;
    flock(m);
    m.flushbbE = m.flushabE = 0;
    feedCostsRamsEwes(h.run);
    EXPECT_EQ(double(m.adgfE), 0.0);
    for (int e = 1; e <= 8; ++e)
        for (int s = 1; s <= 2; ++s) {
            EXPECT_EQ(double(m.nefE[e][3][s]), 0.0);
            EXPECT_EQ(double(m.neE[e][3][s]), 0.0);
        }
    // The ewe that is culled: dry days 11 and 12, then days 13 and 14 of the
    // breeding season.
    expectNear(m.watlE[3][4][1], 4 * 5, "stage 3, four days");
    // The pregnant ewe: days 11 to 373, each once: 163 in season 1 and 200
    // in season 2.
    expectNear(m.newlE[5][4][1], 163 * 0.237, "wool, season 1");
    expectNear(m.newlE[5][4][2], 200 * 0.237, "wool, season 2");
    // With flushing the flushing days are not in group 4.
    flock(m);
    feedCostsRamsEwes(h.run);
    expectNear(m.watlE[3][4][1], 2 * 5, "stage 3, two days");
    expectNear(m.newlE[5][4][1], 161 * 0.237, "wool, season 1");
}

TEST(FeedEwes, EvaluationsDoNotDependOnEachOther) {
    Harness h;
    Model& m = *h.model;
    flock(m);
    feedCostsRamsEwes(h.run);
    // Another evaluation with fewer litter classes, no flushing and cheaper
    // feed must equal a first evaluation with these inputs.
    auto change = [](Model& x) {
        x.clt = 2;
        x.flushbbE = x.flushabE = 0;
        x.prfE[4][1] = 0.1;
        x.l1aR[2][1] = 0;
    };
    change(m);
    feedCostsRamsEwes(h.run);
    Harness fresh;
    Model& n = *fresh.model;
    flock(n);
    change(n);
    feedCostsRamsEwes(fresh.run);
    for (int e = 1; e <= 8; ++e) {
        EXPECT_EQ(m.costfE[e].f(), n.costfE[e].f()) << e;
        EXPECT_EQ(m.costwatE[e].f(), n.costwatE[e].f()) << e;
        for (int f = 1; f <= 5; ++f)
            for (int s = 1; s <= 2; ++s) {
                EXPECT_EQ(m.neE[e][f][s].f(), n.neE[e][f][s].f()) << e << f << s;
                EXPECT_EQ(m.pdiE[e][f][s].f(), n.pdiE[e][f][s].f()) << e << f << s;
                EXPECT_EQ(m.nelE[e][f][s].f(), n.nelE[e][f][s].f()) << e << f << s;
                EXPECT_EQ(m.nepE[e][f][s].f(), n.nepE[e][f][s].f()) << e << f << s;
            }
    }
    for (int r = 1; r <= 7; ++r) {
        EXPECT_EQ(m.costfR[r][1].f(), n.costfR[r][1].f()) << r;
        for (int s = 1; s <= 2; ++s) EXPECT_EQ(m.ffR[r][1][2][s].f(), n.ffR[r][1][2][s].f()) << r << s;
    }
}

// ---- the pregnancy check ----------------------------------------------------

namespace {

const char* const kNegativePregnancy =
    "\n\n\nError message:\n"
    "There is at least one negative value for net energy or protein\n"
    "  requirement for pregnancy for ewes.\n"
    "  Decrease the weight gain during flushing for ewes\n"
    "  in INPUTS04.TXT and restart the program.\n\n\n";

}  // namespace

TEST(FeedEwesDeathTest, FlushingReserveLargerThanTheSingleLitterNeeds) {
    // The single litter needs 3.39176 MJ on the day of late pregnancy; a
    // reserve of 20.034 × wgfE exceeds it from wgfE = 0.16930 kg on.
    Harness ok;
    flock(*ok.model);
    ok.model->wgfE = 0.169;
    feedCostsRamsEwes(ok.run);
    EXPECT_GT(double(ok.model->nepbE[1][5][5][1]), 0.0);

    Harness h;
    flock(*h.model);
    h.model->wgfE = 0.17;
    EXPECT_EXIT(feedCostsRamsEwes(h.run), testing::ExitedWithCode(1), "");
    EXPECT_NE(h.console().find(kNegativePregnancy), std::string::npos) << h.console();
}

TEST(FeedEwes, EnergyOnlyCostingReleasesNoProteinReserve) {
    // The protein reserve 119 × 0.169 g would make the protein of every
    // litter negative if it were subtracted where protein is not costed.
    Harness h;
    Model& m = *h.model;
    flock(m);
    m.feedcost = 2;
    m.wgfE = 0.169;
    feedCostsRamsEwes(h.run);
    expectNear(m.nepbE[1][5][5][1], 10.121841 * 4 * 0.083773 - 20.034 * 0.169, "energy");
    for (int c = 1; c <= 3; ++c)
        for (int f = 4; f <= 5; ++f)
            for (int s = 1; s <= 2; ++s) EXPECT_EQ(double(m.pdipbE[c][5][f][s]), 0.0);
    for (int e = 1; e <= 8; ++e)
        for (int f = 1; f <= 5; ++f)
            for (int s = 1; s <= 2; ++s) {
                EXPECT_EQ(double(m.pdiE[e][f][s]), 0.0);
                EXPECT_EQ(double(m.fpdiE[e][f][s]), 0.0);
            }
    EXPECT_GT(double(m.costfE[5]), 0.0);
}

TEST(FeedEwes, TooLargeFlushingGainInAnExampleStops) {
    testutil::TempDir dir;
    testutil::copyExample("dairy", dir);
    std::string text = dir.read("INPUTS04.TXT");
    const std::string from = "2.0\n\"Weight gain of ewes during flushing\"";
    const auto at = text.find(from);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 3, "8.0");
    dir.write("INPUTS04.TXT", text);
    const auto r = testutil::runKarvel1(dir, "RESULTS.TXT\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(std::string("Calculating nutrition costs\n") + kNegativePregnancy + "The program needed "),
              std::string::npos)
        << r.out;
}

// ---- the example systems ----------------------------------------------------

namespace {

struct ExampleFeed {
    const char* name;
    double costLo, costHi;  // feed cost per ewe and year
};

class FeedExample : public testing::TestWithParam<ExampleFeed> {};

}  // namespace

TEST_P(FeedExample, PlausibleFeedOfEwesAndRams) {
    const auto r = testutil::runExample(GetParam().name);
    ASSERT_EQ(r->status, 0) << r->console;
    const Model& m = *r->model;
    // Per ewe of the flock and year: states weighted by the flock shares.
    double cost = 0, water = 0, feed = 0;
    for (int e = 1; e <= m.TE; ++e) {
        ASSERT_TRUE(std::isfinite(double(m.costfE[e])) && m.costfE[e] >= 0) << e;
        cost += m.costfE[e] * m.l1E[e];
        water += m.costwatE[e] * m.l1E[e];
        for (int f = 1; f <= m.fE; ++f)
            for (int s = 1; s <= m.nfs; ++s) {
                ASSERT_GE(double(m.ffE[e][f][s]), 0.0) << e << f << s;
                feed += m.ffE[e][f][s] * m.l1E[e];
            }
    }
    EXPECT_GT(cost, GetParam().costLo);
    EXPECT_LT(cost, GetParam().costHi);
    EXPECT_GT(water, 0.1);
    EXPECT_LT(water, 10);
    EXPECT_GT(feed, 1000);  // kg as fed, much of it grass
    EXPECT_LT(feed, 4000);
    // A ram that stays for the next cycle eats 2 to 4 t of ration as fed.
    for (int j = 1; j <= m.crossing; ++j) {
        double ram = 0;
        for (int f = 1; f <= m.fR; ++f)
            for (int s = 1; s <= m.nfs; ++s) ram += m.ffR[4][j][f][s];
        EXPECT_GT(ram, 2000) << j;
        EXPECT_LT(ram, 4000) << j;
        for (int q = 1; q <= m.TR; ++q) EXPECT_TRUE(std::isfinite(double(m.costfR[q][j])) && m.costfR[q][j] >= 0);
    }
    // Pregnancy requirements stay positive after the flushing reserve.
    for (int c = 1; c <= m.clt; ++c)
        for (int k = 1; k < m.LL; ++k)
            for (int s = 1; s <= m.nfs; ++s) {
                EXPECT_GE(double(m.nepbE[c][5 * k][5][s]), 0.0);
                EXPECT_GE(double(m.pdipbE[c][5 * k][5][s]), 0.0);
            }
}

INSTANTIATE_TEST_SUITE_P(Examples, FeedExample,
                         testing::Values(ExampleFeed{"dairy", 100, 160}, ExampleFeed{"meat", 55, 95},
                                         ExampleFeed{"extensive", 20, 45}),
                         [](const testing::TestParamInfo<ExampleFeed>& i) { return std::string(i.param.name); });
