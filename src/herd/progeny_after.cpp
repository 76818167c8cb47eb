#include <algorithm>
#include <type_traits>

#include "context/run.h"
#include "herd/herd.h"
#include "model/model.h"

namespace {

template <class A> void clear(A& a) {
    using E = std::remove_all_extents_t<A>;
    std::fill_n(reinterpret_cast<E*>(&a), sizeof(A) / sizeof(E), E(0));
}

// Everything this phase produces is recomputed in every evaluation; what a
// configuration does not compute keeps its start-up value 0.
void clearResults(Model& m) {
    clear(m.prconFP);
    clear(m.pherd);
    clear(m.Pherd);
    clear(m.nherd);
    clear(m.nrmatFP);
    clear(m.nrdied);
    clear(m.nrcull);
    clear(m.nrdiedmlFP);
    clear(m.nwsp);
    clear(m.nsp);
    clear(m.ndiedfat);
    clear(m.nfattar);
    clear(m.nsold);
    clear(m.nspdied);
    clear(m.nspcull);
    clear(m.nmatFP);
    clear(m.l1aR);
    clear(m.l5R);
    clear(m.pyoungMP);
    clear(m.neweR);
    clear(m.nramMP);
    clear(m.npurchMP);
    m.npurchFP = 0;
    m.pherdyMP = 0;
    m.ratioR = 0;
    for (int cr = 1; cr <= 2; ++cr) m.pmat[1][2][cr] = m.pmat[1][3][cr] = 0;
}

}  // namespace

void progenyAfterWeaning(Run& run) {
    Model& m = run.m;
    if (m.itrait == 0) std::fputs("Calculating the structure of progeny after weaning\n", run.con);
    const int X = m.crossing;
    clearResults(m);
    // Start weight of progeny after weaning or artificial rearing.
    auto W0 = [&](int sex, int cr) -> double { return m.typew == 1 ? m.avww[sex][cr] : m.avwar[sex][cr]; };

    // Own female replacement: the fates of a pure-bred female lamb reared
    // over up to three breeding seasons.
    m.prconFP[1][1] = m.surbs[1][1][1] * m.pmat[1][1][1] * m.conrateFP[1][1];
    m.pherd[1][1] = m.prconFP[1][1] * m.surmlFP[1];
    m.pmat[1][2][1] = (m.surbs[1][1][1] - m.prconFP[1][1] -
                       (1 - m.pbarrFP[1][1]) * m.surbs[1][1][1] * m.pmat[1][1][1] * (1 - m.conrateFP[1][1])) *
                      m.surbs[1][2][1];
    m.prconFP[2][1] = m.pmat[1][2][1] * m.conrateFP[2][1];
    m.pherd[1][2] = m.prconFP[2][1] * m.surmlFP[1];
    m.pmat[1][3][1] = (m.pmat[1][2][1] - m.prconFP[2][1]) * m.pbarrFP[2][1] * m.surbs[1][3][1];
    m.prconFP[3][1] = m.pmat[1][3][1] * m.conrateFP[3][1];
    m.pherd[1][3] = m.prconFP[3][1] * m.surmlFP[1];
    m.Pherd[1] = m.pherd[1][1] + m.pherd[1][2] + m.pherd[1][3];
    if (!(m.Pherd[1] > 0))
        failCheckAt(run, &m.conrateFP[1][1],
                  "No young female reared for replacement joins the ewe flock: the conception\n"
                  "  rates and survival of young breeding females are zero.\n"
                  "  Correct these values in INPUTS04.TXT and restart the program.\n\n\n");
    m.nherd[1] = m.l4E[1] / m.Pherd[1];

    const double nh = m.nherd[1];
    m.nrmatFP[1] = nh * m.surbs[1][1][1] * m.pmat[1][1][1];
    m.nrdied[1][1][1] = (1 - m.surbs[1][1][1]) * nh;
    m.nrcull[1][1][1] = (m.pmat[1][1][1] * m.surbs[1][1][1] - m.prconFP[1][1]) * nh * (1 - m.pbarrFP[1][1]);
    m.nrmatFP[2] = nh * m.pmat[1][2][1];
    m.nrdied[1][2][1] = (nh - m.nrdied[1][1][1] - nh * m.prconFP[1][1] - m.nrcull[1][1][1]) * (1 - m.surbs[1][2][1]);
    m.nrcull[1][2][1] = (m.pmat[1][2][1] - m.prconFP[2][1]) * nh * (1 - m.pbarrFP[2][1]);
    m.nrmatFP[3] = nh * m.pmat[1][3][1];
    m.nrdied[1][3][1] = (m.nrmatFP[2] - nh * m.prconFP[2][1] - m.nrcull[1][2][1]) * (1 - m.surbs[1][3][1]);
    m.nrcull[1][3][1] = (m.pmat[1][3][1] - m.prconFP[3][1]) * nh * (1 - m.pbarrFP[2][1]);
    m.nrdiedmlFP[1] = (1 - m.surmlFP[1]) * nh * (m.prconFP[1][1] + m.prconFP[2][1] + m.prconFP[3][1]);

    // Surplus females after the own replacement.
    for (int cr = 1; cr <= X; ++cr) m.nwsp[1][cr] = m.typew == 1 ? m.l1skL[5][cr] : m.l1skL[6][cr];
    if (m.femrep == 1) {
        m.nwsp[1][1] -= nh;
        if (m.nwsp[1][1] < 0) {
            if (X == 2)
                failCheckAt(run, &m.pcrossE[1],
                          "There are not enough pure-bred female weaned lambs for own replacement.\n"
                          "  Decrease the fraction of ewes crossed with other breeds, i.e.\n"
                          "  decrease the appropriate values in input file INPUTS01.TXT\n"
                          "  and restart the program.\n\n\n");
            m.npurchFP = -m.nwsp[1][1];   // the shortfall is purchased
            m.nwsp[1][1] = 0;
        }
    } else {
        m.npurchFP = nh * m.ppurchFP;
        m.nwsp[1][1] -= (1 - m.ppurchFP) * nh;
    }
    for (int cr = 1; cr <= X; ++cr) {
        for (int i = 1; i <= m.csp[1]; ++i) m.nsp[1][i][cr] = m.nwsp[1][cr] * m.psp[1][i][cr];
        for (int s = 1; s <= m.lf[1]; ++s) {
            m.ndiedfat[1][s][cr] = (1 - m.surfat[1][s][cr]) * m.nsp[1][s + 2][cr];
            m.nfattar[1][s][cr] = m.nsp[1][s + 2][cr] * m.surfat[1][s][cr];
        }
    }

    // Surplus young females reared for breeding and sold.
    for (int cr = 1; cr <= X; ++cr) {
        const double B = m.nsp[1][2][cr];
        m.nsold[1][0][cr] = B * m.psold[1][0][cr];
        m.nspdied[1][1][cr] = (B - m.nsold[1][0][cr] * m.ps13[cr]) * (1 - m.surbs[1][1][cr]);
        if (!(m.psold[1][0][cr] < 1)) continue;
        m.nmatFP[1][cr] = (B - m.nsold[1][0][cr]) * m.surbs[1][1][cr] * m.pmat[1][1][cr];
        m.nspcull[1][1][cr] = (1 - m.conrateFP[1][cr]) * m.nmatFP[1][cr] * (1 - m.pbarrFP[1][cr]);
        m.nsold[1][1][cr] = m.nmatFP[1][cr] * m.conrateFP[1][cr];
        const double R1 = B - m.nsold[1][0][cr] - m.nsold[1][1][cr] - m.nspdied[1][1][cr] - m.nspcull[1][1][cr];
        m.nmatFP[2][cr] = R1 * m.surbs[1][2][cr];
        m.nsold[1][2][cr] = m.nmatFP[2][cr] * m.conrateFP[2][cr];
        m.nspdied[1][2][cr] = R1 * (1 - m.surbs[1][2][cr]);
        m.nspcull[1][2][cr] = (m.nmatFP[2][cr] - m.nsold[1][2][cr]) * (1 - m.pbarrFP[2][cr]);
        const double R2 = m.nmatFP[2][cr] - m.nsold[1][2][cr] - m.nspcull[1][2][cr];
        m.nmatFP[3][cr] = R2 * m.surbs[1][3][cr];
        m.nsold[1][3][cr] = m.nmatFP[3][cr] * m.conrateFP[3][cr];
        m.nspdied[1][3][cr] = R2 * (1 - m.surbs[1][3][cr]);
        m.nspcull[1][3][cr] = m.nmatFP[3][cr] - m.nsold[1][3][cr];
    }

    // Sires: the rams are split into pure-bred sires and sires of the breed
    // used for crossing by their share of the natural matings.
    const double S = nh * (m.pmat[1][1][1] + m.pmat[1][2][1] + m.pmat[1][3][1]);
    const double matings = m.pctE[1] + m.pctE[2] + S;
    // Without any natural mating no ram is needed and the split is immaterial.
    const double q = matings > 0 ? ((1 - m.pcrossE[0]) * S + m.pctE[1]) / matings : 1.0;
    for (int s = 1; s <= m.TR; ++s) {
        m.l1aR[s][1] = q * m.l1R[s];
        m.l1aR[s][2] = m.l1R[s] - m.l1aR[s][1];
    }
    for (int r = 1; r <= m.RR; ++r) {
        m.l5R[r][1] = q * m.l4R[r];
        m.l5R[r][2] = m.l4R[r] - m.l5R[r][1];
    }

    // Own male replacement and rams needed.
    m.pherd[2][1] = m.pmat[2][1][1] * m.surbs[2][1][1] * (1 - m.cullbsMP[1][1]);
    m.pherd[2][2] = (1 - m.cullbsMP[1][1]) * m.surbs[2][1][1] * (1 - m.pmat[2][1][1]) * m.surbs[2][2][1] *
                    (1 - m.cullbsMP[2][1]);
    m.Pherd[2] = m.pherd[2][1] + m.pherd[2][2];
    m.pherdyMP = m.Pherd[2] > 0 ? m.pherd[2][1] / m.Pherd[2] : 0.0;
    m.pyoungMP[1] = m.pherdyMP * m.l5R[1][1];
    // At least one ewe per ram of either age (the ranges of the inputs).
    m.ratioR = m.pyoungMP[1] * m.ratioyoungR + (1 - m.pyoungMP[1]) * m.ratiooldR;
    m.neweR[1] = (m.pctE[1] + (1 - m.pcrossE[0]) * S) / m.ratioR;
    m.npurchMP[1] = m.neweR[1] * m.ppurchMP;
    m.nramMP[1] = (m.neweR[1] - m.npurchMP[1]) * m.l5R[1][1];
    if (m.nramMP[1] > 0 && !(m.Pherd[2] > 0))
        failCheckAt(run, &m.surbs[2][1][1],
                  "No young male reared for ram replacement enters the ram flock: the\n"
                  "  survival and culling of young breeding males leave none. Correct these\n"
                  "  values in INPUTS04.TXT, or purchase all rams, and restart the program.\n\n\n");
    m.nherd[2] = m.nramMP[1] > 0 ? m.nramMP[1] / m.Pherd[2] : 0.0;
    const double nm = m.nherd[2];
    m.nrdied[2][1][1] = (1 - m.surbs[2][1][1]) * nm;
    m.nrcull[2][1][1] = nm * m.cullbsMP[1][1];
    m.nrdied[2][2][1] = (nm - m.nrdied[2][1][1] - m.nrcull[2][1][1] - nm * m.pherd[2][1]) * (1 - m.surbs[2][2][1]);
    m.nrcull[2][2][1] = ((1 - m.pherd[2][1]) * nm - m.nrdied[2][1][1] - m.nrcull[2][1][1]) * m.cullbsMP[2][1];
    m.neweR[2] = (m.pctE[2] + m.pcrossE[0] * S) / m.ratioR;
    m.nramMP[2] = m.neweR[2] * m.l5R[1][2];
    m.npurchMP[2] = m.nramMP[2];   // all sires of the crossing breed are purchased

    // Surplus males and castrates.
    for (int cr = 1; cr <= X; ++cr) m.nwsp[2][cr] = m.typew == 1 ? m.l1skL[30][cr] : m.l1skL[31][cr];
    m.nwsp[2][1] -= nm;
    for (int cr = 1; cr <= X; ++cr) {
        for (int i = 1; i <= m.csp[2]; ++i) m.nsp[2][i][cr] = m.nwsp[2][cr] * m.psp[2][i][cr];
        for (int s = 1; s <= m.lf[2]; ++s) {
            m.ndiedfat[2][s][cr] = (1 - m.surfat[2][s][cr]) * m.nsp[2][s + 3][cr];
            m.nfattar[2][s][cr] = m.nsp[2][s + 3][cr] * m.surfat[2][s][cr];
        }
    }
    for (int cr = 1; cr <= X; ++cr) {
        const double B = m.nsp[2][2][cr];
        m.nsold[2][1][cr] = B * m.surbs[2][1][cr] * (1 - m.cullbsMP[1][cr]) * m.psold[2][1][cr];
        m.nspdied[2][1][cr] = (1 - m.surbs[2][1][cr]) * B;
        m.nspcull[2][1][cr] = B * m.cullbsMP[1][cr];
        double R1 = B - m.nsold[2][1][cr] - m.nspdied[2][1][cr] - m.nspcull[2][1][cr];
        if (R1 <= 1e-06) R1 = 0;   // all of them sold, dead or culled in the first season
        m.nsold[2][2][cr] = R1 * m.surbs[2][2][cr] * (1 - m.cullbsMP[2][cr]);
        m.nspdied[2][2][cr] = R1 * (1 - m.surbs[2][2][cr]);
        m.nspcull[2][2][cr] = R1 * m.cullbsMP[2][cr];
    }
    for (int cr = 1; cr <= X; ++cr) {
        for (int i = 1; i <= m.lf[0]; ++i) m.nsp[0][i][cr] = m.nwsp[2][cr] * m.psp[0][i][cr];
        for (int s = 1; s <= m.lf[0]; ++s) {
            m.ndiedfat[0][s][cr] = (1 - m.surfat[0][s][cr]) * m.nsp[0][s][cr];
            m.nfattar[0][s][cr] = m.nsp[0][s][cr] * m.surfat[0][s][cr];
        }
    }

    // Progeny categories after weaning (the table was cleared, and the
    // categories until weaning set, by the phase before).
    // Losses weigh the mean of the start and the end weight of the stay.
    auto lossWeight = [&](int target, int k, int firstRow, int sex) {
        for (int cr = 1; cr <= X; ++cr) {
            double died = 0, weighted = 0;
            for (int s = 1; s <= m.lf[k]; ++s) {
                died += m.ndiedfat[k][s][cr];
                weighted += (m.wP[firstRow + s][cr] + W0(sex, cr)) * m.ndiedfat[k][s][cr];
            }
            m.l1skL[target][cr] = died;
            if (m.l1skL[target][cr] > 0) m.wP[target][cr] = weighted / (2 * m.l1skL[target][cr]);
        }
    };

    // Female categories.
    if (m.lf[1] > 0) lossWeight(3, 1, 7, 1);
    {
        double d = 0;
        for (int j = 1; j <= 3; ++j) d += m.nrdied[1][j][1] + m.nspdied[1][j][1];
        m.l1skL[4][1] = d + m.nrdiedmlFP[1];
        if (X == 2) m.l1skL[4][2] = m.nspdied[1][1][2] + m.nspdied[1][2][2] + m.nspdied[1][3][2];
    }
    if (m.l1skL[4][1] > 1e-06)
        m.wP[4][1] = ((m.wrL[1][1][1] + W0(1, 1)) * (m.nrdied[1][1][1] + m.nspdied[1][1][1]) +
                      (m.wrL[1][2][1] + m.wnmat[1][1]) * (m.nrdied[1][2][1] + m.nspdied[1][2][1]) +
                      (m.wrL[1][3][1] + m.wrL[1][2][1]) * (m.nrdied[1][3][1] + m.nspdied[1][3][1]) +
                      ((m.wnmat[1][1] + m.wlFP[1]) * m.pherd[1][1] + (m.wrL[1][2][1] + m.wlFP[2]) * m.pherd[1][2] +
                       (m.wrL[1][3][1] + m.wlFP[3]) * m.pherd[1][3]) *
                          m.nrdiedmlFP[1] / m.Pherd[1]) /
                     (2 * m.l1skL[4][1]);
    if (X == 2 && m.l1skL[4][2] > 0)
        m.wP[4][2] = ((m.wrL[1][1][2] + W0(1, 2)) * (m.nrdied[1][1][2] + m.nspdied[1][1][2]) +
                      (m.wrL[1][2][2] + m.wnmat[1][2]) * (m.nrdied[1][2][2] + m.nspdied[1][2][2]) +
                      (m.wrL[1][3][2] + m.wrL[1][2][2]) * (m.nrdied[1][3][2] + m.nspdied[1][3][2])) /
                     (2 * m.l1skL[4][2]);
    for (int cr = 1; cr <= X; ++cr) {
        m.l1skL[7][cr] = m.nsp[1][1][cr];
        if (m.lf[1] > 0)
            for (int s = 1; s <= 5; ++s) m.l1skL[7 + s][cr] = m.nfattar[1][s][cr];
        m.l1skL[13][cr] = m.nsold[1][0][cr] * m.ps13[cr];
    }
    m.l1skL[14][1] = (nh + m.nsp[1][2][1] - m.nsold[1][0][1] * m.ps13[1]) * m.surbs[1][1][1];
    if (X == 2) m.l1skL[14][2] = (m.nsp[1][2][2] - m.nsold[1][0][2] * m.ps13[2]) * m.surbs[1][1][2];
    for (int cr = 1; cr <= X; ++cr) m.l1skL[26][cr] = (1 - m.ps13[cr]) * m.nsold[1][0][cr] * m.surbs[1][1][cr];
    m.l1skL[18][1] = m.nrmatFP[2] + m.nmatFP[2][1];
    m.l1skL[22][1] = m.nrmatFP[3] + m.nmatFP[3][1];
    if (X == 2) {
        m.l1skL[18][2] = m.nmatFP[2][2];
        m.l1skL[22][2] = m.nmatFP[3][2];
    }
    for (int j = 1; j <= 3; ++j) {
        for (int cr = 1; cr <= X; ++cr) m.l1skL[11 + 4 * j][cr] = m.nsold[1][j][cr];
        m.l1skL[12 + 4 * j][1] = nh * m.pherd[1][j];
        m.l1skL[13 + 4 * j][1] = m.nrcull[1][j][1] + m.nspcull[1][j][1];
        if (X == 2) m.l1skL[13 + 4 * j][2] = m.nspcull[1][j][2];
    }

    // Male categories.
    if (m.lf[2] > 0) lossWeight(28, 2, 32, 2);
    m.l1skL[29][1] = (m.nrdied[2][1][1] + m.nspdied[2][1][1]) + (m.nrdied[2][2][1] + m.nspdied[2][2][1]);
    if (X == 2) m.l1skL[29][2] = m.nspdied[2][1][2] + m.nspdied[2][2][2];
    for (int cr = 1; cr <= X; ++cr)
        if (m.l1skL[29][cr] > 0)
            m.wP[29][cr] = ((m.wrL[2][1][cr] + W0(2, cr)) * (m.nrdied[2][1][cr] + m.nspdied[2][1][cr]) +
                            (m.wrL[2][2][cr] + m.wnmat[2][cr]) * (m.nrdied[2][2][cr] + m.nspdied[2][2][cr])) /
                           (2 * m.l1skL[29][cr]);
    for (int cr = 1; cr <= X; ++cr) {
        m.l1skL[32][cr] = m.nsp[2][1][cr];
        if (m.lf[2] > 0)
            for (int s = 1; s <= 5; ++s) m.l1skL[32 + s][cr] = m.nfattar[2][s][cr];
        m.l1skL[38][cr] = m.nsold[2][1][cr];
        m.l1skL[40][cr] = m.nsold[2][2][cr];
    }
    // Young males at their first breeding season: the own replacement and
    // the surplus reared for breeding, less those sold, dead or culled.
    m.l1skL[39][1] = nm + m.nsp[2][2][1] - m.nrdied[2][1][1] - m.nrcull[2][1][1] - m.nsold[2][1][1] -
                     m.nspdied[2][1][1] - m.nspcull[2][1][1];
    if (X == 2) m.l1skL[39][2] = m.nsp[2][2][2] - m.nsold[2][1][2] - m.nspdied[2][1][2] - m.nspcull[2][1][2];
    m.l1skL[41][1] = nm * m.pherd[2][2];
    for (int cr = 1; cr <= X; ++cr) {
        double culled = m.nspcull[2][1][cr] + m.nspcull[2][2][cr];
        if (cr == 1) culled += m.nrcull[2][1][1] + m.nrcull[2][2][1];
        m.l1skL[42][cr] = culled;
        if (m.l1skL[42][cr] > 1e-06)
            m.wP[42][cr] = ((m.wP[39][cr] + W0(2, cr)) * (m.nrcull[2][1][cr] + m.nspcull[2][1][cr]) +
                            (m.wnmat[2][cr] + m.wP[41][cr]) * (m.nrcull[2][2][cr] + m.nspcull[2][2][cr])) /
                           (2 * m.l1skL[42][cr]);
    }

    // Castrate categories.
    if (m.lf[0] > 0) {
        for (int cr = 1; cr <= X; ++cr)
            for (int s = 1; s <= 5; ++s) m.l1skL[42 + s][cr] = m.nfattar[0][s][cr];
        lossWeight(48, 0, 42, 2);
    }

    for (int c = 3; c <= m.PP; ++c) {
        if (c == 5 || c == 6 || c == 30 || c == 31) continue;
        m.l1skL[c][0] = m.l1skL[c][1] + m.l1skL[c][2];
    }

    carcassClasses(run);

    // Ages and weights of ewes and rams by cycle.
    double age = 0, weight = 0;
    for (int j = 1; j <= m.nbsF; ++j) {
        age += m.agelFP[j] * m.pherd[1][j];
        weight += m.wlFP[j] * m.pherd[1][j];
    }
    m.ageE[1] = age / m.Pherd[1];
    for (int p = 2; p <= m.LL; ++p) m.ageE[p] = (p - 1) * m.lengthrc + m.ageE[1];
    m.wlE[1] = weight / m.Pherd[1];
    for (int p = 2; p <= m.LL; ++p) m.wlE[p] = m.mwE[1];
    m.adgE = (m.wlE[2] - m.wlE[1]) / m.lengthrc;

    age = weight = 0;
    for (int j = 1; j <= m.nbsM; ++j) {
        age += m.ager[2][j] * m.pherd[2][j];
        weight += m.wrL[2][j][1] * m.pherd[2][j];
    }
    // Without own young rams (all purchased) only the purchased ones count.
    m.ageR[1][1] = m.Pherd[2] > 0 ? age / m.Pherd[2] : 0.0;
    m.ageR[1][1] = (1 - m.ppurchMP) * m.ageR[1][1] + m.agepurMP[1] * m.ppurchMP;
    for (int r = 2; r <= m.RR; ++r) m.ageR[r][1] = (r - 1) * m.lengthrc + m.ageR[1][1];
    m.wbR[1][1] = m.Pherd[2] > 0 ? weight / m.Pherd[2] : 0.0;
    m.wbR[1][1] = (1 - m.ppurchMP) * m.wbR[1][1] + m.wpurMP[1] * m.ppurchMP;
    for (int r = 2; r <= m.RR; ++r) m.wbR[r][1] = m.mwR[1];
    // With a single breeding cycle the rams would reach mature weight in
    // the next one.
    m.adgR[1] = ((m.RR >= 2 ? double(m.wbR[2][1]) : double(m.mwR[1])) - m.wbR[1][1]) / m.lengthrc;
    if (X == 2) {
        m.ageR[1][2] = m.agepurMP[2];
        for (int r = 2; r <= m.RR; ++r) m.ageR[r][2] = (r - 1) * m.lengthrc + m.ageR[1][2];
        m.wbR[1][2] = m.wpurMP[2];
        for (int r = 2; r <= m.RR; ++r) m.wbR[r][2] = m.mwR[2];
        m.adgR[2] = ((m.RR >= 2 ? double(m.wbR[2][2]) : double(m.mwR[2])) - m.wbR[1][2]) / m.lengthrc;
    }
}
