// Feed and water costs of the progeny: suckling and artificially reared
// lambs, young females and males reared for breeding (females through up to
// three matings), fattening lambs, and the progeny lost on the way.  The
// daily requirements of every state are summed into bins per feeding group
// and feeding season, each bin is turned into feed to be bought and its
// cost, and the cost of a state is finally scaled by its discount factor.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>

#include "context/run.h"
#include "feeding/day_terms.h"
#include "feeding/feeding.h"
#include "feeding/kept_runs.h"
#include "feeding/phases.h"
#include "model/model.h"

namespace {

const char* const kAnimals = "lambs and young stock";

// Lamb feeding groups (fattening variants use 6 to 20).
constexpr int kSuckling = 1;
constexpr int kArtificial = 2;
constexpr int kFlushing = 3;   // flushing and mating of young females
constexpr int kGrowing = 4;    // growing young stock and early pregnancy
constexpr int kLate = 5;       // late pregnancy

using CostTable = Real[cap::P][3];

// States fed as lambs: suckling until weaning, artificially reared after.
constexpr int kSucklingStates[] = {5, 30};
constexpr int kArtificialStates[] = {6, 31};

// Young breeding stock after weaning: young females (13 to 26) and young
// males (38 to 41), fed in groups 3 to 5.
bool youngStockState(int i) { return (i >= 13 && i <= 26) || (i >= 38 && i <= 41); }

// Young females pregnant after their 1st, 2nd and 3rd breeding season, sold
// or joining the ewe flock: their pregnancy is held by litter size.
constexpr int kPregnantStates[] = {15, 16, 19, 20, 23, 24};

// Fattening variants of one kind of surplus progeny (n: 0 castrates, 1
// females, 2 males): states first .. first + lf[n] - 1, fed in group
// state - shift.
struct FatteningKind {
    int n, first, shift;
};
constexpr FatteningKind kFatteningKinds[] = {{1, 8, 2}, {2, 33, 22}, {0, 43, 27}};

static_assert(kLate < cap::FLB && 31 < cap::PB && 24 < cap::PB,
              "the tables by litter size hold the lambs and the pregnant females");

// Quantities of one evaluation shared by all blocks of the phase.
struct Ctx {
    Run& run;
    Model& m;
    bool protein;  // costing method 1: protein requirements are formed
    int Y;         // length of the production cycle
    int E;         // first day after weaning or after artificial rearing
    int A[4];      // ages at the 1st to 3rd breeding season of young females, rounded
    int D;         // days after conception at which pregnant young females are sold, rounded
    double temp[cap::NFS];   // temperature factor 1 + 0.0091 (20 - T) of maintenance
    double ktb[cap::NFS];    // activity coefficient of lambs and young stock by season
    double ktfat[cap::NFS];  // ... of fattening lambs
    double ktar[cap::NFS];   // ... of artificially reared lambs (technology 1)
};

// How a category grows and which terms its day adds.
struct Growth {
    int n;              // sex class: 0 castrates, 1 females, 2 males
    double W0, g;       // weight at the start of the span, daily gain
    double woolA, woolB;  // wool protein per day: woolA g (c4 - c5 W + c6 W^2) + woolB
    const double* kt;   // activity coefficient by season
    int state;          // progeny category, for the message on a bad weight
};

// Wool protein per day of suckling and artificially reared lambs, and of
// weaned young stock.
constexpr double kWoolLambA = 0.1, kWoolLambB = 3.0;
constexpr double kWoolYoungA = 0.3846, kWoolYoungB = 11.54;

// Season vectors of one feeding group of a category.  During the day loop
// the wool-energy vector counts the days, and the other vectors hold the
// raw daily sums; finishing turns them into requirements.
struct Bins {
    Real* days;  // wool energy after finishing
    Real* neg;
    Real* nem;
    Real* pdim;
    Real* pdig;
    Real* pdiw;
    Real* wat;   // nullptr where the water is taken from another litter size
};

Bins stateBins(Model& m, int i, int j, int f) {
    return {m.newL[i][j][f], m.negL[i][j][f], m.nemL[i][j][f], m.pdimL[i][j][f],
            m.pdigL[i][j][f], m.pdiwL[i][j][f], m.watL[i][j][f]};
}

// Bins of lambs of litter size c.  The days are the same for every litter
// size, so the water of the state is taken from litter size 1 alone.
Bins litterBins(Model& m, int c, int i, int j, int f) {
    return {m.newbL[c][i][j][f], m.negbL[c][i][j][f], m.nembL[c][i][j][f], m.pdimbL[c][i][j][f],
            m.pdigbL[c][i][j][f], m.pdiwbL[c][i][j][f], c == 1 ? m.watL[i][j][f] : nullptr};
}

bool present(const Model& m, int i, int j) { return m.l1skL[i][j] > 0.000001; }


// Zeroes the rows from..to of an array's first dimension.
template <class A> void clearRows(A& a, int from, int to) {
    static_assert(std::is_trivially_copyable_v<std::remove_all_extents_t<A>>);
    std::memset(&a[from], 0, std::size_t(to - from + 1) * sizeof(a[0]));
}

template <class A> void clearAll(A& a) { clearRows(a, 0, int(std::extent_v<A>) - 1); }


Ration rationL(const Model& m, int f, int s) {
    return {m.nedL[f][s], m.pdidL[f][s], m.drymL[f][s], m.lossfL[f][s], m.prfL[f][s], &m.nedL[f][s], &m.pdidL[f][s]};
}

// A weight below 0 comes from a negative daily gain of young stock of the
// sex n; the place named is the record of the gains of that sex.
[[noreturn]] void weightNegative(Run& run, int state, int n) {
    failCheckAt(run, &run.m.adgr[n == 2 ? 2 : 1][1][1],
              "The live weight of progeny of category %d calculated for their feeding\n"
              "  is negative. Correct the weights and daily gains of lambs and young\n"
              "  stock in INPUTS03.TXT, INPUTS04.TXT and INPUTS05.TXT and restart the program.\n\n\n",
              state);
}

// The raw sums of one season of a bin, held while the days of a run of
// that season are added.
struct Sums {
    Real days, neg, nem, pdim, pdig, pdiw;

    Sums(const Bins& b, int s) : days(b.days[s]), neg(b.neg[s]), nem(b.nem[s]), pdim(b.pdim[s]), pdig(b.pdig[s]),
                                 pdiw(b.pdiw[s]) {}
    void store(const Bins& b, int s) const {
        b.days[s] = days;
        b.neg[s] = neg;
        b.nem[s] = nem;
        b.pdim[s] = pdim;
        b.pdig[s] = pdig;
        b.pdiw[s] = pdiw;
    }
};

// Adds r days (1, or the fraction of a last partial day) at day counter t
// of season s: the day count, and the raw sums of growth energy
// (c3 W + c2), maintenance energy (W^0.75 (1 + 0.0091 (20 - T)) + kt W),
// maintenance protein (W^0.75), growth protein (c4 - c5 W + c6 W^2) and the
// complete wool protein of the day.  w75 is W^0.75.
void addTerms(Ctx& x, const Growth& gr, Sums& b, int s, double t, double r, double w75) {
    const Model& m = x.m;
    const double W = gr.W0 + gr.g * t;
    if (W < 0) weightNegative(x.run, gr.state, gr.n);
    const int n = gr.n;
    b.days += r;
    b.neg += r * (m.c3[n] * W + m.c2[n]);
    b.nem += r * (w75 * x.temp[s] + gr.kt[s] * W);
    if (x.protein) {
        const double q = m.c4[n] - m.c5[n] * W + m.c6[n] * W * W;
        b.pdim += r * w75;
        b.pdig += r * q;
        b.pdiw += r * (gr.woolA * gr.g * q + gr.woolB);
    }
}

// Pregnancy terms of a row: the mating p whose conception the days follow,
// the state, breed group and feeding group of the litter-specific bins, and
// whether the row is late pregnancy, whose days are counted for the release
// of the flushing reserve.
struct Preg {
    int p, i, j, f;
    bool reserve;
};

// ---- day runs kept ---------------------------------------------------------

// Everything a day run of lambs and young stock reads besides the calendar:
// the growth line, the first and last day, the day counter, the sex class
// and its constants, the temperature and activity by season, the wool
// terms, the costing method, and for a pregnancy the mating, its
// conception day, the lambing date and the number of litter sizes.
struct DayKey {
    double W0, g, woolA, woolB;
    double temp[cap::NFS], kt[cap::NFS];
    double c[5];  // c2 .. c6 of the sex class
    int first, last, t, n, nfs, protein;
    int preg, p, reserve, conception, lambing, age, clt;  // 0 without pregnancy
};

struct DaySums {
    double sums[6][cap::NFS];  // days, neg, nem, pdim, pdig, pdiw by season
};

// A run of pregnant young females adds the pregnancy of every litter size
// and, in late pregnancy, counts its days by season.
struct PregSums : DaySums {
    double ne[cap::LT][cap::NFS], pdi[cap::LT][cap::NFS];
    int nd[cap::NFS];
};

using PlainRuns = KeptRuns<DayKey, DaySums, 256>;
using PregnantRuns = KeptRuns<DayKey, PregSums, 32>;

Real* sumsOf(const Bins& b, int k) {
    Real* const v[6] = {b.days, b.neg, b.nem, b.pdim, b.pdig, b.pdiw};
    return v[k];
}

// Whether every bin the run adds to holds 0 (its bits, not only its value).
bool emptyBins(const Model& m, const Bins& b, const Preg* preg) {
    for (int s = 0; s < cap::NFS; ++s) {
        for (int k = 0; k < 6; ++k)
            if (!zeroBits(sumsOf(b, k)[s])) return false;
        if (preg)
            for (int c = 1; c <= m.clt; ++c)
                if (!zeroBits(m.nepbL[c][preg->i][preg->j][preg->f][s]) ||
                    !zeroBits(m.pdipbL[c][preg->i][preg->j][preg->f][s]))
                    return false;
    }
    return true;
}

// The key of a day run, with every byte set, so that keys compare as bytes.
DayKey dayKey(const Ctx& x, const Growth& gr, int first, int last, int t, const Preg* preg) {
    const Model& m = x.m;
    DayKey k = zeroedKey<DayKey>();
    k.W0 = gr.W0;
    k.g = gr.g;
    k.woolA = gr.woolA;
    k.woolB = gr.woolB;
    for (int s = 0; s < cap::NFS; ++s) {
        k.temp[s] = x.temp[s];
        k.kt[s] = gr.kt[s];
    }
    const int n = gr.n;
    const double c[5] = {m.c2[n], m.c3[n], m.c4[n], m.c5[n], m.c6[n]};
    std::memcpy(k.c, c, sizeof c);
    k.first = first;
    k.last = last;
    k.t = t;
    k.n = n;
    k.nfs = m.nfs;
    k.protein = x.protein;
    if (preg) {
        k.preg = 1;
        k.p = preg->p;
        k.reserve = preg->reserve;
        k.conception = m.datconFP[preg->p];
        k.lambing = m.datlamb;
        k.age = x.A[preg->p];
        k.clt = m.clt;
    }
    return k;
}

void takeSums(const Bins& b, const DaySums& r) {
    for (int k = 0; k < 6; ++k)
        for (int s = 0; s < cap::NFS; ++s) sumsOf(b, k)[s] = r.sums[k][s];
}

void keepSums(const Bins& b, DaySums& r) {
    for (int k = 0; k < 6; ++k)
        for (int s = 0; s < cap::NFS; ++s) r.sums[k][s] = sumsOf(b, k)[s];
}

void takePregnancy(Model& m, const Preg& preg, const PregSums& r) {
    for (int s = 0; s < cap::NFS; ++s)
        for (int c = 1; c <= m.clt; ++c) {
            m.nepbL[c][preg.i][preg.j][preg.f][s] = r.ne[c][s];
            m.pdipbL[c][preg.i][preg.j][preg.f][s] = r.pdi[c][s];
        }
    // The days of late pregnancy are counted from zero in the seasons 1 ..
    // nfs.
    if (preg.reserve)
        for (int s = 1; s <= m.nfs; ++s) m.nd[s] = r.nd[s];
}

void keepPregnancy(const Model& m, const Preg& preg, PregSums& r) {
    for (int s = 0; s < cap::NFS; ++s) {
        for (int c = 1; c <= m.clt; ++c) {
            r.ne[c][s] = m.nepbL[c][preg.i][preg.j][preg.f][s];
            r.pdi[c][s] = m.pdipbL[c][preg.i][preg.j][preg.f][s];
        }
        r.nd[s] = m.nd[s];
    }
}

// Adds the days first..last; the day counter t is increased before each
// day, so that it continues from an earlier row of the same span.
void feedDaysComputed(Ctx& x, const Growth& gr, const Bins& b, int first, int last, int& t, const Preg* preg) {
    Model& m = x.m;
    const double* w75 = metabolicWeights(gr.W0, gr.g, t + (last - first + 1));
    for (int d = first; d <= last;) {
        const int s = seasonOf(m, d);
        const int end = seasonRunEnd(m, d, last);
        Sums sums(b, s);
        // The pregnancy of every litter size, from the conception on.
        Real ne[cap::LT], pdi[cap::LT];
        if (preg)
            for (int c = 1; c <= m.clt; ++c) {
                ne[c] = m.nepbL[c][preg->i][preg->j][preg->f][s];
                pdi[c] = m.pdipbL[c][preg->i][preg->j][preg->f][s];
            }
        for (; d <= end; ++d) {
            ++t;
            addTerms(x, gr, sums, s, t, 1.0, w75 ? w75[t] : std::pow(gr.W0 + gr.g * t, 0.75));
            if (!preg) continue;
            if (preg->reserve) ++m.nd[s];
            const int p = preg->p;
            if (d < m.datconFP[p]) continue;
            // Gestation day, 1 on the conception day.
            const int u = t + m.datlamb + x.A[p] - m.datconFP[p];
            const double neDay = pregnancyNEDay(u);
            const double pdiDay = x.protein ? pregnancyPDIDay(u) : 0.0;
            for (int c = 1; c <= m.clt; ++c) {
                ne[c] += neDay;
                if (x.protein) pdi[c] += pdiDay;
            }
        }
        sums.store(b, s);
        if (preg)
            for (int c = 1; c <= m.clt; ++c) {
                m.nepbL[c][preg->i][preg->j][preg->f][s] = ne[c];
                m.pdipbL[c][preg->i][preg->j][preg->f][s] = pdi[c];
            }
    }
}

// The same, from a kept run where there is one.
void feedDays(Ctx& x, const Growth& gr, const Bins& b, int first, int last, int& t, const Preg* preg = nullptr) {
    Model& m = x.m;
    if (preg && preg->reserve)
        for (int s = 1; s <= m.nfs; ++s) m.nd[s] = 0;
    if (last < first) return;
    if (!keptRunsOn.load(std::memory_order_relaxed) || !emptyBins(m, b, preg)) {
        feedDaysComputed(x, gr, b, first, last, t, preg);
        return;
    }
    const DayKey key = dayKey(x, gr, first, last, t, preg);
    if (!preg) {
        PlainRuns& runs = PlainRuns::of(m);
        if (const DaySums* r = runs.find(key)) {
            takeSums(b, *r);
            t += last - first + 1;
            return;
        }
        feedDaysComputed(x, gr, b, first, last, t, preg);
        keepSums(b, runs.keep());
        return;
    }
    PregnantRuns& runs = PregnantRuns::of(m);
    if (const PregSums* r = runs.find(key)) {
        takeSums(b, *r);
        takePregnancy(m, *preg, *r);
        t += last - first + 1;
        return;
    }
    feedDaysComputed(x, gr, b, first, last, t, preg);
    PregSums& kept = runs.keep();
    keepSums(b, kept);
    keepPregnancy(m, *preg, kept);
}

// Turns the raw sums of group f into requirements: water and wool energy
// from the days, growth energy x g, maintenance energy x 0.277 c1,
// maintenance protein x 2.1875, growth protein x g / e and wool protein / ew
// (e and ew: efficiency of protein use, 1 for suckling lambs).
void finish(Ctx& x, const Bins& b, int f, int n, double g, double wool, double e, double ew) {
    const Model& m = x.m;
    for (int s = 1; s <= m.nfs; ++s) {
        const double days = b.days[s];
        if (b.wat) b.wat[s] = days * m.dwatL[f][s];
        b.days[s] = days * 23.7 * wool;
        b.neg[s] = b.neg[s] * g;
        b.nem[s] = b.nem[s] * 0.277 * m.c1[n];
        if (x.protein) {
            b.pdim[s] = b.pdim[s] * 2.1875;
            b.pdig[s] = b.pdig[s] * g / e;
            b.pdiw[s] = b.pdiw[s] / ew;
        }
    }
}

// Feed and water of group f of state i into the state's costs.  With
// positiveOnly, a bin whose energy or protein total is not positive buys no
// feed for it.
void costGroup(Ctx& x, int i, int j, int f, bool positiveOnly) {
    Model& m = x.m;
    for (int s = 1; s <= m.nfs; ++s) {
        m.costfL[i][j] += costBin(x.run, rationL(m, f, s), m.neL[i][j][f][s], m.pdiL[i][j][f][s], m.feL[i][j][f][s],
                                  m.fpdiL[i][j][f][s], m.ffL[i][j][f][s], kAnimals, f, s, positiveOnly);
        m.costwatL[i][j] += m.watL[i][j][f][s] * m.prwat;
    }
}

// ---- suckling and artificially reared lambs ------------------------------

// Milk suckled per lamb of litter size c in each season, and its energy and
// protein.
void milkSupply(Ctx& x) {
    Model& m = x.m;
    const double* pw;
    const double* ex;
    const bool kept = lactationTerms(m.bwo, m.cwo, m.datwL - m.datlamb, pw, ex);
    for (int d = m.datlamb; d <= m.datwL - 1; ++d) {
        const int u = d - m.datlamb + 1;
        m.basemilkws[seasonOf(m, d)] +=
            kept ? pw[u] * ex[u] : std::pow(double(u), double(m.bwo)) * std::exp(-m.cwo * double(u));
    }
    for (int s = 1; s <= m.nfs; ++s) m.basemilkws[s] = m.awo * m.basemilkws[s];
    for (int c = 0; c <= m.clt; ++c)
        for (int k = 1; k <= m.LL; ++k)
            for (int s = 1; s <= m.nfs; ++s) {
                m.milkwsrel[c][k][s] = m.basemilkws[s] * m.ktlsl[c] * m.ktlp[k];
                m.milkws[c][k][s] = m.milkwsrel[c][k][s] * m.PsuckE[c][k];
            }
    for (int c = 1; c <= m.clt; ++c)
        for (int s = 1; s <= m.nfs; ++s) {
            double sum = 0;
            for (int k = 1; k <= m.LL; ++k) sum += m.milkwsrel[c][k][s] * m.l3E[k];
            m.milkwL[c][s] = sum * (1 - m.pmilkwm) / (c * m.Nlamb);
        }
    // Milked breeds: the milk of ewes without a lamb of their own goes to
    // lambs of multiple litters when none of the milk is sold meanwhile.
    // Without such lambs there is nobody to take it.
    if (m.typeb == 1) {
        double multiples = 0;
        for (int c = 2; c <= m.clt; ++c) multiples += m.na24hL[0][c];
        const double lambs = multiples * m.Nlamb;
        for (int s = 1; s <= m.nfs; ++s) {
            double sum = 0;
            for (int k = 1; k <= m.LL; ++k) sum += m.milkws[0][k][s];
            m.tmilkw0[s] = sum / m.Nlamb;
            if (m.pmilkwm < 0.000001 && lambs > 0) m.milkw0L[s] = m.tmilkw0[s] / lambs;
        }
    }
    for (int c = 1; c <= m.clt; ++c)
        for (int s = 1; s <= m.nfs; ++s) {
            const double milk = (c == 1 ? 0.0 : double(m.milkw0L[s])) + m.milkwL[c][s];
            m.nelwL[c][s] = milk * m.nemilk;
            if (x.protein) m.pdilwL[c][s] = milk * m.pdimilk;
        }
}

double litterShare(const Model& m, int i, int j) {
    double S = 0;
    for (int c = 1; c <= m.clt; ++c) S += m.l1L[i][j][c];
    return S;
}

// Suckling lambs of state i (5 females, 30 males) and breed group j, fed
// from lambing to weaning in group 1; the milk of the dam is subtracted.
void sucklingLambs(Ctx& x, int i, int j) {
    Model& m = x.m;
    const int n = i == 5 ? 1 : 2;
    for (int c = 1; c <= m.clt; ++c) {
        const Growth gr{n, m.bwL[n][c][j], m.adgbwL[n][c][j], kWoolLambA, kWoolLambB, x.ktb, i};
        const Bins b = litterBins(m, c, i, j, kSuckling);
        int t = 0;
        feedDays(x, gr, b, m.datlamb, m.datwL - 1, t);
        finish(x, b, kSuckling, n, gr.g, m.dwoolptwL, 1.0, 1.0);
    }
    const double S = litterShare(m, i, j);
    for (int s = 1; s <= m.nfs; ++s) {
        double ne = 0, pdi = 0;
        for (int c = 1; c <= m.clt; ++c) {
            m.nebL[c][i][j][kSuckling][s] = m.newbL[c][i][j][kSuckling][s] + m.negbL[c][i][j][kSuckling][s] +
                                            m.nembL[c][i][j][kSuckling][s] - m.nelwL[c][s];
            if (m.nebL[c][i][j][kSuckling][s] > 0) ne += m.l1L[i][j][c] * m.nebL[c][i][j][kSuckling][s];
            if (!x.protein) continue;
            m.pdibL[c][i][j][kSuckling][s] = m.pdiwbL[c][i][j][kSuckling][s] + m.pdigbL[c][i][j][kSuckling][s] +
                                             m.pdimbL[c][i][j][kSuckling][s] - m.pdilwL[c][s];
            if (m.pdibL[c][i][j][kSuckling][s] > 0) pdi += m.l1L[i][j][c] * m.pdibL[c][i][j][kSuckling][s];
        }
        m.neL[i][j][kSuckling][s] = ne / S;
        m.pdiL[i][j][kSuckling][s] = pdi / (S * 0.65);
    }
    costGroup(x, i, j, kSuckling, true);
}

// Artificially reared lambs of state i (6 females, 31 males) and breed
// group j, fed from weaning to the end of artificial rearing in group 2.
void artificialLambs(Ctx& x, int i, int j) {
    Model& m = x.m;
    const int n = i == 6 ? 1 : 2;
    for (int c = 1; c <= m.clt; ++c) {
        const Growth gr{n, m.wwL[n][c][j], m.adgwarL[n][c][j], kWoolLambA, kWoolLambB, x.ktar, i};
        const Bins b = litterBins(m, c, i, j, kArtificial);
        int t = 0;
        feedDays(x, gr, b, m.datwL, m.datlamb + m.agearL - 1, t);
        finish(x, b, kArtificial, n, gr.g, m.dwoolptarL, 0.8, 0.8);
    }
    const double S = litterShare(m, i, j);
    for (int s = 1; s <= m.nfs; ++s) {
        double ne = 0, pdi = 0;
        for (int c = 1; c <= m.clt; ++c) {
            m.nebL[c][i][j][kArtificial][s] = m.newbL[c][i][j][kArtificial][s] + m.negbL[c][i][j][kArtificial][s] +
                                              m.nembL[c][i][j][kArtificial][s];
            ne += m.l1L[i][j][c] * m.nebL[c][i][j][kArtificial][s];
            if (!x.protein) continue;
            m.pdibL[c][i][j][kArtificial][s] = m.pdiwbL[c][i][j][kArtificial][s] +
                                               m.pdigbL[c][i][j][kArtificial][s] + m.pdimbL[c][i][j][kArtificial][s];
            pdi += m.l1L[i][j][c] * m.pdibL[c][i][j][kArtificial][s];
        }
        m.neL[i][j][kArtificial][s] = ne / S;
        m.pdiL[i][j][kArtificial][s] = pdi / S;
    }
    costGroup(x, i, j, kArtificial, false);
}

// Lambs dead before weaning (or before the end of artificial rearing) cost
// half of what a surviving lamb of either sex costs until then.
double deadLamb(const Model& m, const CostTable& k, int j, bool artificial) {
    const double female = k[5][j] + (artificial ? double(k[6][j]) : 0.0);
    const double male = k[30][j] + (artificial ? double(k[31][j]) : 0.0);
    return (female * m.sexrbf + male * m.sexrbm) / 2;
}

void deadLambs(Model& m, bool artificial) {
    for (int j = 1; j <= m.crossing; ++j) {
        m.costfL[2][j] = deadLamb(m, m.costfL, j, artificial);
        m.costwatL[2][j] = deadLamb(m, m.costwatL, j, artificial);
    }
}

// ---- young stock after weaning -------------------------------------------

double startWeight(const Model& m, int n, int j) { return m.typew == 1 ? m.avww[n][j] : m.avwar[n][j]; }

// Runs the days first..last of group f of young-stock state i.
void row(Ctx& x, const Growth& gr, int i, int j, int f, int first, int last, int& t, int preg = 0,
         bool reserve = false) {
    const Preg p{preg, i, j, f, reserve};
    feedDays(x, gr, stateBins(x.m, i, j, f), first, last, t, preg ? &p : nullptr);
}

// Finishes groups 3 to 5 of young-stock state i: flushing of the days in
// group 3, and, for pregnant states, the pregnancy of every litter size
// scaled by the birth weight of a first litter, less the body reserve of
// flushing released in the late-pregnancy days counted in nd.
void finishYoung(Ctx& x, int i, int j, int n, double g, bool pregnant, bool reserve) {
    Model& m = x.m;
    for (int s = 1; s <= m.nfs; ++s) {
        const double days = m.newL[i][j][kFlushing][s];
        m.nefL[i][j][kFlushing][s] = days * 23.85 * m.adgfL;
        if (x.protein) m.pdifL[i][j][kFlushing][s] = days * 140 * m.adgfL;
    }
    for (int f = kFlushing; f <= kLate; ++f) finish(x, stateBins(m, i, j, f), f, n, g, m.dwoolptrL[n][j], 0.59, 1.0);
    if (!pregnant) return;
    for (int c = 1; c <= m.clt; ++c)
        for (int f = kGrowing; f <= kLate; ++f)
            for (int s = 1; s <= m.nfs; ++s) {
                m.nepbL[c][i][j][f][s] = m.nepbL[c][i][j][f][s] * (m.twL[c][1] * 0.083773);
                if (x.protein) m.pdipbL[c][i][j][f][s] = m.pdipbL[c][i][j][f][s] * (m.twL[c][1] * 0.043889);
            }
    // The reserve is spread over the dshpE days of late pregnancy; without
    // a late-pregnancy period there is no day to release it on.
    if (!reserve || m.dshpE <= 0) return;
    for (int c = 1; c <= m.clt; ++c)
        for (int s = 1; s <= m.nfs; ++s) {
            m.nepbL[c][i][j][kLate][s] -= m.nd[s] * 20.034 * m.wgfL / m.dshpE;
            if (x.protein) m.pdipbL[c][i][j][kLate][s] -= (m.nd[s] * 119) * m.wgfL / m.dshpE;
        }
}

// Young females reared for breeding, from weaning to the first breeding
// season (state 13 sold before it, state 14 reaching it).
void youngFemalesBeforeMating(Ctx& x, int j) {
    Model& m = x.m;
    const double g = m.adgr[1][1][j];
    const Growth gr{1, startWeight(m, 1, j), g, kWoolYoungA, kWoolYoungB, x.ktb, 13};
    if (present(m, 13, j)) {
        int t = 0;
        row(x, gr, 13, j, kGrowing, x.E, m.datlamb + roundedDays(m.agetP[13][j]) - 1, t);
        finishYoung(x, 13, j, 1, g, false, false);
    }
    if (!present(m, 14, j)) return;
    // The females heavy enough to be mated are flushed before the season;
    // the others stay in group 4.  Group 4 mixes both sets.
    Growth g14 = gr;
    g14.state = 14;
    const Bins mated{m.newL14m[j], m.negL14m[j], m.nemL14m[j], m.pdimL14m[j],
                     m.pdigL14m[j], m.pdiwL14m[j], m.watL14m[j]};
    const Bins notMated{m.newL14nm[j], m.negL14nm[j], m.nemL14nm[j], m.pdimL14nm[j],
                        m.pdigL14nm[j], m.pdiwL14nm[j], m.watL14nm[j]};
    int t = 0;
    feedDays(x, g14, mated, x.E, m.datbbs - m.flushbbL - 1, t);
    row(x, g14, 14, j, kFlushing, m.datbbs - m.flushbbL, m.datlamb + x.A[1] - 1, t);
    t = 0;
    feedDays(x, g14, notMated, x.E, m.datlamb + x.A[1] - 1, t);
    finishYoung(x, 14, j, 1, g, false, false);
    finish(x, mated, kGrowing, 1, g, m.dwoolptrL[1][j], 0.59, 1.0);
    finish(x, notMated, kGrowing, 1, g, m.dwoolptrL[1][j], 0.59, 1.0);
    const double pm = m.pmat[1][1][j];
    for (int s = 1; s <= m.nfs; ++s) {
        for (Real* v : {m.nefL[14][j][kFlushing], m.pdifL[14][j][kFlushing], m.watL[14][j][kFlushing],
                        m.newL[14][j][kFlushing], m.negL[14][j][kFlushing], m.nemL[14][j][kFlushing],
                        m.pdigL[14][j][kFlushing], m.pdimL[14][j][kFlushing], m.pdiwL[14][j][kFlushing]})
            v[s] = v[s] * pm;
        const Bins b = stateBins(m, 14, j, kGrowing);
        b.neg[s] = mated.neg[s] * pm + notMated.neg[s] * (1 - pm);
        b.nem[s] = mated.nem[s] * pm + notMated.nem[s] * (1 - pm);
        b.days[s] = mated.days[s] * pm + notMated.days[s] * (1 - pm);
        b.wat[s] = mated.wat[s] * pm + notMated.wat[s] * (1 - pm);
        b.pdig[s] = mated.pdig[s] * pm + notMated.pdig[s] * (1 - pm);
        b.pdim[s] = mated.pdim[s] * pm + notMated.pdim[s] * (1 - pm);
        b.pdiw[s] = mated.pdiw[s] * pm + notMated.pdiw[s] * (1 - pm);
    }
}

// Young females from their p-th breeding season on (p = 1, 2, 3): flushed
// after the start of the season, then pregnant and sold (state 11 + 4p),
// pregnant and joining the ewe flock (12 + 4p), not pregnant and culled
// (13 + 4p), or, after the 1st and 2nd season, not pregnant and kept to the
// next season (14 + 4p).  Dates based on lambing and on the breeding season
// move by one production cycle per mating.
void youngFemalesMated(Ctx& x, int j, int p) {
    Model& m = x.m;
    const int Y = x.Y, D = x.D;
    const int start = m.datlamb + x.A[p];         // first day after the start of the season
    const int afterFlush = start + m.flushabL;
    const int lambing = p * Y + m.datlamb;
    const int late = lambing - m.dshpE;            // first day of late pregnancy
    const bool soldLate = D >= m.lpreg - m.dshpE;  // pregnant females sold in late pregnancy
    const double g = p == 1 ? double(m.adgr[1][2][j]) : p == 2 ? double(m.adgr[1][3][j]) : 0.0;
    const double W0 = p == 1 ? double(m.wmat[1][j]) : p == 2 ? double(m.wrL[1][2][j]) : double(m.wrL[1][3][j]);
    const int base = 11 + 4 * p;
    for (int i = base; i <= base + (p < 3 ? 3 : 2); ++i) {
        if (!present(m, i, j)) continue;
        Growth gr{1, W0, g, kWoolYoungA, kWoolYoungB, x.ktb, i};
        int t = 0;
        row(x, gr, i, j, kFlushing, start, afterFlush - 1, t);
        const int kind = i - base;
        bool pregnant = false, reserve = false;
        if (kind == 0) {  // pregnant, sold
            pregnant = true;
            row(x, gr, i, j, kGrowing, afterFlush, soldLate ? late - 1 : lambing - m.lpreg + D - 1, t, p);
            if (soldLate) {
                reserve = true;
                if (p < 3)
                    row(x, gr, i, j, kLate, late, lambing - m.lpreg + D - 1, t, p, true);
                else
                    row(x, gr, i, j, kLate, start + m.lpreg - m.dshpE, start + D - 1, t, p, true);
            }
        } else if (kind == 1) {  // pregnant, joining the ewe flock
            pregnant = reserve = true;
            row(x, gr, i, j, kGrowing, afterFlush, late - 1, t, p);
            row(x, gr, i, j, kLate, late, lambing - 1, t, p, true);
        } else if (kind == 2) {  // not pregnant, culled
            row(x, gr, i, j, kGrowing, afterFlush, wholeDays((p - 1) * Y + m.datebs + m.dnpregcFP - 1), t);
        } else {  // not pregnant, kept to the next season
            if (p == 1) gr.W0 = m.wnmat[1][j];
            const int next = p * Y + m.datbbs;
            row(x, gr, i, j, kGrowing, afterFlush, next - m.flushbbL - 1, t);
            row(x, gr, i, j, kFlushing, next - m.flushbbL, next - 1, t);
        }
        finishYoung(x, i, j, 1, g, pregnant, reserve);
    }
}

// A young-stock state fed in group 4 over one span.
void growingState(Ctx& x, int i, int j, int n, double W0, double g, int first, int last) {
    if (!present(x.m, i, j)) return;
    const Growth gr{n, W0, g, kWoolYoungA, kWoolYoungB, x.ktb, i};
    int t = 0;
    row(x, gr, i, j, kGrowing, first, last, t);
    finishYoung(x, i, j, n, g, false, false);
}

void youngStock(Ctx& x, int j) {
    Model& m = x.m;
    youngFemalesBeforeMating(x, j);
    for (int p = 1; p <= 3; ++p) youngFemalesMated(x, j, p);
    // Breeding female lambs sold between the first and second season.
    growingState(x, 26, j, 1, m.wnmat[1][j], m.adgr[1][2][j], m.datlamb + x.A[1],
                 m.datlamb + roundedDays(m.agetP[26][j]) - 1);
    // Young males: sold before the first season (38), at the first season
    // (39), sold before the second (40), entering the ram flock (41).
    const double Ws2 = startWeight(m, 2, j);
    growingState(x, 38, j, 2, Ws2, m.adgr[2][1][j], x.E, m.datlamb + roundedDays(m.agetP[38][j]) - 1);
    growingState(x, 39, j, 2, Ws2, m.adgr[2][1][j], x.E, m.datbbs - 1);
    growingState(x, 40, j, 2, m.wnmat[2][j], m.adgr[2][2][j], m.datbbs, m.datlamb + roundedDays(m.agetP[40][j]) - 1);
    growingState(x, 41, j, 2, m.wnmat[2][j], m.adgr[2][2][j], m.datbbs, x.Y + m.datbbs - 1);
    // Pregnancy averaged over the litter sizes of a first lambing.
    for (int i : {14, 15, 16, 19, 20, 23, 24}) {
        if (!present(m, i, j)) continue;
        for (int f = kGrowing; f <= kLate; ++f)
            for (int s = 1; s <= m.nfs; ++s) {
                double ne = 0, pdi = 0;
                for (int c = 1; c <= m.clt; ++c) {
                    ne += m.nepbL[c][i][j][f][s] * m.Pltype[c][1];
                    pdi += m.pdipbL[c][i][j][f][s] * m.Pltype[c][1];
                }
                m.nepL[i][j][f][s] = ne;
                if (x.protein) m.pdipL[i][j][f][s] = pdi;
            }
    }
}

// Totals of group f of state i, then its feed and water.
void costYoung(Ctx& x, int i, int j, int f) {
    Model& m = x.m;
    for (int s = 1; s <= m.nfs; ++s) {
        m.neL[i][j][f][s] = m.negL[i][j][f][s] + m.nemL[i][j][f][s] + m.newL[i][j][f][s] + m.nepL[i][j][f][s] +
                            m.nefL[i][j][f][s];
        if (x.protein)
            m.pdiL[i][j][f][s] = m.pdigL[i][j][f][s] + m.pdimL[i][j][f][s] + m.pdiwL[i][j][f][s] +
                                 m.pdipL[i][j][f][s] + m.pdifL[i][j][f][s];
    }
    costGroup(x, i, j, f, true);
}

// ---- fattening lambs -----------------------------------------------------

// Fattening variants of one kind: states first .. first + count - 1, fed
// in group state - shift from weaning to the age at which they leave, the
// fraction of a last day included.  Castrates grow from the weight of
// males and grow the wool of males.
void fattening(Ctx& x, int n, int first, int count, int shift) {
    Model& m = x.m;
    const int sex = n == 0 ? 2 : n;
    for (int i = first; i < first + count; ++i) {
        const int f = i - shift;
        for (int j = 1; j <= m.crossing; ++j) {
            if (!present(m, i, j)) continue;
            const Growth gr{n, startWeight(m, sex, j), m.adgP[i][j], kWoolYoungA, kWoolYoungB, x.ktfat, i};
            const Bins b = stateBins(m, i, j, f);
            const double age = m.agetP[i][j];
            const int full = wholeDays(age);
            const double r = age - full;
            const int last = m.datlamb + full - 1;
            int t = 0;
            feedDays(x, gr, b, x.E, last, t);
            // A stay that ends before weaning has no day to feed.
            if (r > 0 && last >= x.E - 1) {
                const int s = seasonOf(m, std::max(last, x.E));
                Sums sums(b, s);
                addTerms(x, gr, sums, s, t + r, r, std::pow(gr.W0 + gr.g * (t + r), 0.75));
                sums.store(b, s);
            }
            finish(x, b, f, n, gr.g, m.dwoolptrL[sex][j], 0.59, 1.0);
            costYoung(x, i, j, f);
        }
    }
}

// ---- progeny lost on the way ---------------------------------------------

// Cost of a loss category: the lost animals cost half of what the animals
// of the states they leave cost, averaged over the animals lost.
void lossCost(Model& m, int target, int j, double feed, double water) {
    if (!present(m, target, j)) return;
    m.costfL[target][j] = feed / (2 * m.l1skL[target][j]);
    m.costwatL[target][j] = water / (2 * m.l1skL[target][j]);
}

double youngMalesLost(const CostTable& k, const Real (&died)[3][5][3], const Real (&spDied)[3][5][3],
                      int j) {
    return (died[2][1][j] + spDied[2][1][j]) * k[39][j] + (died[2][2][j] + spDied[2][2][j]) * k[41][j];
}

double youngFemalesDied(const Model& m, const CostTable& k, int j) {
    return (m.nrdied[1][1][j] + m.nspdied[1][1][j]) * k[14][j] + (m.nrdied[1][2][j] + m.nspdied[1][2][j]) * k[18][j] +
           (m.nrdied[1][3][j] + m.nspdied[1][3][j]) * k[22][j] +
           (k[16][j] * m.pherd[1][1] + k[20][j] * m.pherd[1][2] + k[24][j] * m.pherd[1][3]) * m.nrdiedmlFP[j] /
               m.Pherd[1];
}

double fatteningDied(const Model& m, const CostTable& k, int n, int first, int j) {
    double sum = 0;
    for (int s = 1; s <= m.lf[n]; ++s) sum += k[first + s - 1][j] * m.ndiedfat[n][s][j];
    return sum;
}

void breedingLosses(Model& m) {
    for (int j = 1; j <= m.crossing; ++j) {
        lossCost(m, 29, j, youngMalesLost(m.costfL, m.nrdied, m.nspdied, j),
                 youngMalesLost(m.costwatL, m.nrdied, m.nspdied, j));
        lossCost(m, 42, j, youngMalesLost(m.costfL, m.nrcull, m.nspcull, j),
                 youngMalesLost(m.costwatL, m.nrcull, m.nspcull, j));
        lossCost(m, 4, j, youngFemalesDied(m, m.costfL, j), youngFemalesDied(m, m.costwatL, j));
    }
}

void fatteningLosses(Model& m) {
    for (int j = 1; j <= m.crossing; ++j) {
        lossCost(m, 3, j, fatteningDied(m, m.costfL, 1, 8, j), fatteningDied(m, m.costwatL, 1, 8, j));
        lossCost(m, 28, j, fatteningDied(m, m.costfL, 2, 33, j), fatteningDied(m, m.costwatL, 2, 33, j));
        lossCost(m, 48, j, fatteningDied(m, m.costfL, 0, 43, j), fatteningDied(m, m.costwatL, 0, 43, j));
    }
}

// ---- phase ---------------------------------------------------------------

// Zeroes the feeding groups g.first .. g.last (all seasons) of row [i][j]
// of a table indexed [state][breed group][feeding group][season].
template <class A> void clearGroups(A& a, int i, int j, FeedingGroups g) {
    // A handful of seasons per group: plain stores, not a call of memset.
    for (int f = g.first; f <= g.last; ++f)
        for (Real& v : a[i][j][f]) v = 0;
}

// Every state of the phase is computed only when it has animals, so only
// the rows of the states that had animals in the evaluation before hold
// values, and only in the state's feeding groups: those are cleared, and
// the states with animals now are noted for the next evaluation.
void clearResults(Model& m) {
    for (int i = 1; i < cap::P; ++i)
        for (int j = 1; j < 3; ++j) {
            if (!m.lambRows[i][j]) continue;
            m.lambRows[i][j] = 0;
            const FeedingGroups g = progenyGroups(i);
            if (g.first > g.last) continue;
            for (auto* a : {&m.nemL, &m.negL, &m.newL, &m.pdimL, &m.pdigL, &m.pdiwL, &m.watL, &m.nefL, &m.pdifL,
                            &m.nepL, &m.pdipL, &m.neL, &m.pdiL, &m.feL, &m.fpdiL, &m.ffL})
                clearGroups(*a, i, j, g);
            // The litter-specific bins of the lambs until weaning or the end
            // of artificial rearing, and of the pregnant young females.
            const bool lamb = g.last <= kArtificial;
            const bool pregnant = std::find(std::begin(kPregnantStates), std::end(kPregnantStates), i) !=
                                  std::end(kPregnantStates);
            for (int c = 1; c < cap::LT; ++c) {
                if (lamb)
                    for (auto* a : {&m.nembL, &m.negbL, &m.newbL, &m.pdimbL, &m.pdigbL, &m.pdiwbL, &m.nebL, &m.pdibL})
                        clearGroups((*a)[c], i, j, g);
                if (pregnant)
                    for (auto* a : {&m.nepbL, &m.pdipbL}) clearGroups((*a)[c], i, j, g);
            }
        }
    for (int i = 1; i <= m.PP; ++i)
        for (int j = 1; j <= m.crossing; ++j) m.lambRows[i][j] = present(m, i, j);
    clearAll(m.costfL);
    clearAll(m.costwatL);
    for (auto* a : {&m.nemL14m, &m.negL14m, &m.newL14m, &m.pdimL14m, &m.pdigL14m, &m.pdiwL14m, &m.watL14m,
                    &m.nemL14nm, &m.negL14nm, &m.newL14nm, &m.pdimL14nm, &m.pdigL14nm, &m.pdiwL14nm, &m.watL14nm})
        clearAll(*a);
    clearAll(m.basemilkws);
    clearAll(m.milkwsrel);
    clearAll(m.milkws);
    clearAll(m.milkwL);
    clearAll(m.tmilkw0);
    clearAll(m.milkw0L);
    clearAll(m.nelwL);
    clearAll(m.pdilwL);
}

void pregnancyCheck(Ctx& x) {
    const Model& m = x.m;
    // Pregnancy is added up only for the pregnant young females; the rows
    // of every other state are zero.
    for (int c = 1; c <= m.clt; ++c)
        for (int i : kPregnantStates)
            for (int j = 1; j <= m.crossing; ++j)
                for (int f = 1; f < cap::FLB; ++f)
                    for (int s = 1; s <= m.nfs; ++s)
                        if (m.nepbL[c][i][j][f][s] < -0.00001 || m.pdipbL[c][i][j][f][s] < -0.00001)
                            failCheck(x.run,
                                      "There is at least one negative value for net energy or protein\n"
                                      "  requirement for pregnancy for female breeding lambs.\n"
                                      "  Decrease the weight gain during flushing for female breeding lambs\n"
                                      "  in INPUTS04.TXT and restart the program.\n\n\n");
}

}  // namespace

void keepDayRuns(bool on) { keptRunsOn = on; }

FeedingGroups progenyGroups(int i) {
    for (int k : kSucklingStates)
        if (i == k) return {kSuckling, kSuckling};
    for (int k : kArtificialStates)
        if (i == k) return {kArtificial, kArtificial};
    if (youngStockState(i)) return {kFlushing, kLate};
    for (const FatteningKind& k : kFatteningKinds)
        if (i >= k.first && i < k.first + cap::LF - 1) return {i - k.shift, i - k.shift};
    return {1, 0};
}

namespace {

void feedCostsLambsIn(Run& run) {
    Model& m = run.m;
    clearResults(m);
    m.adgfL = m.flushabL + m.flushbbL > 0 ? m.wgfL / (m.flushabL + m.flushbbL) : 0.0;

    Ctx x{run, m, m.feedcost == 1, m.lengthrc, m.typew == 1 ? m.datwL : m.datlamb + m.agearL, {}, 0, {}, {}, {}, {}};
    for (int p = 1; p <= 3; ++p) x.A[p] = roundedDays(m.ager[1][p]);
    x.D = roundedDays(m.dpregsFP);
    for (int s = 1; s <= m.nfs; ++s) {
        x.temp[s] = 1 + 0.0091 * (20 - m.tp[s]);
        x.ktb[s] = m.ktL[m.techbL[s]];
        x.ktfat[s] = m.ktL[m.techfatL[s]];
        x.ktar[s] = m.ktL[1];
    }

    milkSupply(x);
    for (int i : kSucklingStates)
        for (int j = 1; j <= m.crossing; ++j)
            if (present(m, i, j)) sucklingLambs(x, i, j);
    deadLambs(m, false);
    if (m.typew == 2) {
        for (int i : kArtificialStates)
            for (int j = 1; j <= m.crossing; ++j)
                if (present(m, i, j)) artificialLambs(x, i, j);
        deadLambs(m, true);
    }

    for (int j = 1; j <= m.crossing; ++j) youngStock(x, j);
    for (int i = 13; i <= 41; ++i) {
        if (!youngStockState(i)) continue;
        for (int j = 1; j <= m.crossing; ++j)
            if (present(m, i, j))
                for (int f = kFlushing; f <= kLate; ++f) costYoung(x, i, j, f);
    }
    breedingLosses(m);

    for (const FatteningKind& k : kFatteningKinds) fattening(x, k.n, k.first, m.lf[k.n], k.shift);
    fatteningLosses(m);

    pregnancyCheck(x);
    for (int j = 1; j <= m.crossing; ++j)
        for (int i = 1; i <= m.PP; ++i) {
            m.costfL[i][j] = m.costfL[i][j] * m.qaveL[i][j];
            m.costwatL[i][j] = m.costwatL[i][j] * m.qaveL[i][j];
        }
}

}  // namespace

void feedCostsLambs(Run& run) {
    try {
        feedCostsLambsIn(run);
    } catch (const DaysOutOfRange& e) {
        stopForDays(run, e);
    }
}
