// Statistical routines.
#include "stats/stats.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Stats, SomaticCellScoreOfCounts) {
    // 100,000 cells per ml score 3; each doubling adds one.
    // The divisor 0.69314718 is ln 2 to eight digits.
    EXPECT_EQ(double(scs(100000.0)), 3.0);
    EXPECT_NEAR(double(scs(200000.0)), 4.0, 1e-8);
    EXPECT_NEAR(double(scs(400000.0)), 5.0, 1e-8);
    EXPECT_NEAR(double(scs(50000.0)), 2.0, 1e-8);
    EXPECT_NEAR(double(scs(12500.0)), 0.0, 1e-6);
    EXPECT_NEAR(double(scs(150000.0)), 3.5849625, 1e-6);   // 3 + log2(1.5)
    EXPECT_NEAR(double(scs(300000.0)), 4.5849625, 1e-6);   // 3 + log2(3)
    EXPECT_NEAR(double(scs(1000000.0)), 6.3219281, 1e-6);  // 3 + log2(10)
    EXPECT_NEAR(double(scs(1.0)), 3.0 - 16.6096405, 1e-5);
}
