#include "economics/weights.h"

#include <cmath>
#include <cstdio>

#include "context/run.h"
#include "model/model.h"
#include "stats/normal.h"

namespace weights {

namespace {

// How a trait is changed and where its value comes from.
enum class Change {
    Direct,     // X is the trait value itself
    Level,      // X is changed, but the trait values are model results (awo)
    RatesUp,    // rates times 1.01, 0.99, 1.005, 0.995; the trait value is a model result
    RatesDown,  // rates times 0.99, 1.01, 0.995, 1.005 (longer survival first)
    Vector,     // thresholds of one class distribution shifted
    Rows,       // thresholds of every row of a table shifted
    Flesh,      // fleshiness classes shifted within each fat-covering class
    Fat,        // fat-covering classes shifted within each fleshiness class
};

// One row of the trait table: the trait number (itrait; the first of a
// pair), the rows of ev that receive the weights of the trait value and of
// a second trait measured in the same evaluations (0 = none), the first zr
// of the pure-bred and of the cross-bred slot (0 = no cross-bred slot).
struct Trait {
    int num, t, t2, col1, col2;
    Change change;
};

constexpr Trait kTraits[] = {
    {1, 1, 0, 1, 6, Change::Direct},         // birth weight
    {2, 3, 2, 11, 16, Change::Direct},       // gain until weaning; weaning weight
    {4, 5, 4, 21, 26, Change::Direct},       // gain in artificial rearing; weight at its end
    {6, 6, 0, 31, 36, Change::Direct},       // gain of young breeding animals
    {7, 7, 0, 41, 46, Change::Direct},       // gain in fattening
    {8, 8, 0, 51, 56, Change::Direct},       // mature weight
    {9, 9, 0, 61, 66, Change::Direct},       // dressing % of lambs sold at weaning
    {10, 10, 0, 71, 76, Change::Direct},     // dressing % of fattened lambs
    {11, 11, 0, 81, 86, Change::Direct},     // dressing % of ewes; of crossing rams
    {12, 12, 0, 91, 96, Change::Vector},     // carcass class of lambs sold at weaning
    {13, 13, 0, 101, 106, Change::Vector},   // carcass class of fattened lambs
    {14, 14, 0, 111, 116, Change::Vector},   // carcass class of culled sheep
    {15, 15, 0, 121, 126, Change::Flesh},    // fleshiness of culled sheep
    {16, 16, 0, 131, 136, Change::Fat},      // fat covering of culled sheep
    {17, 17, 0, 141, 146, Change::Flesh},    // fleshiness of lambs
    {18, 18, 0, 151, 156, Change::Fat},      // fat covering of lambs
    {19, 19, 0, 161, 166, Change::Rows},     // quality class of lambs sold at weaning
    {20, 20, 0, 171, 176, Change::Direct},   // conception rate of young females
    {21, 21, 0, 181, 0, Change::RatesUp},    // conception rate of ewes
    {22, 22, 0, 186, 0, Change::Rows},       // litter size
    {23, 23, 0, 191, 196, Change::RatesDown},  // survival over 24 hours
    {24, 24, 0, 201, 206, Change::RatesDown},  // survival until weaning
    {25, 25, 0, 211, 216, Change::RatesDown},  // survival in artificial rearing
    {26, 26, 27, 221, 0, Change::RatesDown},   // productive life in cycles; in years
    {28, 28, 29, 226, 0, Change::Level},     // standard lactation; daily milk yield
    {30, 30, 31, 231, 0, Change::Direct},    // fat content; fat yield
    {32, 32, 33, 236, 0, Change::Direct},    // protein content; protein yield
    {34, 34, 0, 241, 0, Change::Direct},     // somatic cell score
    {35, 35, 0, 246, 251, Change::Direct},   // fleece weight
};
constexpr int kTraitCount = int(sizeof kTraits / sizeof kTraits[0]);

// Change factors of the four changed evaluations (states A to D).
constexpr double kUp[4] = {1.01, 0.99, 1.005, 0.995};
constexpr double kDown[4] = {0.99, 1.01, 0.995, 1.005};
// Threshold shifts on the standard normal scale: lower thresholds put
// animals into higher classes, so A and C raise the trait.
constexpr double kShift[4] = {-0.1, 0.1, -0.05, 0.05};

// The trait table row of the slot starting at s, and its column.
const Trait& slotOf(int s, int& k) {
    for (const Trait& tr : kTraits) {
        if (tr.col1 == s) {
            k = 1;
            return tr;
        }
        if (tr.col2 == s) {
            k = 2;
            return tr;
        }
    }
    k = 0;
    return kTraits[0];  // not reached: s is always a slot start
}

int nextTraitStart(const Trait& tr) {
    const int i = int(&tr - kTraits);
    return i + 1 < kTraitCount ? kTraits[i + 1].col1 : kEnd;
}

int fattening(const Model& m) { return m.lf[0] + m.lf[1] + m.lf[2]; }

// Skip rule of a whole trait, tested at the start of its pure-bred slot.
bool traitSkipped(const Model& m, int num) {
    switch (num) {
    case 4: return m.typew == 1;
    case 7: return fattening(m) == 0;
    case 9: return m.pricewL <= 2;
    case 10: return fattening(m) == 0 || m.pricefL <= 2;
    case 11: return m.priceS <= 2;
    case 12: return m.pricewL != 2;
    case 13: return m.pricefL != 2;
    case 14: return m.priceS != 2;
    case 15:
    case 16: return m.priceS != 4;
    case 17:
    case 18: return !(m.pricefL == 4 || (m.pricewL == 4 && m.typeb != 1));
    case 19: return m.pricewL != 4;
    case 24: return m.typew == 2;
    case 25: return m.typew == 1;
    case 34: return m.typeb != 1;
    default: return false;
    }
}

// Skip rule of one column of a trait.
bool columnSkipped(const Model& m, int num, int k) {
    switch (num) {
    case 6: return k == 2 && m.psp[1][2][2] + m.psp[2][2][2] < 1e-06;
    case 7:
    case 10: return m.ewopt == 2 && (k == 1 ? m.fatpb : m.fatcb) == 0;
    case 19: return m.l1skL[7][k] + m.l1skL[32][k] < 1e-06;
    case 20: return k == 2 && m.psp[1][2][2] < 1e-06;
    case 28:
    case 30:
    case 32: return k == 1 && m.typeb != 1;
    default: return false;
    }
}

// From the slot start zr on, applies the skip rules in their order and
// returns the start of the first slot that is evaluated, or kEnd.  itrait
// is set at the pure-bred start of every trait that is reached.
int firstEvaluated(const Model& m, int zr, int& itrait) {
    while (zr < kEnd) {
        int k;
        const Trait& tr = slotOf(zr, k);
        if (k == 1) {
            itrait = tr.num;
            if (traitSkipped(m, tr.num)) {
                zr = nextTraitStart(tr);
                continue;
            }
            if (m.ewopt == 1 || columnSkipped(m, tr.num, 1)) {
                zr += 5;
                continue;
            }
            return zr;
        }
        if (m.ewopt == 0) {
            zr = nextTraitStart(tr);
            continue;
        }
        if (columnSkipped(m, tr.num, 2)) {
            zr += 5;
            continue;
        }
        return zr;
    }
    return kEnd;
}

// The input changed by a direct trait or by the lactation level.  For the
// cross-bred gain of young breeding animals the female gain is the trait
// where it exists, otherwise the male gain (chosen in the first state of the
// slot, see step).
Real& input(Model& m, int num, int k) {
    switch (num) {
    case 1: return m.bwL[1][1][k];
    case 2: return m.adgbwL[1][1][k];
    case 4: return m.adgwarL[1][1][k];
    case 6: return k == 2 && m.maleGainSlot ? m.adgr[2][1][2] : m.adgr[1][1][k];
    case 7: return m.adgP[k == 1 ? m.icatpb : m.icatcb][k];
    case 8: return k == 1 ? m.mwE[1] : m.mwE2;
    case 9: return m.dreswL[k];
    case 10: return k == 1 ? m.dresfL[m.ispb][m.ilpb][1] : m.dresfL[m.iscb][m.ilcb][2];
    case 11: return k == 1 ? m.dresE : m.dresR[2];
    case 20: return m.conrateFP[1][k];
    case 28: return m.awo;
    case 30: return m.fat;
    case 32: return m.prot;
    case 34: return m.mSCS;
    default: return m.wsheR[k];  // 35
    }
}

// The trait value that the model computes, for the traits whose value is a
// model result.
double modelValue(const Model& m, int num, int k) {
    switch (num) {
    case 12: return m.avclwL[k];
    case 13: return m.avclfL[k];
    case 14: return m.avclS[k];
    case 15: return m.avfleshS[k];
    case 16: return m.avfcS[k];
    case 17: return m.avfleshL[k];
    case 18: return m.avfcL[k];
    case 19: return m.avcqwL[k];
    case 21: return m.avconrateE;
    case 22: return m.avlitE;
    case 23: return m.avsur24hL[k];
    case 24: return m.avsurwL[k];
    case 25: return m.avsurarL[k];
    case 26: return m.avlifelE;
    default: return m.tmilkst;  // 28
    }
}

// The second trait measured in the same evaluations.
double secondValue(const Model& m, int num, int k) {
    switch (num) {
    case 2: return m.wwL[1][1][k];
    case 4: return m.warL[1][1][k];
    case 26: return m.avlifeyE;
    case 28: return m.avmilkd;
    case 30: return m.fatymst;
    default: return m.protymst;  // 32
    }
}

bool valueIsInput(const Trait& tr) { return tr.change == Change::Direct; }

// A vector of rates or class frequencies inside the model state: element i
// (from 1) is at p[i * stride].
struct Vec {
    Real* p;
    int stride, n;
    Real& operator[](int i) const { return p[i * stride]; }
};

// The vectors that a rate or class-distribution trait changes, each with
// the place where its base values are kept: the rates in pcl0 (and a second
// vector in qcl0), one class distribution in pcl0, the rows of a table in
// pcl00 (for weight class w the quality classes of lambs sold at weaning, as
// pcl00[w][q]; for cycle c the litter-size classes, as pcl00[lt][c]).
struct Changed {
    Vec target[cap::N], saved[cap::N];
    int n = 0;
    void add(const Vec& t, Real* keep, int keepStride) {
        target[n] = t;
        saved[n] = {keep, keepStride, t.n};
        ++n;
    }
};

Changed changedVectors(Model& m, int num, int k) {
    Changed c;
    switch (num) {
    case 12: c.add({&m.pclwL[k][0], 1, m.nclwL}, m.pcl0, 1); break;
    case 13: c.add({&m.pclfL[k][0], 1, m.nclfL}, m.pcl0, 1); break;
    case 14: c.add({&m.pclS[k][0], 1, m.nclS}, m.pcl0, 1); break;
    case 19:
        for (int w = 1; w <= m.nclcwwL; ++w) c.add({&m.pclcqwL[w][0][k], 3, m.nclcqwL}, &m.pcl00[w][0], 1);
        break;
    case 21: c.add({&m.conrateE[0], 1, m.LL - 1}, m.pcl0, 1); break;
    case 22:
        for (int cy = 1; cy <= m.LL; ++cy) c.add({&m.Pltype[0][cy], cap::L, m.clt}, &m.pcl00[0][cy], cap::N);
        break;
    case 23: c.add({&m.pdiedbL[0][k], 3, m.clt}, m.pcl0, 1); break;
    case 24: c.add({&m.pdiedwL[0][k], 3, m.clt}, m.pcl0, 1); break;
    case 25:
        c.add({&m.pdiedwL[0][k], 3, m.clt}, m.pcl0, 1);
        c.add({&m.pdiedarL[0][k], 3, m.clt}, m.qcl0, 1);
        break;
    default:  // 26
        c.add({&m.pdiedE[0], 1, m.LL}, m.pcl0, 1);
        c.add({&m.pcullhE[0], 1, m.LL}, m.qcl0, 1);
        break;
    }
    return c;
}

// A two-way table of joint class frequencies [fleshiness][fat covering].
struct Table {
    Real (*p)[8];
    int nfl, nfc;
};

// The joint tables shifted by traits 15 to 18: the first is saved in pcl00
// with its marginals in pf0, the second in pcl11 with pf1.
int jointTables(Model& m, int num, int k, Table* t) {
    if (num == 15 || num == 16) {
        t[0] = {m.pclfcS[k], m.nclflS, m.nclfcS};
        return 1;
    }
    int n = 0;
    if (m.pricefL == 4) t[n++] = {m.pclfcfL[k], m.nclflfL, m.nclfcfL};
    if (m.pricewL == 4) t[n++] = {m.pclfcwL[k], m.nclflwL, m.nclfcwL};
    return n;
}

// Threshold shift of the distribution p[1..n] by d: the cumulative
// frequencies give thresholds on the standard normal scale, which are moved
// by d; the new class frequencies are left in pf[1..n].  A distribution of
// one class has no threshold and is left unchanged (returns false).
bool shift(Model& m, const double* p, int n, double d) {
    if (n < 2) return false;
    m.pt[1] = p[1];
    for (int i = 2; i <= n; ++i) m.pt[i] = m.pt[i - 1] + p[i];
    for (int i = 1; i <= n - 1; ++i) {
        m.pclwLqm[i] = probit(m.pt[i]);
        m.pclwLql[i] = m.pclwLqm[i] + d;
    }
    m.pf[1] = normdis(m.pclwLql[1]);
    for (int i = 2; i <= n - 1; ++i) m.pf[i] = normdis(m.pclwLql[i]) - normdis(m.pclwLql[i - 1]);
    m.pf[n] = 1 - normdis(m.pclwLql[n - 1]);
    return true;
}

// Shifts the saved distribution base[1..n] by d and writes the new
// frequencies into v.
void shiftInto(Model& m, const Vec& base, const Vec& v, double d) {
    double p[cap::N];
    for (int i = 1; i <= v.n; ++i) p[i] = base[i];
    if (!shift(m, p, v.n, d)) return;
    for (int i = 1; i <= v.n; ++i) v[i] = m.pf[i];
}

// Conditional shift within a joint table from its saved copy: for a
// fleshiness trait the fleshiness classes within each fat-covering class,
// for a fat-covering trait the reverse.  The marginal frequencies of the
// conditioning classes (pf0 or pf1) are kept; a conditioning class without
// animals is left unchanged.
void shiftJoint(Model& m, const Table& t, const Real (*saved)[cap::N], Real* marginal, bool flesh, double d) {
    const int outer = flesh ? t.nfc : t.nfl;
    const int inner = flesh ? t.nfl : t.nfc;
    for (int o = 1; o <= outer; ++o) {
        double sum = 0;
        for (int i = 1; i <= inner; ++i) sum += flesh ? saved[i][o] : saved[o][i];
        marginal[o] = sum;
        if (!(marginal[o] > 0)) continue;
        double p[cap::N];
        for (int i = 1; i <= inner; ++i) p[i] = (flesh ? saved[i][o] : saved[o][i]) / marginal[o];
        if (!shift(m, p, inner, d)) continue;
        for (int i = 1; i <= inner; ++i) (flesh ? t.p[i][o] : t.p[o][i]) = m.pf[i] * marginal[o];
    }
}

void saveTable(const Table& t, Real (*saved)[cap::N]) {
    for (int fl = 1; fl <= t.nfl; ++fl)
        for (int fc = 1; fc <= t.nfc; ++fc) saved[fl][fc] = t.p[fl][fc];
}

void restoreTable(const Table& t, const Real (*saved)[cap::N]) {
    for (int fl = 1; fl <= t.nfl; ++fl)
        for (int fc = 1; fc <= t.nfc; ++fc) t.p[fl][fc] = saved[fl][fc];
}

bool jointShift(const Trait& tr) { return tr.change == Change::Flesh || tr.change == Change::Fat; }

// Saves the base values of the changed inputs (state A).
void save(Model& m, const Trait& tr, int k) {
    if (tr.change == Change::Direct || tr.change == Change::Level) return;
    if (jointShift(tr)) {
        Table t[2];
        const int n = jointTables(m, tr.num, k, t);
        if (n >= 1) saveTable(t[0], m.pcl00);
        if (n == 2) saveTable(t[1], m.pcl11);
        return;
    }
    const Changed c = changedVectors(m, tr.num, k);
    for (int r = 0; r < c.n; ++r)
        for (int i = 1; i <= c.target[r].n; ++i) c.saved[r][i] = c.target[r][i];
}

// Sets the changed inputs for the evaluation after state st (0 = A .. 3 = D).
void change(Model& m, const Trait& tr, int k, int st) {
    switch (tr.change) {
    case Change::Direct:
        if (st == 0) m.tvh = m.tvm * 1.01;
        if (st == 1) m.tvl = m.tvm * 0.99;
        if (st == 2) {
            m.tvh = m.tvm * 1.005;
            m.tvl = m.tvm * 0.995;
        }
        input(m, tr.num, k) = st == 0 || st == 2 ? m.tvh : m.tvl;
        break;
    case Change::Level: input(m, tr.num, k) = m.tvm * kUp[st]; break;
    case Change::RatesUp:
    case Change::RatesDown: {
        const double f = tr.change == Change::RatesUp ? kUp[st] : kDown[st];
        const Changed c = changedVectors(m, tr.num, k);
        for (int r = 0; r < c.n; ++r)
            for (int i = 1; i <= c.target[r].n; ++i) c.target[r][i] = c.saved[r][i] * f;
        break;
    }
    case Change::Vector:
    case Change::Rows: {
        const Changed c = changedVectors(m, tr.num, k);
        for (int r = 0; r < c.n; ++r) shiftInto(m, c.saved[r], c.target[r], kShift[st]);
        break;
    }
    case Change::Flesh:
    case Change::Fat: {
        Table t[2];
        const int n = jointTables(m, tr.num, k, t);
        const bool flesh = tr.change == Change::Flesh;
        if (n >= 1) shiftJoint(m, t[0], m.pcl00, m.pf0, flesh, kShift[st]);
        if (n == 2) shiftJoint(m, t[1], m.pcl11, m.pf1, flesh, kShift[st]);
        break;
    }
    }
}

// Gives every changed input its stored base value back (state E) and
// clears the scratch arrays that the trait used.  A single class
// distribution (traits 12 to 14) clears only its saved copy; the cumulative
// frequencies, thresholds and new frequencies of its last shift stay.
void restore(Model& m, const Trait& tr, int k) {
    if (tr.change == Change::Direct || tr.change == Change::Level) {
        input(m, tr.num, k) = m.tvm;
        return;
    }
    if (jointShift(tr)) {
        Table t[2];
        const int n = jointTables(m, tr.num, k, t);
        if (n >= 1) restoreTable(t[0], m.pcl00);
        if (n == 2) restoreTable(t[1], m.pcl11);
    } else {
        const Changed c = changedVectors(m, tr.num, k);
        for (int r = 0; r < c.n; ++r)
            for (int i = 1; i <= c.target[r].n; ++i) {
                c.target[r][i] = c.saved[r][i];
                c.saved[r][i] = 0;
            }
    }
    if (tr.change == Change::Rows || jointShift(tr))
        for (int i = 1; i <= 15; ++i) {
            m.pt[i] = m.pf[i] = m.pf0[i] = m.pf1[i] = m.pclwLqm[i] = m.pclwLql[i] = 0;
            for (int j = 1; j <= 15; ++j) m.pcl00[i][j] = m.pcl11[i][j] = 0;
        }
}

// Difference quotient of the profit; a trait value that did not move gives
// the weight 0.  Survival traits are percentages: their weight is per
// percentage point.
double quotient(const Model& m, const Trait& tr, double high, double low) {
    const double dv = high - low;
    if (dv == 0) return 0;
    const double scale = tr.t >= 23 && tr.t <= 25 ? 100 : 1;
    return (m.Tprofh - m.Tprofl) * scale / dv;
}

void weigh(Model& m, const Trait& tr, int k, Real (*w)[3]) {
    w[tr.t][k] = quotient(m, tr, m.tvh, m.tvl);
    if (tr.t2) w[tr.t2][k] = quotient(m, tr, m.tv2h, m.tv2l);
}

// Reads the trait values of the evaluation just finished into tv?h or tv?l.
void measure(Model& m, const Trait& tr, int k, bool high) {
    if (!valueIsInput(tr)) (high ? m.tvh : m.tvl) = modelValue(m, tr.num, k);
    if (tr.t2) (high ? m.tv2h : m.tv2l) = secondValue(m, tr.num, k);
}

// evp in the units of the results file, evdiff, and the combined column.
void finish(Model& m) {
    for (int k = 1; k <= m.crossing; ++k)
        for (int t = 1; t <= 35; ++t) {
            const double ev = m.ev[t][k];
            m.evdiff[t][k] = std::fabs(ev) > 1e-06 ? (ev - m.ev0[t][k]) * 100 / ev : -999.0;
            m.evp[t][k] = ev / reportDivisor(t);
        }
    if (m.ewopt == 2)
        for (int t = 1; t <= 35; ++t) {
            m.ev[t][0] = m.ev[t][1] + 0.5 * m.ev[t][2];
            m.ev0[t][0] = m.ev0[t][1] + 0.5 * m.ev0[t][2];
            m.evp[t][0] = m.evp[t][1] + 0.5 * m.evp[t][2];
        }
}

}  // namespace

void start(Run& run) {
    Model& m = run.m;
    std::fputs("Calculating economic weights (This will take some time)\n", run.con);
    for (int t = 0; t < cap::NT; ++t)
        for (int k = 0; k < 3; ++k) m.ev[t][k] = m.ev0[t][k] = m.evp[t][k] = m.evdiff[t][k] = 0;
    m.Tprofm = m.Tprof;
    m.itrait = 1;
}

bool step(Run& run, bool record) {
    Model& m = run.m;
    if ((m.zr - 1) % 5 == 0) {
        m.zr = firstEvaluated(m, m.zr, m.itrait);
        if (m.zr == kEnd) {
            finish(m);
            return false;
        }
    }
    const int st = (m.zr - 1) % 5;
    int k;
    const Trait& tr = slotOf(m.zr - st, k);
    switch (st) {
    case 0:
        // The cross-bred rearing gain changed is that of the males when the
        // females have none.  The choice is made here, on the base value,
        // for all five states: made anew on a female gain just above the
        // limit, a lowered gain could fall below it and the restore would go
        // to the males' gain.
        m.maleGainSlot = tr.num == 6 && k == 2 && !(m.adgr[1][1][2] > 1e-06);
        m.Tprofm = m.Tprof;
        m.tvm = valueIsInput(tr) || tr.change == Change::Level ? double(input(m, tr.num, k)) : modelValue(m, tr.num, k);
        if (tr.t2) m.tv2m = secondValue(m, tr.num, k);
        save(m, tr, k);
        change(m, tr, k, 0);
        break;
    case 1:
        m.Tprofh = m.Tprof;
        measure(m, tr, k, true);
        change(m, tr, k, 1);
        break;
    case 2:
        m.Tprofl = m.Tprof;
        measure(m, tr, k, false);
        if (record) weigh(m, tr, k, m.ev0);
        change(m, tr, k, 2);
        break;
    case 3:
        m.Tprofh = m.Tprof;
        measure(m, tr, k, true);
        change(m, tr, k, 3);
        break;
    default:
        m.Tprofl = m.Tprof;
        measure(m, tr, k, false);
        if (record) weigh(m, tr, k, m.ev);
        restore(m, tr, k);
        m.tvm = m.tvh = m.tvl = m.tv2m = m.tv2h = m.tv2l = 0;
        m.Tprofm = m.Tprofh = m.Tprofl = 0;
        break;
    }
    ++m.zr;
    if (st == 3) printLoopLine(run.con, m.zr);
    return true;
}

int plan(const Model& m, int* starts) {
    int n = 0, itrait = 0;
    for (int zr = firstEvaluated(m, 1, itrait); zr != kEnd; zr = firstEvaluated(m, zr + 5, itrait)) starts[n++] = zr;
    return n;
}

double reportDivisor(int t) {
    if (t == 3 || t == 5 || t == 6 || t == 7) return 1000;
    if ((t >= 12 && t <= 25) || t == 30 || t == 32 || t == 34) return 100;
    if (t == 29) return 10;
    return 1;
}

bool evaluated(const Model& m, int t, int k) {
    int starts[kMaxSlots];
    const int n = plan(m, starts);
    for (int i = 0; i < n; ++i) {
        int col;
        const Trait& tr = slotOf(starts[i], col);
        if (col == k && (tr.t == t || tr.t2 == t)) return true;
    }
    return false;
}

bool inSystem(const Model& m, int t) {
    switch (t) {
    case 2:
    case 3: return m.typew != 2;
    case 4:
    case 5: return m.typew != 1;
    case 7: return m.fatpb + m.fatcb > 0;
    case 9: return m.pricewL > 2;
    case 10: return m.pricefL > 2;
    case 11: return m.priceS > 2;
    case 12: return m.pricewL == 2;
    case 13: return m.pricefL == 2;
    case 14: return m.priceS == 2;
    case 15:
    case 16: return m.priceS == 4;
    case 17:
    case 18: return m.pricefL == 4 || m.pricewL == 4;
    case 19: return m.pricewL == 4;
    case 24: return m.typew == 1;
    case 25: return m.typew == 2;
    default: return t >= 28 && t <= 34 ? m.typeb == 1 : t >= 1 && t <= 35;
    }
}

void printLoopLine(std::FILE* con, int zr) { std::fprintf(con, "  Loop #%4d\n", zr); }

int traitAt(int s) {
    int k;
    return slotOf(s, k).num;
}

void copySlotWeights(const Model& from, Model& to, int s) {
    int k;
    const Trait& tr = slotOf(s, k);
    for (int t : {tr.t, tr.t2})
        if (t) {
            to.ev[t][k] = from.ev[t][k];
            to.ev0[t][k] = from.ev0[t][k];
        }
}

}  // namespace weights
