// Revenues and profit of one model evaluation.
//
// The prices of milk and of slaughtered animals, the revenue of every ewe
// state, ram state and progeny category per animal (discounted), and the
// totals per ewe and year: revenues, costs, subsidies and the profit that
// the economic-weight loop differentiates.  Everything is rebuilt from the
// current inputs in every evaluation: the results are cleared first, so
// that nothing of a perturbed evaluation survives into the next one.
#include <cmath>
#include <cstdio>
#include <initializer_list>

#include "context/run.h"
#include "economics/economics.h"
#include "model/model.h"
#include "stats/linregm.h"
#include "stats/normal.h"

namespace {

// A progeny category or ram state counts as present above this number of
// animals.
constexpr double kPresent = 1e-06;

// Progeny categories of lambs slaughtered at weaning: female (g = 1) and
// male (g = 2).
constexpr int kWeanedCat[3] = {0, 7, 32};

// Carcass-weight limits (kg) of the weight classes of lambs sold at weaning;
// any class beyond the third uses the last limit again.
constexpr double kCarcassLimit[4] = {0, 7, 10, 13};

void clear(Real& v) { v = 0; }
template <class T, int N>
void clear(T (&a)[N]) {
    for (auto& v : a) clear(v);
}

// Clears every result of this phase, so that each is either recomputed
// below or 0.
void clearResults(Model& m) {
    m.prmilk = 0;
    m.prscc = 0;
    m.prmilkfp = 0;
    clear(m.prmilkf);
    clear(m.prmilkp);
    clear(m.Phiscc);
    clear(m.pSCC);

    clear(m.revcheeseE);
    clear(m.revmilkE);
    clear(m.revsktE);
    clear(m.revskrE);
    clear(m.revcE);
    clear(m.revwE);
    clear(m.revE);

    clear(m.revsoldR);
    clear(m.revsktR);
    clear(m.revskrR);
    clear(m.revcR);
    clear(m.revwR);
    clear(m.revmanR);
    clear(m.revR);

    // The carcass revenues of progeny are set only here; the other progeny
    // items come from the non-feed cost phase of the same evaluation.
    clear(m.revcL);
    clear(m.revL);

    clear(m.prcwawL);
    clear(m.prcwbwL);
    clear(m.prcwcwL);
    clear(m.mcwwL);
    clear(m.sigmacwwL);
    clear(m.PhicwL);
    clear(m.pclcwwL);
    clear(m.pclcwL);
    clear(m.favwL);
    clear(m.avfleshL);
    clear(m.avfcL);
    clear(m.avcqwL);

    m.TrevE = 0;
    m.TcostsE = 0;
    m.TrevR = 0;
    m.TcostsR = 0;
    m.Trev = 0;
    m.Tcosts = 0;
    m.Tsub = 0;
    m.costlamb = 0;
    m.costpurchFP = 0;
    m.Tprof = 0;
    m.profsub = 0;
    m.profnsub = 0;
}

// Price of milk per kg under the pricing system milkprice: base price,
// somatic-cell classes, and fat and protein classes.
void milkPrice(Model& m) {
    m.prmilk = m.prmilkb;

    const bool sccClasses = m.milkprice == 2 || m.milkprice > 3;
    if (sccClasses) {
        // Class frequencies of the somatic cell score, normal with mean mSCS
        // and standard deviation sigmaSCS, between the limits tSCS.
        for (int i = 0; i <= m.nSCC - 2; ++i) m.Phiscc[i] = normdis((m.tSCS[i] - m.mSCS) / m.sigmaSCS);
        if (m.nSCC == 1) {
            // A single class holds all the milk.
            m.pSCC[0] = 1;
        } else {
            m.pSCC[0] = m.Phiscc[0];
            for (int i = 1; i <= m.nSCC - 2; ++i) m.pSCC[i] = m.Phiscc[i] - m.Phiscc[i - 1];
            m.pSCC[m.nSCC - 1] = 1 - m.Phiscc[m.nSCC - 2];
        }
    }

    if (m.milkprice == 2 || m.milkprice == 4) {
        for (int i = 0; i <= m.nSCC - 1; ++i) m.prscc += m.pSCC[i] * m.prSCC[i];
        m.prmilk = m.prmilk + m.prscc;
    }

    if (m.milkprice > 2) {
        // nfat limits make the classes 0 .. nfat; the lowest class starts
        // at 0 % and the highest ends at 100 %.
        if (m.nfat >= 0)
            for (int i = 0; i <= m.nfat; ++i) {
                const RealStored lower = i == 0 ? 0 : stored(m.thfat[i - 1]);
                const RealStored upper = i == m.nfat ? 100 : stored(m.thfat[i]);
                m.prmilkf[i] = linregm(stored(m.fat), stored(m.sigmafat), lower, upper, stored(m.rf[0][i]), stored(m.rf[1][i]),
                                       stored(m.rf[2][i]));
                m.prmilk += m.prmilkf[i];
            }
        if (m.nprot >= 0)
            for (int i = 0; i <= m.nprot; ++i) {
                const RealStored lower = i == 0 ? 0 : stored(m.thprot[i - 1]);
                const RealStored upper = i == m.nprot ? 100 : stored(m.thprot[i]);
                m.prmilkp[i] = linregm(stored(m.prot), stored(m.sigmaprot), lower, upper, stored(m.rp[0][i]), stored(m.rp[1][i]),
                                       stored(m.rp[2][i]));
                m.prmilk += m.prmilkp[i];
            }
    }

    if (m.milkprice == 5) {
        // The price from fat and protein is scaled and shifted by the
        // somatic-cell class of the milk.
        m.prmilkfp = m.prmilk;
        m.prmilk = 0;
        for (int i = 0; i <= m.nSCC - 1; ++i) m.prmilk += (m.facSCC[i] * m.prmilkfp + m.prSCC[i]) * m.pSCC[i];
    }
}

// Prices of culled adult sheep that follow from class frequencies.
void culledSheepPrices(Model& m) {
    for (int k = 1; k <= m.crossing; ++k) {
        if (m.priceS == 2) {
            m.prlwS[k] = 0;
            for (int c = 1; c <= m.nclS; ++c) m.prlwS[k] += m.pclS[k][c] * m.prclS[c];
        }
        if (m.priceS == 4) {
            m.prcwS[k] = 0;
            for (int fl = 1; fl <= m.nclflS; ++fl)
                for (int fc = 1; fc <= m.nclfcS; ++fc) m.prcwS[k] += m.pclfcS[k][fl][fc] * m.prclfcS[fl][fc];
            m.prcwS[k] = m.prrefS * m.prcwS[k];
        }
    }
}

// Revenues of the ewe states: wool, culled ewes with their skins, milk and
// cheese.
void eweRevenues(Model& m) {
    for (int s = 1; s <= m.TE; ++s)
        m.revwE[s] = m.qaveE[s] * m.nsheE * m.wsheE * m.prwoolE * m.dcE[s] / m.lengthrc;

    // Culled ewes (stages 2 and 3), at their live weight when they leave.
    for (int c = 1; c <= m.LL; ++c)
        for (int st = 2; st <= 3; ++st) {
            const int s = (c - 1) * m.nstgE + st;
            m.revskrE[s] = m.qendE[s] * m.prskrE * m.pskE * (1 - m.ptskE);
            m.revsktE[s] = m.qendE[s] * m.prsktE * m.pskE * m.ptskE;
            const double w = c == 1 ? m.dcE[s] * m.adgE + m.wlE[1] : double(m.wlE[c]);
            if (m.priceS == 1 || m.priceS == 2) m.revcE[s] = w * m.prlwS[1];
            if (m.priceS == 3 || m.priceS == 4) m.revcE[s] = m.prcwS[1] * m.dresE / 100 * w;
            m.revcE[s] = m.revcE[s] * m.qendE[s];
        }

    if (m.typeb == 1) {
        const bool cheese = m.pmilkch > 1e-05 && m.milkch > 1e-05;
        for (int c = 1; c <= m.LL; ++c) {
            const double x = m.pmilkwm < 1e-06 ? 0.0 : double(m.milksw[c]);
            // The last cycle has no stages 4 and 5.
            const int lastStage = c == m.LL ? 3 : m.nstgE;
            for (int st = 1; st <= lastStage; ++st) {
                const int s = (c - 1) * m.nstgE + st;
                m.revmilkE[s] = m.plambE[s] * m.prmilk * (m.milkmpar[c] + x) * (1 - m.pmilkch);
                if (cheese)
                    m.revcheeseE[s] = (m.prwhey * m.cheesewhey + m.prcheese) * m.plambE[s] * (m.milkmpar[c] + x) *
                                      m.pmilkch / m.milkch;
                if (st <= 2) {
                    m.revmilkE[s] = m.revmilkE[s] * m.kmilkcE;
                    if (cheese) m.revcheeseE[s] = m.revcheeseE[s] * m.kmilkcE;
                }
                m.revmilkE[s] = m.revmilkE[s] * m.qmilkE[s];
                if (cheese) m.revcheeseE[s] = m.revcheeseE[s] * m.qmilkE[s];
            }
        }
    }

    for (int s = 1; s <= m.TE; ++s)
        m.revE[s] = m.revwE[s] + m.revcE[s] + m.revskrE[s] + m.revsktE[s] + m.revmanE[s] + m.revmilkE[s] +
                    m.revcheeseE[s];
}

// Revenues of the ram states: wool, manure, culled rams with their skins,
// rams sold for breeding.
void ramRevenues(Model& m) {
    for (int s = 1; s <= m.TR; ++s)
        for (int k = 1; k <= m.crossing; ++k) {
            m.revwR[s][k] = m.qaveR[s][k] * m.nsheR[k] * m.wsheR[k] * m.prwoolR[k] * m.dcR[s] / m.lengthrc;
            m.revmanR[s][k] = m.qaveR[s][k] * m.prman * m.manR * m.dcR[s];
        }

    for (int k = 1; k <= m.crossing; ++k)
        for (int r = 1; r <= m.RR; ++r) {
            const int s = (r - 1) * m.nstgR + 3;  // culled
            m.revskrR[s][k] = m.qendR[s][k] * m.prskrR[k] * m.pskR * (1 - m.ptskR);
            m.revsktR[s][k] = m.qendR[s][k] * m.prsktR[k] * m.pskR * m.ptskR;
            const double w = r == 1 ? m.adgR[k] * m.dcR[s] + m.wbR[1][k] : double(m.wbR[r][k]);
            double value = 0;
            if (m.priceS == 1 || m.priceS == 2) value = w * m.prlwS[k];
            if (m.priceS == 3 || m.priceS == 4) value = m.prcwS[k] * m.dresR[k] / 100 * w;
            m.revcR[s][k] = value * m.qendR[s][k];
            m.revsoldR[s - 1][k] = m.qendR[s - 1][k] * m.prsbR[k];  // sold for breeding
        }

    for (int s = 1; s <= m.TR; ++s)
        for (int k = 1; k <= m.crossing; ++k) {
            if (m.l1aR[s][k] < kPresent) {
                // A state that no ram reaches earns nothing.
                m.revR[s][k] = 0;
                m.revmanR[s][k] = 0;
                m.revwR[s][k] = 0;
                m.revsoldR[s][k] = 0;
                m.revsktR[s][k] = 0;
                m.revskrR[s][k] = 0;
                m.revcR[s][k] = 0;
            } else {
                m.revR[s][k] = m.revwR[s][k] + m.revcR[s][k] + m.revskrR[s][k] + m.revsktR[s][k] +
                               m.revmanR[s][k] + m.revsoldR[s][k];
            }
        }
}

// Young breeding animals culled (categories 17, 21, 25 and 42), paid as
// culled adult sheep.
void culledYoungStock(Model& m) {
    const int cats[4] = {17, 21, 25, 42};
    for (int cat : cats)
        for (int k = 1; k <= m.crossing; ++k) {
            if (!(m.l1skL[cat][k] > kPresent)) continue;
            if (m.priceS == 1 || m.priceS == 2) m.revcL[cat][k] = m.wP[cat][k] * m.prlwS[k];
            else if (m.priceS == 3 || m.priceS == 4) m.revcL[cat][k] = m.prcwS[k] * m.dresrL[k] / 100 * m.wP[cat][k];
            else m.revcL[cat][k] = 0;
        }
}

// Distribution function of the carcass weight at a class limit; without
// variation every carcass has the mean weight.
double carcassWeightBelow(double limit, double mean, double sigma) {
    if (sigma > 0) return normdis((limit - mean) / sigma);
    return limit >= mean ? 1.0 : 0.0;
}

// Carcass-weight classes (and their quality classes) of the lambs
// slaughtered at weaning of genotype column k, paid by pricing system 4.
void weanedCarcassClasses(Model& m, int k) {
    for (int g = 1; g <= 2; ++g) {
        const int cat = kWeanedCat[g];
        if (!(m.l1skL[cat][k] > kPresent)) continue;
        m.mcwwL[g][k] = m.wP[cat][k] * m.dreswL[k] / 100;
        m.sigmacwwL[g][k] = m.mcwwL[g][k] * m.vcwwL / 100;
        for (int w = 1; w <= m.nclcwwL; ++w)
            m.PhicwL[w] = carcassWeightBelow(kCarcassLimit[w < 3 ? w : 3], m.mcwwL[g][k], m.sigmacwwL[g][k]);
        m.pclcwwL[g][1][k] = m.PhicwL[1];
        m.pclcwwL[g][2][k] = m.PhicwL[2] - m.PhicwL[1];
        m.pclcwwL[g][3][k] = m.PhicwL[3] - m.PhicwL[2];
        m.pclcwwL[g][4][k] = 1 - m.PhicwL[3];  // over 13 kg
    }
}

// Mean quality class of the lambs sold at weaning below 13 kg carcass
// weight, over both sexes; 0 when every one of them is heavier.
void weanedQualityMean(Model& m, int k) {
    const double n7 = m.l1skL[7][k], n32 = m.l1skL[32][k];
    if (!(n7 + n32 > kPresent)) return;
    for (int q = 1; q <= m.nclcqwL; ++q)
        for (int w = 1; w <= m.nclcwwL; ++w)
            m.avcqwL[k] += q * (m.pclcwwL[1][w][k] * n7 + m.pclcwwL[2][w][k] * n32) * m.pclcqwL[w][q][k];
    const int heavy = m.nclcwwL + 1;
    const double light = (1 - m.pclcwwL[1][heavy][k]) * n7 + (1 - m.pclcwwL[2][heavy][k]) * n32;
    m.avcqwL[k] = light > 0 ? m.avcqwL[k] / light : 0.0;
}

// Lambs sold at weaning (categories 7 and 32): prices by pricing system and
// carcass revenues.
void weanedLambs(Model& m) {
    for (int k = 1; k <= m.crossing; ++k) {
        if (m.pricewL == 2) {
            m.prlwwL[k] = 0;
            for (int c = 1; c <= m.nclwL; ++c) m.prlwwL[k] += m.pclwL[k][c] * m.prclwL[c];
        }
        if (m.pricewL == 4) {
            weanedCarcassClasses(m, k);
            // The heavy lambs are paid by fleshiness and fat covering, like
            // fattened lambs.
            m.favwL[k] = m.l1skL[7][k] * m.pclcwwL[1][4][k] + m.l1skL[32][k] * m.pclcwwL[2][4][k];
        }
        if (m.pricewL == 4 || m.pricefL == 4) {
            // Mean fleshiness and fat-covering classes of all lambs paid by
            // these classes, weighted by their numbers.
            const double total = m.favwL[k] + m.favfL[k];
            if (total > 0) {
                m.favwL[k] = m.favwL[k] / total;
                m.favfL[k] = m.favfL[k] / total;
            }
            m.avfleshL[k] = m.favfL[k] * m.avfleshfL[k] + m.favwL[k] * m.avfleshwL[k];
            m.avfcL[k] = m.favfL[k] * m.avfcfL[k] + m.favwL[k] * m.avfcwL[k];
        }
        if (m.pricewL == 4) {
            // Price of the carcasses up to 13 kg by weight and quality class,
            // from the quality frequencies within the weight classes.
            for (int g = 1; g <= 2; ++g) {
                if (!(m.l1skL[kWeanedCat[g]][k] > kPresent)) continue;
                const double light = 1 - m.pclcwwL[g][4][k];
                for (int w = 1; w <= m.nclcwwL; ++w)
                    for (int q = 1; q <= m.nclcqwL; ++q) {
                        m.pclcwL[g][w][q][k] = light > 0 ? m.pclcqwL[w][q][k] * m.pclcwwL[g][w][k] / light : 0.0;
                        m.prcwawL[g][k] += m.pclcwL[g][w][q][k] * m.prclcwwL[w][q];
                    }
            }
            weanedQualityMean(m, k);

            // Price of the heavy carcasses.
            for (int fl = 1; fl <= m.nclflwL; ++fl)
                for (int fc = 1; fc <= m.nclfcwL; ++fc) m.prcwbwL[k] += m.pclfcwL[k][fl][fc] * m.prclfcwL[fl][fc];
            m.prcwbwL[k] = m.prrefwL * m.prcwbwL[k];
        }

        for (int g = 1; g <= 2; ++g) {
            const int cat = kWeanedCat[g];
            if (!(m.l1skL[cat][k] > kPresent)) continue;
            switch (m.pricewL) {
                case 1:
                case 2:
                    m.revcL[cat][k] = m.wP[cat][k];
                    m.revcL[cat][k] = m.revcL[cat][k] * m.prlwwL[k];
                    break;
                case 3:
                    m.revcL[cat][k] = m.prcwwL[k] * m.dreswL[k] / 100 * m.wP[cat][k];
                    break;
                case 4:
                    m.prcwcwL[g][k] = (1 - m.pclcwwL[g][4][k]) * m.prcwawL[g][k] + m.pclcwwL[g][4][k] * m.prcwbwL[k];
                    m.revcL[cat][k] = m.prcwcwL[g][k] * m.dreswL[k] / 100 * m.wP[cat][k];
                    break;
                default:
                    m.revcL[cat][k] = 0;
                    break;
            }
        }
    }
}

// Progeny category of fattening variant v of kind g (0 castrates,
// 1 females, 2 males) less v.
int fatteningBase(int g) { return g == 1 ? 7 : g == 2 ? 32 : 42; }

// Fattened lambs: prices by pricing system and carcass revenues of the
// fattening variants.
void fattenedLambs(Model& m) {
    if (m.fatpb + m.fatcb <= 0) return;
    for (int k = 1; k <= m.crossing; ++k) {
        if (m.pricefL == 2) {
            m.prlwfL[k] = 0;
            for (int c = 1; c <= m.nclfL; ++c) m.prlwfL[k] += m.pclfL[k][c] * m.prclfL[c];
        }
        if (m.pricefL == 4) {
            m.prcwfL[k] = 0;
            for (int fl = 1; fl <= m.nclflfL; ++fl)
                for (int fc = 1; fc <= m.nclfcfL; ++fc) m.prcwfL[k] += m.pclfcfL[k][fl][fc] * m.prclfcfL[fl][fc];
            m.prcwfL[k] = m.prreffL * m.prcwfL[k];
        }
    }
    const int kinds[3] = {1, 2, 0};  // females, males, castrates
    for (int g : kinds)
        for (int v = 1; v <= m.lf[g]; ++v) {
            const int cat = fatteningBase(g) + v;
            for (int k = 1; k <= m.crossing; ++k) {
                if (!(m.l1skL[cat][k] > kPresent)) continue;
                if (m.pricefL == 1 || m.pricefL == 2) {
                    m.revcL[cat][k] = m.wP[cat][k];
                    m.revcL[cat][k] = m.revcL[cat][k] * m.prlwfL[k];
                } else if (m.pricefL == 3 || m.pricefL == 4) {
                    m.revcL[cat][k] = m.prcwfL[k] * m.dresfL[g][v][k] / 100 * m.wP[cat][k];
                } else {
                    m.revcL[cat][k] = 0;
                }
            }
        }
}

// Raw and tanned skins of one slaughtered progeny category, per animal.
void progenySkin(Model& m, int cat, double p, double t) {
    for (int k = 1; k <= m.crossing; ++k) {
        if (!(m.l1skL[cat][k] > kPresent)) continue;
        m.revskrL[cat][k] = m.prskrL[k] * p * (1 - t);
        m.revsktL[cat][k] = m.prsktL[k] * p * t;
    }
}

// Skins of fattened lambs and of culled young breeding animals.  The skins
// of lambs slaughtered at weaning come with their non-feed costs.
void progenySkins(Model& m) {
    for (int v = 1; v <= m.lf[1]; ++v) progenySkin(m, 7 + v, m.pskfL, m.ptskfL);
    for (int cat : {17, 21, 25}) progenySkin(m, cat, m.pskrL, m.ptskrL);
    for (int v = 1; v <= m.lf[2]; ++v) progenySkin(m, 32 + v, m.pskfL, m.ptskfL);
    progenySkin(m, 42, m.pskrL, m.ptskrL);
    for (int v = 1; v <= m.lf[0]; ++v) progenySkin(m, 42 + v, m.pskfL, m.ptskfL);
}

bool soldForBreeding(int s) {
    return s == 13 || s == 15 || s == 19 || s == 23 || s == 26 || s == 38 || s == 40;
}

// Discounted revenue of every progeny category per animal.
void progenyTotals(Model& m) {
    for (int s = 1; s <= m.PP; ++s)
        for (int k = 1; k <= m.crossing; ++k) {
            if (!(m.l1skL[s][k] > kPresent)) {
                // Breeding animals paid by live weight: a category without
                // animals sells none, whatever an earlier evaluation left.
                if (m.opsbL == 2) m.revsbL[s][k] = 0;
                continue;
            }
            if (m.opsbL == 2 && soldForBreeding(s)) m.revsbL[s][k] = m.prsbL[s][k] * m.wP[s][k];
            m.revcL[s][k] = m.revcL[s][k] * m.qendL[s][k];
            m.revskrL[s][k] = m.revskrL[s][k] * m.qendL[s][k];
            m.revsktL[s][k] = m.revsktL[s][k] * m.qendL[s][k];
            m.revmanL[s][k] = m.revmanL[s][k] * m.qaveL[s][k];
            m.revL[s][k] = m.revwL[s][k] + m.revcL[s][k] + m.revskrL[s][k] + m.revsktL[s][k] + m.revmanL[s][k] +
                           m.revsbL[s][k] * m.qendL[s][k];
        }
}

// Revenues, costs, subsidies and profit per ewe and year.
void totals(Model& m) {
    double breedingMales = 0;
    for (int k = 1; k <= m.crossing; ++k) breedingMales += m.l1skL[38][k] + m.l1skL[40][k];
    m.Tsub = breedingMales * m.subR * 365 / m.lengthrc + m.subE;

    for (int s = 1; s <= m.TE; ++s) {
        m.TrevE += m.revE[s] * m.l1E[s];
        m.TcostsE += m.costE[s] * m.l1E[s];
    }

    m.Trev = m.TrevE;
    m.Tcosts = m.TcostsE;
    for (int s = 1; s <= m.PP; ++s)
        for (int k = 1; k <= m.crossing; ++k) {
            m.Trev += m.revL[s][k] * m.l1skL[s][k];
            m.Tcosts += m.costL[s][k] * m.l1skL[s][k];
        }

    for (int s = 1; s <= m.TR; ++s)
        for (int k = 1; k <= m.crossing; ++k) {
            m.TrevR += m.revR[s][k] * m.l1R[s] * m.neweR[k];
            m.TcostsR += m.costR[s][k] * m.l1R[s] * m.neweR[k];
        }

    // The net cost of the flock of ewes and rams, charged to the lambs weaned
    // or artificially reared; without such lambs there is nothing to charge.
    const double lambs = m.typew == 1 ? double(m.NwL[0]) : m.typew == 2 ? double(m.NarL[0]) : 0.0;
    if (lambs > kPresent) m.costlamb = ((m.TcostsE - m.TrevE) + m.TcostsR - m.TrevR) / lambs;
    if (m.costlamb < 0) m.costlamb = 0;

    // Purchased female replacements cost what a weaned (or artificially
    // reared) female lamb costs the farm, net of its revenue.
    const int c = m.typew == 1 ? 5 : 6;
    m.costpurchFP = m.npurchFP * m.kdif * (m.costL[c][1] + m.costlamb - m.revL[c][1]);

    m.Trev = m.Trev + m.TrevR;
    m.Tcosts = m.TcostsR + m.costpurchFP + m.Tcosts;

    const double perYear = 365.0 / m.lengthrc;
    m.Trev = m.Trev * perYear;
    m.Tcosts = m.Tcosts * perYear;

    m.Tprof = m.Trev + m.Tsub - m.Tcosts;
    // Profitability in per cent of the costs; none without costs.
    if (std::fabs(m.Tcosts) > kPresent) {
        m.profsub = m.Tprof * 100 / m.Tcosts;
        m.profnsub = (m.Trev - m.Tcosts) * 100 / m.Tcosts;
    }
}

}  // namespace

void revenues(Run& run) {
    Model& m = run.m;
    if (m.itrait == 0) std::fputs("Calculating revenues\n", run.con);

    clearResults(m);
    if (m.typeb == 1) milkPrice(m);
    culledSheepPrices(m);
    eweRevenues(m);
    ramRevenues(m);
    culledYoungStock(m);
    weanedLambs(m);
    fattenedLambs(m);
    progenySkins(m);
    progenyTotals(m);
    totals(m);
}
