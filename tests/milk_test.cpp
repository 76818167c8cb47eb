// Milk production on hand-built flocks: lactation-curve sums, the litter
// tables of suckling ewes, the three breed types, cheese yield and wool.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "herd/herd.h"
#include "test_util.h"

using testutil::Harness;

namespace {

// Four cycles, one litter-size class, lambings in the first three cycles
// only; a flat lactation curve of 2 kg a day, weaning at 10 days, drying 50
// days after weaning.
void milkedFlock(Model& m) {
    m.typeb = 1;
    m.LL = 4;
    m.clt = 1;
    m.crossing = 1;
    m.datlamb = 60;
    m.datwL = 70;
    m.agewL = 10;
    m.datdry = 120;
    m.dmilkst = 30;
    m.awo = 2;
    m.bwo = 0;
    m.cwo = 0;
    m.pdiedbtL[1][1] = 0.1;
    const double l3[5] = {0, 0.4, 0.3, 0.3, 0};
    const double tlp[5] = {0, 1.0, 1.2, 1.2, 1.0};
    for (int p = 1; p <= 4; ++p) {
        m.l3E[p] = l3[p];
        m.Pltype[1][p] = 1;
        m.ktlp[p] = tlp[p];
    }
    m.ktlsl[0] = 0.5;
    m.ktlsl[1] = 1.0;
    m.fat = 6.5;
    m.prot = 5.5;
}

// Cheese made from all the milk by the composition method.
void compositionCheese(Model& m) {
    m.pmilkch = 1;
    m.cy = 2;
    m.rfat = 0.9;
    m.rcas = 0.75;
    m.casprot = 0.8;
    m.moich = 40;
    m.fatch = 30;
    m.fat = 6;
    m.prot = 5;
}

}  // namespace

TEST(Milk, FlatCurveGivesLevelTimesDays) {
    Harness h;
    Model& m = *h.model;
    milkedFlock(m);
    m.typeb = 2;
    m.awo = 1.5;
    milkProduction(h.run);
    EXPECT_FLOAT_EQ(float(m.basemilkw), 1.5f * 9);  // days 1 .. 9
}

TEST(Milk, ShortCurveSummedByHand) {
    Harness h;
    Model& m = *h.model;
    milkedFlock(m);
    m.typeb = 2;
    m.agewL = 4;
    m.awo = 2;
    m.bwo = 1;
    m.cwo = 0.5;
    milkProduction(h.run);
    // 2 * (1 e^-0.5 + 2 e^-1 + 3 e^-1.5) = 2 * (0.606531 + 0.735759 + 0.669390)
    EXPECT_NEAR(double(m.basemilkw), 4.023359, 2e-6);
}

TEST(Milk, CurveTermsAreAccumulatedInSinglePrecision) {
    Harness h;
    Model& m = *h.model;
    milkedFlock(m);
    m.typeb = 2;
    m.agewL = 3001;
    m.awo = 1;
    m.bwo = -1;  // daily yield 1 / t
    milkProduction(h.run);
    float single = 0;
    double dbl = 0;
    for (int t = 1; t <= 3000; ++t) {
        single = float(double(single) + 1.0 / t);
        dbl += 1.0 / t;
    }
    ASSERT_NE(single, float(dbl));  // the two ways of summing differ here
    EXPECT_EQ(float(m.basemilkw), single);
}

TEST(Milk, LitterTablesForThreeClasses) {
    Harness h;
    Model& m = *h.model;
    milkedFlock(m);
    m.typeb = 2;
    m.clt = 3;
    m.pdiedbtL[1][1] = 0.1;
    m.pdiedbtL[2][1] = 0.12;
    m.pdiedbtL[2][2] = 0.06;
    m.pdiedbtL[3][1] = 0.09;
    m.pdiedbtL[3][2] = 0.08;
    m.pdiedbtL[3][3] = 0.06;
    for (int p = 1; p <= 4; ++p) {
        m.Pltype[1][p] = 0.5;
        m.Pltype[2][p] = 0.3;
        m.Pltype[3][p] = 0.2;
    }
    milkProduction(h.run);

    // Litters of class lt that lost k lambs: pdiedbtL[lt][k] / k.
    const double pb[4][4] = {{0, 0, 0, 0}, {0.1, 0.9, 0, 0}, {0.03, 0.12, 0.85, 0}, {0.02, 0.04, 0.09, 0.85}};
    for (int lt = 1; lt <= 3; ++lt) {
        double sum = 0;
        for (int n = 0; n <= lt; ++n) {
            EXPECT_NEAR(double(m.pbtba[lt][n]), pb[lt][n], 1e-7) << lt << " " << n;
            sum += m.pbtba[lt][n];
        }
        EXPECT_NEAR(sum, 1.0, 1e-6) << lt;
    }

    // Ewes suckling n lambs: litters of at least n lambs with n alive.
    const double share[4] = {0.5 * 0.1 + 0.3 * 0.03 + 0.2 * 0.02, 0.5 * 0.9 + 0.3 * 0.12 + 0.2 * 0.04,
                             0.3 * 0.85 + 0.2 * 0.09, 0.2 * 0.85};
    for (int p = 1; p <= 4; ++p) {
        double sum = 0;
        for (int n = 0; n <= 3; ++n) {
            EXPECT_NEAR(double(m.PsuckE[n][p]), m.l3E[p] * share[n], 1e-7) << n << " " << p;
            sum += m.PsuckE[n][p];
        }
        EXPECT_NEAR(sum, m.l3E[p], 1e-6) << p;  // every lambing ewe suckles some number of lambs
    }
}

TEST(Milk, MilkedEwes) {
    Harness h;
    Model& m = *h.model;
    milkedFlock(m);
    m.pmilkwm = 0.2;
    m.wsheE = 2.5;
    m.nsheE = 1;
    m.crossing = 2;
    m.wsheR[1] = 3;
    m.wsheR[2] = 4;
    m.nsheR[1] = 2;
    m.nsheR[2] = 1;
    milkProduction(h.run);

    // Suckling: 18 kg per reference ewe; 10 % of the ewes have no lamb left
    // (factor 0.5), the others one (factor 1): 0.95 of the reference milk,
    // times the parity factors weighted by lambings, 1.12.
    EXPECT_FLOAT_EQ(float(m.basemilkw), 18);
    EXPECT_NEAR(double(m.milkwrel[0][2]), 0.5 * 18 * 1.2, 1e-5);
    EXPECT_NEAR(double(m.tmilkw), 18 * 0.95 * 1.12, 1e-5);
    // Sold while suckling: 20 % of the milk of ewes with a lamb, all of the
    // milk of the others, per lambing ewe: 18 * (0.2 * 0.9 + 0.5 * 0.1).
    EXPECT_NEAR(double(m.milksw[1]), 4.14, 1e-5);
    EXPECT_NEAR(double(m.milksw[2]), 4.968, 1e-5);
    EXPECT_EQ(double(m.milksw[4]), 0.0);  // no lambings in cycle 4

    // Milking period: days 10 .. 60, 51 days of 2 kg; the first 30 days
    // after weaning are days 10 .. 40.
    EXPECT_EQ(m.lengthmp, 50);
    EXPECT_FLOAT_EQ(float(m.basemilkm), 102);
    EXPECT_NEAR(double(m.milkmrel[1][3]), 102 * 1.2, 1e-4);
    EXPECT_NEAR(double(m.tmilkm), 102 * 0.95 * 1.12, 1e-4);
    EXPECT_NEAR(double(m.tmilkst), 62 * 0.95 * 1.12, 1e-4);
    EXPECT_NEAR(double(m.avmilkd), (18 + 102) * 0.95 * 1.12 / 60, 1e-6);
    EXPECT_NEAR(double(m.fatymst), 62 * 0.95 * 1.12 * 0.065, 1e-5);
    EXPECT_NEAR(double(m.protymst), 62 * 0.95 * 1.12 * 0.055, 1e-5);
    EXPECT_NEAR(double(m.milkmpar[1]), 102 * 0.95, 1e-4);
    EXPECT_NEAR(double(m.milkmpar[2]), 102 * 0.95 * 1.2, 1e-4);
    EXPECT_EQ(double(m.milkmpar[4]), 0.0);

    EXPECT_FLOAT_EQ(float(m.woolptE), 2.5);
    EXPECT_FLOAT_EQ(float(m.woolptR[1]), 6);
    EXPECT_FLOAT_EQ(float(m.woolptR[2]), 4);
    EXPECT_EQ(h.console(), "Calculating milk production\n");
}

TEST(Milk, NothingSoldWhileSucklingWithoutAShare) {
    Harness h;
    Model& m = *h.model;
    milkedFlock(m);
    m.pmilkwm = 0;
    milkProduction(h.run);
    for (int p = 1; p <= 4; ++p) EXPECT_EQ(double(m.milksw[p]), 0.0) << p;
}

TEST(Milk, EwesNotMilkedAfterWeaning) {
    Harness h;
    Model& m = *h.model;
    milkedFlock(m);
    m.typeb = 2;
    m.ktlsl[0] = 0;
    m.awo = 1;
    m.bwo = 0.2;
    m.cwo = 0.01;
    m.pmilkch = 0.5;  // would make cheese if the ewes were milked
    m.cy = 1;
    m.bch = 1;
    milkProduction(h.run);
    const double sum = m.basemilkw;
    double expect = 0;
    for (int t = 1; t <= 9; ++t) expect += std::pow(t, 0.2) * std::exp(-0.01 * t);
    EXPECT_NEAR(sum, expect, 1e-5);
    EXPECT_NEAR(double(m.tmilkw), sum * 0.9 * 1.12, 1e-5);
    EXPECT_EQ(m.lengthmp, 0);
    EXPECT_EQ(double(m.tmilkm), 0.0);
    EXPECT_EQ(double(m.tmilkst), 0.0);
    EXPECT_EQ(double(m.milkch), 0.0);
    EXPECT_EQ(double(m.cheesewhey), 0.0);
}

TEST(Milk, SuckledMilkGivenAsInput) {
    Harness h;
    Model& m = *h.model;
    milkedFlock(m);
    m.typeb = 3;
    m.basemilkw = 25;
    m.bwo = 0.3;
    m.cwo = 0.02;
    m.ktlsl[0] = 0;
    m.pmilkch = 0.5;
    m.cy = 1;
    m.bch = 1;
    milkProduction(h.run);
    EXPECT_FLOAT_EQ(float(m.awo), 2.5f);  // 25 kg over 10 days
    EXPECT_EQ(double(m.bwo), 0.0);
    EXPECT_EQ(double(m.cwo), 0.0);
    EXPECT_FLOAT_EQ(float(m.basemilkw), 25);
    EXPECT_NEAR(double(m.milkwrel[1][2]), 25 * 1.2, 1e-5);
    EXPECT_NEAR(double(m.tmilkw), 25 * 0.9 * 1.12, 1e-5);
    EXPECT_EQ(m.lengthmp, 0);
    EXPECT_EQ(double(m.basemilkm), 0.0);
    EXPECT_EQ(double(m.avmilkd), 0.0);
    EXPECT_EQ(double(m.milkmpar[1]), 0.0);
    EXPECT_EQ(double(m.milkch), 0.0);
}

TEST(Milk, RegressionCheeseYield) {
    Harness h;
    Model& m = *h.model;
    milkedFlock(m);
    m.pmilkch = 0.5;
    m.cy = 1;
    m.ach = 1.5;
    m.bch = 0.3;
    m.cch = 0.2;
    milkProduction(h.run);
    EXPECT_NEAR(double(m.milkch), 1.5 + 0.3 * 6.5 + 0.2 * 5.5, 1e-6);
    EXPECT_NEAR(double(m.cheesewhey), 3.55, 1e-6);
    EXPECT_EQ(double(m.cheesey), 0.0);
}

TEST(Milk, CompositionCheeseYieldKeepsItsBaseScaling) {
    Harness h;
    Model& m = *h.model;
    milkedFlock(m);
    compositionCheese(m);
    milkProduction(h.run);
    // Fat in dry matter 30 / 0.6; recovered solids 0.9 * 6 + 0.75 * 0.8 * 5
    // = 8.4; in the base evaluation the yield is rfat * fat / fatch.
    EXPECT_NEAR(double(m.fdm), 50, 1e-5);
    EXPECT_NEAR(double(m.rs), 540.0 / 420, 1e-6);
    EXPECT_NEAR(double(m.cheesey), 0.18, 1e-7);
    EXPECT_NEAR(double(m.milkch), 1 / 0.18, 1e-5);
    EXPECT_NEAR(double(m.cheesewhey), 1 / 0.18 - 1, 1e-5);

    // A later evaluation with 1 % more fat keeps rs; the yield follows the
    // recovered solids.
    m.zr = 2;
    m.itrait = 30;
    m.fat = 6.06f;
    milkProduction(h.run);
    EXPECT_NEAR(double(m.rs), 540.0 / 420, 1e-6);
    EXPECT_NEAR(double(m.cheesey), (0.9 * 6.06 + 3) * (540.0 / 420) / 60, 1e-7);
    EXPECT_NEAR(double(m.milkch), 60 / ((0.9 * 6.06 + 3) * (540.0 / 420)), 1e-5);
    EXPECT_NEAR(double(m.fatymst), 62 * 0.95 * 1.12 * 0.0606, 1e-5);
    EXPECT_EQ(h.console(), "Calculating milk production\n");  // once, in the base evaluation
}

TEST(Milk, EvaluationsDoNotDependOnEachOther) {
    Harness h;
    Model& m = *h.model;
    milkedFlock(m);
    compositionCheese(m);
    m.pmilkwm = 0.3;
    m.bwo = 0.1;
    m.cwo = 0.004;
    milkProduction(h.run);
    const auto copy = std::make_unique<Model>(m);
    const Model& base = *copy;

    m.zr = 227;
    m.itrait = 28;
    m.awo = base.awo * 1.01;
    milkProduction(h.run);
    EXPECT_NEAR(double(m.tmilkst), 1.01 * base.tmilkst, 1e-5 * base.tmilkst);
    EXPECT_NEAR(double(m.avmilkd), 1.01 * base.avmilkd, 1e-5 * base.avmilkd);
    EXPECT_NEAR(double(m.milksw[2]), 1.01 * base.milksw[2], 1e-5 * base.milksw[2]);

    m.zr = 228;
    m.awo = base.awo;
    milkProduction(h.run);
    for (int p = 1; p <= 4; ++p) {
        EXPECT_EQ(m.milksw[p].f(), base.milksw[p].f()) << p;
        EXPECT_EQ(m.milkmpar[p].f(), base.milkmpar[p].f()) << p;
    }
    EXPECT_EQ(m.tmilkw.f(), base.tmilkw.f());
    EXPECT_EQ(m.tmilkm.f(), base.tmilkm.f());
    EXPECT_EQ(m.tmilkst.f(), base.tmilkst.f());
    EXPECT_EQ(m.avmilkd.f(), base.avmilkd.f());
    EXPECT_EQ(m.milkch.f(), base.milkch.f());
}


struct CheeseCase {
    const char* name;
    void (*spoil)(Model&);
    const char* message;
};

class MilkCheeseDeathTest : public testing::TestWithParam<CheeseCase> {};

TEST_P(MilkCheeseDeathTest, MeaninglessCompositionStops) {
    Harness h;
    Model& m = *h.model;
    milkedFlock(m);
    compositionCheese(m);
    GetParam().spoil(m);
    EXPECT_EXIT(milkProduction(h.run), testing::ExitedWithCode(1), "");
    EXPECT_NE(h.console().find(std::string("\n\n\nError message:\n") + GetParam().message), std::string::npos)
        << h.console();
}

const char* const kMoisture =
    "The moisture content of cheese must be below 100 per cent.\n"
    "  Correct this value in INPUTS06.TXT and restart the program.\n\n\n";
const char* const kFat =
    "The fat content of cheese must be above 0 per cent.\n"
    "  Correct this value in INPUTS06.TXT and restart the program.\n\n\n";
const char* const kYield =
    "The cheese yield calculated from the fat and protein content of milk\n"
    "  and the recoveries of fat and casein is not positive. Correct the\n"
    "  recoveries or the casein share of protein in INPUTS06.TXT, or the fat\n"
    "  and protein content of milk in INPUTS08.TXT, and restart the program.\n\n\n";

INSTANTIATE_TEST_SUITE_P(
    Milk, MilkCheeseDeathTest,
    testing::Values(CheeseCase{"MoistureAll", [](Model& m) { m.moich = 100; }, kMoisture},
                    CheeseCase{"MoistureAbove", [](Model& m) { m.moich = 120; }, kMoisture},
                    CheeseCase{"NoFatInCheese", [](Model& m) { m.fatch = 0; }, kFat},
                    CheeseCase{"NoFatInMilk", [](Model& m) { m.fat = 0; }, kYield},
                    CheeseCase{"NoFatRecovered", [](Model& m) { m.rfat = 0; }, kYield},
                    CheeseCase{"NothingRecovered",
                               [](Model& m) {
                                   m.fat = 0;
                                   m.prot = 0;
                               },
                               kYield},
                    CheeseCase{"NegativeRecovery", [](Model& m) { m.rcas = -3; }, kYield}),
    [](const testing::TestParamInfo<CheeseCase>& i) { return std::string(i.param.name); });

TEST(MilkDeathTest, YieldLostInALaterEvaluationStops) {
    Harness h;
    Model& m = *h.model;
    milkedFlock(m);
    compositionCheese(m);
    m.rcas = -1.34;  // recovered solids 5.4 - 1.072 * prot: 0.04 at prot = 5
    milkProduction(h.run);
    ASSERT_GT(double(m.cheesey), 0.0);
    m.zr = 237;
    m.prot = 5.05f;  // 1 % more protein recovers less than nothing
    EXPECT_EXIT(milkProduction(h.run), testing::ExitedWithCode(1), "");
    EXPECT_NE(h.console().find(kYield), std::string::npos) << h.console();
}

TEST(MilkDeathTest, CurveGrowingWithoutBoundStops) {
    Harness h;
    Model& m = *h.model;
    milkedFlock(m);
    m.cwo = -2;   // the daily yield grows as exp(2 t): beyond any float after 45 days
    EXPECT_EXIT(milkProduction(h.run), testing::ExitedWithCode(1), "");
    EXPECT_NE(h.console().find("Error message:\nThe parameters of the lactation curve give a milk yield that is too\n"
                               "  large to be calculated. Correct them in INPUTS06.TXT and restart the program.\n"),
              std::string::npos)
        << h.console();
}
