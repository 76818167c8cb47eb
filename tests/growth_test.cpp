// Weights, ages and gains of progeny, the mating of young breeding animals
// by weight, and the checks of sale ages and weights.
#include <gtest/gtest.h>

#include <cmath>

#include "herd/herd.h"
#include "stats/normal.h"
#include "flock_fixture.h"
#include "test_util.h"

using testutil::Harness;

using flockfix::flock;
using flockfix::upToGrowth;

TEST(Growth, WeightsAtWeaningAndTheirMeans) {
    Harness h;
    Model& m = *h.model;
    flock(m);
    upToGrowth(h);
    EXPECT_FLOAT_EQ(double(m.wwL[1][1][1]), 22.0f);
    EXPECT_NEAR(double(m.wwL[2][2][1]), 21.0, 1e-5);
    EXPECT_NEAR(double(m.pwL[1][1]) + double(m.pwL[2][1]), 1.0, 1e-6);
    const double share1 = double(m.nwL[1][1]) / double(m.NwL[1]);
    EXPECT_NEAR(double(m.avww[1][1]), 22 * share1 + 19 * (1 - share1), 1e-4);
    EXPECT_EQ(double(m.avww[0][1]), double(m.avww[2][1]));
    EXPECT_EQ(double(m.wP[7][1]), double(m.avww[1][1]));
    EXPECT_NEAR(double(m.wP[2][1]), (double(m.avww[1][1]) + double(m.avww[2][1])) * 0.25, 1e-5);
    // Every weaned lamb weighs more than at birth and less than a ewe.
    for (int sex = 1; sex <= 2; ++sex)
        for (int lt = 1; lt <= 2; ++lt) {
            EXPECT_GT(double(m.wwL[sex][lt][1]), double(m.bwL[sex][lt][1]));
            EXPECT_LT(double(m.wwL[sex][lt][1]), double(m.mwE[1]));
        }
}

TEST(Growth, YoungFemalesMatedByWeight) {
    Harness h;
    Model& m = *h.model;
    flock(m);
    upToGrowth(h);
    EXPECT_DOUBLE_EQ(double(m.ager[1][1]), 185.0);   // 244 - 60 + 1
    EXPECT_DOUBLE_EQ(double(m.ager[1][2]), 550.0);
    const double w1 = (185 - 60) * 0.15 + double(m.avww[1][1]);
    EXPECT_NEAR(double(m.wrL[1][1][1]), w1, 1e-4);
    const double sigma = 0.1 * w1;
    EXPECT_NEAR(double(m.sigmawr[1][1]), sigma, 1e-4);
    EXPECT_NEAR(double(m.minw[1][1]), 42.0, 1e-5);
    const double pm = 1 - normdis((42 - w1) / sigma);
    EXPECT_NEAR(double(m.pmat[1][1][1]), pm, 1e-6);
    // The medians of the mated upper part and of the lower part.
    EXPECT_NEAR(double(m.wmat[1][1]), w1 + probit(1 - pm / 2) * sigma, 1e-3);
    EXPECT_NEAR(double(m.wnmat[1][1]), w1 + probit((1 - pm) / 2) * sigma, 1e-3);
    EXPECT_GT(double(m.wmat[1][1]), double(m.minw[1][1]));
    EXPECT_NEAR(double(m.wrL[1][2][1]), 365 * 0.08 + double(m.wnmat[1][1]), 1e-3);
    EXPECT_EQ(double(m.wrL[1][3][1]), 70.0);
    EXPECT_NEAR(double(m.adgr[1][3][1]), (70 - double(m.wrL[1][2][1])) / 365, 1e-7);
    EXPECT_EQ(m.datconFP[1], 365 + 60 - 150);
    EXPECT_NEAR(double(m.wlFP[1]), 181 * 0.08 + double(m.wmat[1][1]), 1e-3);
}

TEST(Growth, NoVariationOfWeightsMatesAllOrNone) {
    Harness h;
    Model& m = *h.model;
    flock(m);
    m.vcwr[1][1] = 0;
    m.pwrepFP[1] = 0.5;   // 35 kg, below the weight of all young females
    upToGrowth(h);
    EXPECT_EQ(double(m.pmat[1][1][1]), 1.0);
    EXPECT_EQ(double(m.wmat[1][1]), double(m.wrL[1][1][1]));
    EXPECT_TRUE(std::isfinite(double(m.wnmat[1][1])));
}

TEST(Growth, FatteningEndPointsByWeightAndByAge) {
    Harness h;
    Model& m = *h.model;
    flock(m);
    upToGrowth(h);
    const double w0 = m.avww[2][1];
    EXPECT_NEAR(double(m.agetP[33][1]), 60 + (40 - w0) / 0.25, 1e-3);
    EXPECT_EQ(double(m.wP[33][1]), 40.0);
    EXPECT_NEAR(double(m.wP[34][1]), (200 - 60) * 0.2 + w0, 1e-4);
    EXPECT_EQ(double(m.agetP[34][1]), 200.0);
    EXPECT_EQ(double(m.agetP[33][2]), 0.0);   // the variants apply to pure-bred progeny only
}

TEST(Growth, ChangedReferenceGainMovesTheOtherVariants) {
    Harness h;
    Model& m = *h.model;
    flock(m);
    upToGrowth(h);
    EXPECT_EQ(m.icatpb, 33);
    m.adgP[33][1] = 0.25 * 1.01;
    m.itrait = 7;
    growth(h.run);
    EXPECT_NEAR(double(m.adgP[34][1]), 0.2 * 1.01, 1e-7);
}

struct SaleAgeCase {
    double age13, age26;
    bool stops;
    const char* message;
};

class FemaleSaleAge : public testing::TestWithParam<SaleAgeCase> {};

TEST_P(FemaleSaleAge, LimitsOfTheSaleAges) {
    Harness h;
    Model& m = *h.model;
    flock(m);
    m.psold[1][0][1] = 0.3;
    m.agetP[13][1] = GetParam().age13;
    m.agetP[26][1] = GetParam().age26;
    if (!GetParam().stops) {
        upToGrowth(h);
        return;
    }
    EXPECT_EXIT(upToGrowth(h), testing::ExitedWithCode(1), "");
    EXPECT_NE(h.console().find(GetParam().message), std::string::npos) << h.console();
}

INSTANTIATE_TEST_SUITE_P(
    Growth, FemaleSaleAge,
    testing::Values(SaleAgeCase{185, 550, false, ""}, SaleAgeCase{60, 186, false, ""},
                    SaleAgeCase{186, 300, true,
                                "The age of pure-bred breeding female lambs sold\n  before the 1st breeding season "
                                "is not correct.\n  The age must be between  60 and 185 days.\n"
                                "  Correct the appropriate value in INPUTS04.TXT and restart the program.\n\n\n"},
                    SaleAgeCase{59, 300, true, "The age must be between  60 and 185 days.\n"},
                    SaleAgeCase{100, 185, true,
                                "  between the 1st and 2nd breeding season is not correct.\n"
                                "  The age must be between 186 and 550 days.\n"},
                    SaleAgeCase{100, 551, true, "The age must be between 186 and 550 days.\n"}));

TEST(GrowthDeathTest, MaleSaleAges) {
    for (auto [a38, a40, stops] : {std::tuple{184.0, 185.0, false}, std::tuple{185.0, 300.0, true},
                                   std::tuple{100.0, 550.0, false}, std::tuple{100.0, 551.0, true}}) {
        Harness h;
        Model& m = *h.model;
        flock(m);
        m.psold[2][1][1] = 0.5;
        m.agetP[38][1] = a38;
        m.agetP[40][1] = a40;
        if (!stops) {
            upToGrowth(h);
            continue;
        }
        EXPECT_EXIT(upToGrowth(h), testing::ExitedWithCode(1), "");
        EXPECT_NE(h.console().find("The age at which pure-bred breeding male lambs are sold\n"), std::string::npos);
    }
}

TEST(GrowthDeathTest, WeightAboveMatureWeightStops) {
    Harness h;
    Model& m = *h.model;
    flock(m);
    m.adgr[1][1][1] = 0.4;   // 125 days at 400 g: far above the mature weight
    EXPECT_EXIT(upToGrowth(h), testing::ExitedWithCode(1), "");
    EXPECT_NE(h.console().find("The weight calculated for pure-bred female lambs in the first\n"
                               "  breeding season is higher than mature weight. Correct the \n"
                               "  appropriate weights or daily gains in INPUTS03.TXT and/or INPUTS04.TXT\n"
                               "  and restart the program.\n"),
              std::string::npos)
        << h.console();
}
