// The calendar of feeding seasons and the conversion of a requirement into
// feed and its cost.
#include "feeding/feeding.h"

#include <gtest/gtest.h>

#include <cmath>

#include "stats/stats.h"
#include "test_util.h"

using testutil::Harness;

namespace {

// Three changes a year: season 2 from 1 April (day 91), 3 from 1 June
// (day 152), 1 from 1 November (day 305).
void calendar(Model& m) {
    m.nchfs = 3;
    m.datchfs[1] = 91;
    m.datchfs[2] = 152;
    m.datchfs[3] = 305;
    m.valfs[0] = 1;
    m.valfs[1] = 2;
    m.valfs[2] = 3;
    m.valfs[3] = 1;
    extendCalendar(m);
}

}  // namespace

TEST(Calendar, SeasonOfADay) {
    Harness h;
    Model& m = *h.model;
    calendar(m);
    EXPECT_EQ(m.nchfst, 12);
    EXPECT_EQ(seasonOf(m, 1), 1);      // before the first change
    EXPECT_EQ(seasonOf(m, 90), 1);
    EXPECT_EQ(seasonOf(m, 91), 2);     // on a change date: the new season
    EXPECT_EQ(seasonOf(m, 151), 2);
    EXPECT_EQ(seasonOf(m, 152), 3);
    EXPECT_EQ(seasonOf(m, 304), 3);
    EXPECT_EQ(seasonOf(m, 305), 1);    // after the last change of the year
    EXPECT_EQ(seasonOf(m, 365 + 100), 2);   // from the copy of the second year
    EXPECT_EQ(seasonOf(m, 3 * 365 + 305), 1);
    EXPECT_EQ(seasonOf(m, 4 * 365 + 100), 1);   // beyond the four years: the last season
    EXPECT_EQ(seasonOf(m, -5), 1);
    EXPECT_EQ(m.datchfs[12], 3 * 365 + 305);
    EXPECT_EQ(m.valfs[11], 3);
    // The table agrees with the rule on every tabulated day.
    for (int d : {0, 91, 152, 304, 305, 456, 517, 670, 1186, 1400})
        EXPECT_EQ(m.dayseason[d], seasonOf(m, d)) << d;
}

TEST(Calendar, OneSeasonAllYearWithoutChanges) {
    Harness h;
    Model& m = *h.model;
    m.nchfs = 0;
    m.valfs[0] = 2;
    extendCalendar(m);
    EXPECT_EQ(seasonOf(m, 1), 2);
    EXPECT_EQ(seasonOf(m, 1000), 2);
}

TEST(Requirements, PregnancyAndLactationTerms) {
    EXPECT_NEAR(pregnancyNEDay(1), std::exp(7.6492 - 0.00643 - 11.4646 * std::exp(-0.00643)), 1e-12);
    EXPECT_NEAR(pregnancyPDIDay(147), std::exp(11.3471 - 0.00601 * 147 - 11.2205 * std::exp(-0.00601 * 147)), 1e-9);
    Harness h;
    Model& m = *h.model;
    m.awo = 1.5;
    m.bwo = 0.2;
    m.cwo = 0.01;
    EXPECT_NEAR(milkDay(m, 30), 1.5 * std::pow(30.0, double(Real(0.2))) * std::exp(-double(Real(0.01)) * 30), 1e-9);
    setSexConstants(m);
    EXPECT_FLOAT_EQ(double(m.c1[0]), 1.15f);
    EXPECT_FLOAT_EQ(double(m.c6[1]), 0.0173f);
    EXPECT_FLOAT_EQ(double(m.c2[2]), 2.5f);
}

TEST(FeedCosting, EnergyAndProteinMethod) {
    Harness h;
    Model& m = *h.model;
    m.feedcost = 1;
    Real fe, fpdi, ff;
    const Ration r{7.0, 90.0, 0.88, 10.0, 0.25};
    // 100 MJ and 900 g PDI: energy needs 16.23 kg, protein 11.36 kg.
    double cost = costBin(h.run, r, 100, 900, fe, fpdi, ff, "ewes", 4, 1);
    EXPECT_FLOAT_EQ(double(fe), float(100 / (7.0 * 0.88)));
    EXPECT_FLOAT_EQ(double(fpdi), float(900 / (90.0 * 0.88)));
    EXPECT_FLOAT_EQ(double(ff), float(double(fe.f()) / 0.9));
    EXPECT_NEAR(cost, double(ff) * 0.25, 1e-12);
    // A protein-poor ration: the protein decides.
    cost = costBin(h.run, Ration{7.0, 40.0, 0.88, 10.0, 0.25}, 100, 900, fe, fpdi, ff, "ewes", 4, 1);
    EXPECT_FLOAT_EQ(double(ff), float(double(fpdi.f()) / 0.9));
    // Equal amounts take the energy.
    EXPECT_EQ(maxi(2.0f, 2.0f), 2.0f);
    EXPECT_EQ(maxi(2.0f, 3.0f), 3.0f);
}

TEST(FeedCosting, EnergyOnlyMethod) {
    Harness h;
    Model& m = *h.model;
    m.feedcost = 2;
    Real fe, fpdi, ff;
    const double cost = costBin(h.run, Ration{10.0, 0.0, 0.9, 5.0, 0.3}, 45, 800, fe, fpdi, ff, "rams", 1, 2);
    EXPECT_FLOAT_EQ(double(fe), 5.0f);
    EXPECT_EQ(double(fpdi), 0.0);
    EXPECT_FLOAT_EQ(double(ff), float(5.0f / 0.95));
    EXPECT_NEAR(cost, double(ff) * 0.3, 1e-12);
}

TEST(FeedCosting, EmptyBinsAndMilkThatCoversTheRequirement) {
    Harness h;
    Model& m = *h.model;
    m.feedcost = 1;
    Real fe = 1, fpdi = 1, ff = 1;
    // An empty bin needs no feed, whatever the (unused) ration holds.
    EXPECT_EQ(costBin(h.run, Ration{0, 0, 0, 0, 0.3}, 0, 0, fe, fpdi, ff, "lambs and young stock", 1, 3), 0.0);
    EXPECT_EQ(double(ff), 0.0);
    // Negative requirements (milk covers them) buy nothing for a suckling lamb.
    EXPECT_EQ(costBin(h.run, Ration{8, 100, 0.9, 0, 0.3}, -2, -10, fe, fpdi, ff, "lambs and young stock", 1, 3, true),
              0.0);
    EXPECT_EQ(double(fe), 0.0);
}

TEST(FeedCostingDeathTest, NeededRationWithoutContentStops) {
    Harness h;
    Model& m = *h.model;
    m.feedcost = 1;
    Real fe, fpdi, ff;
    EXPECT_EXIT(costBin(h.run, Ration{0, 90, 0.9, 0, 0.3}, 50, 100, fe, fpdi, ff, "ewes", 5, 2),
                testing::ExitedWithCode(1), "");
    EXPECT_NE(h.console().find("Error message:\nThe ration of feeding group 5 of ewes in feeding season 2 is needed,\n"
                               "  but it has no energy or dry-matter content. Correct the ration in INPUTS08.TXT"),
              std::string::npos)
        << h.console();
    EXPECT_EXIT(costBin(h.run, Ration{8, 90, 0.9, 100, 0.3}, 50, 100, fe, fpdi, ff, "rams", 1, 1),
                testing::ExitedWithCode(1), "");
    EXPECT_NE(h.console().find("its losses are 100 per cent or more"), std::string::npos);
}
