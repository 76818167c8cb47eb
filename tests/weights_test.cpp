// The economic-weight loop: weights of a profit that is linear in the
// traits, the threshold shifts worked by hand, the skip rules, and on the
// example systems the exact restore of the base state after every slot and
// the same bytes on one and on two threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "driver/evaluate.h"
#include "context/run.h"
#include "driver/weights_run.h"
#include "economics/weights.h"
#include "example_run.h"
#include "input/reader.h"
#include "model/model.h"

namespace {

using testutil::Harness;

// ---- a stand-in for the model whose profit is linear in the traits -------

// Computes from the inputs that the loop changes the trait values that it
// reads back, and a profit that is a linear function of the traits with the
// coefficients below.  The loop's weights must reproduce the coefficients.
// The profit is taken relative to the base profit, so that its rounding to
// single precision does not blur the small differences.
std::atomic<int> evaluations = 0;
double profitOffset = 0;

void linearModel(Run& run) {
    Model& m = run.m;
    ++evaluations;
    m.wwL[1][1][1] = m.bwL[1][1][1] + m.adgbwL[1][1][1] * 50;
    double conception = 0;
    for (int c = 1; c <= m.LL - 1; ++c) conception += m.conrateE[c];
    m.avconrateE = conception / (m.LL - 1);
    double litter = 0;
    for (int c = 1; c <= m.LL; ++c)
        for (int lt = 1; lt <= m.clt; ++lt) litter += lt * m.Pltype[lt][c];
    m.avlitE = litter / m.LL;
    double lost24 = 0, lostw = 0;
    for (int lt = 1; lt <= m.clt; ++lt) {
        lost24 += m.pdiedbL[lt][1];
        lostw += m.pdiedwL[lt][1];
    }
    m.avsur24hL[1] = 100 * (1 - lost24 / m.clt);
    m.avsurwL[1] = 100 * (1 - lostw / m.clt);
    double leaving = 0;
    for (int c = 1; c <= m.LL; ++c) leaving += m.pdiedE[c] + m.pcullhE[c];
    m.avlifelE = m.LL / leaving;
    m.avlifeyE = 1.25 * m.avlifelE;
    m.tmilkst = 200 * m.awo;
    m.avmilkd = 1.6 * m.awo;
    m.fatymst = m.tmilkst * m.fat / 100;
    m.protymst = m.tmilkst * m.prot / 100;
    // Lambs: 60 % fattened, 40 % sold at weaning.
    double fleshL = 0, fatL = 0;
    for (int f = 1; f <= m.nclflfL; ++f)
        for (int c = 1; c <= m.nclfcfL; ++c) {
            fleshL += 0.6 * f * m.pclfcfL[1][f][c];
            fatL += 0.6 * c * m.pclfcfL[1][f][c];
        }
    for (int f = 1; f <= m.nclflwL; ++f)
        for (int c = 1; c <= m.nclfcwL; ++c) {
            fleshL += 0.4 * f * m.pclfcwL[1][f][c];
            fatL += 0.4 * c * m.pclfcwL[1][f][c];
        }
    m.avfleshL[1] = fleshL;
    m.avfcL[1] = fatL;
    for (int k = 1; k <= m.crossing; ++k) {
        double cls = 0, flesh = 0, fat = 0;
        for (int s = 1; s <= m.nclS; ++s) cls += s * m.pclS[k][s];
        for (int f = 1; f <= m.nclflS; ++f)
            for (int c = 1; c <= m.nclfcS; ++c) {
                flesh += f * m.pclfcS[k][f][c];
                fat += c * m.pclfcS[k][f][c];
            }
        m.avclS[k] = cls;
        m.avfleshS[k] = flesh;
        m.avfcS[k] = fat;
    }
    m.Tprof = -profitOffset + 2 * m.bwL[1][1][1] + 6 * m.bwL[1][1][2] + 0.5 * m.wwL[1][1][1] + 100 * m.adgr[1][1][1] -
              1.5 * m.mwE[1] + 4 * m.avclS[1] + 9 * m.avfleshS[1] - 4 * m.avfcS[1] + 5 * m.avfleshS[2] +
              30 * m.conrateFP[1][1] + 50 * m.avconrateE + 20 * m.avlitE + 0.6 * m.avsur24hL[1] +
              0.4 * m.avsurwL[1] + 5 * m.avlifelE + 0.3 * m.tmilkst + 10 * m.fat + 8 * m.prot - 3 * m.mSCS +
              m.wsheR[1] + 7 * m.avfleshL[1] - 2 * m.avfcL[1] + 40 * m.adgr[2][1][2];
}

// A small system: three cycles, three litter-size classes, three carcass
// classes of culled sheep, everything present that the linear model reads.
void smallSystem(Model& m) {
    resetModel(m);
    m.crossing = 1;
    m.ewopt = 0;
    m.typew = 1;
    m.typeb = 1;
    m.pricewL = 1;
    m.pricefL = 1;
    m.priceS = 2;
    m.LL = 3;
    m.clt = 3;
    m.nclS = 3;
    m.bwL[1][1][1] = 4;
    m.adgbwL[1][1][1] = 0.25;
    m.adgr[1][1][1] = 0.15;
    m.mwE[1] = 60;
    m.conrateFP[1][1] = 0.8;
    const double conrate[] = {0, 0.9, 0.85};
    for (int c = 1; c <= 2; ++c) m.conrateE[c] = conrate[c];
    const double litter[4] = {0, 0.5, 0.4, 0.1};
    for (int c = 1; c <= 3; ++c)
        for (int lt = 1; lt <= 3; ++lt) m.Pltype[lt][c] = litter[lt];
    for (int lt = 1; lt <= 3; ++lt) {
        m.pdiedbL[lt][1] = 0.03 * lt;
        m.pdiedwL[lt][1] = 0.02 * lt;
    }
    for (int c = 1; c <= 3; ++c) {
        m.pdiedE[c] = 0.04;
        m.pcullhE[c] = 0.15 + 0.05 * c;
    }
    m.pclS[1][1] = 0.2;
    m.pclS[1][2] = 0.5;
    m.pclS[1][3] = 0.3;
    // Lambs fattened and sold at weaning priced by fleshiness and fat classes.
    m.pricefL = m.pricewL = 4;
    m.nclflfL = 3;
    m.nclfcfL = 2;
    m.nclflwL = m.nclfcwL = 2;
    const double fattened[4][3] = {{0, 0, 0}, {0, 0.1, 0.2}, {0, 0.3, 0.15}, {0, 0.05, 0.2}};
    for (int f = 1; f <= 3; ++f)
        for (int c = 1; c <= 2; ++c) m.pclfcfL[1][f][c] = fattened[f][c];
    m.pclfcwL[1][1][1] = 0.4;
    m.pclfcwL[1][1][2] = 0.1;
    m.pclfcwL[1][2][1] = 0.2;
    m.pclfcwL[1][2][2] = 0.3;
    m.awo = 1.5;
    m.fat = 6.5;
    m.prot = 5.5;
    m.mSCS = 3.2;
    m.wsheR[1] = 2.5;
}

// The base evaluation of the linear model.
void linearBase(Harness& h) {
    profitOffset = 0;
    linearModel(h.run);
    profitOffset = h.model->Tprof;
    linearModel(h.run);
}

// Runs the whole loop over the linear model after its base evaluation;
// returns the number of evaluations.
int runLoop(Harness& h) {
    evaluations = 0;
    weights::start(h.run);
    while (weights::step(h.run)) linearModel(h.run);
    return evaluations;
}

bool isLoopQuantity(const char* name) {
    static const char* const kLoop[] = {"ev", "ev0", "evp", "evdiff", "zr", "Tprofm", "Tprofh", "Tprofl",
                                        "tvm", "tvh", "tvl", "tv2m", "tv2h", "tv2l", "pt", "pf", "pf0", "pf1",
                                        "pclwLqm", "pclwLql", "pcl0", "qcl0", "pcl00", "pcl11"};
    for (const char* q : kLoop)
        if (std::strcmp(q, name) == 0) return true;
    return false;
}

// The first quantity, other than the loop's own, whose bytes differ.
std::string firstDifference(const Model& a, const Model& b) {
#define CMP(name)                                                                           \
    if (!isLoopQuantity(#name) && std::memcmp(&a.name, &b.name, sizeof a.name) != 0) return #name;
#define Q(type, name, dims, fmt, ranges, vt, pred) CMP(name)
#define QEV Q
#define QROW(type, member, row, fmt, ranges, vt, pred)
#define QDECL(type, name, dims) CMP(name)
#define QCONST(name, value)
#include "model/fields.def"
#undef Q
#undef QEV
#undef QROW
#undef QCONST
#undef QDECL
    CMP(l2E)
    CMP(prsbLin)
    CMP(revsbLin)
    CMP(dayseason)
    CMP(lambRows)
    CMP(seasonEnd)
    CMP(calendarKey)
#undef CMP
    return "";
}

}  // namespace

TEST(Weights, LinearProfitGivesItsCoefficients) {
    Harness h;
    Model& m = *h.model;
    smallSystem(m);
    linearBase(h);
    const auto base = std::make_unique<Model>(m);
    const int evaluated = runLoop(h);

    const auto ev = [&](int t) { return double(m.ev[t][1]); };
    const auto near = [](double v, double want) { EXPECT_NEAR(v, want, 1e-5 * std::abs(want) + 1e-6) << want; };
    near(ev(1), 2.5);    // birth weight moves the weaning weight too
    near(ev(2), 0.5);    // per kg weaning weight ...
    near(ev(3), 25);     // ... and per kg/day gain, 50 days to weaning
    near(ev(6), 100);
    near(ev(8), -1.5);
    near(ev(14), 4);
    near(ev(20), 30);
    near(ev(21), 50);
    near(ev(22), 20);
    near(ev(23), 60);    // survival in per cent: weight per 100 points
    near(ev(24), 40);
    near(ev(26), 5);
    near(ev(27), 4);     // a cycle is 1.25 years here
    near(ev(28), 0.3);
    near(ev(29), 0.3 * 200 / 1.6);
    near(ev(30), 10);
    near(ev(31), 10 * 100 / 300.0);  // standard lactation of 300 kg
    near(ev(32), 8);
    near(ev(33), 8 * 100 / 300.0);
    near(ev(34), -3);
    near(ev(35), 1);
    // Both lamb tables shifted together, each within its conditioning class.
    near(ev(17), 7);
    near(ev(18), -2);
    // The profit is linear: the changes of 1 % and 0.5 % agree.
    for (int t : {1, 3, 8, 14, 21, 22, 23, 26, 28, 30, 35}) EXPECT_NEAR(m.ev0[t][1], m.ev[t][1], 1e-5 * std::abs(ev(t)));
    // Reported units: per g/day, per percentage point, per 0.1 kg of daily milk.
    near(m.evp[3][1], 0.025);
    near(m.evp[23][1], 0.6);
    near(m.evp[29][1], 0.3 * 200 / 1.6 / 10);
    near(m.evp[8][1], -1.5);
    EXPECT_NEAR(m.evdiff[8][1], 0, 0.05);

    // Skipped traits (no artificial rearing, no fattening, other price
    // systems) and the cross-bred column keep 0 and evdiff -999.
    for (int t : {4, 5, 7, 9, 10, 11, 12, 13, 15, 16, 19, 25}) {
        EXPECT_EQ(m.ev[t][1], 0) << t;
        EXPECT_EQ(m.evdiff[t][1], -999) << t;
    }
    for (int t = 0; t < cap::NT; ++t) EXPECT_EQ(m.ev[t][2], 0) << t;

    // Five evaluations per slot, one console line per slot.
    int starts[weights::kMaxSlots];
    const int slots = weights::plan(*base, starts);
    EXPECT_EQ(evaluated, 5 * slots);
    const std::string con = h.console();
    int lines = 0;
    for (std::size_t p = con.find("  Loop #"); p != std::string::npos; p = con.find("  Loop #", p + 1)) ++lines;
    EXPECT_EQ(lines, slots);
    EXPECT_NE(con.find("  Loop #   5\n  Loop #  15\n"), std::string::npos);
    EXPECT_NE(con.find("  Loop # 250\n"), std::string::npos);
    EXPECT_EQ(m.zr, 256);

    // Every changed input holds its stored base value again, and the saved
    // copies of the tables are cleared.
    EXPECT_EQ(firstDifference(m, *base), "");
    for (int i = 0; i < cap::N; ++i)
        for (int j = 0; j < cap::N; ++j) EXPECT_EQ(m.pcl00[i][j] + m.pcl11[i][j], 0) << i << " " << j;
}

TEST(Weights, BothColumnsAndTheirCombination) {
    Harness h;
    Model& m = *h.model;
    smallSystem(m);
    m.crossing = 2;
    m.ewopt = 2;
    m.priceS = 4;
    m.bwL[1][1][2] = 4.5;
    // One fat-covering class: fat covering has no threshold to shift.
    m.nclflS = 3;
    m.nclfcS = 1;
    const double joint[4] = {0, 0.3, 0.45, 0.25};
    for (int k = 1; k <= 2; ++k)
        for (int f = 1; f <= 3; ++f) m.pclfcS[k][f][1] = joint[f];
    // The cross-bred fleece weight is 0: its value cannot move.
    m.wsheR[2] = 0;
    // Cross-bred young males are sold for breeding, cross-bred young females
    // have no rearing gain of their own: the males' gain is the trait.
    m.psp[2][2][2] = 0.1;
    m.adgr[2][1][2] = 0.22;
    linearBase(h);
    runLoop(h);

    const auto near = [](double v, double want) { EXPECT_NEAR(v, want, 1e-5 * std::abs(want) + 1e-6) << want; };
    near(m.ev[1][1], 2.5);
    near(m.ev[1][2], 6);
    near(m.ev[1][0], 2.5 + 0.5 * 6);
    near(m.ev0[1][0], 2.5 + 0.5 * 6);
    near(m.evp[1][0], 2.5 + 0.5 * 6);
    near(m.ev[15][1], 9);
    near(m.ev[15][2], 5);
    near(m.ev[15][0], 9 + 0.5 * 5);
    // A trait value that does not move gives the weight 0.
    for (int t : {16, 35})
        for (int k = t == 16 ? 1 : 2; k <= 2; ++k) {
            EXPECT_EQ(m.ev[t][k], 0) << t;
            EXPECT_EQ(m.evdiff[t][k], -999) << t;
        }
    near(m.ev[6][2], 40);
    // A female gain just above the limit of 1e-06 is the trait in all five
    // states, and is restored, although its lowered value is below the limit.
    smallSystem(m);
    m.crossing = 2;
    m.ewopt = 1;
    m.psp[2][2][2] = 0.1;
    m.adgr[1][1][2] = 1.004e-06;
    m.adgr[2][1][2] = 0.22;
    linearBase(h);
    const auto base = std::make_unique<Model>(m);
    runLoop(h);
    EXPECT_EQ(firstDifference(m, *base), "");
    EXPECT_EQ(m.evdiff[1][0], 0);  // not formed for the combined column
    // Traits with only a pure-bred slot enter the combination unchanged.
    near(m.ev[21][0], m.ev[21][1]);
}

TEST(Weights, ThresholdShiftsWorkedByHand) {
    Harness h;
    Model& m = *h.model;
    smallSystem(m);
    m.priceS = 4;
    m.nclflS = 2;
    m.nclfcS = 2;
    m.pclfcS[1][1][1] = 0.1;
    m.pclfcS[1][1][2] = 0.3;
    m.pclfcS[1][2][1] = 0.4;
    m.pclfcS[1][2][2] = 0.2;
    linearModel(h.run);
    weights::start(h.run);

    // Carcass class of culled sheep (0.2, 0.5, 0.3): thresholds probit(0.2)
    // and probit(0.7) lowered by 0.1, then raised by 0.1.
    m.priceS = 2;
    m.zr = 111;
    weights::step(h.run);
    EXPECT_NEAR(m.pclS[1][1], 0.173193, 2e-6);
    EXPECT_NEAR(m.pclS[1][2], 0.491170, 2e-6);
    EXPECT_NEAR(m.pclS[1][3], 0.335637, 2e-6);
    EXPECT_NEAR(m.pclwLqm[1], -0.841621, 2e-6);
    EXPECT_NEAR(m.pclwLql[2], 0.424401, 2e-6);
    linearModel(h.run);
    weights::step(h.run);
    EXPECT_NEAR(m.pclS[1][1], 0.229158, 2e-6);
    EXPECT_NEAR(m.pclS[1][3], 0.266182, 2e-6);
    for (int i = 0; i < 3; ++i) {
        linearModel(h.run);
        weights::step(h.run);
    }
    // Restored exactly; the saved copy is cleared, the last shift's
    // cumulative frequencies stay.
    EXPECT_EQ(m.pclS[1][1], stored(Real(0.2)));
    EXPECT_EQ(m.pclS[1][2], stored(Real(0.5)));
    EXPECT_EQ(m.pcl0[1], 0);
    EXPECT_EQ(m.pt[2], stored(Real(0.7)));
    EXPECT_NEAR(m.pt[3], 1, 1e-7);
    EXPECT_NEAR(m.pclwLql[1], -0.841621 + 0.05, 2e-6);

    // Fleshiness within fat-covering class: the conditional distributions
    // (0.2, 0.8) and (0.6, 0.4) are shifted, the marginals 0.5 stay.
    linearModel(h.run);
    m.priceS = 4;
    m.zr = 121;
    weights::step(h.run);
    EXPECT_NEAR(m.pf0[1], 0.5, 1e-7);
    EXPECT_NEAR(m.pf0[2], 0.5, 1e-7);
    for (int c = 1; c <= 2; ++c) EXPECT_NEAR(m.pclfcS[1][1][c] + m.pclfcS[1][2][c], 0.5, 1e-6);
    // Phi(probit(0.2) - 0.1) = 0.173193 of the first fat-covering class.
    EXPECT_NEAR(m.pclfcS[1][1][1], 0.5 * 0.173193, 2e-6);
    for (int i = 0; i < 4; ++i) {
        linearModel(h.run);
        weights::step(h.run);
    }
    EXPECT_EQ(m.pclfcS[1][2][1], stored(Real(0.4)));
    for (int i = 1; i <= 15; ++i) {
        EXPECT_EQ(m.pt[i], 0);
        EXPECT_EQ(m.pf0[i], 0);
        EXPECT_EQ(m.pcl00[i][1], 0);
    }
}

TEST(Weights, RatesChangeInTheOrderOfHigherSurvivalFirst) {
    Harness h;
    Model& m = *h.model;
    smallSystem(m);
    linearModel(h.run);
    weights::start(h.run);
    m.zr = 181;  // conception rate of ewes: raised first
    weights::step(h.run);
    EXPECT_EQ(m.conrateE[1], stored(Real(Real(0.9) * 1.01)));
    EXPECT_EQ(m.conrateE[2], stored(Real(Real(0.85) * 1.01)));
    for (int i = 0; i < 4; ++i) {
        linearModel(h.run);
        weights::step(h.run);
    }
    m.zr = 221;  // death and culling of ewes: lowered first
    linearModel(h.run);
    const Real culled = m.pcullhE[3];
    weights::step(h.run);
    EXPECT_EQ(m.pdiedE[3], stored(Real(Real(0.04) * 0.99)));
    EXPECT_EQ(m.pcullhE[3], stored(Real(culled * 0.99)));
    EXPECT_EQ(m.qcl0[3], stored(culled));
    linearModel(h.run);
    weights::step(h.run);
    EXPECT_EQ(m.pcullhE[1], stored(Real(Real(0.20) * 1.01)));
}

// ---- the slots shared among threads ---------------------------------------

namespace {

int stopAt = 0;  // zr of the evaluation that stops the run (0: none)

// The linear model with a warning on the console in some evaluations and an
// error stop in one.
void linearModelWithStop(Run& run) {
    if (run.m.zr % 7 == 0) std::fprintf(run.con, "A warning in the evaluation at zr %d\n", run.m.zr);
    if (run.m.zr == stopAt) failCheck(run, "The evaluation at zr %d stops the run.\n", run.m.zr);
    linearModel(run);
}

// The loop over the linear model on the given number of threads; the
// console goes to the file `console`.
void sharedLoop(const std::string& console, int threads, int stop, Model& m) {
    smallSystem(m);
    m.crossing = 2;
    m.ewopt = 2;
    m.bwL[1][1][2] = 4.5;
    ::Run run(m);
    run.threads = threads;
    run.con = std::fopen(console.c_str(), "w");
    profitOffset = 0;
    linearModel(run);
    profitOffset = m.Tprof;
    linearModel(run);
    stopAt = stop;
    struct Closer {
        std::FILE* f;
        ~Closer() { std::fclose(f); }
    } closer{run.con};
    economicWeights(run, linearModelWithStop);
}

}  // namespace

TEST(Weights, ThreadsShareTheSlotsWithTheSameConsoleAndState) {
    testutil::TempDir dir;
    auto one = std::make_unique<Model>(), two = std::make_unique<Model>();
    sharedLoop((dir / "one").string(), 1, 0, *one);
    sharedLoop((dir / "two").string(), 2, 0, *two);
    EXPECT_NE(dir.read("one").find("A warning in the evaluation at zr 14\n  Loop #  15\n"), std::string::npos);
    EXPECT_EQ(dir.read("two"), dir.read("one"));
    EXPECT_EQ(firstDifference(*two, *one), "");
    EXPECT_EQ(std::memcmp(two->ev, one->ev, sizeof one->ev), 0);
    EXPECT_EQ(std::memcmp(two->evdiff, one->evdiff, sizeof one->evdiff), 0);
    EXPECT_EQ(std::memcmp(two->pt, one->pt, sizeof one->pt), 0);
}

// An error stop in an evaluation of the loop ends the run with the console
// of the evaluations before it, whichever thread met it: before and after
// the console line of its slot.
TEST(Weights, AnErrorStopInTheLoopEndsTheRunAsOnOneThread) {
    testutil::TempDir dir;
    for (int stop : {54, 55}) {
        for (int threads : {1, 2}) {
            const std::string file = (dir / ("console" + std::to_string(threads))).string();
            auto m = std::make_unique<Model>();
            EXPECT_THROW(sharedLoop(file, threads, stop, *m), RunStopped);
        }
        const std::string one = dir.read("console1");
        EXPECT_NE(one.find("\n\n\nError message:\nThe evaluation at zr " + std::to_string(stop) + " stops"),
                  std::string::npos)
            << one;
        EXPECT_NE(one.find("at zr 14\n"), std::string::npos) << one;
        EXPECT_EQ(one.find("at zr 56\n"), std::string::npos) << one;  // the evaluation after the stop
        EXPECT_EQ(dir.read("console2"), one);
    }
}

// ---- skip rules ------------------------------------------------------------

namespace {

struct Skip {
    const char* name;
    void (*set)(Model&);
    int slot;        // first zr of the slot
    bool evaluated;  // whether the slot is evaluated
};

// Both columns, every kind of progeny and the price systems with class
// tables: the system in which the fewest slots are skipped.
void everything(Model& m) {
    resetModel(m);
    m.crossing = 2;
    m.ewopt = 2;
    m.typew = 1;
    m.typeb = 1;
    m.lf[0] = m.lf[1] = m.lf[2] = 1;
    m.fatpb = m.fatcb = 1;
    m.pricewL = m.pricefL = m.priceS = 4;
    m.psp[1][2][2] = m.psp[2][2][2] = 0.1;
    for (int k = 1; k <= 2; ++k) m.l1skL[7][k] = m.l1skL[32][k] = 0.1;
}

class SkipRule : public testing::TestWithParam<Skip> {};

}  // namespace

TEST_P(SkipRule, DecidesWhetherTheSlotIsEvaluated) {
    const Skip& c = GetParam();
    auto m = std::make_unique<Model>();
    everything(*m);
    c.set(*m);
    int starts[weights::kMaxSlots];
    const int n = weights::plan(*m, starts);
    const bool found = std::find(starts, starts + n, c.slot) != starts + n;
    EXPECT_EQ(found, c.evaluated) << c.slot;
}

INSTANTIATE_TEST_SUITE_P(
    Weights, SkipRule,
    testing::Values(
        Skip{"AllColumnsOfBirthWeight", [](Model&) {}, 6, true},
        Skip{"NoArtificialRearing", [](Model&) {}, 21, false},
        Skip{"ArtificialRearing", [](Model& m) { m.typew = 2; }, 26, true},
        Skip{"NoCrossbredYoungStockSold", [](Model& m) { m.psp[1][2][2] = m.psp[2][2][2] = 0; }, 36, false},
        Skip{"CrossbredYoungMalesSold", [](Model& m) { m.psp[1][2][2] = 0; }, 36, true},
        Skip{"NoFattening", [](Model& m) { m.lf[0] = m.lf[1] = m.lf[2] = 0; }, 41, false},
        Skip{"FatteningOfCastratesAndMales", [](Model& m) { m.lf[1] = 0; }, 41, true},
        Skip{"NoPurebredFattening", [](Model& m) { m.fatpb = 0; }, 41, false},
        Skip{"NoCrossbredFattening", [](Model& m) { m.fatcb = 0; }, 76, false},
        Skip{"NoPurebredFatteningOwnColumnOnly", [](Model& m) { m.fatpb = 0; m.ewopt = 0; }, 41, true},
        Skip{"WeanedPricedByLiveWeight", [](Model& m) { m.pricewL = 2; }, 61, false},
        Skip{"WeanedPricedByCarcass", [](Model& m) { m.pricewL = 3; }, 66, true},
        Skip{"FattenedPricedByLiveWeight", [](Model& m) { m.pricefL = 2; }, 71, false},
        Skip{"CulledPricedByLiveWeight", [](Model& m) { m.priceS = 2; }, 81, false},
        Skip{"WeanedCarcassClasses", [](Model& m) { m.pricewL = 2; }, 91, true},
        Skip{"NoWeanedCarcassClasses", [](Model&) {}, 96, false},
        Skip{"FattenedCarcassClasses", [](Model& m) { m.pricefL = 2; }, 106, true},
        Skip{"CulledCarcassClasses", [](Model& m) { m.priceS = 2; }, 111, true},
        Skip{"CulledFleshiness", [](Model&) {}, 126, true},
        Skip{"NoCulledFleshiness", [](Model& m) { m.priceS = 3; }, 131, false},
        Skip{"LambFleshinessOfMilkedWeaned",
             [](Model& m) { m.pricefL = 3; }, 141, false},
        Skip{"LambFleshinessOfWeaned", [](Model& m) { m.pricefL = 3; m.typeb = 2; }, 156, true},
        Skip{"QualityClasses", [](Model&) {}, 166, true},
        Skip{"NoQualityClasses", [](Model& m) { m.pricewL = 3; }, 161, false},
        Skip{"NoPurebredLambsSoldAtWeaning", [](Model& m) { m.l1skL[7][1] = m.l1skL[32][1] = 0; }, 161, false},
        Skip{"NoCrossbredLambsSoldAtWeaning", [](Model& m) { m.l1skL[7][2] = m.l1skL[32][2] = 0; }, 166, false},
        Skip{"NoCrossbredYoungFemalesSold", [](Model& m) { m.psp[1][2][2] = 0; }, 176, false},
        Skip{"EweTraitsPurebredOnly", [](Model&) {}, 186, true},
        Skip{"SurvivalUntilWeaning", [](Model&) {}, 206, true},
        Skip{"NoSurvivalUntilWeaning", [](Model& m) { m.typew = 2; }, 201, false},
        Skip{"NoSurvivalInArtificialRearing", [](Model&) {}, 211, false},
        Skip{"MilkOfMilkedEwes", [](Model&) {}, 236, true},
        Skip{"NoMilkTraitsUnmilked", [](Model& m) { m.typeb = 2; }, 226, false},
        Skip{"NoSomaticCellsUnmilked", [](Model& m) { m.typeb = 3; }, 241, false},
        Skip{"CrossbredColumnOnly", [](Model& m) { m.ewopt = 1; }, 1, false},
        Skip{"CrossbredColumnOnlyHasIt", [](Model& m) { m.ewopt = 1; }, 251, true},
        Skip{"CrossbredColumnOnlyNoEweTraits", [](Model& m) { m.ewopt = 1; }, 221, false},
        Skip{"PurebredColumnOnly", [](Model& m) { m.ewopt = 0; }, 251, false}),
    [](const testing::TestParamInfo<Skip>& i) { return std::string(i.param.name); });

// ---- the example systems ---------------------------------------------------

namespace {

const char* const kExamples[] = {"dairy", "meat", "extensive", "large"};

// Runs an example to the end of its base evaluation in a temporary copy.
std::unique_ptr<Model> baseOf(const std::string& name) {
    auto m = std::make_unique<Model>();
    testutil::TempDir dir;
    testutil::copyExample(name, dir);
    testutil::InDir in(dir.path());
    dir.write(".stdin", "RESULTS.TXT\n");
    Run run(*m);
    run.con = std::fopen(".console", "w");
    std::FILE* input = std::fopen(".stdin", "r");
    runToBase(run, input);
    std::fclose(input);
    std::fclose(run.con);
    std::fclose(run.res);
    closeInput(run.texts);
    return m;
}

class ExampleWeights : public testing::TestWithParam<const char*> {};

}  // namespace

// Each slot starts from the base state and its fifth evaluation brings the
// state back to it bit for bit: this is what lets the slots run on copies
// of the base state, on several threads.
TEST_P(ExampleWeights, EverySlotRestoresTheBaseStateBitForBit) {
    const auto base = baseOf(GetParam());
    auto m = std::make_unique<Model>(*base);
    ::Run run(*m);
    testutil::TempDir dir;
    run.con = std::fopen((dir / "console").c_str(), "w");
    weights::start(run);
    int starts[weights::kMaxSlots];
    const int n = weights::plan(*base, starts);
    ASSERT_GT(n, 10);
    for (int i = 0; i < n; ++i) {
        m->zr = starts[i];
        for (int e = 0; e < 5; ++e) {
            weights::step(run);
            evaluateModel(run);
        }
        ASSERT_EQ(firstDifference(*m, *base), "") << "after the slot starting at " << starts[i];
    }
    std::fclose(run.con);
}

TEST_P(ExampleWeights, TwoThreadsGiveTheSameBytesAsOne) {
    const auto one = testutil::runExample(GetParam(), 1);
    const auto two = testutil::runExample(GetParam(), 2);
    EXPECT_EQ(two->status, 0);
    EXPECT_EQ(testutil::maskElapsed(two->console), testutil::maskElapsed(one->console));
    EXPECT_EQ(two->checks1, one->checks1);
    EXPECT_EQ(two->results, one->results);
    EXPECT_EQ(std::memcmp(one->model.get(), two->model.get(), sizeof(Model)), 0);
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleWeights, testing::ValuesIn(kExamples),
                         [](const testing::TestParamInfo<const char*>& i) { return std::string(i.param); });
