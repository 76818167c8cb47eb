// Non-feed costs of every ewe, ram and progeny state (veterinary care,
// labour, shearing, fixed costs, bedding, breeding, skins, marketing, dead
// animals, milking, cheese making, ram purchase), the wool, manure and skin
// revenues of progeny, and the total cost of every state including the feed
// and water costs of the nutrition phase.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>

#include "context/run.h"
#include "feeding/feeding.h"
#include "feeding/phases.h"
#include "model/model.h"

namespace {

void clear(Real& x) { x = 0; }
template <class T, std::size_t N> void clear(T (&a)[N]) {
    for (T& x : a) clear(x);
}

double frac(double x) { return x - std::trunc(x); }

// Days d of first .. last whose feeding season has the technology code 1
// (housed) in tech.
int housedDays(const Model& m, const int* tech, int first, int last) {
    int n = 0;
    for (int d = first; d <= last;) {
        if (d < 0 || d >= cap::DAYS) {
            if (tech[seasonOf(m, d)] == 1) ++n;
            ++d;
            continue;
        }
        // A run of days of the same season at once.
        const int end = std::min(m.seasonEnd[d], last + 1);
        if (tech[m.dayseason[d]] == 1) n += end - d;
        d = end;
    }
    return n;
}

// Share dc / span of a period of span days that a stay of dc days covers.
// A period of no days (the first breeding season beginning right at the
// end of weaning) holds no stay, and the share is 0.
double share(double dc, double span) { return span > 0 ? dc / span : 0; }

// ---------------------------------------------------------------- ewes

void eweCosts(Model& m) {
    clear(m.costvetE);
    clear(m.costlabE);
    clear(m.costsheE);
    clear(m.costfixE);
    clear(m.costbedE);
    clear(m.costbreedE);
    clear(m.costskE);
    clear(m.costmarkE);
    clear(m.costdiedE);
    clear(m.costmilkE);
    clear(m.costcheeseE);
    clear(m.revmanE);
    clear(m.costnfE);
    clear(m.costE);
    const int Y = m.lengthrc;
    const int S = m.nstgE;

    // Average productive life in years: the ewes leaving the flock (stages
    // 1 to 3 of each cycle) by the time they have spent in it.
    double life = 0;
    for (int k = 1; k <= m.LL; ++k)
        for (int g = 1; g <= m.nstg1E; ++g) {
            const int e = (k - 1) * S + g;
            life += ((k - 1) * Y + m.dcE[e]) * m.l1E[e];
        }
    // Every ewe starts in the first cycle, so l4E[1] is positive in any flock.
    m.avlifeyE = m.l4E[1] > 0 ? life / (m.l4E[1] * 365) : 0;

    for (int e = 1; e <= m.TE; ++e) {
        const int k = (e - 1) / S + 1;
        // Ewes of the first parity still grow to the mature weight.
        const double W = e <= S ? (m.wlE[1] + m.mwE[1]) / 2 : double(m.mwE[1]);
        const double dc = m.dcE[e];
        m.costvetE[e] = (m.nendopE * W * m.prendop + m.nectopE * m.prectop + m.vetE) * m.qaveE[e] * dc / Y;
        m.costlabE[e] = m.qaveE[e] * m.costAkh * m.AkhE * dc / 365;
        m.costsheE[e] = m.qaveE[e] * m.nsheE * m.costshe0E * dc / Y;
        // The fixed cost of a place in the flock runs for the whole cycle:
        // a ewe that leaves is replaced at once.
        m.costfixE[e] = m.qaveE[e] * m.costfix0E * Y;

        // Days in the barn, counted from lambing.
        const double h = housedDays(m, m.techE, m.datlamb, m.datlamb + wholeDays(dc) - 1) + frac(dc);
        m.revmanE[e] = m.qaveE[e] * h * m.prman * m.manE;
        m.costbedE[e] = m.qaveE[e] * m.prstraw * m.strawE * h;

        // Mating for the next lambing: insemination of the pure-bred and
        // of the crossed matings (pinsE in per cent).  No mating follows
        // the last lambing.
        if (k < m.LL) {
            double breed = ((1 - m.pcrossE[k]) * m.pinsE[1] * (m.nreins * m.costreins[1] + m.costins[1])) / 100 +
                           m.costoeinE;
            if (m.crossing == 2)
                breed += (m.pinsE[2] * m.pcrossE[k] * (m.nreins * m.costreins[2] + m.costins[2])) / 100;
            m.costbreedE[e] = breed;
            m.costbreedE[e] *= m.qbreedE[e];
        }
    }

    // Culled ewes are marketed and their skins tanned; dead ewes are
    // disposed of by weight.
    for (int k = 1; k <= m.LL; ++k) {
        const int b = (k - 1) * S;
        for (int e : {b + 2, b + 3}) {
            m.costskE[e] = m.qendE[e] * m.costtan * m.pskE * m.ptskE;
            m.costmarkE[e] = m.qendE[e] * m.costmarkcul;
        }
        m.costdiedE[b + 1] = m.qendE[b + 1] * m.costdead * m.wlE[k];
    }

    // Milking and cheese making, per kg of milk of the lambing ewes: the
    // milking period and the milk sold while suckling.  Ewes that die or
    // are culled (stages 1 and 2) give the share kmilkcE of it.
    if (m.typeb == 1) {
        const bool cheese = m.pmilkch > 1e-06;
        for (int k = 1; k <= m.LL; ++k) {
            const int b = (k - 1) * S;
            const double milk = m.milkmpar[k] + (m.pmilkwm >= 0.000001 ? double(m.milksw[k]) : 0.0);
            const int stages = k < m.LL ? S : m.nstg1E;
            for (int g = 1; g <= stages; ++g) {
                const int e = b + g;
                m.costmilkE[e] = milk * m.costmilk0E * m.plambE[e];
                // Cheese costs arise only where cheese is made; the code of
                // the cheese-yield method does not scale them.
                m.costcheeseE[e] = cheese ? milk * m.costcheese0E * m.plambE[e] : 0.0;
                if (g <= 2) {
                    m.costmilkE[e] *= m.kmilkcE;
                    m.costcheeseE[e] *= m.kmilkcE;
                }
                m.costmilkE[e] *= m.qmilkE[e];
                m.costcheeseE[e] *= m.qmilkE[e];
            }
        }
    }

    for (int e = 1; e <= m.TE; ++e) {
        m.costnfE[e] = m.costvetE[e] + m.costlabE[e] + m.costfixE[e] + m.costsheE[e] + m.costbedE[e] +
                       m.costbreedE[e] + m.costskE[e] + m.costmarkE[e] + m.costdiedE[e] + m.costmilkE[e] +
                       m.costcheeseE[e];
        m.costE[e] = m.costfE[e] + m.costnfE[e] + m.costwatE[e];
    }
}

// ---------------------------------------------------------------- rams

void ramCosts(Model& m) {
    clear(m.costvetR);
    clear(m.costlabR);
    clear(m.costsheR);
    clear(m.costfixR);
    clear(m.costbedR);
    clear(m.costskR);
    clear(m.costmarkR);
    clear(m.costdiedR);
    clear(m.costpurchR);
    clear(m.costnfR);
    clear(m.costR);
    const int Y = m.lengthrc;

    // Stages of breeding cycle y: 4y - 3 died, 4y - 2 sold for breeding,
    // 4y - 1 culled.
    for (int y = 1; y <= m.RR; ++y)
        for (int j = 1; j <= m.crossing; ++j) {
            m.costskR[4 * y - 1][j] = m.qendR[4 * y - 1][j] * m.costtan * m.pskR * m.ptskR;
            m.costmarkR[4 * y - 2][j] = m.qendR[4 * y - 2][j] * m.costmarkbR;
            m.costmarkR[4 * y - 1][j] = m.qendR[4 * y - 1][j] * m.costmarkcul;
            m.costdiedR[4 * y - 3][j] = m.qendR[4 * y - 3][j] * m.costdead * m.wbR[y][j];
        }

    // Rams are bought for their first breeding cycle: the share ppurchMP of
    // the pure-bred sires, every crossing sire.
    const int first = m.TR < 4 ? m.TR : 4;
    for (int r = 1; r <= first; ++r) {
        m.costpurchR[r][1] = m.qpurchR * m.ppurchMP * m.prbR[1];
        if (m.crossing == 2) m.costpurchR[r][2] = m.prbR[2] * m.qpurchR;
    }

    for (int r = 1; r <= m.TR; ++r)
        for (int j = 1; j <= m.crossing; ++j) {
            // Rams of the first cycle still grow to the mature weight.
            const double W = r <= 4 ? (m.wbR[1][j] + m.mwR[j]) / 2 : double(m.mwR[j]);
            const double q = m.qaveR[r][j], dc = m.dcR[r];
            m.costvetR[r][j] = (m.nendopR * W * m.prendop + m.nectopR * m.prectop + m.vetR) * q * dc / Y;
            m.costlabR[r][j] = q * m.costAkh * m.AkhR * dc / 365;
            m.costsheR[r][j] = q * m.nsheR[j] * m.costshe0R * dc / Y;
            m.costfixR[r][j] = q * m.costfix0R * Y;
            // Rams are bedded on every day of the year.
            m.costbedR[r][j] = q * m.prstraw * m.strawR * dc;
            m.costnfR[r][j] = m.costvetR[r][j] + m.costlabR[r][j] + m.costfixR[r][j] + m.costsheR[r][j] +
                              m.costbedR[r][j] + m.costskR[r][j] + m.costmarkR[r][j] + m.costdiedR[r][j] +
                              m.costpurchR[r][j];
            m.costR[r][j] = m.costfR[r][j] + m.costnfR[r][j] + m.costwatR[r][j];
        }

    // A state that (almost) no ram of the breed group reaches costs nothing.
    for (int r = 1; r <= m.TR; ++r)
        for (int j = 1; j <= m.crossing; ++j)
            if (m.l1aR[r][j] < 0.000001) {
                m.costvetR[r][j] = m.costlabR[r][j] = m.costsheR[r][j] = m.costfixR[r][j] = 0;
                m.costbedR[r][j] = m.costskR[r][j] = m.costmarkR[r][j] = m.costdiedR[r][j] = 0;
                m.costpurchR[r][j] = m.costnfR[r][j] = m.costR[r][j] = 0;
            }
}

// ---------------------------------------------------------------- progeny

using ProgenyTable = ArrType<Real, cap::P, 3>;

// Where the progeny leave the dam: day, age and weight by sex row n
// (1 females, 2 males, 0 castrates, which have the male weight).
struct Start {
    int day;     // weaning, or the end of artificial rearing
    double age;  // the age on that day
    const ArrType<Real, 3, 3>* weight;  // avww or avwar
};

bool present(const Model& m, int i, int j) { return m.l1skL[i][j] > 0.000001; }

double startWeight(const Start& st, int n, int j) { return (*st.weight)[n][j]; }

// Veterinary cost of one young breeding animal in rearing period p (1 up to
// the first breeding season, 2 from then on), by its weights at the start
// and at the end of the stay.
double vetRearing(const Model& m, int p, double w0, double w1) {
    return m.nendoprL[p] * m.prendop * (w0 + w1) / 2 + m.nectoprL[p] * m.prectop + m.vetrL[p];
}

// Fattening variants: females 8 .., males 33 .., castrates 43 ...
void fatteningLambs(Model& m, int j, const Start& st) {
    const int rows[3] = {42, 7, 32};  // rows before the first variant, by sex row
    for (int n : {1, 2, 0})
        for (int c = 1; c <= m.lf[n]; ++c) {
            const int i = rows[n] + c;
            if (!present(m, i, j)) continue;
            const double w = m.wP[i][j], dc = m.dcL[i][j];
            m.costvetL[i][j] = m.nendopf[n][c] * m.prendop * (w + startWeight(st, n, j)) / 2 +
                               m.nectopf[n][c] * m.prectop + m.vetf[n][c];
            m.costsheL[i][j] = m.nshefL[n][c] * m.costshe0L;
            m.revwL[i][j] = m.nshefL[n][c] * m.wshefL[n][j] * m.prwoolL[j];
            m.costskL[i][j] = m.costtan * m.pskfL * m.ptskfL;
            m.costmarkL[i][j] = w * m.costmarkfL;
            m.costlabL[i][j] = m.costAkh * m.AkhfL * dc / 365;
            m.costfixL[i][j] = dc * m.costfixfL;

            // The part of the day of sale counts as housed when that day
            // falls in a housed season.
            const int last = m.datlamb + wholeDays(m.agetP[i][j]) - 1;
            double h = housedDays(m, m.techfatL, st.day, last);
            if (m.techfatL[seasonOf(m, last)] == 1) h += frac(m.agetP[i][j]);
            m.revmanL[i][j] = h * m.prman * m.manfL;
            m.costbedL[i][j] = m.prstraw * m.strawfL * h;
        }
}

// Lambs until weaning (5, 30), artificially reared (6, 31), slaughtered
// at weaning (7, 32), and the lambs dying before weaning (2).
void weaningLambs(Model& m, int j) {
    for (int n = 1; n <= 2; ++n) {
        const int suck = n == 1 ? 5 : 30, reared = n == 1 ? 6 : 31, slaughtered = n == 1 ? 7 : 32;
        if (present(m, suck, j)) {
            m.costvetL[suck][j] = m.avww[n][j] * m.nendopwL * m.prendop + m.nectopwL * m.prectop + m.vetwL;
            m.costsheL[suck][j] = m.nshewL * m.costshe0L;
            m.revwL[suck][j] = m.wshewL[n][j] * m.nshewL * m.prwoolL[j];
        }
        if (present(m, reared, j)) {
            const double dc = m.dcL[reared][j];
            m.costvetL[reared][j] =
                m.avwar[n][j] * m.nendoparL * m.prendop + m.nectoparL * m.prectop + m.vetarL;
            m.costlabL[reared][j] = m.costAkh * m.AkharL;
            m.costfixL[reared][j] = dc * m.costfixarL;
            m.costbedL[reared][j] = m.prstraw * m.strawarL * dc;
            m.costsheL[reared][j] = m.nshearL * m.costshe0L;
            m.revmanL[reared][j] = m.prman * m.manarL * dc;
            m.revwL[reared][j] = m.wshearL[n][j] * m.nshearL * m.prwoolL[j];
        }
        if (present(m, slaughtered, j)) {
            const bool weaned = m.typew == 1;
            const double w = weaned ? m.avww[n][j] : m.avwar[n][j];
            const double psk = weaned ? m.pskwL : m.pskarL, ptsk = weaned ? m.ptskwL : m.ptskarL;
            m.costmarkL[slaughtered][j] = w * m.costmarkwL;
            m.costskL[slaughtered][j] = m.costtan * psk * ptsk;
            m.revskrL[slaughtered][j] = m.prskrL[j] * psk * (1 - ptsk);
            m.revsktL[slaughtered][j] = m.prsktL[j] * psk * ptsk;
        }
    }
    if (present(m, 2, j))
        m.costvetL[2][j] = ((m.costvetL[5][j] + m.costvetL[6][j]) * m.sexrbf +
                            (m.costvetL[30][j] + m.costvetL[31][j]) * m.sexrbm) /
                           2;
}

// Labour and bedding of young breeding stock over the stay from day first
// to day last; the fractions of the ages at the start and at the end of the
// stay complete the housed days.
void rearingStay(Model& m, int i, int j, int first, int last, double fracEnd, double fracStart) {
    m.costlabL[i][j] = m.costAkh * m.AkhrL * m.dcL[i][j] / 365;
    const double h = housedDays(m, m.techbL, first, last) + fracEnd - fracStart;
    m.revmanL[i][j] = h * m.prman * m.manbL;
    m.costbedL[i][j] = m.prstraw * m.strawrL * h;
}

// Insemination and other breeding costs of one young female mated.
double breedingFemale(const Model& m, int j) {
    return (m.nreins * m.costreins[j] + m.costins[j]) * m.pinsFP[j] / 100 + m.costoeinFP;
}

// Young animals of one sex (1 females, 2 males) sold before their first
// breeding season, category i: their costs and wool up to the sale, spread
// over the span from weaning to the first breeding season.
void soldBeforeFirstSeason(Model& m, int i, int sex, int j, const Start& st, double span, double wool) {
    const double part = share(m.dcL[i][j], span);
    m.costvetL[i][j] = vetRearing(m, 1, m.wrL[sex][1][j], startWeight(st, sex, j)) * part;
    m.costsheL[i][j] = m.nsherL[1] * m.costshe0L * part;
    m.costfixL[i][j] = span * m.costfixrL;
    m.costmarkL[i][j] = m.costmarkrL[sex];
    m.revwL[i][j] = m.nsherL[1] * wool * m.prwoolL[j] * part;
    rearingStay(m, i, j, st.day, m.datlamb + wholeDays(m.agetP[i][j]) - 1, frac(m.agetP[i][j]), 0);
}

// Young animals of one sex at their first breeding season, category i.
void atFirstSeason(Model& m, int i, int sex, int j, const Start& st, double wool) {
    m.costvetL[i][j] = vetRearing(m, 1, m.wrL[sex][1][j], startWeight(st, sex, j));
    m.costsheL[i][j] = m.nsherL[1] * m.costshe0L;
    m.costfixL[i][j] = m.dcL[i][j] * m.costfixrL;
    m.revwL[i][j] = m.nsherL[1] * wool * m.prwoolL[j];
}

// Young females reared for breeding, categories 13 to 26.
void youngFemales(Model& m, int j, const Start& st) {
    const int Y = m.lengthrc;
    const double A1 = m.ager[1][1], A2 = m.ager[1][2], A3 = m.ager[1][3];
    const double D2 = A2 - A1, D3 = A3 - A2;  // rearing periods between breeding seasons
    const double prw = m.prwoolL[j], wool = m.wsherL[1][j];
    auto dc = [&](int i) -> double { return m.dcL[i][j]; };
    auto skins = [&](int i) {
        m.costskL[i][j] = m.costtan * m.pskrL * m.ptskrL;
        m.costmarkL[i][j] = m.costmarkcul;
    };

    // 13: sold before the first breeding season.
    if (present(m, 13, j)) soldBeforeFirstSeason(m, 13, 1, j, st, A1 - st.age, wool);
    // 14: at the first breeding season.
    if (present(m, 14, j)) {
        atFirstSeason(m, 14, 1, j, st, wool);
        m.costbreedL[14][j] = breedingFemale(m, j) * m.pmat[1][1][j];
        rearingStay(m, 14, j, st.day, m.datlamb + wholeDays(A1) - 1, frac(A1), 0);
    }
    // 15, 19, 23: pregnant after breeding season 1, 2, 3 and sold.
    if (present(m, 15, j)) {
        m.costvetL[15][j] = vetRearing(m, 2, m.wmat[1][j], m.wrL[1][2][j]) * share(dc(15), D2);
        m.costsheL[15][j] = m.nsherL[2] * m.costshe0L * share(dc(15), D2);
        m.costfixL[15][j] = D2 * m.costfixrL;
        m.costmarkL[15][j] = m.costmarkrL[1];
        m.revwL[15][j] = m.nsherL[2] * wool * prw * share(dc(15), D2);
    }
    if (present(m, 19, j)) {
        m.costvetL[19][j] = vetRearing(m, 2, m.wrL[1][2][j], m.wrL[1][3][j]) * share(dc(19), D3);
        m.costsheL[19][j] = m.nsherL[3] * m.costshe0L * share(dc(19), D3);
        m.costfixL[19][j] = D3 * m.costfixrL;
        m.costmarkL[19][j] = m.costmarkrL[1];
        m.revwL[19][j] = m.nsherL[3] * wool * prw * share(dc(19), D3);
    }
    const double D4 = 3 * Y - A3;  // third breeding season to the lambing that follows
    if (present(m, 23, j)) {
        m.costvetL[23][j] = vetRearing(m, 2, m.wP[23][j], m.wrL[1][2][j]) * share(dc(23), D3);
        m.costsheL[23][j] = m.nsheFP * m.costshe0L * share(dc(23), D4);
        m.costfixL[23][j] = D4 * m.costfixrL;
        m.costmarkL[23][j] = m.costmarkrL[1];
        m.revwL[23][j] = m.nsherL[3] * wool * prw * share(dc(23), D3);
    }
    // 16, 20, 24: pregnant after breeding season p, joining the ewe flock
    // at their first lambing.
    for (int p = 1; p <= 3; ++p) {
        const int i = 4 * p + 12;
        if (!present(m, i, j)) continue;
        m.costvetL[i][j] =
            m.nendopclFP * m.prendop * (m.wrL[1][p][j] + m.wlFP[p]) / 2 + m.nectopclFP * m.prectop + m.vetclFP;
        m.costsheL[i][j] = m.nsheFP * m.costshe0L;
        m.costfixL[i][j] = (p * Y - m.ager[1][p]) * m.costfixrL;
        m.revwL[i][j] = wool * m.nsheFP * prw;
    }
    // 17, 21, 25: not pregnant after breeding season 1, 2, 3 and culled.
    if (present(m, 17, j)) {
        m.costvetL[17][j] = vetRearing(m, 2, m.wnmat[1][j], m.wrL[1][2][j]) * share(dc(17), D2);
        m.costsheL[17][j] = m.nsherL[2] * m.costshe0L * share(dc(17), D2);
        m.costfixL[17][j] = D2 * m.costfixrL;
        m.revwL[17][j] = m.nsherL[2] * wool * prw * share(dc(17), D2);
        skins(17);
    }
    if (present(m, 21, j)) {
        m.costvetL[21][j] = vetRearing(m, 2, m.wrL[1][2][j], m.wrL[1][3][j]) * share(dc(21), D3);
        m.costsheL[21][j] = m.nsherL[3] * m.costshe0L * share(dc(21), D3);
        m.costfixL[21][j] = D3 * m.costfixrL;
        m.revwL[21][j] = m.nsherL[3] * wool * prw * share(dc(21), D3);
        skins(21);
    }
    if (present(m, 25, j)) {
        m.costvetL[25][j] = vetRearing(m, 2, m.wrL[1][2][j], m.wrL[1][3][j]) * share(dc(25), D3);
        m.costsheL[25][j] = m.nsheFP * m.costshe0L * share(dc(25), D4);
        m.costfixL[25][j] = D4 * m.costfixrL;
        m.revwL[25][j] = m.nsherL[3] * wool * prw * share(dc(25), D3);
        skins(25);
    }
    // 18, 22: at the second and third breeding season.
    if (present(m, 18, j)) {
        m.costvetL[18][j] = vetRearing(m, 2, m.wnmat[1][j], m.wrL[1][2][j]);
        m.costsheL[18][j] = m.nsherL[2] * m.costshe0L;
        m.costfixL[18][j] = dc(18) * m.costfixrL;
        m.costbreedL[18][j] = breedingFemale(m, j);
        m.revwL[18][j] = m.nsherL[2] * wool * prw;
    }
    if (present(m, 22, j)) {
        m.costvetL[22][j] = vetRearing(m, 2, m.wrL[1][2][j], m.wrL[1][3][j]);
        m.costsheL[22][j] = m.nsherL[3] * m.costshe0L;
        m.costfixL[22][j] = dc(22) * m.costfixrL;
        m.costbreedL[22][j] = breedingFemale(m, j);
        m.revwL[22][j] = m.nsherL[3] * wool * prw;
    }
    // 26: sold between the first and the second breeding season.
    if (present(m, 26, j)) {
        m.costvetL[26][j] = vetRearing(m, 2, m.wnmat[1][j], m.wP[26][j]) * share(dc(26), D2);
        m.costsheL[26][j] = m.nsherL[2] * m.costshe0L * share(dc(26), D2);
        m.costfixL[26][j] = dc(26) * m.costfixrL;
        m.costmarkL[26][j] = m.costmarkrL[1];
        m.revwL[26][j] = m.nsherL[2] * wool * prw * share(dc(26), D2);
    }

    // Labour and bedding from the start of the stay, which is the
    // breeding season the animals are in, to its end.
    const double fpreg = frac(m.dpregsFP), fnpreg = frac(m.dnpregcFP);
    for (int p = 1; p <= 3; ++p) {
        const int first = m.datlamb + wholeDays(m.ager[1][p]);
        const double f0 = frac(m.ager[1][p]);
        const int pregnant = 4 * p + 11, joining = 4 * p + 12, culled = 4 * p + 13, next = 4 * p + 14;
        if (present(m, pregnant, j))
            rearingStay(m, pregnant, j, first, m.datlamb - m.lpreg + wholeDays(m.dpregsFP) - 1 + p * Y, fpreg, f0);
        if (present(m, joining, j)) rearingStay(m, joining, j, first, m.datlamb - 1 + p * Y, 0, f0);
        if (present(m, culled, j))
            rearingStay(m, culled, j, first, m.datebs + wholeDays(m.dnpregcFP) - 1 + (p - 1) * Y, fnpreg, f0);
        if (p < 3 && present(m, next, j)) rearingStay(m, next, j, first, m.datbbs - 1 + p * Y, 0, f0);
    }
    if (present(m, 26, j))
        rearingStay(m, 26, j, m.datlamb + wholeDays(A1), m.datlamb + wholeDays(m.agetP[26][j]) - 1, frac(m.agetP[26][j]),
                    frac(A1));
}

// Young males reared for breeding, categories 38 to 42.
void youngMales(Model& m, int j, const Start& st) {
    const int Y = m.lengthrc;
    const double span1 = m.ager[2][1] - st.age;       // weaning to the first breeding season
    const double span2 = m.ager[2][2] - m.ager[2][1];  // first to second breeding season
    const double prw = m.prwoolL[j], wool = m.wsherL[2][j];
    auto dc = [&](int i) -> double { return m.dcL[i][j]; };

    // 38: sold before the first breeding season.
    // The male lamb is sheared like the female lambs sold at that age
    // (category 13), and the breeder sells its wool as well.
    if (present(m, 38, j)) soldBeforeFirstSeason(m, 38, 2, j, st, span1, wool);
    // 39: at the first breeding season.
    if (present(m, 39, j)) {
        atFirstSeason(m, 39, 2, j, st, wool);
        rearingStay(m, 39, j, st.day, m.datbbs - 1, 0, 0);
    }
    // 40: sold between the first and the second breeding season.
    if (present(m, 40, j)) {
        m.costvetL[40][j] = vetRearing(m, 2, m.wnmat[2][j], m.wrL[2][2][j]) * share(dc(40), span2);
        m.costsheL[40][j] = m.nsherL[2] * m.costshe0L * share(dc(40), span2);
        m.costfixL[40][j] = span2 * m.costfixrL;
        m.costmarkL[40][j] = m.costmarkrL[2];
        m.revwL[40][j] = m.nsherL[2] * wool * prw * share(dc(40), span2);
        rearingStay(m, 40, j, m.datbbs, m.datlamb + wholeDays(m.agetP[40][j]) - 1, frac(m.agetP[40][j]), 0);
    }
    // 41: entering the ram flock after the second breeding season.
    if (present(m, 41, j)) {
        m.costvetL[41][j] = vetRearing(m, 2, m.wnmat[2][j], m.wrL[2][2][j]);
        m.costsheL[41][j] = m.nsherL[2] * m.costshe0L;
        m.costfixL[41][j] = dc(41) * m.costfixrL;
        m.revwL[41][j] = m.nsherL[2] * wool * prw;
        rearingStay(m, 41, j, m.datbbs, m.datbbs - 1 + Y, 0, 0);
    }
    // 42: culled.
    if (present(m, 42, j)) {
        m.costskL[42][j] = m.costtan * m.pskrL * m.ptskrL;
        m.costmarkL[42][j] = m.costmarkcul;
    }
}

// One source of animals lost: the category they are lost from and their
// number.
struct Loss {
    int from;
    double number;
};

// The quantities that animals lost from other categories carry with them.
constexpr ProgenyTable Model::* lossItems[] = {&Model::costvetL, &Model::costlabL, &Model::costsheL, &Model::costfixL,
                                               &Model::costbedL, &Model::revwL,    &Model::revmanL};

// Values per animal of category `target`, whose animals are lost from the
// categories of `src`: the values of the sources weighted with the numbers
// lost.  A lost animal spends on average half the stay of its source, but
// its place costs the fixed costs of the whole stay.
void lostAnimals(Model& m, int j, int target, const Loss* src, int n) {
    if (!present(m, target, j)) return;
    for (ProgenyTable Model::* item : lossItems) {
        Real& v = (m.*item)[target][j];
        v = 0;
        for (int q = 0; q < n; ++q) v += (m.*item)[src[q].from][j] * src[q].number;
        v /= (item == &Model::costfixL ? 1 : 2) * double(m.l1skL[target][j]);
    }
}

void lossCategories(Model& m, int j) {
    // Dead animals are disposed of by weight.
    for (int i : {2, 3, 4, 28, 29, 48})
        if (present(m, i, j)) m.costdiedL[i][j] = m.wP[i][j] * m.costdead;

    // Deaths during fattening: females 3, males 28, castrates 48.
    const int targets[3] = {48, 3, 28}, rows[3] = {42, 7, 32};
    for (int n : {1, 2, 0}) {
        Loss src[cap::LF];
        for (int c = 1; c <= m.lf[n]; ++c) src[c - 1] = {rows[n] + c, m.ndiedfat[n][c][j]};
        lostAnimals(m, j, targets[n], src, m.lf[n]);
    }

    // Young breeding females that die (4), young males that die (29) or
    // are culled (42).
    const Loss females[4] = {{14, m.nrdied[1][1][j] + m.nspdied[1][1][j]},
                             {18, m.nrdied[1][2][j] + m.nspdied[1][2][j]},
                             {22, m.nrdied[1][3][j] + m.nspdied[1][3][j]},
                             {20, m.nrdiedmlFP[j]}};
    lostAnimals(m, j, 4, females, 4);
    const Loss died[2] = {{39, m.nrdied[2][1][j] + m.nspdied[2][1][j]}, {41, m.nrdied[2][2][j] + m.nspdied[2][2][j]}};
    lostAnimals(m, j, 29, died, 2);
    const Loss culled[2] = {{39, m.nrcull[2][1][j] + m.nspcull[2][1][j]},
                            {41, m.nrcull[2][2][j] + m.nspcull[2][2][j]}};
    lostAnimals(m, j, 42, culled, 2);
}

// Discounting of the values per animal and the totals of each category.
// Manure and skin revenues stay per animal; the revenue phase discounts
// them.
void progenyTotals(Model& m, int j) {
    for (int i = 1; i <= m.PP; ++i) {
        if (!present(m, i, j)) continue;
        const double qave = m.qaveL[i][j], qend = m.qendL[i][j];
        m.costvetL[i][j] *= qave;
        m.costlabL[i][j] *= qave;
        m.costsheL[i][j] *= qave;
        m.costfixL[i][j] *= qave;
        m.costbedL[i][j] *= qave;
        m.revwL[i][j] *= qave;
        m.costbreedL[i][j] *= m.qbreedL[i];
        m.costskL[i][j] *= qend;
        m.costmarkL[i][j] *= qend;
        m.costdiedL[i][j] *= qend;
        m.costnfL[i][j] = m.costvetL[i][j] + m.costlabL[i][j] + m.costsheL[i][j] + m.costfixL[i][j] +
                          m.costbedL[i][j] + m.costbreedL[i][j] + m.costskL[i][j] + m.costmarkL[i][j] +
                          m.costdiedL[i][j];
        m.costL[i][j] = m.costfL[i][j] + m.costnfL[i][j] + m.costwatL[i][j];
    }
}

void progenyCosts(Model& m) {
    // Categories without animals keep 0 in every item, the revenue phase
    // relies on it.
    clear(m.costvetL);
    clear(m.costlabL);
    clear(m.costsheL);
    clear(m.costfixL);
    clear(m.costbedL);
    clear(m.costbreedL);
    clear(m.costskL);
    clear(m.costmarkL);
    clear(m.costdiedL);
    clear(m.revwL);
    clear(m.revmanL);
    clear(m.revskrL);
    clear(m.revsktL);
    clear(m.revcL);
    clear(m.costnfL);
    clear(m.costL);

    const bool weaned = m.typew == 1;
    const Start st{weaned ? m.datwL : m.datlamb + m.agearL, double(weaned ? m.agewL : m.agearL),
                   weaned ? &m.avww : &m.avwar};
    for (int j = 1; j <= m.crossing; ++j) {
        fatteningLambs(m, j, st);
        weaningLambs(m, j);
        youngFemales(m, j, st);
        youngMales(m, j, st);
        lossCategories(m, j);
        progenyTotals(m, j);
    }
}

}  // namespace

void nonFeedCosts(Run& run) {
    Model& m = run.m;
    if (m.itrait == 0) std::fputs("Calculating non-feed costs\n", run.con);
    try {
        eweCosts(m);
        ramCosts(m);
        progenyCosts(m);
    } catch (const DaysOutOfRange& e) {
        stopForDays(run, e);
    }
}
