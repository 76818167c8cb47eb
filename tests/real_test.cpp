// The arithmetic rule of model quantities: stored in single precision,
// computed in double precision within a formula, rounded on assignment.
#include "model/real.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Real, FormulaRunsInDoublePrecisionAndRoundsOnAssignment) {
    const Real big = 1e8, one = 1;
    // In single precision 1e8 + 1 rounds back to 1e8 and the difference is 0.
    const float fbig = 1e8f, fone = 1.0f;
    EXPECT_EQ(fbig + fone - fbig, 0.0f);
    const Real r = big + one - big;
    EXPECT_EQ(double(r), 1.0);

    // The assignment rounds to the nearest float.
    const Real third = 1.0 / 3.0;
    EXPECT_EQ(third.f(), 1.0f / 3.0f);
    EXPECT_NE(double(third), 1.0 / 3.0);
}

TEST(Real, CompoundAssignmentRoundsEachStep) {
    Real s = 0;
    for (int i = 0; i < 10; ++i) s += 0.1;
    float f = 0;
    for (int i = 0; i < 10; ++i) f = float(double(f) + 0.1);
    EXPECT_EQ(s.f(), f);
    Real p = 3;
    p *= Real(1.0 / 3.0);
    EXPECT_EQ(p.f(), float(3.0 * double(float(1.0 / 3.0))));
}

TEST(Real, MathFunctionsTakeTheDoubleValue) {
    const Real w = 60.5;
    const Real m = std::pow(w, 0.75);
    EXPECT_EQ(m.f(), float(std::pow(60.5, 0.75)));
    EXPECT_EQ(Real(std::exp(-Real(2.0))).f(), float(std::exp(-2.0)));
}
