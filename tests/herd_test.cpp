// Ewe flock, ram population and progeny until weaning on small flocks whose
// steady state is known in closed form.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "herd/herd.h"
#include "herd/markov.h"
#include "test_util.h"

using testutil::Harness;

namespace {

// A flock of four cycles with the same rates in every cycle.
void smallFlock(Model& m) {
    m.LL = 4;
    m.clt = 2;
    m.crossing = 1;
    m.typew = 1;
    m.datlamb = 60;    // 1 March
    m.datbbs = 244;    // 1 September
    m.lpreg = 150;
    for (int p = 1; p <= 4; ++p) {
        m.pdiedE[p] = 0.04;
        m.pcullhE[p] = 0.16;
        m.conrateE[p] = p < 4 ? 0.9 : 0;
        m.pbarrE[p] = p < 4 ? 0.5 : 0;
        m.Pltype[1][p] = 0.6;
        m.Pltype[2][p] = 0.4;
    }
}

// Outcome probabilities of a cycle before the last (died, culled, not
// pregnant and culled, not pregnant and kept, pregnant and kept).
struct Outcome {
    double died, culled, nconcul, nconstay, constay;
};

Outcome outcome(double d, double c, double r, double b, double intml, double intlm) {
    const double pmat = 1 - (c + d) * intlm / 365;
    const double ncon = (1 - r) * pmat;
    const double nconcul = (1 - b) * ncon;
    const double nconstay = ncon * b * (1 - (c + d) * intml / 365);
    return {d, c, nconcul, nconstay, 1 - nconstay - nconcul - c - d};
}

}  // namespace

TEST(EweFlock, StationaryCompositionMatchesClosedForm) {
    Harness h;
    Model& m = *h.model;
    smallFlock(m);
    eweFlock(h.run);

    EXPECT_EQ(m.TE, 18);
    EXPECT_DOUBLE_EQ(double(m.intml), 181.0);
    EXPECT_DOUBLE_EQ(double(m.intlm), 184.0);
    const Outcome o = outcome(0.04, 0.16, 0.9, 0.5, 181, 184);
    EXPECT_NEAR(double(m.pmatE[1]), 1 - 0.2 * 184 / 365, 1e-7);
    EXPECT_NEAR(double(m.pconstayE[2]), o.constay, 1e-7);
    EXPECT_NEAR(double(m.pnconculE[4]), 0.8, 1e-7);

    // A ewe entering cycle p moves on with probability s; the flock holds
    // the cycles in proportion 1 : s : s^2 : s^3.  The chain runs on the
    // single-precision outcome fractions; the iteration stops when a step
    // changes the distribution by about 1e-8.
    const double s = double(m.pnconstayE[1]) + double(m.pconstayE[1]);
    const Outcome f = {double(m.pdiedE[1]), double(m.pcullE[1]), double(m.pnconculE[1]), double(m.pnconstayE[1]),
                       double(m.pconstayE[1])};
    const double x1 = 1 / (1 + s + s * s + s * s * s);
    const double x[5] = {0, x1, x1 * s, x1 * s * s, x1 * s * s * s};
    for (int p = 1; p <= 4; ++p) EXPECT_NEAR(m.l4E[p], x[p], 1e-7) << p;
    for (int p = 1; p <= 3; ++p) {
        const int b = (p - 1) * 5;
        EXPECT_NEAR(m.l1E[b + 1], x[p] * f.died, 1e-7);
        EXPECT_NEAR(m.l1E[b + 3], x[p] * f.nconcul, 1e-7);
        EXPECT_NEAR(m.l1E[b + 5], x[p] * f.constay, 1e-7);
    }
    EXPECT_NEAR(m.l1E[18], x[4] * double(m.pnconculE[4]), 1e-7);

    const double nlamb = x1 + (x[1] + x[2] + x[3]) * f.constay;
    EXPECT_NEAR(m.Nlamb, nlamb, 1e-7);
    EXPECT_NEAR(m.l3E[3], x[2] * f.constay, 1e-7);
    EXPECT_NEAR(double(m.avlifelE), 1 / x1, 1e-5);
    EXPECT_NEAR(double(m.avconrateE), 0.9, 1e-6);
    EXPECT_NEAR(double(m.avlitE), 1.4, 1e-6);
    EXPECT_NEAR(double(m.pdiedEp), 0.04 * 100 / x1, 1e-4);
    EXPECT_NEAR(double(m.pcullfcE0), (x[1] + x[2] + x[3]) * o.nconcul, 1e-7);
    EXPECT_GT(m.kE, 1);
    EXPECT_LE(m.a, 1e-16);
    // The replacement rate is the share of ewes in their first cycle.
    double sum = 0;
    for (int X = 1; X <= m.TE; ++X) sum += m.l1E[X];
    EXPECT_NEAR(sum, 1.0, 1e-12);
    EXPECT_EQ(h.console(), "Calculating the structure of the ewe flock\n");
}

TEST(EweFlock, TransitionRowsSumToOne) {
    Harness h;
    Model& m = *h.model;
    smallFlock(m);
    m.LL = 6;
    for (int p = 1; p <= 6; ++p) {
        m.pdiedE[p] = 0.02 + 0.01 * p;
        m.pcullhE[p] = 0.05 * p;
        m.pcullmE[p] = 0.02;
        m.conrateE[p] = p < 6 ? 0.95 - 0.02 * p : 0;
        m.pbarrE[p] = p < 6 ? 0.3 : 0;
    }
    eweFlock(h.run);
    for (int X = 1; X <= m.TE; ++X) {
        double s = 0;
        for (int Y = 1; Y <= m.TE; ++Y) s += m.te[X][Y];
        EXPECT_NEAR(s, 1.0, 1e-6) << X;
    }
    EXPECT_EQ(h.console().find("different from 1"), std::string::npos);
}

TEST(Markov, RowSumWarningNamesEachRowOutsideTheTolerance) {
    // Row 1 sums to 1 exactly, row 2 within the tolerance, rows 3 and 4
    // outside it; the check reports and goes on.
    const int n = 4, stride = 5;
    double mat[5 * 5] = {};
    mat[1 * stride + 1] = 0.25;
    mat[1 * stride + 2] = 0.75;
    mat[2 * stride + 3] = 1.0000005;
    mat[3 * stride + 3] = 0.999998;
    mat[4 * stride + 1] = 0.5;
    mat[4 * stride + 4] = 0.5000011;
    char* buf = nullptr;
    std::size_t len = 0;
    std::FILE* out = open_memstream(&buf, &len);
    double last = 0;
    reportRowSums(out, "TE", mat, stride, n, last);
    std::fclose(out);
    const std::string text(buf, len);
    std::free(buf);
    EXPECT_EQ(text,
              "Sum of elements in a row of TE is different from 1  3  0.999998000\n"
              "Sum of elements in a row of TE is different from 1  4  1.000001100\n");
    EXPECT_DOUBLE_EQ(last, 1.0000011);
}

TEST(EweFlockStop, PregnancyIntervalEqualToPregnancyStops) {
    Harness h;
    Model& m = *h.model;
    smallFlock(m);
    m.lpreg = 365 + 60 - 244;
    EXPECT_THROW(eweFlock(h.run), RunStopped);
    EXPECT_NE(h.console().find("Error message:\nThe time for pregnancy calculated from your input parameters\n"
                               "  is too short.\n  Correct this error in INPUTS01.TXT and restart the program.\n"),
              std::string::npos);
    m.lpreg = 365 + 60 - 244 - 1;  // one day shorter passes
    eweFlock(h.run);
}

TEST(EweFlockStop, FlockWithoutEwesStops) {
    Harness h;
    Model& m = *h.model;
    smallFlock(m);
    m.pdiedE[4] = 1e17;   // far outside the range of fractions
    EXPECT_THROW(eweFlock(h.run), RunStopped);
    EXPECT_NE(h.console().find("The structure of the ewe flock cannot be calculated"), std::string::npos)
        << h.console();
}

TEST(RamPopulation, StationaryCompositionMatchesClosedForm) {
    Harness h;
    Model& m = *h.model;
    m.RR = 3;
    const double d[4] = {0, 0.05, 0.08, 0.1}, so[4] = {0, 0.2, 0.3, 0.4}, cu[4] = {0, 0.1, 0.2, 0.5};
    for (int r = 1; r <= 3; ++r) {
        m.pdiedR[r] = d[r];
        m.psoldR[r] = so[r];
        m.pcullR[r] = cu[r];
    }
    ramPopulation(h.run);
    EXPECT_EQ(m.TR, 11);
    // The chain runs on the single-precision fractions.
    const double s1 = double(m.pstayR[1]), s2 = double(m.pstayR[2]);
    EXPECT_NEAR(s1, 1 - d[1] - cu[1] - so[1], 1e-7);
    const double x1 = 1 / (1 + s1 + s1 * s2);
    EXPECT_NEAR(m.l4R[1], x1, 1e-7);
    EXPECT_NEAR(m.l4R[2], x1 * s1, 1e-7);
    EXPECT_NEAR(m.l4R[3], x1 * s1 * s2, 1e-7);
    EXPECT_NEAR(m.l1R[2], x1 * double(m.psoldR[1]), 1e-7);
    EXPECT_NEAR(m.l1R[9], x1 * s1 * s2 * double(m.pdiedR[3]), 1e-7);
    EXPECT_NEAR(m.l1R[4], x1 * s1, 1e-7);
}

TEST(RamPopulation, SingleCycle) {
    Harness h;
    Model& m = *h.model;
    m.RR = 1;
    m.pdiedR[1] = 0.1;
    m.psoldR[1] = 0.3;
    m.pcullR[1] = 0.6;
    ramPopulation(h.run);
    EXPECT_EQ(m.TR, 3);
    EXPECT_NEAR(m.l4R[1], 1.0, 1e-12);
    EXPECT_NEAR(m.l1R[2], 0.3, 1e-7);
}

TEST(RamPopulation, NoRamStayingPassesAndTheStayingStateIsEmpty) {
    Harness h;
    Model& m = *h.model;
    m.RR = 2;
    m.pdiedR[1] = 0.25;
    m.psoldR[1] = 0.25;
    m.pcullR[1] = 0.5;
    m.pdiedR[2] = 0.1;
    m.pcullR[2] = 0.9;
    ramPopulation(h.run);
    EXPECT_DOUBLE_EQ(double(m.pstayR[1]), 0.0);
    EXPECT_EQ(m.l1R[4], 0.0);
    EXPECT_NEAR(m.l4R[1], 1.0, 1e-12);
}

TEST(RamPopulationStop, FractionsAboveOneStop) {
    Harness h;
    Model& m = *h.model;
    m.RR = 2;
    m.pdiedR[1] = 0.3;
    m.psoldR[1] = 0.4;
    m.pcullR[1] = 0.31;
    m.pcullR[2] = 1;
    EXPECT_THROW(ramPopulation(h.run), RunStopped);
    EXPECT_NE(h.console().find("Error message:\nThe proportion of rams staying to the next breeding cycle \n"
                               "must be > 0. Reduce the fractions of the other categories. \n"
                               "Correct this error in INPUTS02.TXT and restart the program.\n"),
              std::string::npos);
}

TEST(Markov, SparseIterationIsBitIdenticalToDense) {
    Harness h;
    Model& m = *h.model;
    smallFlock(m);
    m.LL = 15;
    for (int p = 1; p <= 15; ++p) {
        m.pdiedE[p] = 0.01 * p;
        m.pcullhE[p] = 0.013 * p;
        m.conrateE[p] = p < 15 ? 0.97 - 0.011 * p : 0;
        m.pbarrE[p] = p < 15 ? 0.1 * (p % 4) : 0;
    }
    eweFlock(h.run);
    std::vector<double> l1(cap::CE), l2(cap::CE), d1(cap::CE), d2(cap::CE);
    StationaryTrace ts, td;
    ASSERT_TRUE(stationarySparse(&m.te[0][0], cap::CE, m.TE, l1.data(), l2.data(), cap::CE, ts));
    ASSERT_TRUE(stationaryDense(&m.te[0][0], cap::CE, m.TE, d1.data(), d2.data(), cap::CE, td));
    EXPECT_EQ(ts.steps, td.steps);
    for (int i = 0; i < cap::CE; ++i) {
        EXPECT_EQ(l1[i], d1[i]) << i;   // bit for bit
        EXPECT_EQ(l2[i], d2[i]) << i;
    }
    EXPECT_EQ(ts.a, td.a);
    EXPECT_EQ(ts.sl, td.sl);
}

TEST(ProgenyUntilWeaning, NumbersByBreedGroupAndLitterSize) {
    Harness h;
    Model& m = *h.model;
    smallFlock(m);
    m.crossing = 2;
    m.typew = 2;
    for (int p = 0; p <= 3; ++p) m.pcrossE[p] = 0.25;
    for (int cr = 1; cr <= 2; ++cr) {
        m.pdiedbL[1][cr] = 0.05;
        m.pdiedbL[2][cr] = 0.1;
        m.pdiedwL[1][cr] = 0.04;
        m.pdiedwL[2][cr] = 0.08;
        m.pdiedarL[1][cr] = 0.02;
        m.pdiedarL[2][cr] = 0.03;
    }
    eweFlock(h.run);
    progenyUntilWeaning(h.run);
    const double nl = m.Nlamb;
    // Every lambing of the flock comes from a mating with a quarter crossed.
    EXPECT_NEAR(double(m.nbtL[1][1]), 0.6 * nl * 0.75, 1e-6);
    EXPECT_NEAR(double(m.nbtL[2][2]), 2 * 0.4 * nl * 0.25, 1e-6);
    EXPECT_NEAR(double(m.na24hL[2][2]), 0.9 * 2 * 0.4 * nl * 0.25, 1e-6);
    EXPECT_NEAR(double(m.nwL[1][2]), 0.92 * 0.9 * 2 * 0.4 * nl * 0.75, 1e-6);
    EXPECT_NEAR(double(m.narL[1][1]), 0.98 * 0.96 * 0.95 * 0.6 * nl * 0.75, 1e-6);
    EXPECT_NEAR(double(m.NbtL[0]), 1.4 * nl, 1e-6);
    const double born1 = 0.6 * nl * 0.75 + 0.8 * nl * 0.75;
    const double alive1 = 0.95 * 0.6 * nl * 0.75 + 0.9 * 0.8 * nl * 0.75;
    EXPECT_NEAR(double(m.avsur24hL[1]), alive1 * 100 / born1, 1e-4);
    // Every lamb born ends in exactly one category until weaning.
    for (int cr = 0; cr <= 2; ++cr)
        EXPECT_NEAR(double(m.l1skL[1][cr]) + double(m.l1skL[2][cr]) + double(m.l1skL[6][cr]) +
                        double(m.l1skL[31][cr]),
                    double(m.NbtL[cr]), 1e-6)
            << cr;
    EXPECT_NEAR(double(m.l1skL[5][0]), 0.5 * double(m.NwL[0]), 1e-6);
    EXPECT_DOUBLE_EQ(double(m.avsurwL[1]), 0.0);   // not computed under artificial rearing
}

TEST(ProgenyUntilWeaning, NoCrossbredLambsGiveZeroNotNaN) {
    Harness h;
    Model& m = *h.model;
    smallFlock(m);
    m.crossing = 2;   // crossing declared, but no ewe is crossed
    eweFlock(h.run);
    progenyUntilWeaning(h.run);
    EXPECT_EQ(double(m.NbtL[2]), 0.0);
    EXPECT_EQ(double(m.avsur24hL[2]), 0.0);
    EXPECT_EQ(double(m.avsurwL[2]), 0.0);
}
