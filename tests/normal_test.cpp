// The normal distribution function and its inverse by bracketing.
#include "stats/normal.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Normal, DistributionFunctionAtKnownPoints) {
    EXPECT_DOUBLE_EQ(normdis(0), 0.5);
    EXPECT_NEAR(normdis(1.959963984540054), 0.975, 1e-12);
    EXPECT_NEAR(normdis(-1), 0.15865525393145707, 1e-14);
    EXPECT_NEAR(normdis(1) + normdis(-1), 1.0, 1e-15);
    EXPECT_EQ(normdis(-40), 0.0);
    EXPECT_EQ(normdis(40), 1.0);
}

TEST(Normal, ProbitInvertsTheDistributionFunction) {
    for (double x = -3.5; x <= 3.5; x += 0.25) EXPECT_NEAR(probit(normdis(x)), x, 1e-7) << x;
    EXPECT_NEAR(probit(0.5), 0.0, 1e-8);
    EXPECT_NEAR(probit(0.75), 0.6744897501960817, 1e-7);
}

TEST(Normal, ProbitEndsFiniteAtZeroAndOne) {
    const double lo = probit(0), hi = probit(1);
    EXPECT_TRUE(std::isfinite(lo));
    EXPECT_TRUE(std::isfinite(hi));
    EXPECT_LT(lo, -5);   // the bracket widens towards the tail
    EXPECT_GT(hi, 5);
}
