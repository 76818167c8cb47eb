#include "feeding/feeding.h"

#include <cmath>
#include <cstring>

#include "context/run.h"
#include "model/model.h"
#include "stats/stats.h"

namespace {

int seasonByRule(const Model& m, int d) {
    int s = 0;
    if (d < m.datchfs[1]) s = m.valfs[0];
    for (int q = 1; q <= m.nchfst - 1; ++q)
        if (m.datchfs[q] <= d && d < m.datchfs[q + 1]) s = m.valfs[q];
    if (d >= m.datchfs[m.nchfst]) s = m.valfs[m.nchfst];
    return s;
}

[[noreturn]] void rationUnusable(Run& run, const Real* at, const char* animals, int group, int season,
                                const char* what) {
    failCheckAt(run, at,
              "The ration of feeding group %d of %s in feeding season %d is needed,\n"
              "  but %s. Correct the ration in INPUTS08.TXT and restart the program.\n\n\n",
              group, animals, season, what);
}

}  // namespace

int wholeDays(double x) {
    if (!(x >= -kMaxDays && x <= kMaxDays)) throw DaysOutOfRange{x};
    return static_cast<int>(std::trunc(x));
}

int roundedDays(double x) {
    if (!(x >= -kMaxDays && x <= kMaxDays)) throw DaysOutOfRange{x};
    return static_cast<int>(x + 0.5);
}

void stopForDays(Run& run, const DaysOutOfRange& e) {
    failCheck(run,
              "A number of days computed from the inputs, %g, lies beyond %g days.\n"
              "  Check the ages, durations and dates of INPUTS01.TXT, INPUTS04.TXT, INPUTS05.TXT\n"
              "  and INPUTS08.TXT and restart the program.\n",
              e.days, kMaxDays);
}

void extendCalendar(Model& m) {
    const int n = m.nchfs;
    m.nchfst = 4 * n;
    for (int y = 2; y <= 4; ++y)
        for (int k = 1; k <= n; ++k) {
            m.datchfs[(y - 1) * n + k] = m.datchfs[k] + 365 * (y - 1);
            m.valfs[(y - 1) * n + k] = m.valfs[k];
        }
    // The tables below follow from the calendar alone; they are made again
    // only when it differs from the one they were made for.
    const int N = m.nchfst;
    int key[1 + 34 + 32] = {N + 1};  // never 0, the value before a table is made
    std::memcpy(key + 1, m.datchfs, sizeof m.datchfs);
    std::memcpy(key + 1 + 34, m.valfs, sizeof m.valfs);
    static_assert(sizeof key == sizeof m.calendarKey);
    if (std::memcmp(key, m.calendarKey, sizeof key) == 0) return;
    std::memcpy(m.calendarKey, key, sizeof key);

    // The rule of seasonByRule for all tabulated days at once: the same
    // assignments in the same order, each over the days where it applies.
    const auto assign = [&](int from, int to, int season) {
        for (int d = from < 0 ? 0 : from; d < to && d < cap::DAYS; ++d) m.dayseason[d] = season;
    };
    assign(0, cap::DAYS, 0);
    assign(0, m.datchfs[1], m.valfs[0]);
    for (int q = 1; q <= N - 1; ++q) assign(m.datchfs[q], m.datchfs[q + 1], m.valfs[q]);
    assign(m.datchfs[N], cap::DAYS, m.valfs[N]);
    // The first day of the next run of equal seasons.
    m.seasonEnd[cap::DAYS - 1] = cap::DAYS;
    for (int d = cap::DAYS - 2; d >= 0; --d)
        m.seasonEnd[d] = m.dayseason[d + 1] != m.dayseason[d] ? d + 1 : m.seasonEnd[d + 1];
}

int seasonOutsideTable(const Model& m, int d) { return seasonByRule(m, d); }

void setSexConstants(Model& m) {
    // Castrates, females (the ewes' growth constants), males (the rams').
    // The constants are values of the storage precision.
    const RealStored c1[3] = {1.15, 1.0, 1.15}, c2[3] = {4.4, 2.1, 2.5}, c3[3] = {0.32, 0.45, 0.35};
    const RealStored c4[3] = {160.4, 156.1, 160.4}, c5[3] = {1.22, 1.94, 1.22}, c6[3] = {0.0105, 0.0173, 0.0105};
    for (int n = 0; n <= 2; ++n) {
        m.c1[n] = c1[n];
        m.c2[n] = c2[n];
        m.c3[n] = c3[n];
        m.c4[n] = c4[n];
        m.c5[n] = c5[n];
        m.c6[n] = c6[n];
    }
}

void litterBirthWeights(Model& m) {
    for (int j = 1; j <= m.clt; ++j)
        for (int p = 1; p <= m.LL; ++p) {
            const double x = m.pcrossE[p - 1];
            m.twL[j][p] = j * ((1 - x) * (m.bwL[1][j][1] * m.sexrbf + m.bwL[2][j][1] * m.sexrbm) +
                               x * (m.bwL[1][j][2] * m.sexrbf + m.bwL[2][j][2] * m.sexrbm));
        }
}

double milkDay(const Model& m, double u) { return m.awo * std::pow(u, double(m.bwo)) * std::exp(-m.cwo * u); }

double costBin(Run& run, const Ration& r, double ne, double pdi, Real& fe, Real& fpdi, Real& ff, const char* animals,
               int group, int season, bool positiveOnly) {
    fe = 0;
    fpdi = 0;
    ff = 0;
    const bool energy = positiveOnly ? ne > 0 : ne != 0;
    const bool protein = run.m.feedcost == 1 && (positiveOnly ? pdi > 0 : pdi != 0);
    if (!energy && !protein) return 0;
    if (energy) {
        if (!(r.ned * r.drym > 0)) rationUnusable(run, r.nedAt, animals, group, season, "it has no energy or dry-matter content");
        fe = ne / (r.ned * r.drym);
    }
    if (protein) {
        if (!(r.pdid * r.drym > 0)) rationUnusable(run, r.pdidAt, animals, group, season,
                           "it has no protein or dry-matter content");
        fpdi = pdi / (r.pdid * r.drym);
    }
    const RealStored need = run.m.feedcost == 1 ? maxi(stored(fe), stored(fpdi)) : stored(fe);
    ff = need / (1 - r.lossf / 100);
    return ff * r.prf;
}
