// Values worked out by hand where a formula is subtle: the milk price
// from the normal distributions of fat, protein and somatic cell score, the
// lactation curve summed day by day, and the feeding season of a day.
#include <gtest/gtest.h>

#include <cmath>

#include "economics/economics.h"
#include "feeding/feeding.h"
#include "herd/herd.h"
#include "test_util.h"

using testutil::Harness;


constexpr double kPhi1 = 0.8413447460685429;   // Phi(1)
constexpr double kPhi4 = 0.9999683287581669;   // Phi(4)
constexpr double kPhi15 = 0.9331927987311419;  // Phi(1.5)

// Milk priced from fat N(6.5, 0.5), protein N(5, 0.4) and the somatic cell
// score N(3, 1) with three classes split at scores 3 and 4 (frequencies
// 0.5, Phi(1) - 0.5, 1 - Phi(1)).  One fat class [0, 100) paying 0.1 per
// unit above 6; two protein classes split at 5 paying -0.05 and 0.02.
void milkInputs(Model& m, int system) {
    m.typeb = 1;
    m.milkprice = system;
    m.fat = 6.5;
    m.sigmafat = 0.5;
    m.prot = 5;
    m.sigmaprot = 0.4;
    m.mSCS = 3;
    m.sigmaSCS = 1;
    m.nSCC = system == 1 || system == 3 ? 1 : 3;
    m.tSCS[0] = 3;
    m.tSCS[1] = 4;
    m.prmilkb = system == 1 || system == 3 || system == 5 ? 0.5 : 0;
    m.nfat = m.nprot = -1;
    if (system > 2) {
        m.nfat = 0;
        m.rf[0][0] = 0;
        m.rf[1][0] = 0.1;
        m.rf[2][0] = 6;
        m.nprot = 1;
        m.thprot[0] = 5;
        m.rp[0][0] = -0.05;
        m.rp[0][1] = 0.02;
    }
    if (system == 2 || system == 4) {
        m.prSCC[0] = 0.1;
        m.prSCC[1] = 0;
        m.prSCC[2] = -0.2;
    }
    if (system == 5) {
        m.facSCC[0] = 1.1;
        m.facSCC[1] = 1.0;
        m.facSCC[2] = 0.8;
        m.prSCC[0] = 0.02;
        m.prSCC[1] = 0;
        m.prSCC[2] = -0.05;
    }
}

// Payments of the fat and protein classes of milkInputs.
constexpr double kFatPay = 0.1 * 0.5 * (2 * kPhi4 - 1);    // mean 0.5 above 6 over [4.5, 8.5]
constexpr double kProt0Pay = -0.05 * (kPhi4 - 0.5);        // [3.4, 5)
constexpr double kProt1Pay = 0.02 * (kPhi4 - 0.5);         // [5, 6.6]
constexpr double kSccPay = 0.1 * 0.5 - 0.2 * (1 - kPhi1);  // somatic-cell payment
constexpr double kFatProt = kFatPay + kProt0Pay + kProt1Pay;

struct MilkCase {
    int system;
    int nSCC;
    double prmilk;
};

class RevenuesMilkPrice : public ::testing::TestWithParam<MilkCase> {};

TEST_P(RevenuesMilkPrice, FollowsThePricingSystem) {
    const MilkCase c = GetParam();
    Harness h;
    Model& m = *h.model;
    milkInputs(m, c.system);
    m.nSCC = c.nSCC;
    if (c.nSCC == 1) {
        m.facSCC[0] = 1.2;
        m.prSCC[0] = c.system == 5 ? 0.01 : 0.03;
    }
    revenues(h.run);
    EXPECT_NEAR(m.prmilk, c.prmilk, 1e-6);
    if (c.nSCC == 1 && c.system != 1 && c.system != 3) {
        EXPECT_EQ(float(m.pSCC[0]), 1.0f);
        for (int i = 1; i < cap::NSCC; ++i) EXPECT_EQ(float(m.pSCC[i]), 0.0f) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Revenues, RevenuesMilkPrice,
    ::testing::Values(MilkCase{1, 1, 0.5},                      // base price alone
                      MilkCase{2, 3, kSccPay},                   // somatic-cell payment alone
                      MilkCase{3, 1, 0.5 + kFatProt},            // base, fat and protein
                      MilkCase{4, 3, kSccPay + kFatProt},        // fat, protein and somatic cells
                      MilkCase{5, 3,                             // scaled and shifted by class
                               (1.1 * (0.5 + kFatProt) + 0.02) * 0.5 + (0.5 + kFatProt) * (kPhi1 - 0.5) +
                                   (0.8 * (0.5 + kFatProt) - 0.05) * (1 - kPhi1)},
                      MilkCase{2, 1, 0.03},                      // one class holds all milk
                      MilkCase{4, 1, 0.03 + kFatProt},
                      MilkCase{5, 1, 1.2 * (0.5 + kFatProt) + 0.01}));

TEST(Revenues, MilkPricePartsOfTheClasses) {
    Harness h;
    Model& m = *h.model;
    milkInputs(m, 5);
    revenues(h.run);
    EXPECT_NEAR(m.Phiscc[0], 0.5, 1e-7);
    EXPECT_NEAR(m.Phiscc[1], kPhi1, 1e-7);
    EXPECT_NEAR(m.pSCC[0], 0.5, 1e-7);
    EXPECT_NEAR(m.pSCC[1], kPhi1 - 0.5, 1e-7);
    EXPECT_NEAR(m.pSCC[2], 1 - kPhi1, 1e-7);
    EXPECT_NEAR(m.prmilkf[0], kFatPay, 1e-7);
    EXPECT_NEAR(m.prmilkp[0], kProt0Pay, 1e-7);
    EXPECT_NEAR(m.prmilkp[1], kProt1Pay, 1e-7);
    EXPECT_NEAR(m.prmilkfp, 0.5 + kFatProt, 1e-6);
}

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
    // Another curve with the same rise and no decline: 2 * (1 + 2 + 3).
    m.cwo = 0;
    milkProduction(h.run);
    EXPECT_NEAR(double(m.basemilkw), 12.0, 1e-6);
    // And one that declines alone: 2 * (e^-0.5 + e^-1 + e^-1.5).
    m.bwo = 0;
    m.cwo = 0.5;
    milkProduction(h.run);
    EXPECT_NEAR(double(m.basemilkw), 2 * (std::exp(-0.5) + std::exp(-1.0) + std::exp(-1.5)), 2e-6);
}


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

// Day counts become whole days as before (cut, or rounded halves up), and
// a count that no int could hold stops the run with a message instead of
// overflowing.
TEST(Calendar, DayCountsWithinTheirBound) {
    EXPECT_EQ(wholeDays(364.9), 364);
    EXPECT_EQ(wholeDays(-0.5), 0);
    EXPECT_EQ(roundedDays(120.5), 121);
    EXPECT_EQ(roundedDays(120.49), 120);
    EXPECT_THROW(wholeDays(4e9), DaysOutOfRange);
    EXPECT_THROW(roundedDays(-4e9), DaysOutOfRange);
    EXPECT_THROW(wholeDays(std::nan("")), DaysOutOfRange);
    Harness h;
    EXPECT_THROW(stopForDays(h.run, DaysOutOfRange{4e9}), RunStopped);
    const std::string out = h.console();
    EXPECT_NE(out.find("A number of days computed from the inputs, 4e+09, lies beyond 1e+06 days."), std::string::npos)
        << out;
}
