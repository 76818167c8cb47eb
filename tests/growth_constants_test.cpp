// Run-once growth constants and the rebuild at the start of every
// evaluation.
#include <gtest/gtest.h>

#include <cmath>

#include "herd/herd.h"
#include "test_util.h"

using testutil::Harness;

namespace {

void lambs(Model& m) {
    m.datlamb = 60;
    m.datwL = 120;      // weaning at 60 days
    m.clt = 2;
    m.crossing = 2;
    m.typew = 1;
    for (int cr = 1; cr <= 2; ++cr) {
        m.bwL[1][1][cr] = 4.0;
        m.bwL[2][1][cr] = 4.4;
        m.bwL[1][2][cr] = 3.2;
        m.bwL[2][2][cr] = 3.6;
        m.wwL[1][1][cr] = 22.0;
        m.wwL[2][1][cr] = 25.0;
        m.wwL[1][2][cr] = 19.0;
        m.wwL[2][2][cr] = 21.0;
    }
}

}  // namespace

TEST(GrowthConstants, GainsUntilWeaningAndTheirRatios) {
    Harness h;
    Model& m = *h.model;
    lambs(m);
    growthConstants(h.run);
    EXPECT_EQ(h.console(), "Calculating several constants for growth\n");
    EXPECT_EQ(m.agewL, 60);
    EXPECT_FLOAT_EQ(double(m.adgbwL[1][1][1]), 18.0 / 60);
    EXPECT_FLOAT_EQ(double(m.adgbwL[2][2][2]), (21.0f - 3.6f) / 60);
    EXPECT_FLOAT_EQ(double(m.kbw[2][1][1]), 4.4f / 4.0f);
    EXPECT_FLOAT_EQ(double(m.kbw[1][1][2]), 1.0f);
    EXPECT_FLOAT_EQ(double(m.kadgbw[1][2][1]), ((19.0f - 3.2f) / 60) / (18.0f / 60));
    EXPECT_EQ(double(m.kadgwar[1][1][1]), 0.0);   // no artificial rearing
}

TEST(GrowthConstants, RebuildFollowsAChangedReference) {
    Harness h;
    Model& m = *h.model;
    lambs(m);
    m.nbsF = 3;
    m.conrateFP[1][1] = 0.6;
    m.conrateFP[2][1] = 0.75;
    m.conrateFP[3][1] = 0.8;
    m.wsheR[1] = 4.0;
    m.wsheE = 3.0;
    m.wsherL[1][1] = 1.0;
    m.wshewL[2][1] = 0.5;
    growthConstants(h.run);
    m.conrateFP[1][1] = 0.66;   // raised by 10 %
    m.wsheR[1] = 4.4;
    rebuildAtReentry(h.run);
    EXPECT_NEAR(double(m.conrateFP[2][1]), 0.825, 1e-6);
    EXPECT_NEAR(double(m.conrateFP[3][1]), 0.88, 1e-6);
    EXPECT_NEAR(double(m.wsheE), 3.3, 1e-6);
    EXPECT_NEAR(double(m.wsherL[1][1]), 1.1, 1e-6);
    EXPECT_NEAR(double(m.wshewL[2][1]), 0.55, 1e-6);
}

TEST(GrowthConstants, BreedWithoutWoolHasNoFleeceRatios) {
    Harness h;
    Model& m = *h.model;
    lambs(m);
    m.wsheR[1] = 3.0;
    m.wsheR[2] = 0;       // hair sheep used for crossing
    m.wsherL[1][2] = 0;
    m.wsheE = 2.5;
    growthConstants(h.run);
    rebuildAtReentry(h.run);
    EXPECT_EQ(double(m.kwrL[1][2]), 0.0);
    EXPECT_EQ(double(m.kwwL[1][2]), 0.0);
    EXPECT_EQ(double(m.wsherL[1][2]), 0.0);
    EXPECT_TRUE(std::isfinite(double(m.kwrL[2][2])));
    EXPECT_NEAR(double(m.wsheE), 2.5, 1e-6);
}

TEST(GrowthConstants, ReferenceFatteningVariantOfEachBreedGroup) {
    Harness h;
    Model& m = *h.model;
    lambs(m);
    m.lf[1] = 2;
    m.lf[2] = 1;
    m.lf[0] = 1;
    m.clf[1][1] = 1;   // female variants for pure-bred progeny only
    m.clf[1][2] = 1;
    m.clf[2][1] = 0;   // the male variant for both
    m.clf[0][1] = 2;   // castrates for cross-bred progeny only
    m.adgP[8][1] = 0.25;
    m.adgP[9][1] = 0.20;
    m.adgP[33][1] = 0.30;
    m.adgP[33][2] = 0.32;
    m.adgP[43][2] = 0.28;
    growthConstants(h.run);
    EXPECT_EQ(m.k0[1][1], 1);
    EXPECT_EQ(m.k0[1][2], 0);
    EXPECT_EQ(m.k0[2][2], 1);
    EXPECT_EQ(m.k0[0][2], 1);
    EXPECT_EQ(m.fatpb, 1);
    EXPECT_EQ(m.fatcb, 1);
    EXPECT_EQ(m.ispb, 1);
    EXPECT_EQ(m.icatpb, 8);
    // No female variant applies to cross-bred progeny: their reference is
    // their own first male variant, not the empty female row.
    EXPECT_EQ(m.iscb, 2);
    EXPECT_EQ(m.ilcb, 1);
    EXPECT_EQ(m.icatcb, 33);
    EXPECT_FLOAT_EQ(double(m.kadgfat[1][2][1]), 0.20f / 0.25f);
    EXPECT_FLOAT_EQ(double(m.kadgfat[2][1][1]), 0.30f / 0.25f);
    EXPECT_FLOAT_EQ(double(m.kadgfat[2][1][2]), 1.0f);
    EXPECT_FLOAT_EQ(double(m.kadgfat[0][1][2]), 0.28f / 0.32f);
    EXPECT_EQ(double(m.kadgfat[1][1][2]), 0.0);
}

TEST(GrowthConstants, BreedGroupWithoutFatteningHasNoReference) {
    Harness h;
    Model& m = *h.model;
    lambs(m);
    m.lf[2] = 1;
    m.clf[2][1] = 1;
    m.adgP[33][1] = 0.3;
    growthConstants(h.run);
    EXPECT_EQ(m.fatpb, 1);
    EXPECT_EQ(m.fatcb, 0);
    EXPECT_EQ(m.iscb, 0);
    EXPECT_EQ(m.icatcb, 42);
    EXPECT_EQ(m.icatpb, 33);
    EXPECT_FLOAT_EQ(double(m.kadgfat[2][1][1]), 1.0f);
    EXPECT_EQ(double(m.kadgfat[2][1][2]), 0.0);
}

TEST(GrowthConstants, MaleRearingGainsHaveTheirOwnReferenceWithoutFemales) {
    Harness h;
    Model& m = *h.model;
    lambs(m);
    m.adgr[2][1][1] = 0.25;
    m.adgr[2][2][1] = 0.20;
    growthConstants(h.run);
    EXPECT_FLOAT_EQ(double(m.kadgr[2][2][1]), 0.8f);
    EXPECT_EQ(double(m.kadgr[1][2][1]), 0.0);
}

TEST(GrowthConstantsDeathTest, WeaningNotAfterLambingStops) {
    Harness h;
    Model& m = *h.model;
    lambs(m);
    m.datwL = m.datlamb;
    EXPECT_EXIT(growthConstants(h.run), testing::ExitedWithCode(1), "");
    EXPECT_NE(h.console().find("Error message:\nThe date of weaning lambs must be later than the date of lambing.\n"
                               "  Correct the dates in INPUTS01.TXT and restart the program.\n"),
              std::string::npos);
}

TEST(GrowthConstantsDeathTest, ArtificialRearingNotLongerThanSucklingStops) {
    Harness h;
    Model& m = *h.model;
    lambs(m);
    m.typew = 2;
    m.agearL = 60;
    EXPECT_EXIT(growthConstants(h.run), testing::ExitedWithCode(1), "");
    EXPECT_NE(h.console().find("The age at the end of artificial rearing must be higher than the age\n"
                               "  at weaning (60 days). Correct this error in INPUTS03.TXT"),
              std::string::npos);
}
