// Revenues and profit on hand-built states: milk price systems, prices of
// culled sheep, ewe, ram and progeny revenue items, carcass classes of
// lambs sold at weaning, fattened lambs, skins and the totals per ewe and
// year.  Every expected value is worked out by hand from the inputs set
// here.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "economics/economics.h"
#include "test_util.h"

using testutil::Harness;

namespace {

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

TEST(Revenues, NoMilkPriceWithoutMilking) {
    Harness h;
    Model& m = *h.model;
    milkInputs(m, 1);
    m.typeb = 2;
    m.prmilk = 9;  // left by an earlier evaluation
    m.LL = 1;
    m.TE = 3;
    m.plambE[1] = 1;
    m.milkmpar[1] = 100;
    revenues(h.run);
    EXPECT_EQ(float(m.prmilk), 0.0f);
    EXPECT_EQ(float(m.revmilkE[1]), 0.0f);
}

TEST(Revenues, PricesOfCulledSheepFromClasses) {
    Harness h;
    Model& m = *h.model;
    m.crossing = 2;
    m.priceS = 2;
    m.nclS = 3;
    m.prclS[1] = 2.0;
    m.prclS[2] = 2.5;
    m.prclS[3] = 3.0;
    const double p1[4] = {0, 0.2, 0.5, 0.3}, p2[4] = {0, 0.1, 0.3, 0.6};
    for (int c = 1; c <= 3; ++c) {
        m.pclS[1][c] = p1[c];
        m.pclS[2][c] = p2[c];
    }
    m.prlwS[1] = 99;  // left by an earlier evaluation
    revenues(h.run);
    EXPECT_NEAR(m.prlwS[1], 0.4 + 1.25 + 0.9, 1e-6);
    EXPECT_NEAR(m.prlwS[2], 0.2 + 0.75 + 1.8, 1e-6);

    m.priceS = 4;
    m.nclflS = 2;
    m.nclfcS = 2;
    m.prrefS = 4;
    m.prclfcS[1][1] = 1.1;
    m.prclfcS[1][2] = 1.0;
    m.prclfcS[2][1] = 0.9;
    m.prclfcS[2][2] = 0.8;
    m.pclfcS[1][1][1] = 0.4;
    m.pclfcS[1][1][2] = 0.1;
    m.pclfcS[1][2][1] = 0.3;
    m.pclfcS[1][2][2] = 0.2;
    m.pclfcS[2][2][2] = 1;
    revenues(h.run);
    EXPECT_NEAR(m.prcwS[1], 4 * (0.44 + 0.1 + 0.27 + 0.16), 1e-6);
    EXPECT_NEAR(m.prcwS[2], 4 * 0.8, 1e-6);
}

// Two ewe cycles (states 1 .. 8), 146 days in every state, culled at 57.3
// kg in the first cycle and at 60 kg in the second.
void eweState(Model& m) {
    m.crossing = 1;
    m.LL = 2;
    m.TE = 8;
    m.priceS = 1;
    m.prlwS[1] = 2;
    m.nsheE = 1;
    m.wsheE = 3;
    m.prwoolE = 2;
    m.prskrE = 10;
    m.prsktE = 20;
    m.pskE = 0.8;
    m.ptskE = 0.25;
    m.adgE = 0.05;
    m.wlE[1] = 50;
    m.wlE[2] = 60;
    for (int s = 1; s <= 9; ++s) {
        m.qaveE[s] = 0.9;
        m.dcE[s] = 146;
        m.qendE[s] = 0.95;
    }
    m.revmanE[2] = 1.5;
}

TEST(Revenues, EweWoolCarcassAndSkins) {
    Harness h;
    Model& m = *h.model;
    eweState(m);
    revenues(h.run);
    for (int s = 1; s <= 8; ++s) EXPECT_NEAR(m.revwE[s], 0.9 * 3 * 2 * 146 / 365.0, 1e-5) << s;
    EXPECT_NEAR(m.revskrE[2], 0.95 * 10 * 0.8 * 0.75, 1e-5);
    EXPECT_NEAR(m.revsktE[2], 0.95 * 20 * 0.8 * 0.25, 1e-5);
    EXPECT_NEAR(m.revcE[2], (146 * 0.05 + 50) * 2 * 0.95, 1e-4);
    EXPECT_NEAR(m.revcE[8], 60 * 2 * 0.95, 1e-4);
    EXPECT_EQ(float(m.revcE[1]), 0.0f);  // died
    EXPECT_EQ(float(m.revcE[4]), 0.0f);  // kept
    EXPECT_NEAR(m.revE[2], 2.16 + 108.87 + 5.7 + 3.8 + 1.5, 1e-4);
    EXPECT_NEAR(m.revE[1], 2.16, 1e-5);

    // Paid per kg carcass weight.
    m.priceS = 3;
    m.prcwS[1] = 5;
    m.dresE = 45;
    revenues(h.run);
    EXPECT_NEAR(m.revcE[8], 5 * 0.45 * 60 * 0.95, 1e-4);
}

TEST(Revenues, EweMilkAndCheese) {
    Harness h;
    Model& m = *h.model;
    eweState(m);
    m.typeb = 1;
    m.milkprice = 1;
    m.prmilkb = 0.8;
    m.nSCC = 1;
    m.nfat = m.nprot = -1;
    m.pmilkwm = 0.5;
    m.milksw[1] = 20;
    m.milkmpar[1] = 180;
    m.milksw[2] = 0;
    m.milkmpar[2] = 100;
    m.pmilkch = 0.25;
    m.milkch = 5;
    m.prwhey = 0.1;
    m.cheesewhey = 4;
    m.prcheese = 8;
    m.kmilkcE = 0.5;
    for (int s = 1; s <= 9; ++s) m.plambE[s] = 1;
    m.qmilkE[1] = 0.96;
    m.qmilkE[3] = 0.9;
    m.qmilkE[9] = 1;
    revenues(h.run);
    // 200 kg of milk, three quarters sold at 0.8, a quarter made into 10 kg
    // of cheese worth 8.4 a kg with its whey; halved in stages 1 and 2.
    EXPECT_NEAR(m.revmilkE[1], 120 * 0.5 * 0.96, 1e-4);
    EXPECT_NEAR(m.revcheeseE[1], 84 * 0.5 * 0.96, 1e-4);
    EXPECT_NEAR(m.revmilkE[3], 120 * 0.9, 1e-4);
    EXPECT_NEAR(m.revcheeseE[3], 84 * 0.9, 1e-4);
    // The last cycle has no stage 4 (state 9).
    EXPECT_NEAR(m.revmilkE[8], 100 * 0.8 * 0.75, 1e-4);
    EXPECT_EQ(float(m.revmilkE[9]), 0.0f);
    EXPECT_NEAR(m.revE[1], 2.16 + 57.6 + 40.32, 1e-4);

    // Suckled milk counts only when ewes are milked during suckling.
    m.pmilkwm = 0;
    revenues(h.run);
    EXPECT_NEAR(m.revmilkE[3], 180 * 0.8 * 0.75 * 0.9, 1e-4);

    // No cheese revenue without a cheese yield.
    m.milkch = 0;
    revenues(h.run);
    EXPECT_EQ(float(m.revcheeseE[1]), 0.0f);
}

// Two ram cycles (states 1 .. 7), half a year in every state; state 5 is
// reached by (almost) no ram.
void ramState(Model& m) {
    m.crossing = 1;
    m.RR = 2;
    m.TR = 7;
    m.priceS = 1;
    m.prlwS[1] = 2;
    m.nsheR[1] = 1;
    m.wsheR[1] = 4;
    m.prwoolR[1] = 3;
    m.prman = 0.02;
    m.manR = 1;
    m.prskrR[1] = 12;
    m.prsktR[1] = 30;
    m.pskR = 0.5;
    m.ptskR = 0.2;
    m.adgR[1] = 0.1;
    m.wbR[1][1] = 60;
    m.wbR[2][1] = 90;
    m.prsbR[1] = 400;
    for (int s = 1; s <= 7; ++s) {
        m.dcR[s] = 182.5;
        m.qaveR[s][1] = 0.9;
        m.qendR[s][1] = 0.95;
        m.l1aR[s][1] = 0.1;
    }
    m.l1aR[5][1] = 5e-7;
}

TEST(Revenues, RamItemsAndAStateWithoutRams) {
    Harness h;
    Model& m = *h.model;
    ramState(m);
    m.revR[5][1] = 77;  // left by an earlier evaluation
    revenues(h.run);
    EXPECT_NEAR(m.revwR[1][1], 0.9 * 4 * 3 * 0.5, 1e-5);
    EXPECT_NEAR(m.revmanR[1][1], 0.9 * 0.02 * 182.5, 1e-5);
    EXPECT_NEAR(m.revskrR[3][1], 0.95 * 12 * 0.5 * 0.8, 1e-5);
    EXPECT_NEAR(m.revsktR[3][1], 0.95 * 30 * 0.5 * 0.2, 1e-5);
    EXPECT_NEAR(m.revcR[3][1], (0.1 * 182.5 + 60) * 2 * 0.95, 1e-4);
    EXPECT_NEAR(m.revcR[7][1], 90 * 2 * 0.95, 1e-4);
    EXPECT_NEAR(m.revsoldR[2][1], 380, 1e-4);
    EXPECT_NEAR(m.revsoldR[6][1], 380, 1e-4);
    EXPECT_NEAR(m.revR[3][1], 5.4 + 148.675 + 4.56 + 2.85 + 3.285, 1e-4);
    EXPECT_NEAR(m.revR[1][1], 5.4 + 3.285, 1e-5);
    EXPECT_NEAR(m.revR[2][1], 5.4 + 3.285 + 380, 1e-4);
    EXPECT_EQ(float(m.revR[5][1]), 0.0f);
    EXPECT_EQ(float(m.revwR[5][1]), 0.0f);
    EXPECT_EQ(float(m.revmanR[5][1]), 0.0f);

    // Paid per kg carcass weight with the rams' dressing percentage.
    m.priceS = 4;
    m.prcwS[1] = 1;  // recomputed from empty class tables
    m.prrefS = 5;
    m.nclflS = m.nclfcS = 1;
    m.prclfcS[1][1] = 1;
    m.pclfcS[1][1][1] = 1;
    m.dresR[1] = 50;
    revenues(h.run);
    EXPECT_NEAR(m.revcR[7][1], 5 * 0.5 * 90 * 0.95, 1e-4);
}

// Progeny of one genotype column: culled young females (17) and males
// (42), breeding females sold (13), weaned females kept (5).
void progenyState(Model& m) {
    m.crossing = 1;
    m.priceS = 3;
    m.prcwS[1] = 5;
    m.dresrL[1] = 50;
    m.pskrL = 0.6;
    m.ptskrL = 0.5;
    m.prskrL[1] = 10;
    m.prsktL[1] = 20;
    for (int s : {5, 13, 17, 42}) m.l1skL[s][1] = 0.05;
    m.wP[17][1] = 40;
    m.wP[42][1] = 50;
    m.wP[13][1] = 35;
    m.qendL[17][1] = 0.9;
    m.qendL[13][1] = 0.9;
    m.revwL[17][1] = 1.2;
    m.revmanL[17][1] = 2;
    m.qaveL[17][1] = 0.95;
    m.revwL[5][1] = 0.5;
    m.revmanL[5][1] = 0.3;
    m.qaveL[5][1] = 0.8;
    m.opsbL = 2;
    m.prsbL[13][1] = 3;
}

TEST(Revenues, ProgenyItems) {
    Harness h;
    Model& m = *h.model;
    progenyState(m);
    m.revsbL[15][1] = 77;  // no animals in category 15 in this evaluation
    m.revL[20][1] = 55;
    revenues(h.run);
    EXPECT_NEAR(m.revcL[17][1], 5 * 0.5 * 40 * 0.9, 1e-4);
    EXPECT_NEAR(m.revskrL[17][1], 10 * 0.6 * 0.5 * 0.9, 1e-5);
    EXPECT_NEAR(m.revsktL[17][1], 20 * 0.6 * 0.5 * 0.9, 1e-5);
    EXPECT_NEAR(m.revmanL[17][1], 2 * 0.95, 1e-5);
    EXPECT_NEAR(m.revL[17][1], 1.2 + 90 + 2.7 + 5.4 + 1.9, 1e-4);
    EXPECT_NEAR(m.revcL[42][1], 5 * 0.5 * 50, 1e-4);  // qendL starts at 1
    EXPECT_NEAR(m.revL[42][1], 125 + 3 + 6, 1e-4);
    // Sold for breeding at a price per kg live weight.
    EXPECT_NEAR(m.revsbL[13][1], 105, 1e-4);
    EXPECT_NEAR(m.revL[13][1], 105 * 0.9, 1e-4);
    EXPECT_EQ(float(m.revsbL[15][1]), 0.0f);
    EXPECT_NEAR(m.revL[5][1], 0.5 + 0.3 * 0.8, 1e-5);
    EXPECT_EQ(float(m.revL[20][1]), 0.0f);

    // The revenue per animal sold for breeding as given.
    Harness h1;
    Model& m1 = *h1.model;
    progenyState(m1);
    m1.opsbL = 1;
    m1.revsbL[13][1] = 150;
    revenues(h1.run);
    EXPECT_NEAR(m1.revsbL[13][1], 150, 1e-4);
    EXPECT_NEAR(m1.revL[13][1], 150 * 0.9, 1e-4);

    // Paid per kg live weight, and nothing under no pricing system.
    Harness h2;
    Model& m2 = *h2.model;
    progenyState(m2);
    m2.priceS = 1;
    m2.prlwS[1] = 2.5;
    revenues(h2.run);
    EXPECT_NEAR(m2.revcL[42][1], 125, 1e-4);
    m2.priceS = 0;
    revenues(h2.run);
    EXPECT_EQ(float(m2.revcL[42][1]), 0.0f);
}

// Female lambs slaughtered at weaning (category 7) weighing wP live with a
// dressing percentage dres and a coefficient of variation cv of the
// carcass weight; the price tables of pricing system 4.
void weanedLambs(Model& m, double wP, double dres, double cv) {
    m.crossing = 1;
    m.pricewL = 4;
    m.l1skL[7][1] = 0.4;
    m.wP[7][1] = wP;
    m.dreswL[1] = dres;
    m.vcwwL = cv;
    const double pq[4][3] = {{0}, {0, 0.5, 0.5}, {0, 0.2, 0.8}, {0, 0.1, 0.9}};
    const double pr[4][3] = {{0}, {0, 4.0, 4.5}, {0, 5.0, 5.5}, {0, 5.5, 6.0}};
    for (int w = 1; w <= 3; ++w)
        for (int q = 1; q <= 2; ++q) {
            m.pclcqwL[w][q][1] = pq[w][q];
            m.prclcwwL[w][q] = pr[w][q];
        }
    m.nclflwL = 2;
    m.nclfcwL = 1;
    m.prrefwL = 6;
    m.prclfcwL[1][1] = 1.1;
    m.prclfcwL[2][1] = 0.9;
    m.pclfcwL[1][1][1] = 0.6;
    m.pclfcwL[1][2][1] = 0.4;
    m.avfleshwL[1] = 1.4;
    m.avfcwL[1] = 1;
}

constexpr double kHeavyPrice = 6 * (1.1 * 0.6 + 0.9 * 0.4);

TEST(Revenues, WeanedLambCarcassWeightClasses) {
    Harness h;
    Model& m = *h.model;
    // Carcass weight N(10, 2): limits 7, 10, 13 kg at -1.5, 0 and 1.5 s.
    weanedLambs(m, 25, 40, 20);
    revenues(h.run);
    const double p1 = 1 - kPhi15, p2 = kPhi15 - 0.5;
    EXPECT_NEAR(m.mcwwL[1][1], 10, 1e-5);
    EXPECT_NEAR(m.sigmacwwL[1][1], 2, 1e-6);
    EXPECT_NEAR(m.pclcwwL[1][1][1], p1, 1e-6);
    EXPECT_NEAR(m.pclcwwL[1][2][1], p2, 1e-6);
    EXPECT_NEAR(m.pclcwwL[1][3][1], p2, 1e-6);
    EXPECT_NEAR(m.pclcwwL[1][4][1], p1, 1e-6);
    // Quality classes within the carcasses up to 13 kg.
    const double light = kPhi15;
    EXPECT_NEAR(m.pclcwL[1][2][2][1], 0.8 * p2 / light, 1e-6);
    const double prLight = (0.5 * 4.0 + 0.5 * 4.5) * p1 / light + (0.2 * 5.0 + 0.8 * 5.5) * p2 / light +
                           (0.1 * 5.5 + 0.9 * 6.0) * p2 / light;
    EXPECT_NEAR(m.prcwawL[1][1], prLight, 1e-5);
    EXPECT_NEAR(m.prcwbwL[1], kHeavyPrice, 1e-5);
    const double price = light * prLight + p1 * kHeavyPrice;
    EXPECT_NEAR(m.prcwcwL[1][1], price, 1e-5);
    EXPECT_NEAR(m.revcL[7][1], price * 0.4 * 25, 1e-4);
    const double quality = (1 * (0.5 * p1 + 0.2 * p2 + 0.1 * p2) + 2 * (0.5 * p1 + 0.8 * p2 + 0.9 * p2)) / light;
    EXPECT_NEAR(m.avcqwL[1], quality, 1e-5);
    // Only heavy weaned lambs are paid by fleshiness: they are all of them.
    EXPECT_NEAR(m.favwL[1], 1, 1e-6);
    EXPECT_NEAR(m.avfleshL[1], 1.4, 1e-6);
    EXPECT_NEAR(m.avfcL[1], 1, 1e-6);
    // No male lambs sold at weaning: nothing for g = 2.
    EXPECT_EQ(float(m.pclcwwL[2][4][1]), 0.0f);
    EXPECT_EQ(float(m.prcwcwL[2][1]), 0.0f);
}

TEST(Revenues, HeavyWeanedLambsArePaidAsHeavyCarcasses) {
    Harness h;
    Model& m = *h.model;
    // Carcass weight N(30, 3): 13 kg lies 5.7 s below the mean.
    weanedLambs(m, 60, 50, 10);
    revenues(h.run);
    EXPECT_GT(m.pclcwwL[1][4][1], 0.999999);
    EXPECT_NEAR(m.prcwcwL[1][1], kHeavyPrice, 1e-4);
    EXPECT_NEAR(m.revcL[7][1], kHeavyPrice * 0.5 * 60, 1e-3);
    for (int w = 1; w <= 3; ++w)
        for (int q = 1; q <= 2; ++q) EXPECT_TRUE(std::isfinite(m.pclcwL[1][w][q][1]));
    EXPECT_TRUE(std::isfinite(m.avcqwL[1]));
    EXPECT_TRUE(std::isfinite(m.prcwawL[1][1]));

    // All carcasses over 13 kg: no light carcass to divide among classes.
    weanedLambs(m, 28, 50, 0);
    revenues(h.run);
    EXPECT_EQ(float(m.pclcwwL[1][4][1]), 1.0f);
    EXPECT_EQ(float(m.pclcwL[1][1][1][1]), 0.0f);
    EXPECT_EQ(float(m.prcwawL[1][1]), 0.0f);
    EXPECT_EQ(float(m.avcqwL[1]), 0.0f);
    EXPECT_NEAR(m.revcL[7][1], kHeavyPrice * 14, 1e-3);
}

TEST(Revenues, CarcassWeightWithoutVariationFallsIntoOneClass) {
    Harness h;
    Model& m = *h.model;
    weanedLambs(m, 27.5, 40, 0);  // every carcass weighs 11 kg
    revenues(h.run);
    EXPECT_EQ(float(m.pclcwwL[1][1][1]), 0.0f);
    EXPECT_EQ(float(m.pclcwwL[1][2][1]), 0.0f);
    EXPECT_EQ(float(m.pclcwwL[1][3][1]), 1.0f);
    EXPECT_EQ(float(m.pclcwwL[1][4][1]), 0.0f);
    EXPECT_NEAR(m.prcwcwL[1][1], 0.1 * 5.5 + 0.9 * 6.0, 1e-5);
    EXPECT_NEAR(m.avcqwL[1], 1.9, 1e-6);
    // A mean at a limit belongs to the class that the limit closes.
    weanedLambs(m, 25, 40, 0);  // 10 kg
    revenues(h.run);
    EXPECT_EQ(float(m.pclcwwL[1][2][1]), 1.0f);
}

TEST(Revenues, WeanedLambsOtherPricingSystems) {
    Harness h;
    Model& m = *h.model;
    m.crossing = 1;
    m.l1skL[7][1] = 0.3;
    m.l1skL[32][1] = 0.2;
    m.wP[7][1] = 25;
    m.wP[32][1] = 30;
    m.qendL[32][1] = 0.9;
    m.pricewL = 1;
    m.prlwwL[1] = 2.2;
    revenues(h.run);
    EXPECT_NEAR(m.revcL[7][1], 55, 1e-4);
    EXPECT_NEAR(m.revcL[32][1], 66 * 0.9, 1e-4);

    m.pricewL = 2;
    m.nclwL = 2;
    m.prclwL[1] = 2;
    m.prclwL[2] = 3;
    m.pclwL[1][1] = 0.25;
    m.pclwL[1][2] = 0.75;
    revenues(h.run);
    EXPECT_NEAR(m.prlwwL[1], 2.75, 1e-6);
    EXPECT_NEAR(m.revcL[7][1], 25 * 2.75, 1e-4);

    m.pricewL = 3;
    m.prcwwL[1] = 6;
    m.dreswL[1] = 48;
    revenues(h.run);
    EXPECT_NEAR(m.revcL[7][1], 6 * 0.48 * 25, 1e-4);
    EXPECT_NEAR(m.revcL[32][1], 6 * 0.48 * 30 * 0.9, 1e-4);
}

// Fattening variants: one of females (category 8), two of males (33, 34),
// one of castrates (43), all pure-bred.
void fattenedState(Model& m) {
    m.crossing = 1;
    m.fatpb = 1;
    m.lf[1] = 1;
    m.lf[2] = 2;
    m.lf[0] = 1;
    const int cats[4] = {8, 33, 34, 43};
    const double w[4] = {40, 42, 44, 46};
    for (int i = 0; i < 4; ++i) {
        m.l1skL[cats[i]][1] = 0.1;
        m.wP[cats[i]][1] = w[i];
    }
    m.qendL[33][1] = 0.9;
    m.dresfL[1][1][1] = 46;
    m.dresfL[2][1][1] = 48;
    m.dresfL[2][2][1] = 50;
    m.dresfL[0][1][1] = 47;
}

TEST(Revenues, FattenedLambs) {
    Harness h;
    Model& m = *h.model;
    fattenedState(m);
    m.pricefL = 1;
    m.prlwfL[1] = 2.4;
    revenues(h.run);
    EXPECT_NEAR(m.revcL[8][1], 96, 1e-4);
    EXPECT_NEAR(m.revcL[33][1], 42 * 2.4 * 0.9, 1e-4);

    m.pricefL = 2;
    m.nclfL = 2;
    m.prclfL[1] = 2.0;
    m.prclfL[2] = 2.6;
    m.pclfL[1][1] = m.pclfL[1][2] = 0.5;
    revenues(h.run);
    EXPECT_NEAR(m.prlwfL[1], 2.3, 1e-6);
    EXPECT_NEAR(m.revcL[43][1], 46 * 2.3, 1e-4);

    m.pricefL = 3;
    m.prcwfL[1] = 5.5;
    revenues(h.run);
    EXPECT_NEAR(m.revcL[8][1], 5.5 * 0.46 * 40, 1e-4);
    EXPECT_NEAR(m.revcL[33][1], 5.5 * 0.48 * 42 * 0.9, 1e-4);
    EXPECT_NEAR(m.revcL[34][1], 5.5 * 0.50 * 44, 1e-4);
    EXPECT_NEAR(m.revcL[43][1], 5.5 * 0.47 * 46, 1e-4);

    m.pricefL = 4;
    m.prreffL = 5;
    m.nclflfL = 1;
    m.nclfcfL = 2;
    m.prclfcfL[1][1] = 1.2;
    m.prclfcfL[1][2] = 1.0;
    m.pclfcfL[1][1][1] = m.pclfcfL[1][1][2] = 0.5;
    revenues(h.run);
    EXPECT_NEAR(m.prcwfL[1], 5.5, 1e-6);
    EXPECT_NEAR(m.revcL[34][1], 5.5 * 0.50 * 44, 1e-4);

    // Without fattened progeny in the system nothing is paid.
    m.fatpb = 0;
    revenues(h.run);
    EXPECT_EQ(float(m.revcL[8][1]), 0.0f);
}

TEST(Revenues, FleshinessMeansOfFattenedAndWeanedLambsTogether) {
    Harness h;
    Model& m = *h.model;
    weanedLambs(m, 25, 40, 20);
    m.avfleshfL[1] = 2;
    m.avfcfL[1] = 3;
    m.favfL[1] = 3 * 0.4 * (1 - kPhi15);  // three times the heavy weaned lambs
    revenues(h.run);
    EXPECT_NEAR(m.favwL[1], 0.25, 1e-6);
    EXPECT_NEAR(m.favfL[1], 0.75, 1e-6);
    EXPECT_NEAR(m.avfleshL[1], 0.75 * 2 + 0.25 * 1.4, 1e-6);
    EXPECT_NEAR(m.avfcL[1], 0.75 * 3 + 0.25 * 1, 1e-6);
}

TEST(Revenues, SkinsOfFattenedAndCulledProgeny) {
    Harness h;
    Model& m = *h.model;
    fattenedState(m);
    m.l1skL[21][1] = 0.02;
    m.pskfL = 0.8;
    m.ptskfL = 0.25;
    m.pskrL = 0.6;
    m.ptskrL = 0.5;
    m.prskrL[1] = 10;
    m.prsktL[1] = 20;
    revenues(h.run);
    for (int s : {8, 34, 43}) {
        EXPECT_NEAR(m.revskrL[s][1], 6, 1e-5) << s;
        EXPECT_NEAR(m.revsktL[s][1], 4, 1e-5) << s;
    }
    EXPECT_NEAR(m.revskrL[33][1], 6 * 0.9, 1e-5);
    EXPECT_NEAR(m.revskrL[21][1], 3, 1e-5);
    EXPECT_NEAR(m.revsktL[21][1], 6, 1e-5);
    // No animals in category 25: no skins.
    EXPECT_EQ(float(m.revskrL[25][1]), 0.0f);
}

// One ewe cycle (states 1 .. 3), one ram cycle (states 1 .. 3), weaned
// female lambs and breeding males sold; a reproductive cycle of 292 days,
// so that a year is 1.25 cycles.
void totalsState(Model& m) {
    m.crossing = 1;
    m.typew = 1;
    m.lengthrc = 292;
    m.LL = 1;
    m.TE = 3;
    const double l1E[4] = {0, 0.1, 0.2, 0.7}, manE[4] = {0, 10, 20, 30}, costE[4] = {0, 50, 60, 70};
    for (int s = 1; s <= 3; ++s) {
        m.l1E[s] = l1E[s];
        m.revmanE[s] = manE[s];
        m.costE[s] = costE[s];
    }
    m.RR = 1;
    m.TR = 3;
    m.prman = 1;
    m.manR = 1;
    m.neweR[1] = 0.04;
    const double l1R[4] = {0, 0.2, 0.3, 0.5};
    for (int s = 1; s <= 3; ++s) {
        m.l1R[s] = l1R[s];
        m.l1aR[s][1] = l1R[s];
        m.dcR[s] = 10 * s;
        m.costR[s][1] = 100;
    }
    m.l1skL[5][1] = 1.2;
    m.revwL[5][1] = 2;
    m.costL[5][1] = 40;
    m.l1skL[38][1] = 0.1;
    m.l1skL[40][1] = 0.05;
    m.opsbL = 1;
    m.revsbL[38][1] = 200;
    m.costL[38][1] = 30;
    m.subR = 20;
    m.subE = 15;
    m.NwL[0] = 1.25;
    m.npurchFP = 0.1;
    m.kdif = 1.5;
}

TEST(Revenues, TotalsPerEweAndYear) {
    Harness h;
    Model& m = *h.model;
    totalsState(m);
    revenues(h.run);
    EXPECT_NEAR(m.TrevE, 1 + 4 + 21, 1e-4);
    EXPECT_NEAR(m.TcostsE, 5 + 12 + 49, 1e-4);
    EXPECT_NEAR(m.TrevR, (10 * 0.2 + 20 * 0.3 + 30 * 0.5) * 0.04, 1e-5);
    EXPECT_NEAR(m.TcostsR, 100 * 0.04, 1e-5);
    const double costlamb = ((66 - 26) + 4 - 0.92) / 1.25;
    EXPECT_NEAR(m.costlamb, costlamb, 1e-4);
    const double purch = 0.1 * 1.5 * (40 + costlamb - 2);
    EXPECT_NEAR(m.costpurchFP, purch, 1e-4);
    const double trev = (26 + 2 * 1.2 + 200 * 0.1 + 0.92) * 1.25;
    const double tcosts = (66 + 40 * 1.2 + 30 * 0.1 + 4 + purch) * 1.25;
    const double tsub = 0.15 * 20 * 1.25 + 15;
    EXPECT_NEAR(m.Trev, trev, 1e-4);
    EXPECT_NEAR(m.Tcosts, tcosts, 1e-4);
    EXPECT_NEAR(m.Tsub, tsub, 1e-5);
    EXPECT_NEAR(m.Tprof, trev + tsub - tcosts, 1e-4);
    EXPECT_FLOAT_EQ(m.Tprof.f(), float(double(m.Trev) + m.Tsub - m.Tcosts));
    EXPECT_NEAR(m.profsub, (trev + tsub - tcosts) * 100 / tcosts, 1e-3);
    EXPECT_NEAR(m.profnsub, (trev - tcosts) * 100 / tcosts, 1e-3);
}

TEST(Revenues, CostOfALambIsNeverNegative) {
    Harness h;
    Model& m = *h.model;
    totalsState(m);
    for (int s = 1; s <= 3; ++s) m.costE[s] = 0;  // the ewes earn more than they cost
    revenues(h.run);
    EXPECT_EQ(float(m.costlamb), 0.0f);
    EXPECT_NEAR(m.costpurchFP, 0.15 * 38, 1e-5);

    // Without weaned lambs there is nobody to charge.
    totalsState(m);
    m.NwL[0] = 0;
    revenues(h.run);
    EXPECT_EQ(float(m.costlamb), 0.0f);

    // Artificial rearing: charged to the lambs reared, with the reared
    // female lamb as the purchased replacement.
    totalsState(m);
    m.typew = 2;
    m.NarL[0] = 2.5;
    m.l1skL[6][1] = 1;
    m.costL[6][1] = 50;
    revenues(h.run);
    const double costlamb = ((66 - 26) + 4 - 0.92) / 2.5;
    EXPECT_NEAR(m.costlamb, costlamb, 1e-4);
    EXPECT_NEAR(m.costpurchFP, 0.15 * (50 + costlamb), 1e-4);
}

TEST(Revenues, NoProfitabilityWithoutCosts) {
    Harness h;
    Model& m = *h.model;
    totalsState(m);
    for (int s = 1; s <= 3; ++s) {
        m.costE[s] = 0;
        m.costR[s][1] = 0;
    }
    m.costL[5][1] = m.costL[38][1] = 0;
    m.npurchFP = 0;
    revenues(h.run);
    EXPECT_EQ(float(m.Tcosts), 0.0f);
    EXPECT_EQ(float(m.profsub), 0.0f);
    EXPECT_EQ(float(m.profnsub), 0.0f);
    EXPECT_NEAR(m.Tprof, m.Trev + m.Tsub, 1e-4);
}

TEST(Revenues, RepeatedEvaluationGivesTheSameResults) {
    Harness h;
    Model& m = *h.model;
    totalsState(m);
    progenyState(m);
    eweState(m);
    m.LL = 1;
    m.TE = 3;
    m.lengthrc = 292;
    revenues(h.run);
    const float prof = m.Tprof.f(), rev17 = m.revL[17][1].f(), trevR = m.TrevR.f();
    // The non-feed cost phase gives the progeny items per animal again.
    m.revmanL[17][1] = 2;
    m.revmanL[5][1] = 0.3;
    revenues(h.run);
    EXPECT_EQ(m.Tprof.f(), prof);
    EXPECT_EQ(m.revL[17][1].f(), rev17);
    EXPECT_EQ(m.TrevR.f(), trevR);
}

TEST(Revenues, ProgressLineOnlyInTheBaseEvaluation) {
    Harness h;
    revenues(h.run);
    EXPECT_EQ(h.console(), "Calculating revenues\n");
    h.model->itrait = 3;
    revenues(h.run);
    EXPECT_EQ(h.console(), "Calculating revenues\n");
}

class RevenuesExample : public ::testing::TestWithParam<const char*> {};

TEST_P(RevenuesExample, RunsThroughTheRevenuesWithFiniteTotals) {
    testutil::TempDir dir;
    testutil::copyExample(GetParam(), dir);
    const auto r = testutil::runKarvel1(dir, "R.TXT\n");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Calculating revenues\n"), std::string::npos);
    const std::string checks = dir.read("CHECKS");
    EXPECT_NE(checks.find("\nTprof = "), std::string::npos);
    // Every value of the dump is finite.
    std::istringstream lines(checks);
    for (std::string line; std::getline(lines, line);) {
        const std::string value = line.substr(line.find('=') + 1);
        EXPECT_EQ(value.find("nan"), std::string::npos) << line;
        EXPECT_EQ(value.find("inf"), std::string::npos) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(Revenues, RevenuesExample, ::testing::Values("dairy", "meat", "extensive"));

}  // namespace
