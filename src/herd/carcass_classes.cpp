// Carcass-class pricing of slaughtered progeny.  The two price files are
// read only in the base evaluation and only when the progeny they describe
// exist; everything after the reading runs in every evaluation, because the
// evaluation loop changes class frequencies, dressing percentages and the
// numbers of progeny.
#include "context/run.h"
#include "herd/herd.h"
#include "input/inputs.h"
#include "model/model.h"

namespace {

// Mean fleshiness class (rows) and mean fat-covering class (columns) of a
// joint frequency table.
void fleshFatMeans(const Real (&p)[8][8], int nfl, int nfc, Real& flesh, Real& fat) {
    flesh = 0;
    fat = 0;
    for (int f = 1; f <= nfl; ++f) {
        double sum = 0;
        for (int c = 1; c <= nfc; ++c) sum += p[f][c];
        flesh += f * sum;
    }
    for (int c = 1; c <= nfc; ++c) {
        double sum = 0;
        for (int f = 1; f <= nfl; ++f) sum += p[f][c];
        fat += c * sum;
    }
}

// Mean carcass class of a frequency vector over classes 1 .. n.
void classMean(const Real (&p)[6], int n, Real& mean) {
    mean = 0;
    for (int s = 1; s <= n; ++s) mean += s * p[s];
}

// Dressing percentage of the reference fattening variant of breed group cr,
// the one whose gain is the reference of the fattening gains; false when no
// fattening variant applies to the breed group.
bool referenceDressing(const Model& m, int cr, double& ref) {
    if ((cr == 1 ? m.fatpb : m.fatcb) != 1) return false;
    ref = cr == 1 ? m.dresfL[m.ispb][m.ilpb][1] : m.dresfL[m.iscb][m.ilcb][2];
    return true;
}

}  // namespace

void carcassClasses(Run& run) {
    Model& m = run.m;
    const bool base = m.itrait == 0;

    if (base) {
        if (m.l1skL[7][1] + m.l1skL[7][2] + m.l1skL[32][1] + m.l1skL[32][2] > 1e-06)
            readInputFile(run, 13, readInputs13);
        if (m.lf[1] + m.lf[2] + m.lf[0] > 0) readInputFile(run, 14, readInputs14);
        // Prices and revenues of breeding animals as read: an evaluation in
        // which a category is empty clears them, a later one with animals in
        // that category needs them back.
        for (int c = 0; c < cap::P; ++c)
            for (int b = 0; b < 3; ++b) {
                m.prsbLin[c][b] = m.prsbL[c][b];
                m.revsbLin[c][b] = m.revsbL[c][b];
            }
    }

    // Class means of the lambs slaughtered at weaning: the trait values of
    // the class-frequency changes of the evaluation loop.
    if (m.pricewL == 2)
        for (int cr = 1; cr <= m.crossing; ++cr) classMean(m.pclwL[cr], m.nclwL, m.avclwL[cr]);
    if (m.pricewL == 4)
        for (int cr = 1; cr <= m.crossing; ++cr)
            fleshFatMeans(m.pclfcwL[cr], m.nclflwL, m.nclfcwL, m.avfleshwL[cr], m.avfcwL[cr]);

    // Progeny categories without animals have no weight, price or revenue.
    for (int c = 1; c <= m.PP && c < cap::P; ++c)
        for (int b = 1; b <= 2; ++b) {
            if (m.l1skL[c][b] < 1e-06) {
                m.wP[c][b] = 0;
                m.prsbL[c][b] = 0;
                m.revsbL[c][b] = 0;
            } else {
                m.prsbL[c][b] = m.prsbLin[c][b];
                m.revsbL[c][b] = m.revsbLin[c][b];
            }
        }

    if (m.pricefL == 2)
        for (int cr = 1; cr <= m.crossing; ++cr) classMean(m.pclfL[cr], m.nclfL, m.avclfL[cr]);

    // Dressing percentages of the fattening variants follow the dressing
    // percentage of the breed group's reference variant, which the
    // evaluation loop changes: their ratios to it are fixed in the base
    // evaluation and applied in every evaluation, the base one included, so
    // that every evaluation with the reference at its base value gives the
    // same percentages.
    if (m.fatpb + m.fatcb > 0)
        for (int cr = 1; cr <= m.crossing; ++cr) {
            double ref;
            if (!referenceDressing(m, cr, ref)) continue;
            // Without a reference dressing percentage there are no ratios, and
            // the percentages of the variants stay as read in every evaluation.
            if (ref <= 1e-06) continue;
            if (base)
                for (int k = 0; k <= 2; ++k)
                    for (int s = 1; s <= m.lf[k]; ++s) m.kdresfL[k][s][cr] = m.dresfL[k][s][cr] / ref;
            for (int k = 0; k <= 2; ++k)
                for (int s = 1; s <= m.lf[k]; ++s) m.dresfL[k][s][cr] = m.kdresfL[k][s][cr] * ref;
        }

    if (m.pricefL == 4)
        for (int cr = 1; cr <= m.crossing; ++cr)
            fleshFatMeans(m.pclfcfL[cr], m.nclflfL, m.nclfcfL, m.avfleshfL[cr], m.avfcfL[cr]);

    // Fattened progeny per ewe and cycle, the weight of the fattened lambs
    // in the mean fleshiness and fat-covering classes of all lambs.
    if (m.pricefL == 4 || m.pricewL == 4)
        for (int cr = 1; cr <= m.crossing; ++cr) {
            m.favfL[cr] = 0;
            if (m.pricefL != 4) continue;
            for (int c = 8; c <= 12; ++c) m.favfL[cr] += m.l1skL[c][cr];
            for (int c = 33; c <= 37; ++c) m.favfL[cr] += m.l1skL[c][cr];
            for (int c = 43; c <= 47; ++c) m.favfL[cr] += m.l1skL[c][cr];
        }
}
