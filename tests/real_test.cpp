// The arithmetic rule of model quantities: stored in the storage precision
// (double, or float in the single-precision build), computed in double
// precision within a formula, rounded on assignment.
#include "model/real.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Real, FormulaRunsInDoublePrecisionAndRoundsOnAssignment) {
    // In single precision 1e8 + 1 rounds back to 1e8 and the difference
    // would be 0; within a formula of Reals it is 1 in either build.
    const Real big = 1e8, one = 1;
    const Real r = big + one - big;
    EXPECT_EQ(double(r), 1.0);

    // The assignment rounds to the nearest stored value.
    const Real third = 1.0 / 3.0;
    EXPECT_EQ(stored(third), RealStored(1.0 / 3.0));
#ifdef KARVEL1_SINGLE_PRECISION
    EXPECT_NE(double(third), 1.0 / 3.0);
#else
    EXPECT_EQ(double(third), 1.0 / 3.0);
#endif
}

TEST(Real, CompoundAssignmentRoundsEachStep) {
    Real s = 0;
    for (int i = 0; i < 10; ++i) s += 0.1;
    RealStored f = 0;
    for (int i = 0; i < 10; ++i) f = RealStored(double(f) + 0.1);
    EXPECT_EQ(stored(s), f);
    Real p = 3;
    p *= Real(1.0 / 3.0);
    EXPECT_EQ(stored(p), RealStored(3.0 * double(RealStored(1.0 / 3.0))));
}

TEST(Real, MathFunctionsTakeTheDoubleValue) {
    const Real w = 60.5;
    const Real m = std::pow(w, 0.75);
    EXPECT_EQ(stored(m), RealStored(std::pow(60.5, 0.75)));
    EXPECT_EQ(stored(Real(std::exp(-Real(2.0)))), RealStored(std::exp(-2.0)));
}
