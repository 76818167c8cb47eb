// The ranges of the input numbers: which range an element gets, and its
// ends.
#include <gtest/gtest.h>

#include "model/input_ranges.h"

using inputranges::Kind;

TEST(InputRanges, AnElementGetsTheRangeOfItsMeaning) {
    // The third coefficient of a fat class is the reference content, a
    // percentage; the first two are payments, money.
    const inputranges::Range* reference = inputranges::find("rf", {2, 0});
    const inputranges::Range* payment = inputranges::find("rf", {0, 2});
    ASSERT_NE(reference, nullptr);
    ASSERT_NE(payment, nullptr);
    EXPECT_EQ(inputranges::text(*reference), "from 0 to 100");
    EXPECT_EQ(payment->kind, Kind::Money);
    EXPECT_TRUE(inputranges::allows(*payment, -4e9));
    EXPECT_EQ(inputranges::minText(*payment), "");
    // Dates and computed quantities have no range of their own.
    EXPECT_EQ(inputranges::find("datlamb", {}), nullptr);
    EXPECT_EQ(inputranges::find("Tprof", {}), nullptr);
}

TEST(InputRanges, BothEndsAreAllowed) {
    const inputranges::Range* sd = inputranges::find("sigmafat", {});
    ASSERT_NE(sd, nullptr);
    EXPECT_FALSE(inputranges::allows(*sd, 0));
    EXPECT_TRUE(inputranges::allows(*sd, 0.01));
    EXPECT_TRUE(inputranges::allows(*sd, 30));
    EXPECT_FALSE(inputranges::allows(*sd, 30.000001));
    EXPECT_EQ(inputranges::text(*sd), "from 0.01 to 30");
    EXPECT_EQ(inputranges::minText(*sd), "0.01");
    EXPECT_EQ(inputranges::maxText(*sd), "30");
}
