// Feed and water costs of the breeding rams and of the ewes.  The daily
// requirements of every state are summed into bins per feeding group and
// feeding season, each bin is turned into feed to be bought and its cost,
// and the cost of a state is scaled by its discount factor.
#include <cmath>
#include <cstring>

#include "context/run.h"
#include "feeding/day_terms.h"
#include "feeding/feeding.h"
#include "feeding/kept_runs.h"
#include "feeding/phases.h"
#include "model/model.h"

namespace {

using RamBins = Real[cap::CRS][3][cap::FR][cap::NFS];
using EweBins = Real[cap::CE][cap::FE][cap::NFS];

// Ewe feeding groups.
constexpr int kSuckleOne = 1;   // lactating, suckling at most one lamb
constexpr int kSuckleMore = 2;  // lactating, suckling two or more lambs
constexpr int kFlushing = 3;
constexpr int kDry = 4;         // dry ewes and early pregnancy
constexpr int kLate = 5;        // late pregnancy

// Zeroes the bins of every season of a ram state's breed group and feeding
// group, or of a ewe state.  They are small: plain stores, no call of
// memset.
void clearBins(Real (&bins)[cap::NFS]) {
    for (Real& v : bins) v = 0;
}
void clearBins(Real (&bins)[cap::FE][cap::NFS]) {
    for (auto& group : bins) clearBins(group);
}

// Temperature factor of maintenance by season.
struct Temperature {
    double f[cap::NFS];
    explicit Temperature(const Model& m) {
        for (int s = 0; s < cap::NFS; ++s) f[s] = 1 + 0.0091 * (20 - m.tp[s]);
    }
};

// ---- rams -----------------------------------------------------------------

// Adds the daily requirements of a ram of state r and breed j on the days
// first .. last to feeding group f.  t counts the days of the growth span
// and carries on from one group to the next, so that a growing ram keeps
// gaining weight.
void ramDaysComputed(Model& m, int r, int j, int f, int first, int last, bool growing, int& t) {
    const double a = f == 2 ? 1.8 : 1.0;  // activity in the breeding season
    const bool protein = m.feedcost == 1;
    const double g = m.adgR[j];
    const double mature = m.mwR[j];
    const double mature34 = std::pow(mature, 0.75);
    if (last < first) return;
    const Temperature temp(m);
    const double W0 = m.wbR[1][j];
    const double* w34 = growing ? metabolicWeights(W0, g, t + (last - first + 1)) : nullptr;
    for (int d = first; d <= last;) {
        const int s = seasonOf(m, d);
        const int end = seasonRunEnd(m, d, last);
        Real days = m.newR[r][j][f][s], nem = m.nemR[r][j][f][s], neg = m.negR[r][j][f][s];
        Real pdim = m.pdimR[r][j][f][s], pdig = m.pdigR[r][j][f][s];
        for (; d <= end; ++d) {
            ++t;
            const double W = growing ? W0 + g * t : mature;
            const double W34 = !growing ? mature34 : w34 ? w34[t] : std::pow(W, 0.75);
            days += 1;  // turned into wool requirements when finished
            nem += 0.277 * W34 * a * temp.f[s] + 0.0054 * W;
            if (growing) neg += 0.35 * W + 2.5;
            if (protein) {
                pdim += 2.1875 * W34 * a;
                if (growing) pdig += g * (160.4 - 1.22 * W + 0.0105 * W * W) / 0.59;
            }
        }
        m.newR[r][j][f][s] = days;
        m.nemR[r][j][f][s] = nem;
        m.negR[r][j][f][s] = neg;
        m.pdimR[r][j][f][s] = pdim;
        m.pdigR[r][j][f][s] = pdig;
    }
}

// Day counts, maintenance, growth, maintenance protein and growth protein
// by season: the sums of a day run of rams or ewes.
struct FiveSums {
    double sums[5][cap::NFS];
};

// A day run into the five bins of a ram or ewe state from a kept run where
// there is one (kept_runs.h): where the bins are empty, the sums kept for
// the same key, or else the days added up by compute() and kept.
template <class Key> void fiveSumsKept(Model& m, Real* const (&bins)[5], const Key& key, int& t, auto compute) {
    bool empty = keptRunsOn.load(std::memory_order_relaxed);
    for (int k = 0; k < 5 && empty; ++k)
        for (int s = 0; s < cap::NFS; ++s) empty = empty && zeroBits(bins[k][s]);
    if (!empty) {
        compute();
        return;
    }
    using Runs = KeptRuns<Key, FiveSums, 64>;
    Runs& runs = Runs::of(m);
    if (const FiveSums* kept = runs.find(key)) {
        for (int k = 0; k < 5; ++k)
            for (int s = 0; s < cap::NFS; ++s) bins[k][s] = kept->sums[k][s];
        t += key.span.last - key.span.first + 1;
        return;
    }
    compute();
    FiveSums& kept = runs.keep();
    for (int k = 0; k < 5; ++k)
        for (int s = 0; s < cap::NFS; ++s) kept.sums[k][s] = bins[k][s];
}

// The days of a run of rams or ewes and what decides their terms.
struct DaySpan {
    int first, last, t, growing, protein, nfs;
};

DaySpan daySpan(const Model& m, int first, int last, int t, bool growing) {
    return {first, last, t, growing, m.feedcost == 1, m.nfs};
}

// Everything a day run of rams reads besides the calendar.
struct RamKey {
    double W0, g, mature, a;
    double temp[cap::NFS];
    DaySpan span;
};

// The same, from a kept run where there is one.
void ramDays(Model& m, int r, int j, int f, int first, int last, bool growing, int& t) {
    if (last < first) return;
    RamKey key = zeroedKey<RamKey>();
    key.W0 = m.wbR[1][j];
    key.g = m.adgR[j];
    key.mature = m.mwR[j];
    key.a = f == 2 ? 1.8 : 1.0;
    const Temperature temp(m);
    for (int s = 0; s < cap::NFS; ++s) key.temp[s] = temp.f[s];
    key.span = daySpan(m, first, last, t, growing);
    Real* const bins[5] = {m.newR[r][j][f], m.nemR[r][j][f], m.negR[r][j][f], m.pdimR[r][j][f], m.pdigR[r][j][f]};
    fiveSumsKept(m, bins, key, t, [&] { ramDaysComputed(m, r, j, f, first, last, growing, t); });
}

// Turns the day counts of a ram bin into wool and water and the growth sum
// into the growth requirement.
void finishRam(Model& m, int r, int j, int f, bool growing) {
    for (int s = 1; s <= m.nfs; ++s) {
        const double days = m.newR[r][j][f][s];
        if (m.feedcost == 1) m.pdiwR[r][j][f][s] = days * m.dwoolptR[j] * 3088.6;
        m.watR[r][j][f][s] = days * m.dwatR[f][s];
        m.newR[r][j][f][s] = days * m.dwoolptR[j] * 23.7;
        if (growing) m.negR[r][j][f][s] *= m.adgR[j];
    }
}

void costRam(Run& run, int r, int j) {
    Model& m = run.m;
    m.costfR[r][j] = 0;
    m.costwatR[r][j] = 0;
    for (int f = 1; f <= m.fR; ++f)
        for (int s = 1; s <= m.nfs; ++s) {
            m.neR[r][j][f][s] = m.newR[r][j][f][s] + m.negR[r][j][f][s] + m.nemR[r][j][f][s];
            if (m.feedcost == 1) m.pdiR[r][j][f][s] = m.pdiwR[r][j][f][s] + m.pdigR[r][j][f][s] + m.pdimR[r][j][f][s];
            const Ration ration{m.nedR[f][s], m.pdidR[f][s], m.drymR[f][s], m.lossfR[f][s], m.prfR[f][s],
                               &m.nedR[f][s], &m.pdidR[f][s]};
            m.costfR[r][j] += costBin(run, ration, m.neR[r][j][f][s], m.pdiR[r][j][f][s], m.feR[r][j][f][s],
                                      m.fpdiR[r][j][f][s], m.ffR[r][j][f][s], "rams", f, s);
            m.costwatR[r][j] += m.watR[r][j][f][s] * m.prwat;
        }
}

// The day sums of group f of ram state r and breed j start from zero; the
// other bins of a ram are assigned whole (finishRam, costRam), and the bins
// of the states that are not fed are never written.
void clearRamSums(Model& m, int r, int j, int f) {
    for (RamBins* a : {&m.nemR, &m.negR, &m.newR, &m.pdimR, &m.pdigR}) clearBins((*a)[r][j][f]);
}

void feedCostsRams(Run& run) {
    Model& m = run.m;
    for (int r = 1; r <= m.TR; ++r)
        for (int j = 1; j <= m.crossing; ++j) m.costfR[r][j] = m.costwatR[r][j] = 0;

    // The even states (sold, and staying for the next cycle) are fed from
    // the ram flushing to the end of the breeding season in group 2, then in
    // group 1 until their sale or, for those that stay, until the next
    // flushing.  Rams of the first RR even states are still growing.
    const int flushing = m.datbbs - m.flushbbR;
    for (int h = 1; h <= 2 * m.RR - 1; ++h) {
        const int r = 2 * h;
        const bool growing = h <= m.RR;
        const int rest = r % 4 == 0 ? flushing + m.lengthrc - 1 : m.datebs + m.dselR;
        for (int j = 1; j <= m.crossing; ++j) {
            int t = 0;
            clearRamSums(m, r, j, 2);
            ramDays(m, r, j, 2, flushing, m.datebs, growing, t);
            finishRam(m, r, j, 2, growing);
            clearRamSums(m, r, j, 1);
            ramDays(m, r, j, 1, m.datebs + 1, rest, growing, t);
            finishRam(m, r, j, 1, growing);
            costRam(run, r, j);
        }
    }

    // Rams that die or are culled during a cycle cost half of one that
    // stays; in the last cycle the dead cost half and the culled as much as
    // the sold ones.
    for (int j = 1; j <= m.crossing; ++j) {
        for (int y = 1; y <= m.RR - 1; ++y) {
            m.costfR[4 * y - 3][j] = m.costfR[4 * y - 1][j] = m.costfR[4 * y][j] / 2;
            m.costwatR[4 * y - 3][j] = m.costwatR[4 * y - 1][j] = m.costwatR[4 * y][j] / 2;
        }
        const int last = 4 * m.RR - 2;
        m.costfR[last - 1][j] = m.costfR[last][j] / 2;
        m.costfR[last + 1][j] = m.costfR[last][j];
        m.costwatR[last - 1][j] = m.costwatR[last][j] / 2;
        m.costwatR[last + 1][j] = m.costwatR[last][j];
    }

    for (int r = 1; r <= m.TR; ++r)
        for (int j = 1; j <= m.crossing; ++j) {
            if (m.l1aR[r][j] < 0.000001) {  // no rams in this state
                m.costfR[r][j] = m.costwatR[r][j] = 0;
                for (int f = 1; f <= m.fR; ++f)
                    for (int s = 1; s <= m.nfs; ++s) m.ffR[r][j][f][s] = 0;
            }
            m.costfR[r][j] *= m.qaveR[r][j];
            m.costwatR[r][j] *= m.qaveR[r][j];
        }
}

// ---- ewes -----------------------------------------------------------------

// Adds the daily requirements of a lambing ewe on the days first .. last to
// group f of state e.  t counts the days since lambing; a ewe in her first
// parity grows along it from her weight at first lambing.
void eweDaysComputed(Model& m, int e, int f, int first, int last, bool growing, double mature34, int& t) {
    const bool protein = m.feedcost == 1;
    const double g = m.adgE;
    if (last < first) return;
    const Temperature temp(m);
    double kt[cap::NFS];  // activity by season
    for (int s = 0; s < cap::NFS; ++s) kt[s] = m.ktE[m.techE[s]];
    const double W0 = m.wlE[1];
    const double* w34 = growing ? metabolicWeights(W0, g, t + (last - first + 1)) : nullptr;
    for (int d = first; d <= last;) {
        const int s = seasonOf(m, d);
        const int end = seasonRunEnd(m, d, last);
        Real days = m.newlE[e][f][s], nem = m.nemlE[e][f][s], neg = m.neglE[e][f][s];
        Real pdim = m.pdimlE[e][f][s], pdig = m.pdiglE[e][f][s];
        for (; d <= end; ++d) {
            ++t;
            const double W = growing ? W0 + g * t : double(m.mwE[1]);
            const double W34 = !growing ? mature34 : w34 ? w34[t] : std::pow(W, 0.75);
            days += 1;  // turned into wool requirements when finished
            nem += 0.277 * W34 * temp.f[s] + kt[s] * W;
            if (growing) neg += 0.45 * W + 2.1;
            if (protein) {
                pdim += 2.1875 * W34;
                if (growing) pdig += g * (156.1 - 1.94 * W + 0.0173 * W * W) / 0.59;
            }
        }
        m.newlE[e][f][s] = days;
        m.nemlE[e][f][s] = nem;
        m.neglE[e][f][s] = neg;
        m.pdimlE[e][f][s] = pdim;
        m.pdiglE[e][f][s] = pdig;
    }
}

// Everything a day run of ewes reads besides the calendar.
struct EweKey {
    double W0, g, mature, mature34;
    double temp[cap::NFS], kt[cap::NFS];
    DaySpan span;
};

// The same, from a kept run where there is one.
void eweDays(Model& m, int e, int f, int first, int last, bool growing, double mature34, int& t) {
    if (last < first) return;
    EweKey key = zeroedKey<EweKey>();
    key.W0 = m.wlE[1];
    key.g = m.adgE;
    key.mature = m.mwE[1];
    key.mature34 = mature34;
    const Temperature temp(m);
    for (int s = 0; s < cap::NFS; ++s) {
        key.temp[s] = temp.f[s];
        key.kt[s] = m.ktE[m.techE[s]];
    }
    key.span = daySpan(m, first, last, t, growing);
    Real* const bins[5] = {m.newlE[e][f], m.nemlE[e][f], m.neglE[e][f], m.pdimlE[e][f], m.pdiglE[e][f]};
    fiveSumsKept(m, bins, key, t, [&] { eweDaysComputed(m, e, f, first, last, growing, mature34, t); });
}

void finishEwe(Model& m, int e, int f, bool growing) {
    for (int s = 1; s <= m.nfs; ++s) {
        const double days = m.newlE[e][f][s];
        if (m.feedcost == 1) m.pdiwlE[e][f][s] = days * 3088.6 * m.dwoolptE;
        m.watlE[e][f][s] = days * m.dwatE[f][s];
        m.newlE[e][f][s] = days * 23.7 * m.dwoolptE;
        if (growing) m.neglE[e][f][s] *= m.adgE;
    }
}

// Copies the finished requirements of group f from state `from` to state
// `to`: growth (first parity) and maintenance, wool and water.
void copyEwe(Model& m, int from, int to, int f, bool growing) {
    for (int s = 1; s <= m.nfs; ++s) {
        if (growing) {
            m.neglE[to][f][s] = m.neglE[from][f][s];
            m.pdiglE[to][f][s] = m.pdiglE[from][f][s];
        }
        m.nemlE[to][f][s] = m.nemlE[from][f][s];
        m.pdimlE[to][f][s] = m.pdimlE[from][f][s];
        m.newlE[to][f][s] = m.newlE[from][f][s];
        m.watlE[to][f][s] = m.watlE[from][f][s];
        m.pdiwlE[to][f][s] = m.pdiwlE[from][f][s];
    }
}

// Requirements, without pregnancy, flushing gain and milk, of a ewe that
// lambs in parity k: state e (stage 3) from lambing to her culling, the
// pregnant state e + 2 until the next lambing; state e + 1 shares the days
// up to the breeding season.
void lambingEwe(Model& m, int k, double mature34) {
    const int e = (k - 1) * 5 + 3;
    const bool growing = k == 1;
    const bool next = k < m.LL;
    int t = 0;
    for (int f = kSuckleOne; f <= kSuckleMore; ++f) {
        t = 0;
        eweDays(m, e, f, m.datlamb, m.datdry - 1, growing, mature34, t);
        finishEwe(m, e, f, growing);
        if (next) {
            copyEwe(m, e, e + 1, f, growing);
            copyEwe(m, e, e + 2, f, growing);
        }
    }
    if (!next) return;

    // Dry days before flushing: left unfinished in group 4 of state e, to be
    // shared by the pregnant ewe and the ewe that is culled.
    const int flushStart = m.datbbs - m.flushbbE;
    if (flushStart > m.datdry) eweDays(m, e, kDry, m.datdry, flushStart - 1, growing, mature34, t);

    if (m.datbbs + m.flushabE > m.datdry) {
        eweDays(m, e, kFlushing, flushStart, m.datbbs + m.flushabE - 1, growing, mature34, t);
        finishEwe(m, e, kFlushing, growing);
        copyEwe(m, e, e + 1, kFlushing, growing);
        copyEwe(m, e, e + 2, kFlushing, growing);
    }

    // From the day after flushing (without flushing after the start of the
    // breeding season: from its start, the day after the dry days above).
    const int n = t;
    const int b = m.datbbs + m.flushabE;
    const bool protein = m.feedcost == 1;

    // Pregnant ewe until late pregnancy, with the dry days before flushing.
    eweDays(m, e + 2, kDry, b, m.datlamb - m.dshpE + m.lengthrc - 1, growing, mature34, t);
    finishEwe(m, e + 2, kDry, growing);
    for (int s = 1; s <= m.nfs; ++s) {
        const double days = m.newlE[e][kDry][s];
        m.newlE[e + 2][kDry][s] += 23.7 * m.dwoolptE * days;
        if (protein) m.pdiwlE[e + 2][kDry][s] += 3088.6 * m.dwoolptE * days;
        m.nemlE[e + 2][kDry][s] += m.nemlE[e][kDry][s];
        m.pdimlE[e + 2][kDry][s] += m.pdimlE[e][kDry][s];
        if (growing) {
            m.neglE[e + 2][kDry][s] += m.neglE[e][kDry][s] * m.adgE;
            m.pdiglE[e + 2][kDry][s] += m.pdiglE[e][kDry][s];
        }
    }

    // The ewe that is not pregnant stays until she is culled.
    t = n;
    eweDays(m, e, kDry, b, m.datebs + m.dnpregcE, growing, mature34, t);
    finishEwe(m, e, kDry, growing);

    // Late pregnancy up to the day before the next lambing.
    t = m.lengthrc - m.dshpE;
    eweDays(m, e + 2, kLate, m.datlamb - m.dshpE + m.lengthrc, m.datlamb + m.lengthrc - 1, growing, mature34, t);
    finishEwe(m, e + 2, kLate, growing);
}

// Requirements of the ewes of parity k that do not lamb (they spend the
// lactation days in group 4), and of the stage-4 ewe, which is not pregnant
// and spends the pregnancy days in group 4.
void nonLambingEwes(Model& m, int k) {
    struct Stem {
        EweBins& l;
        EweBins& nl;
        bool growth;
    };
    const Stem stems[] = {{m.neglE, m.negnlE, true},   {m.pdiglE, m.pdignlE, true}, {m.nemlE, m.nemnlE, false},
                          {m.pdimlE, m.pdimnlE, false}, {m.newlE, m.newnlE, false}, {m.watlE, m.watnlE, false},
                          {m.pdiwlE, m.pdiwnlE, false}};
    const int e = (k - 1) * 5 + 3;
    for (const Stem& x : stems) {
        if (x.growth && k != 1) continue;
        for (int s = 1; s <= m.nfs; ++s) {
            x.nl[e][3][s] = x.l[e][3][s];
            x.nl[e][4][s] = x.l[e][4][s] + x.l[e][1][s];
            if (k < m.LL) {
                x.nl[e + 2][3][s] = x.l[e + 1][3][s];
                x.nl[e + 1][3][s] = x.l[e + 1][3][s];
                x.l[e + 1][4][s] = x.l[e + 2][4][s] + x.l[e + 2][5][s];
                x.nl[e + 1][4][s] = x.l[e + 1][4][s] + x.l[e + 1][1][s];
                x.nl[e + 2][4][s] = x.l[e + 2][4][s] + x.l[e + 1][1][s];
                x.nl[e + 2][5][s] = x.l[e + 2][5][s];
            }
        }
    }
}

// Pregnancy requirements of the pregnant states by litter size, and their
// mean over the litter sizes of the next parity.  The gestation curve is the
// same for every parity and litter, so it is summed once.
void pregnancy(Model& m) {
    const bool protein = m.feedcost == 1;
    Real ne[cap::FE][cap::NFS] = {}, pdi[cap::FE][cap::NFS] = {};
    const int conception = m.lengthrc + m.datlamb - m.lpreg;
    const int late = m.lengthrc + m.datlamb - m.dshpE;
    for (int s = 1; s <= m.nfs; ++s) m.nd[s] = 0;
    int u = 0;
    for (int d = conception; d <= late - 1; ++d) {
        const int s = seasonOf(m, d);
        ++u;
        ne[kDry][s] += pregnancyNEDay(u);
        if (protein) pdi[kDry][s] += pregnancyPDIDay(u);
    }
    for (int d = late; d <= m.lengthrc + m.datlamb - 1; ++d) {
        const int s = seasonOf(m, d);
        ++u;
        ++m.nd[s];
        ne[kLate][s] += pregnancyNEDay(u);
        if (protein) pdi[kLate][s] += pregnancyPDIDay(u);
    }

    for (int k = 1; k <= m.LL - 1; ++k) {
        const int e = 5 * k;
        for (int c = 1; c <= m.clt; ++c) {
            const double tw = m.twL[c][k + 1];
            for (int f = kDry; f <= kLate; ++f)
                for (int s = 1; s <= m.nfs; ++s) {
                    m.nepbE[c][e][f][s] = ne[f][s] * (tw * 0.083773);
                    if (protein) m.pdipbE[c][e][f][s] = pdi[f][s] * (tw * 0.043889);
                }
            // The body reserve built during flushing is released in late
            // pregnancy.  Protein is released only where it is costed.
            for (int s = 1; s <= m.nfs; ++s) {
                if (m.nd[s] == 0) continue;
                m.nepbE[c][e][kLate][s] -= m.nd[s] * 20.034 * m.wgfE / m.dshpE;
                if (protein) m.pdipbE[c][e][kLate][s] -= (m.nd[s] * 119) * m.wgfE / m.dshpE;
            }
        }
        // Pregnancy averaged over the litter sizes, one formula per bin.
        for (int f = kDry; f <= m.fE; ++f)
            for (int s = 1; s <= m.nfs; ++s) {
                double ne = 0, pdi = 0;
                for (int c = 1; c <= m.clt; ++c) {
                    ne += m.nepbE[c][e][f][s] * m.Pltype[c][k + 1];
                    pdi += m.pdipbE[c][e][f][s] * m.Pltype[c][k + 1];
                }
                m.nepE[e][f][s] = ne;
                if (protein) m.pdipE[e][f][s] = pdi;
            }
    }
}

// Weight gain of flushing, in group 3 of the states that are flushed.
void flushing(Model& m) {
    if (!(m.flushbbE > 0 && m.flushabE > 0)) return;
    int days[cap::NFS] = {};
    for (int d = m.datbbs - m.flushbbE; d <= m.datbbs + m.flushabE - 1; ++d) ++days[seasonOf(m, d)];
    for (int k = 1; k <= m.LL - 1; ++k)
        for (int st = 3; st <= 5; ++st) {
            const int e = (k - 1) * 5 + st;
            for (int s = 1; s <= m.nfs; ++s) {
                m.nefE[e][kFlushing][s] = days[s] * m.adgfE;
                if (m.feedcost == 1) m.pdifE[e][kFlushing][s] = m.nefE[e][kFlushing][s] * 140;
                m.nefE[e][kFlushing][s] *= 23.85;
            }
        }
}

double suckleOneOrNone(const Model& m, int k) { return m.PsuckE[0][k] + m.PsuckE[1][k]; }

double suckleMore(const Model& m, int k) {
    double s2 = 0;
    for (int c = 2; c <= m.clt; ++c) s2 += m.PsuckE[c][k];
    return s2;
}

// Milk of the lactating states by litter size suckled, and its mean over
// the ewes of each lactation group.  The lactation curve is the same for
// every parity and litter, so it is summed once.
void lactation(Model& m) {
    const bool protein = m.feedcost == 1;
    Real milk[cap::NFS] = {};
    const double* pw;
    const double* ex;
    const bool kept = lactationTerms(m.bwo, m.cwo, m.datdry - m.datlamb, pw, ex);
    for (int d = m.datlamb; d <= m.datdry - 1; ++d) {
        const int u = d - m.datlamb + 1;
        milk[seasonOf(m, d)] += kept ? m.awo * pw[u] * ex[u] : milkDay(m, u);
    }
    for (int k = 1; k <= m.LL; ++k) {
        const double s01 = suckleOneOrNone(m, k), s2 = suckleMore(m, k);
        const int lastStage = k < m.LL ? 5 : 3;
        for (int c = 0; c <= m.clt; ++c) {
            const int f = c <= 1 ? kSuckleOne : kSuckleMore;
            const double group = f == kSuckleOne ? s01 : s2;
            const bool shared = f == kSuckleOne ? s01 > 0 : s2 > 0.00000001;
            for (int st = 3; st <= lastStage; ++st) {
                const int e = (k - 1) * 5 + st;
                for (int s = 1; s <= m.nfs; ++s) {
                    Real& nel = m.nelbE[c][e][f][s];
                    nel = milk[s] * m.ktlsl[c] * m.ktlp[k];
                    if (protein) m.pdilbE[c][e][f][s] = nel * 17.241379 * m.prot;
                    nel = nel * (0.948 + 0.376 * m.fat + 0.209 * m.prot);
                    if (!shared) continue;  // no ewe of this parity in the group
                    m.nelE[e][f][s] += nel * m.PsuckE[c][k] / group;
                    if (protein) m.pdilE[e][f][s] += m.pdilbE[c][e][f][s] * m.PsuckE[c][k] / group;
                }
            }
        }
    }
}

// Totals of one ewe state per group and season, and their feed and water
// costs.
void costEwe(Run& run, int k, int e) {
    Model& m = run.m;
    const bool protein = m.feedcost == 1;
    const double P = m.plambE[e], Q = 1 - P, L = m.l3E[k];
    const double s01 = suckleOneOrNone(m, k), s2 = suckleMore(m, k);
    m.costfE[e] = m.costwatE[e] = 0;
    for (int s = 1; s <= m.nfs; ++s) {
        for (int f = kSuckleOne; f <= kSuckleMore; ++f) {
            const double group = f == kSuckleOne ? s01 : s2;
            if (L > 0) {
                m.neE[e][f][s] =
                    (m.neglE[e][f][s] + m.nemlE[e][f][s] + m.newlE[e][f][s] + m.nelE[e][f][s]) * P * group / L;
                if (protein)
                    m.pdiE[e][f][s] =
                        (m.pdiglE[e][f][s] + m.pdimlE[e][f][s] + m.pdiwlE[e][f][s] + m.pdilE[e][f][s]) * P * group / L;
                m.watE[e][f][s] = m.watlE[e][f][s] * P * group / L;
            } else {  // no lambings in this parity: nobody lactates
                m.neE[e][f][s] = 0;
                m.pdiE[e][f][s] = 0;
                m.watE[e][f][s] = 0;
            }
        }
        // Flushing gain in group 3 and pregnancy in group 5 concern every
        // ewe of the state.
        for (int f = kFlushing; f <= kLate; ++f) {
            const double ne = f == kFlushing ? double(m.nefE[e][f][s]) : f == kLate ? double(m.nepE[e][f][s]) : 0.0;
            m.neE[e][f][s] = (m.neglE[e][f][s] + m.nemlE[e][f][s] + m.newlE[e][f][s]) * P +
                             (m.negnlE[e][f][s] + m.nemnlE[e][f][s] + m.newnlE[e][f][s]) * Q + ne;
            if (protein) {
                const double pdi = f == kFlushing ? double(m.pdifE[e][f][s]) : f == kLate ? double(m.pdipE[e][f][s]) : 0.0;
                m.pdiE[e][f][s] = (m.pdiglE[e][f][s] + m.pdimlE[e][f][s] + m.pdiwlE[e][f][s]) * P +
                                  (m.pdignlE[e][f][s] + m.pdimnlE[e][f][s] + m.pdiwnlE[e][f][s]) * Q + pdi;
            }
            m.watE[e][f][s] = m.watlE[e][f][s] * P + m.watnlE[e][f][s] * Q;
        }
    }
    for (int f = 1; f <= m.fE; ++f)
        for (int s = 1; s <= m.nfs; ++s) {
            const Ration ration{m.nedE[f][s], m.pdidE[f][s], m.drymE[f][s], m.lossfE[f][s], m.prfE[f][s],
                               &m.nedE[f][s], &m.pdidE[f][s]};
            m.costfE[e] += costBin(run, ration, m.neE[e][f][s], m.pdiE[e][f][s], m.feE[e][f][s], m.fpdiE[e][f][s],
                                   m.ffE[e][f][s], "ewes", f, s);
            m.costwatE[e] += m.watE[e][f][s] * m.prwat;
        }
}

void pregnancyCheck(Run& run) {
    const Model& m = run.m;
    for (int c = 1; c <= m.clt; ++c)
        for (int k = 1; k <= m.LL - 1; ++k)
            for (int f = kDry; f <= m.fE; ++f)
                for (int s = 1; s <= m.nfs; ++s)
                    if (m.nepbE[c][5 * k][f][s] < -0.00001 || m.pdipbE[c][5 * k][f][s] < -0.00001)
                        failCheck(run,
                                  "There is at least one negative value for net energy or protein\n"
                                  "  requirement for pregnancy for ewes.\n"
                                  "  Decrease the weight gain during flushing for ewes\n"
                                  "  in INPUTS04.TXT and restart the program.\n\n\n");
}

void feedCostsEwes(Run& run) {
    Model& m = run.m;
    // The bins that are added up start from zero: the day sums of the
    // lambing ewes of the parities computed below (the first, the second
    // and the last; those between are copies of the second), and the
    // lactation and flushing of every lambing, pregnant or open ewe.  The
    // other bins are assigned anew in every evaluation, in places that
    // depend only on what no trait changes: the counts of cycles, litter
    // sizes, seasons and feeding groups, the costing method, the flushing
    // days; the dying and culled ewes (stages 1 and 2) have no bins.
    for (int k = 1; k <= m.LL; ++k) {
        const int lastStage = k < m.LL ? 5 : 3;
        for (int st = 3; st <= lastStage; ++st) {
            const int e = (k - 1) * 5 + st;
            if (k <= 2 || k == m.LL)
                for (EweBins* a : {&m.nemlE, &m.neglE, &m.newlE, &m.pdimlE, &m.pdiglE, &m.pdiwlE, &m.watlE})
                    clearBins((*a)[e]);
            for (EweBins* a : {&m.nefE, &m.pdifE, &m.nelE, &m.pdilE}) clearBins((*a)[e]);
        }
    }

    // Shares of the ewes of a state that lambed in its parity, after being
    // pregnant or not in the previous one.  All ewes lamb in the first.
    for (int e = 1; e <= m.TE; ++e) m.plambE[e] = m.pnlambE[e] = 0;
    for (int e = 1; e <= 5; ++e) m.plambE[e] = 1;
    for (int k = 2; k <= m.LL; ++k) {
        const double pregnant = m.l1E[(k - 2) * 5 + 5], open = m.l1E[(k - 2) * 5 + 4];
        const double S = pregnant + open;
        for (int st = 1; st <= 5 && (k - 1) * 5 + st <= m.TE; ++st) {
            const int e = (k - 1) * 5 + st;
            m.plambE[e] = S > 0 ? pregnant / S : 0;
            m.pnlambE[e] = S > 0 ? open / S : 0;
        }
    }
    m.adgfE = m.flushabE + m.flushbbE > 0 ? m.wgfE / (m.flushabE + m.flushbbE) : 0;

    // Each parity writes only its own states, so all lambing ewes can be
    // done before the ewes that do not lamb.  The parities between the
    // second and the last are fed on the same days with the same weights
    // as the second: their requirements are those of the second.
    const double mature34 = std::pow(double(m.mwE[1]), 0.75);
    for (int k = 1; k <= m.LL; ++k) {
        if (k >= 3 && k < m.LL)
            for (EweBins* a : {&m.nemlE, &m.neglE, &m.newlE, &m.pdimlE, &m.pdiglE, &m.pdiwlE, &m.watlE})
                std::memcpy(&(*a)[5 * k - 2], &(*a)[8], 3 * sizeof (*a)[0]);
        else
            lambingEwe(m, k, mature34);
    }
    for (int k = 1; k <= m.LL; ++k) nonLambingEwes(m, k);
    pregnancy(m);
    flushing(m);
    lactation(m);

    for (int k = 1; k <= m.LL; ++k) {
        const int lastStage = k < m.LL ? 5 : 3;
        for (int st = 3; st <= lastStage; ++st) costEwe(run, k, (k - 1) * 5 + st);
        // Ewes that die or are culled during the cycle cost half of the
        // pregnant ewe, in the last parity half of the ewe that lambs.
        const int from = k < m.LL ? 5 * k : m.TE;
        for (int st = 1; st <= 2; ++st) {
            m.costfE[(k - 1) * 5 + st] = m.costfE[from] / 2;
            m.costwatE[(k - 1) * 5 + st] = m.costwatE[from] / 2;
        }
    }
    pregnancyCheck(run);
    for (int e = 1; e <= m.TE; ++e) {
        m.costfE[e] *= m.qaveE[e];
        m.costwatE[e] *= m.qaveE[e];
    }
}

}  // namespace

void feedCostsRamsEwes(Run& run) {
    feedCostsRams(run);
    feedCostsEwes(run);
}
