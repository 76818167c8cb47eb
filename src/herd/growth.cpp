#include "context/run.h"
#include "herd/herd.h"
#include "model/model.h"
#include "stats/normal.h"

namespace {

const char* breedWord(int cr) { return cr == 1 ? "pure-bred " : "cross-bred "; }

// Row of the progeny-category tables that holds fattening variant s of
// kind k (0 castrates, 1 females, 2 males).
int fatteningRow(int k, int s) { return (k == 1 ? 7 : k == 2 ? 32 : 42) + s; }

[[noreturn]] void femaleSaleAge(Run& run, int cr, bool first, double lo, double hi) {
    failCheckAt(run, &run.m.agetP[first ? 13 : 26][cr],
              "The age of %sbreeding female lambs sold\n%sis not correct.\n"
              "  The age must be between %3.0f and %3.0f days.\n"
              "  Correct the appropriate value in INPUTS04.TXT and restart the program.\n\n\n",
              breedWord(cr), first ? "  before the 1st breeding season " : "  between the 1st and 2nd breeding season ",
              lo, hi);
}

[[noreturn]] void maleSaleAge(Run& run, int cr, bool first) {
    failCheckAt(run, &run.m.agetP[first ? 38 : 40][cr],
              "The age at which %sbreeding male lambs are sold\n%sis not correct.\n"
              "  Correct the appropriate value in INPUTS04.TXT and restart the program.\n\n\n",
              breedWord(cr),
              first ? "  before the first breeding season " : "  between the first and second breeding season ");
}

[[noreturn]] void aboveMatureWeight(Run& run, int cr, int sex, bool first) {
    failCheck(run,
              "The weight calculated for %s%slambs in the %s"
              "  breeding season is higher than mature weight. Correct the \n"
              "  appropriate weights or daily gains in INPUTS03.TXT and/or INPUTS04.TXT\n"
              "  and restart the program.\n",
              breedWord(cr), sex == 1 ? "female " : "male ", first ? "first\n" : "second\n");
}

// Mating by weight at the first breeding season: the weights of the young
// animals of one sex and breed group are normal with mean wrL[sex][1][cr]
// and standard deviation sigmawr; those at or above the minimum weight are
// mated.  Sets the share mated and the median weights of the mated and the
// not mated parts.
void mateByWeight(Model& m, int sex, int cr) {
    const double mean = m.wrL[sex][1][cr];
    const double sigma = m.sigmawr[sex][cr];
    if (sigma > 0) m.pmat[sex][1][cr] = 1 - normdis((m.minw[sex][cr] - mean) / sigma);
    else m.pmat[sex][1][cr] = mean >= m.minw[sex][cr] ? 1.0 : 0.0;   // all weights equal the mean
    m.wmat[sex][cr] = probit(1 - m.pmat[sex][1][cr] / 2) * sigma + mean;
    m.wnmat[sex][cr] = probit((1 - m.pmat[sex][1][cr]) / 2) * sigma + mean;
}

}  // namespace

void growth(Run& run) {
    Model& m = run.m;
    if (m.itrait == 0) std::fputs("Calculating parameters of growth\n", run.con);
    const int X = m.crossing;

    // Traits tied to their reference traits by the run-once ratios.
    for (int cr = 1; cr <= X; ++cr)
        for (int lt = 1; lt <= m.clt; ++lt)
            for (int sex = 1; sex <= 2; ++sex) {
                m.bwL[sex][lt][cr] = m.kbw[sex][lt][cr] * m.bwL[1][1][cr];
                m.adgbwL[sex][lt][cr] = m.kadgbw[sex][lt][cr] * m.adgbwL[1][1][cr];
                if (m.typew == 2) m.adgwarL[sex][lt][cr] = m.kadgwar[sex][lt][cr] * m.adgwarL[1][1][cr];
            }
    // Fattening gains follow the gain of the breed group's reference variant;
    // a breed group without fattening has none.
    for (int cr = 1; cr <= X; ++cr) {
        if ((cr == 1 ? m.fatpb : m.fatcb) == 0) continue;
        const double g = m.adgP[cr == 1 ? m.icatpb : m.icatcb][cr];
        for (int k : {1, 2, 0})
            for (int s = 1; s <= m.lf[k]; ++s) m.adgP[fatteningRow(k, s)][cr] = m.kadgfat[k][s][cr] * g;
    }
    for (int cr = 1; cr <= X; ++cr) {
        if (m.adgr[1][1][cr] > 1e-06) {
            const double g = m.adgr[1][1][cr];
            for (int j = 1; j <= m.nbsF; ++j) m.adgr[1][j][cr] = m.kadgr[1][j][cr] * g;
            for (int j = 1; j <= m.nbsM; ++j) m.adgr[2][j][cr] = m.kadgr[2][j][cr] * g;
        }
        if (m.adgr[2][1][cr] > 1e-06 && m.adgr[1][1][cr] < 1e-06) {
            const double g = m.adgr[2][1][cr];
            for (int j = 1; j <= m.nbsM; ++j) m.adgr[2][j][cr] = m.kadgr[2][j][cr] * g;
        }
    }

    m.mwR[1] = m.kmwRE[1] * m.mwE[1];
    if (X == 2) {
        m.mwE[2] = (m.hetmw / 100 + 1) * (m.mwE[1] + m.mwE2) / 2;
        m.mwR[2] = m.kmwRE[2] * m.mwE2;
        m.mwMP[2] = (m.hetmw / 100 + 1) * (m.mwR[1] + m.mwR[2]) / 2;
    }

    // Lamb weights at weaning and at the end of artificial rearing.
    for (int lt = 1; lt <= m.clt; ++lt)
        for (int cr = 1; cr <= X; ++cr)
            for (int sex = 1; sex <= 2; ++sex) {
                m.wwL[sex][lt][cr] = m.agewL * m.adgbwL[sex][lt][cr] + m.bwL[sex][lt][cr];
                if (m.typew == 2)
                    m.warL[sex][lt][cr] = (m.agearL - m.agewL) * m.adgwarL[sex][lt][cr] + m.wwL[sex][lt][cr];
            }
    // Shares of the litter sizes among the weaned (reared) lambs; a breed
    // group without lambs has none.
    for (int cr = 1; cr <= X; ++cr)
        for (int lt = 1; lt <= m.clt; ++lt) {
            m.pwL[lt][cr] = m.NwL[cr] != 0 ? m.nwL[cr][lt] / m.NwL[cr] : 0.0;
            if (m.typew == 2) m.parL[lt][cr] = m.NarL[cr] != 0 ? m.narL[cr][lt] / m.NarL[cr] : 0.0;
        }
    for (int cr = 1; cr <= X; ++cr) {
        for (int sex = 0; sex <= 2; ++sex) m.avwar[sex][cr] = m.avww[sex][cr] = 0;
        for (int lt = 1; lt <= m.clt; ++lt) {
            m.avww[1][cr] += m.wwL[1][lt][cr] * m.pwL[lt][cr];
            m.avww[2][cr] += m.wwL[2][lt][cr] * m.pwL[lt][cr];
            if (m.typew == 2) {
                m.avwar[1][cr] += m.warL[1][lt][cr] * m.parL[lt][cr];
                m.avwar[2][cr] += m.warL[2][lt][cr] * m.parL[lt][cr];
            }
        }
        m.avww[0][cr] = m.avww[2][cr];
        m.wP[32][cr] = m.avww[2][cr];
        m.wP[7][cr] = m.avww[1][cr];
        if (m.typew == 1) m.wP[2][cr] = (m.avww[1][cr] + m.avww[2][cr]) * 0.25;
        if (m.typew == 2) {
            m.avwar[0][cr] = m.avwar[2][cr];
            m.wP[32][cr] = m.avwar[2][cr];
            m.wP[7][cr] = m.avwar[1][cr];
            m.wP[2][cr] = (m.avwar[1][cr] + m.avwar[2][cr]) * 0.25;
        }
    }

    for (int j = 1; j <= m.nbsF; ++j) m.ager[1][j] = m.datbbs + (j - 1) * m.lengthrc - m.datlamb + 1;
    const double A0 = m.typew == 1 ? m.agewL : m.agearL;
    // Start weight of progeny after weaning or artificial rearing.
    auto W0 = [&](int sex, int cr) -> double { return m.typew == 1 ? m.avww[sex][cr] : m.avwar[sex][cr]; };

    for (int cr = 1; cr <= X; ++cr) {
        if (!(m.psold[1][0][cr] > 1e-06)) continue;
        if (m.agetP[13][cr] > m.ager[1][1] || A0 > m.agetP[13][cr]) femaleSaleAge(run, cr, true, A0, m.ager[1][1]);
        if (m.agetP[26][cr] > m.ager[1][2] || m.ager[1][1] >= m.agetP[26][cr])
            femaleSaleAge(run, cr, false, m.ager[1][1] + 1, m.ager[1][2]);
    }

    // Young females at their breeding seasons.  Cross-bred young females are
    // followed only when some are reared for breeding.
    int n = m.psp[1][2][2] < 1e-06 ? 1 : X;
    for (int cr = 1; cr <= n; ++cr) {
        m.wrL[1][1][cr] = (m.ager[1][1] - A0) * m.adgr[1][1][cr] + W0(1, cr);
        if (m.wrL[1][1][cr] > m.mwE[cr]) aboveMatureWeight(run, cr, 1, true);
        m.sigmawr[1][cr] = m.vcwr[1][cr] * m.wrL[1][1][cr] / 100;
    }
    for (int cr = 1; cr <= n; ++cr) {
        m.minw[1][cr] = m.mwE[cr] * m.pwrepFP[cr];
        mateByWeight(m, 1, cr);
        m.wrL[1][2][cr] = (m.ager[1][2] - m.ager[1][1]) * m.adgr[1][2][cr] + m.wnmat[1][cr];
        if (m.wrL[1][2][cr] > m.mwE[cr]) aboveMatureWeight(run, cr, 1, false);
        m.wrL[1][3][cr] = m.mwE[cr];
        m.adgr[1][3][cr] = (m.wrL[1][3][cr] - m.wrL[1][2][cr]) / (m.ager[1][3] - m.ager[1][2]);
    }

    // First lambing of young females mated in season j.
    const int interval = m.lengthrc + m.datlamb - m.datbbs;
    m.wlFP[1] = interval * m.adgr[1][2][1] + m.wmat[1][1];
    m.wlFP[2] = interval * m.adgr[1][3][1] + m.wrL[1][2][1];
    m.wlFP[3] = m.mwE[1];
    for (int j = 1; j <= m.nbsF; ++j) {
        m.agelFP[j] = j * m.lengthrc;
        m.datconFP[j] = j * m.lengthrc + m.datlamb - m.lpreg;
    }

    for (int cr = 1; cr <= n; ++cr) {
        if (m.psold[1][0][cr] > 1e-06) m.wP[13][cr] = (m.agetP[13][cr] - A0) * m.adgr[1][1][cr] + W0(1, cr);
        m.wP[15][cr] = (m.datconFP[1] + m.dpregsFP - m.datbbs) * m.adgr[1][2][cr] + m.wmat[1][cr];
        m.wP[19][cr] = (m.datconFP[2] + m.dpregsFP - m.datbbs - 365) * m.adgr[1][3][cr] + m.wrL[1][2][cr];
        m.wP[17][cr] = (m.datebs + m.dnpregcFP - m.datbbs) * m.adgr[1][2][cr] + m.wmat[1][cr];
        m.wP[21][cr] = (m.datebs + m.dnpregcFP - m.datbbs) * m.adgr[1][3][cr] + m.wrL[1][2][cr];
        m.wP[25][cr] = m.wP[23][cr] = m.mwE[cr];
        if (1 - m.ps13[cr] > 1e-06)
            m.wP[26][cr] = (m.agetP[26][cr] - m.ager[1][1]) * m.adgr[1][2][cr] + m.wnmat[1][cr];
    }

    // Young males at their breeding seasons.
    n = m.psp[2][2][2] < 1e-06 ? 1 : X;
    for (int j = 1; j <= m.nbsM; ++j) m.ager[2][j] = (j - 1) * m.lengthrc + m.datbbs - m.datlamb + 1;
    for (int cr = 1; cr <= n; ++cr) {
        m.wrL[2][1][cr] = (m.ager[2][1] - A0) * m.adgr[2][1][cr] + W0(2, cr);
        if (m.wrL[2][1][cr] > m.mwMP[cr]) aboveMatureWeight(run, cr, 2, true);
        m.sigmawr[2][cr] = m.vcwr[2][cr] * m.wrL[2][1][cr] / 100;
    }
    for (int cr = 1; cr <= n; ++cr) {
        m.minw[2][cr] = m.mwMP[cr] * m.pwrepMP;
        mateByWeight(m, 2, cr);
        m.wrL[2][2][cr] = (m.ager[2][2] - m.ager[2][1]) * m.adgr[2][2][cr] + m.wnmat[2][cr];
        if (m.wrL[2][2][cr] > m.mwMP[cr]) aboveMatureWeight(run, cr, 2, false);
    }
    for (int cr = 1; cr <= X; ++cr) {
        if (!(m.psold[2][1][cr] > 1e-06)) continue;
        if (m.agetP[38][cr] >= m.ager[2][1]) maleSaleAge(run, cr, true);
        if (m.agetP[40][cr] > m.ager[2][2] || m.ager[2][1] > m.agetP[40][cr]) maleSaleAge(run, cr, false);
    }
    for (int cr = 1; cr <= n; ++cr) {
        m.wP[38][cr] = (m.agetP[38][cr] - A0) * m.adgr[2][1][cr] + W0(2, cr);
        m.wP[39][cr] = m.wrL[2][1][cr];
        m.wP[40][cr] = (m.agetP[40][cr] - m.ager[2][1]) * m.adgr[2][2][cr] + m.wrL[2][1][cr];
        m.wP[41][cr] = m.wrL[2][2][cr];
    }

    // End points of the fattening variants: a target weight gives the age,
    // a target age the weight.
    for (int k : {1, 2, 0}) {
        const int sex = k == 1 ? 1 : 2;
        for (int s = 1; s <= m.lf[k]; ++s) {
            const int c = fatteningRow(k, s);
            for (int cr = 1; cr <= 2; ++cr) {
                const int code = m.clf[k][s];
                if (!(code == 0 || code == cr)) continue;
                const double w0 = W0(sex, cr);
                if (m.ulf[k][s] == 1) {
                    m.agetP[c][cr] = A0 + (m.vlf[k][s] - w0) / m.adgP[c][cr];
                    m.wP[c][cr] = m.vlf[k][s];
                } else if (m.ulf[k][s] == 2) {
                    m.wP[c][cr] = (m.vlf[k][s] - A0) * m.adgP[c][cr] + w0;
                    m.agetP[c][cr] = m.vlf[k][s];
                }
                // The calendar of the model follows young stock for three
                // years; a fattening that ends later is no fattening.
                if (m.agetP[c][cr] > 3 * 365)
                    failCheckAt(run, &m.vlf[k][s],
                              "The fattening of %s to target %d ends at an age of %.0f days,\n"
                              "  more than three years. Correct the target or the daily gain in INPUTS05.TXT\n"
                              "  and restart the program.\n",
                              k == 1 ? "female lambs" : k == 2 ? "male lambs" : "castrates", s,
                              double(m.agetP[c][cr]));
            }
        }
    }
}
