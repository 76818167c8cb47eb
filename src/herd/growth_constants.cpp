#include "context/run.h"
#include "herd/herd.h"
#include "model/model.h"

namespace {

// Row of the progeny-category tables that holds fattening variant s of
// kind k (0 castrates, 1 females, 2 males).
int fatteningRow(int k, int s) { return (k == 1 ? 7 : k == 2 ? 32 : 42) + s; }

// Ratio of a fleece weight to the rams' fleece weight; a breed without wool
// has no fleece at all.
double woolRatio(double fleece, double ramFleece) { return ramFleece > 1e-06 ? fleece / ramFleece : 0.0; }

}  // namespace

void growthConstants(Run& run) {
    Model& m = run.m;
    std::fputs("Calculating several constants for growth\n", run.con);
    m.agewL = m.datwL - m.datlamb;
    if (m.agewL <= 0)
        failCheckAt(run, &m.datwL,
                  "The date of weaning lambs must be later than the date of lambing.\n"
                  "  Correct the dates in INPUTS01.TXT and restart the program.\n\n\n");
    if (m.typew == 2 && m.agearL - m.agewL <= 0)
        failCheckAt(run, &m.agearL,
                  "The age at the end of artificial rearing must be higher than the age\n"
                  "  at weaning (%d days). Correct this error in INPUTS03.TXT and restart the program.\n\n\n",
                  m.agewL);

    // Birth weights and gains until weaning (and in artificial rearing)
    // relative to those of single-born female lambs of the same breed group.
    for (int lt = 1; lt <= m.clt; ++lt)
        for (int cr = 1; cr <= m.crossing; ++cr)
            for (int sex = 1; sex <= 2; ++sex) {
                m.adgbwL[sex][lt][cr] = (m.wwL[sex][lt][cr] - m.bwL[sex][lt][cr]) / m.agewL;
                if (m.bwL[1][1][cr] > 1e-06) m.kbw[sex][lt][cr] = m.bwL[sex][lt][cr] / m.bwL[1][1][cr];
                if (m.adgbwL[1][1][cr] > 1e-06)
                    m.kadgbw[sex][lt][cr] = m.adgbwL[sex][lt][cr] / m.adgbwL[1][1][cr];
                if (m.typew == 2) {
                    m.adgwarL[sex][lt][cr] = (m.warL[sex][lt][cr] - m.wwL[sex][lt][cr]) / (m.agearL - m.agewL);
                    if (m.adgwarL[1][1][cr] > 1e-06)
                        m.kadgwar[sex][lt][cr] = m.adgwarL[sex][lt][cr] / m.adgwarL[1][1][cr];
                }
            }

    // First fattening variant of each kind that applies to each breed group.
    for (int k : {1, 2, 0}) {
        if (m.lf[k] <= 0) continue;
        for (int s = 1; s <= m.lf[k]; ++s)
            if (m.clf[k][s] == 0 || m.clf[k][s] == 1) {
                m.k0[k][1] = s;
                break;
            }
        for (int s = 1; s <= m.lf[k]; ++s)
            if (m.clf[k][s] == 0 || m.clf[k][s] == 2) {
                m.k0[k][2] = s;
                break;
            }
    }
    if (m.k0[1][1] + m.k0[0][1] + m.k0[2][1] > 0) m.fatpb = 1;
    if (m.k0[1][2] + m.k0[0][2] + m.k0[2][2] > 0) m.fatcb = 1;

    // Reference variant of each breed group: females before males before
    // castrates.
    auto referenceKind = [&](int col, int current) {
        if (m.k0[1][col] > 0) return 1;
        if (m.k0[2][col] > 0) return 2;
        if (m.k0[0][col] > 0) return 0;
        return current;
    };
    m.ispb = referenceKind(1, m.ispb);
    m.iscb = referenceKind(2, m.iscb);
    m.ilpb = m.k0[m.ispb][1];
    m.ilcb = m.k0[m.iscb][2];
    m.icatpb = fatteningRow(m.ispb, m.ilpb);
    m.icatcb = fatteningRow(m.iscb, m.ilcb);

    // Fattening gains relative to the gain of the breed group's own
    // reference variant.  A breed group to which no variant applies has no
    // reference and no ratios.
    for (int cr = 1; cr <= m.crossing; ++cr) {
        if ((cr == 1 ? m.fatpb : m.fatcb) == 0) continue;
        const double g = m.adgP[cr == 1 ? m.icatpb : m.icatcb][cr];
        if (g <= 1e-06) continue;
        for (int k : {1, 2, 0})
            for (int s = 1; s <= m.lf[k]; ++s) m.kadgfat[k][s][cr] = m.adgP[fatteningRow(k, s)][cr] / g;
    }

    // Rearing gains and conception rates of young breeding animals.
    for (int cr = 1; cr <= m.crossing; ++cr) {
        if (m.adgr[1][1][cr] > 1e-06) {
            for (int j = 1; j <= m.nbsF; ++j) m.kadgr[1][j][cr] = m.adgr[1][j][cr] / m.adgr[1][1][cr];
            for (int j = 1; j <= m.nbsM; ++j) m.kadgr[2][j][cr] = m.adgr[2][j][cr] / m.adgr[1][1][cr];
        }
        if (m.adgr[2][1][cr] > 1e-06 && m.adgr[1][1][cr] < 1e-06)
            for (int j = 1; j <= m.nbsM; ++j) m.kadgr[2][j][cr] = m.adgr[2][j][cr] / m.adgr[2][1][cr];
        if (m.conrateFP[1][cr] > 1e-06)
            for (int j = 1; j <= m.nbsF; ++j) m.kconrateFP[j][cr] = m.conrateFP[j][cr] / m.conrateFP[1][cr];
    }

    if (m.mwE[1] > 1e-06) m.kmwRE[1] = m.mwR[1] / m.mwE[1];
    if (m.mwE2 > 1e-06) m.kmwRE[2] = m.mwR[2] / m.mwE2;

    // Fleece weights relative to the rams' fleece weight.
    m.kwE = woolRatio(m.wsheE, m.wsheR[1]);
    for (int sex = 1; sex <= 2; ++sex)
        for (int cr = 1; cr <= m.crossing; ++cr) {
            if (m.typew == 2) m.kwarL[sex][cr] = woolRatio(m.wshearL[sex][cr], m.wsheR[cr]);
            if (m.typew == 1) m.kwwL[sex][cr] = woolRatio(m.wshewL[sex][cr], m.wsheR[cr]);
            m.kwrL[sex][cr] = woolRatio(m.wsherL[sex][cr], m.wsheR[cr]);
        }
    for (int k = 0; k <= 2; ++k)
        for (int cr = 1; cr <= m.crossing; ++cr)
            if (m.lf[k] > 0) m.kwfL[k][cr] = woolRatio(m.wshefL[k][cr], m.wsheR[cr]);
}

void rebuildAtReentry(Run& run) {
    Model& m = run.m;
    if (m.priceS > 2) {
        m.dresR[1] = m.kdresER * m.dresE;
        m.dresrL[1] = m.kdresEL * m.dresE;
        if (m.crossing == 2) m.dresrL[2] = m.dresR[2] * m.kdresRL;
    }
    if (m.priceS == 2)
        for (int cr = 1; cr <= m.crossing; ++cr) {
            m.avclS[cr] = 0;
            for (int s = 1; s <= m.nclS; ++s) m.avclS[cr] += s * m.pclS[cr][s];
        }
    if (m.priceS == 4)
        for (int cr = 1; cr <= m.crossing; ++cr) {
            m.avfleshS[cr] = 0;
            m.avfcS[cr] = 0;
            for (int f = 1; f <= m.nclflS; ++f) {
                double sum = 0;
                for (int c = 1; c <= m.nclfcS; ++c) sum += m.pclfcS[cr][f][c];
                m.avfleshS[cr] += f * sum;
            }
            for (int c = 1; c <= m.nclfcS; ++c) {
                double sum = 0;
                for (int f = 1; f <= m.nclflS; ++f) sum += m.pclfcS[cr][f][c];
                m.avfcS[cr] += c * sum;
            }
        }
    for (int j = 1; j <= m.nbsF; ++j)
        for (int cr = 1; cr <= m.crossing; ++cr) m.conrateFP[j][cr] = m.kconrateFP[j][cr] * m.conrateFP[1][cr];
    m.wsheE = m.wsheR[1] * m.kwE;
    for (int sex = 1; sex <= 2; ++sex)
        for (int cr = 1; cr <= m.crossing; ++cr) {
            if (m.typew == 2) m.wshearL[sex][cr] = m.kwarL[sex][cr] * m.wsheR[cr];
            if (m.typew == 1) m.wshewL[sex][cr] = m.kwwL[sex][cr] * m.wsheR[cr];
            m.wsherL[sex][cr] = m.kwrL[sex][cr] * m.wsheR[cr];
        }
    for (int k = 0; k <= 2; ++k)
        for (int cr = 1; cr <= m.crossing; ++cr)
            if (m.lf[k] > 0) m.wshefL[k][cr] = m.kwfL[k][cr] * m.wsheR[cr];
}
