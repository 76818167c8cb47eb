#include <cmath>

#include "context/run.h"
#include "feeding/day_terms.h"
#include "herd/herd.h"
#include "model/model.h"

namespace {

// Milk of days a .. b after lambing from the lactation curve
// awo * t^bwo * exp(-cwo * t).  Each daily term is formed in double
// precision and added to a sum of the storage precision, which is then scaled by
// the level awo.  An empty range (b < a) gives no milk.
// Parameters that make the curve grow without bound stop the run (the
// ranges of the inputs keep it finite; the stop guards the sum).
double lactationSum(Run& run, int a, int b) {
    const Model& m = run.m;
    Real s = 0;
    const double* pw;
    const double* ex;
    if (a >= 0 && lactationTerms(m.bwo, m.cwo, b, pw, ex))
        for (int t = a; t <= b; ++t) s += pw[t] * ex[t];
    else
        for (int t = a; t <= b; ++t) s += std::pow(double(t), double(m.bwo)) * std::exp(-double(m.cwo) * t);
    const double milk = m.awo * s;
    if (!std::isfinite(milk) || !std::isfinite(double(Real(milk))))
        failCheck(run,
                  "The parameters of the lactation curve give a milk yield that is too\n"
                  "  large to be calculated. Correct them in INPUTS06.TXT and restart the program.\n\n\n");
    return milk;
}

[[noreturn]] void cheeseYieldError(Run& run) {
    failCheck(run,
              "The cheese yield calculated from the fat and protein content of milk\n"
              "  and the recoveries of fat and casein is not positive. Correct the\n"
              "  recoveries or the casein share of protein in INPUTS06.TXT, or the fat\n"
              "  and protein content of milk in INPUTS08.TXT, and restart the program.\n\n\n");
}

// Fraction of litters of each size class with n lambs alive, and the ewes
// of each parity suckling n lambs.
void sucklingEwes(Model& m) {
    for (auto& row : m.pbtba)
        for (Real& v : row) v = 0;
    // pdiedbtL[lt][k] / k is the fraction of litters of class lt that lost
    // k lambs; the rest of the litters lost none.
    for (int lt = 1; lt <= m.clt; ++lt) {
        double lost = 0;
        for (int n = 0; n <= lt - 1; ++n) m.pbtba[lt][n] = m.pdiedbtL[lt][lt - n] / (lt - n);
        for (int k = 1; k <= lt; ++k) lost += m.pdiedbtL[lt][k] / k;
        m.pbtba[lt][lt] = 1 - lost;
    }

    for (auto& row : m.PsuckE)
        for (Real& v : row) v = 0;
    for (int p = 1; p <= m.LL; ++p)
        for (int n = 0; n <= m.clt; ++n) {
            double s = 0;
            for (int lt = n > 1 ? n : 1; lt <= m.clt; ++lt) s += m.Pltype[lt][p] * m.pbtba[lt][n];
            m.PsuckE[n][p] = m.l3E[p] * s;
        }
}

// Milk of the milking period after weaning, for ewes milked after weaning.
void milkingPeriod(Run& run) {
    Model& m = run.m;
    m.lengthmp = m.datdry - m.datwL;
    m.basemilkm = lactationSum(run, m.agewL, m.agewL + m.lengthmp);
    const double first = lactationSum(run, m.agewL, m.agewL + m.dmilkst);  // first dmilkst days of milking

    double milked = 0, standard = 0;
    for (int n = 0; n <= m.clt; ++n)
        for (int p = 1; p <= m.LL; ++p) {
            m.milkmrel[n][p] = m.ktlsl[n] * m.basemilkm * m.ktlp[p];
            milked += m.milkmrel[n][p] * m.PsuckE[n][p];
            standard += m.ktlsl[n] * first * m.ktlp[p] * m.PsuckE[n][p];
        }
    m.tmilkm = milked;
    m.tmilkst = standard;
    m.avmilkd = (m.tmilkw + m.tmilkm) / double(m.datdry - m.datlamb);
    m.fatymst = m.tmilkst * m.fat / 100;
    m.protymst = m.tmilkst * m.prot / 100;

    for (int p = 1; p <= m.LL; ++p) {
        double s = 0;
        for (int n = 0; n <= m.clt; ++n) s += m.PsuckE[n][p] * m.milkmrel[n][p];
        m.milkmpar[p] = m.l3E[p] > 1e-06 ? s / m.l3E[p] : 0.0;
    }
}

// Kilograms of milk per kilogram of cheese, by regression on the milk
// composition (method 1) or from the recoveries of fat and casein (method
// 2).  Method 2 scales the recovered milk solids by a factor fixed in the
// first evaluation, so that the yield follows a changed fat or protein
// content in the later ones.
void cheese(Run& run) {
    Model& m = run.m;
    if (m.cy == 1) m.milkch = m.bch * m.fat + m.ach + m.cch * m.prot;
    if (m.cy == 2) {
        if (!(m.moich < 100))
            failCheckAt(run, &m.moich,
                      "The moisture content of cheese must be below 100 per cent.\n"
                      "  Correct this value in INPUTS06.TXT and restart the program.\n\n\n");
        m.fdm = m.fatch * 100 / (100 - m.moich);
        if (!(m.fdm > 0))
            failCheckAt(run, &m.fatch,
                      "The fat content of cheese must be above 0 per cent.\n"
                      "  Correct this value in INPUTS06.TXT and restart the program.\n\n\n");
        const double recovered = m.rfat * m.fat + m.rcas * m.casprot * m.prot;
        if (m.zr == 1) {
            if (!(recovered > 0)) cheeseYieldError(run);
            m.rs = m.rfat * 100 * m.fat / (recovered * m.fdm);
        }
        m.cheesey = recovered * m.rs / (100 - m.moich);
        if (!(m.cheesey > 1e-06)) cheeseYieldError(run);
        m.milkch = 1 / m.cheesey;
    }
    m.cheesewhey = m.milkch - 1;
}

}  // namespace

void milkProduction(Run& run) {
    Model& m = run.m;
    if (m.itrait == 0) std::fputs("Calculating milk production\n", run.con);

    // Everything below is rebuilt from the current inputs; the scaling
    // factor rs of the cheese yield is the one quantity kept from the first
    // evaluation.
    for (int p = 0; p < cap::L; ++p) m.milksw[p] = m.milkmpar[p] = 0;
    for (int n = 0; n < cap::LT; ++n)
        for (int p = 0; p < cap::L; ++p) m.milkwrel[n][p] = m.milkmrel[n][p] = 0;
    m.lengthmp = 0;
    m.basemilkm = m.tmilkm = m.tmilkst = m.fatymst = m.protymst = m.avmilkd = 0;
    m.milkch = m.cheesey = m.cheesewhey = m.fdm = 0;

    // Where the milk suckled until weaning is given instead of a lactation
    // curve, the curve is flat: the given amount spread evenly over the
    // suckling period.
    if (m.typeb == 3) {
        m.awo = m.basemilkw / double(m.agewL);
        m.cwo = 0;
        m.bwo = 0;
    }

    sucklingEwes(m);

    // Milk suckled until weaning: days 1 .. agewL - 1 of the lactation.
    if (m.typeb <= 2) m.basemilkw = lactationSum(run, 1, m.agewL - 1);
    double suckled = 0;
    for (int n = 0; n <= m.clt; ++n)
        for (int p = 1; p <= m.LL; ++p) {
            m.milkwrel[n][p] = m.ktlsl[n] * m.basemilkw * m.ktlp[p];
            suckled += m.milkwrel[n][p] * m.PsuckE[n][p];
        }
    m.tmilkw = suckled;

    // Milk sold while the lambs suckle: the share pmilkwm of the milk of
    // ewes with lambs, and all the milk of ewes without a living lamb, per
    // lambing ewe of the parity.
    if (m.pmilkwm > 1e-06)
        for (int p = 1; p <= m.LL; ++p) {
            if (!(m.l3E[p] > 1e-06)) continue;
            double s = 0;
            for (int n = 1; n <= m.clt; ++n) s += m.milkwrel[n][p] * m.PsuckE[n][p];
            m.milksw[p] = (m.pmilkwm * s + m.milkwrel[0][p] * m.PsuckE[0][p]) / m.l3E[p];
        }

    if (m.typeb == 1) {
        milkingPeriod(run);
        if (m.pmilkch > 1e-06) cheese(run);
    }

    m.woolptE = m.wsheE * m.nsheE;
    for (int cr = 1; cr <= m.crossing; ++cr) m.woolptR[cr] = m.wsheR[cr] * m.nsheR[cr];
}
