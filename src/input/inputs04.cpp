// INPUTS04.TXT: mature weights and the rearing of breeding animals (female
// and male replacement) with a few flock-level constants.  Read after
// INPUTS05.TXT, because many records exist only when surplus progeny of a
// breed is reared for breeding.  Every record stands in the file; one that
// the system does not need is skipped.
#include <cstdio>

#include "context/run.h"
#include "input/inputs.h"
#include "input/reader.h"
#include "model/model.h"

namespace {

// Arrays indexed [stage of rearing][breed]: the breed column is the last
// dimension.
using ByBreed = Real (*)[3];

// A vector record of the stages 1..n of breed column b, or skipped.
void stages(Run& run, InFile& in, bool present, ByBreed rows, int b, int n) {
    if (present) readVectorRecord(in, run.res, &rows[1][b], n, 3, "%8.3f");
    else readdes(in);
}

// Daily gains of young breeding animals.  A loss of weight is computable;
// the model stops the run where a weight that follows from it falls below
// zero, so here it is only reported.
void gains(Run& run, InFile& in, bool present, ByBreed rows, int b, int n) {
    stages(run, in, present, rows, b, n);
    if (!present) return;
    for (int r = 1; r <= n; ++r)
        if (rows[r][b] < 0) {
            warnOdd(in, "a negative daily gain");
            return;
        }
}

// Surplus female (F) and male (M) progeny of breed b reared for breeding
// (sale category 2).
bool femalesReared(const Model& m, int b) { return m.psp[1][2][b] > 1e-06; }
bool malesReared(const Model& m, int b) { return m.psp[2][2][b] > 1e-06; }

}  // namespace

void readInputs04(Run& run, InFile& in) {
    Model& m = run.m;
    const bool cross = m.crossing == 2;
    // Records of cross-bred young stock exist only with crossing.
    const bool F1 = femalesReared(m, 1);
    const bool F2 = cross && femalesReared(m, 2);
    const bool M1 = malesReared(m, 1);
    const bool M2 = cross && malesReared(m, 2);
    const int nF = m.nbsF;
    const int nM = m.nbsM;

    readcom(in);

    // Female replacement.
    // Mature weights scale every weight of the growth model.
    readfloat(run.res, in, m.mwE[1]);
    readfloatIf(in, run.res, cross, m.mwE2);
    readfloat(run.res, in, m.pwrepFP[1]);
    readfloatIf(in, run.res, F2, m.pwrepFP[2]);
    gains(run, in, true, m.adgr[1], 1, nF - 1);
    gains(run, in, F2, m.adgr[1], 2, nF - 1);
    // A coefficient of variation of 0 puts all animals at the mean weight.
    readfloat(run.res, in, m.vcwr[1][1]);
    readfloatIf(in, run.res, F2, m.vcwr[1][2]);
    readfloatIf(in, run.res, F1, m.psold[1][0][1]);
    readfloatIf(in, run.res, F2, m.psold[1][0][2]);
    stages(run, in, true, m.conrateFP, 1, nF);
    stages(run, in, F2, m.conrateFP, 2, nF);
    stages(run, in, true, m.pbarrFP, 1, nF - 1);
    stages(run, in, F2, m.pbarrFP, 2, nF - 1);
    stages(run, in, true, m.surbs[1], 1, nF);
    stages(run, in, F2, m.surbs[1], 2, nF);
    readfloat(run.res, in, m.surmlFP[1]);
    readfloatIf(in, run.res, F2, m.surmlFP[2]);
    // A pregnancy of no days is meaningless; the ewe flock checks that it
    // fits into the reproductive cycle.
    readint(run.res, in, m.lpreg);
    readfloat(run.res, in, m.wgfE);
    readfloat(run.res, in, m.wgfL);

    // Sale ages of young females sold before their first and between their
    // first and second breeding season: only where such sales happen (the
    // growth phase checks them against the breeding seasons).
    const bool S1 = m.psold[1][0][1] > 1e-06;
    const bool S2 = cross && m.psold[1][0][2] > 1e-06;
    readfloatIf(in, run.res, S1, m.agetP[13][1]);
    readfloatIf(in, run.res, S2, m.agetP[13][2]);
    readfloatIf(in, run.res, S1, m.agetP[26][1]);
    readfloatIf(in, run.res, S2, m.agetP[26][2]);
    // Pregnant young females are sold during their pregnancy; barren ones are
    // culled within the year of their breeding season.
    char pregnancy[64];
    std::snprintf(pregnancy, sizeof pregnancy, "from 0 to %d days, the length of pregnancy", m.lpreg);
    readfloatIf(in, run.res, m.psp[1][2][1] + m.psp[1][2][2] > 1e-06, m.dpregsFP,
                Allowed{0, double(m.lpreg), false, pregnancy});
    readfloat(run.res, in, m.dnpregcFP);
    readfloatIf(in, run.res, m.femrep == 2, m.ppurchFP);

    // Male replacement.  Rams reared in the herd (ppurchMP below one, which
    // any valid fraction is) or surplus pure-bred males reared for breeding
    // need the rearing records of pure-bred males.
    readfloat(run.res, in, m.ppurchMP);
    readfloat(run.res, in, m.mwMP[1]);
    m.mwR[1] = m.mwMP[1];
    readfloatIf(in, run.res, cross, m.mwR[2]);
    const bool R1 = m.ppurchMP < 1.000001 || M1;
    readfloatIf(in, run.res, R1, m.pwrepMP);
    gains(run, in, R1, m.adgr[2], 1, nM);
    gains(run, in, M2, m.adgr[2], 2, nM);
    readfloatIf(in, run.res, R1, m.vcwr[2][1]);
    readfloatIf(in, run.res, M2, m.vcwr[2][2]);
    readfloatIf(in, run.res, M1, m.psold[2][1][1]);
    readfloatIf(in, run.res, M2, m.psold[2][1][2]);
    stages(run, in, R1, m.surbs[2], 1, nM);
    stages(run, in, M2, m.surbs[2], 2, nM);
    stages(run, in, R1, m.cullbsMP, 1, nM);
    stages(run, in, M2, m.cullbsMP, 2, nM);
    // The growth phase checks these sale ages against the breeding seasons
    // only where young males are sold.
    readfloatIf(in, run.res, M1, m.agetP[38][1]);
    readfloatIf(in, run.res, M2, m.agetP[38][2]);
    readfloatIf(in, run.res, M1, m.agetP[40][1]);
    readfloatIf(in, run.res, M2, m.agetP[40][2]);

    // Purchased rams: rams of the breed used for crossing are always bought.
    const bool bought = m.ppurchMP > 1e-06;
    readfloatIf(in, run.res, bought, m.agepurMP[1]);
    readfloatIf(in, run.res, cross, m.agepurMP[2]);
    readfloatIf(in, run.res, bought, m.wpurMP[1]);
    readfloatIf(in, run.res, cross, m.wpurMP[2]);
    for (int b = 1; b <= m.crossing; ++b)
        if (m.wpurMP[b] > m.mwR[b])
            failCheckAt(run, &m.wpurMP[b],
                      "The weight of purchased rams of %s"
                      "  is not correct.\n"
                      "  The weight must be less than mature weight (%3.0f kg).\n"
                      "  Correct the appropriate value in INPUTS04.TXT and restart the program.\n\n\n",
                      b == 1 ? "the breed of the herd\n" : "of the breed used for crossing in the herd\n",
                      double(m.mwR[b]));

    readfloat(run.res, in, m.ratioyoungR);
    readfloat(run.res, in, m.ratiooldR);
    readfloat(run.res, in, m.hetmw);
}
