// The arithmetic rule of model quantities: stored in the storage precision,
// computed in double precision within a formula, rounded on assignment.
// RoundedReal<float> is the Real of the single-precision build; the
// default build's Real is double.
#include "model/real.h"

#include <gtest/gtest.h>

#include <cmath>
#include <type_traits>

using Single = RoundedReal<float>;

TEST(Real, FormulaRunsInDoublePrecisionAndRoundsOnAssignment) {
    // In single precision 1e8 + 1 rounds back to 1e8 and the difference is
    // 0; within a formula of rounded reals it is 1.
    const float fbig = 1e8f, fone = 1.0f;
    EXPECT_EQ(fbig + fone - fbig, 0.0f);
    const Single big = 1e8, one = 1;
    const Single r = big + one - big;
    EXPECT_EQ(double(r), 1.0);

    // The assignment rounds to the nearest float.
    const Single third = 1.0 / 3.0;
    EXPECT_EQ(stored(third), 1.0f / 3.0f);
    EXPECT_NE(double(third), 1.0 / 3.0);
}

TEST(Real, CompoundAssignmentRoundsEachStep) {
    Single s = 0;
    for (int i = 0; i < 10; ++i) s += 0.1;
    float f = 0;
    for (int i = 0; i < 10; ++i) f = float(double(f) + 0.1);
    EXPECT_EQ(stored(s), f);
    Single p = 3;
    p *= Single(1.0 / 3.0);
    EXPECT_EQ(stored(p), float(3.0 * double(float(1.0 / 3.0))));
}

TEST(Real, MathFunctionsTakeTheDoubleValue) {
    const Single w = 60.5;
    const Single m = std::pow(w, 0.75);
    EXPECT_EQ(stored(m), float(std::pow(60.5, 0.75)));
    EXPECT_EQ(stored(Single(std::exp(-Single(2.0)))), float(std::exp(-2.0)));
}

TEST(Real, TheBuildsRealKeepsItsStoragePrecision) {
    const Real third = 1.0 / 3.0;
    EXPECT_EQ(stored(third), RealStored(1.0 / 3.0));
#ifdef KARVEL1_SINGLE_PRECISION
    EXPECT_TRUE((std::is_same_v<Real, Single>));
#else
    EXPECT_TRUE((std::is_same_v<Real, double>));
    EXPECT_EQ(double(third), 1.0 / 3.0);
#endif
}
