// INPUTS09.TXT: unit costs and rates of the non-feed costs of ewes, rams,
// lambs until weaning, artificially reared lambs, young stock reared for
// breeding and fattened lambs.
#include "context/run.h"
#include "input/inputs.h"
#include "input/reader.h"
#include "model/model.h"

namespace {

// Costs and prices can be computed with whatever sign, but a negative one
// is odd and is reported.

// Whether one of the n values from v on is negative.
bool anyNegative(const Real* v, int n) {
    for (int i = 0; i < n; ++i)
        if (v[i] < 0) return true;
    return false;
}

constexpr const char* kNegativeCost = "a negative cost";

// The four vectors over the fattening variants of one kind of progeny;
// four skipped records when the kind is not fattened.
void fatteningCosts(Run& run, InFile& in, int k) {
    Model& m = run.m;
    const int n = m.lf[k];
    if (n > 0) {
        readVectorRecord(in, run.res, &m.nendopf[k][1], n, 1, "%7.1f");
        readVectorRecord(in, run.res, &m.nectopf[k][1], n, 1, "%7.1f");
        readVectorRecord(in, run.res, &m.vetf[k][1], n, 1, "%12.4f");
        if (anyNegative(&m.vetf[k][1], n)) warnOdd(in, "a negative cost");
        readVectorRecord(in, run.res, &m.nshefL[k][1], n, 1, "%7.1f");
    } else {
        for (int i = 0; i < 4; ++i) readdes(in);
    }
}

}  // namespace

void readInputs09(Run& run, InFile& in) {
    Model& m = run.m;
    std::FILE* res = run.res;

    // Ewes.
    readcom(in);
    readfloat(res, in, m.nendopE);
    readfloatWarnNegative(res, in, m.prendop, "a negative price");
    readfloat(res, in, m.nectopE);
    readfloatWarnNegative(res, in, m.prectop, "a negative price");
    readfloatWarnNegative(res, in, m.vetE, kNegativeCost);
    readfloat(res, in, m.AkhE);
    readfloatWarnNegative(res, in, m.costAkh, kNegativeCost);
    readfloat(res, in, m.nsheE);
    readfloatWarnNegative(res, in, m.costshe0E, kNegativeCost);
    readfloatWarnNegative(res, in, m.costfix0E, kNegativeCost);
    readfloat(res, in, m.strawE);
    readfloatWarnNegative(res, in, m.prstraw, "a negative price");
    readfloat(res, in, m.pinsE[1]);
    readfloatIf(in, run.res, m.crossing == 2, m.pinsE[2]);
    readfloatWarnNegative(res, in, m.costins[1], kNegativeCost);
    readfloatWarnNegativeIf(in, run.res, m.crossing == 2, m.costins[2], kNegativeCost);
    readfloatWarnNegative(res, in, m.costreins[1], kNegativeCost);
    readfloatWarnNegativeIf(in, run.res, m.crossing == 2, m.costreins[2], kNegativeCost);
    readint(res, in, m.nreins);
    readfloat(res, in, m.coninsE);
    readfloatWarnNegative(res, in, m.costoeinE, kNegativeCost);
    readfloatWarnNegative(res, in, m.costtan, kNegativeCost);
    readfloat(res, in, m.pskE);
    readfloat(res, in, m.ptskE);
    readfloatWarnNegative(res, in, m.costmarkcul, kNegativeCost);
    readfloatWarnNegative(res, in, m.costdead, kNegativeCost);
    readcom(in);
    if (m.typeb == 1) {  // milking and cheese making
        readfloatWarnNegative(res, in, m.costmilk0E, kNegativeCost);
        readfloatWarnNegative(res, in, m.costcheese0E, kNegativeCost);
    } else {
        readdes(in);
        readdes(in);
    }

    // Rams.
    readcom(in);
    readfloat(res, in, m.nendopR);
    readfloat(res, in, m.nectopR);
    readfloatWarnNegative(res, in, m.vetR, kNegativeCost);
    readfloat(res, in, m.AkhR);
    readfloat(res, in, m.nsheR[1]);
    readfloatIf(in, run.res, m.crossing == 2, m.nsheR[2]);
    readfloatWarnNegative(res, in, m.costshe0R, kNegativeCost);
    readfloatWarnNegative(res, in, m.costfix0R, kNegativeCost);
    readfloat(res, in, m.strawR);
    readfloat(res, in, m.pskR);
    readfloat(res, in, m.ptskR);
    readfloatWarnNegative(res, in, m.costmarkbR, kNegativeCost);
    readfloatWarnNegative(res, in, m.prbR[1], "a negative price");
    readfloatWarnNegativeIf(in, run.res, m.crossing == 2, m.prbR[2], "a negative price");

    // Lambs: all lambs, until weaning, artificially reared.
    readcom(in);
    readfloatWarnNegative(res, in, m.costshe0L, kNegativeCost);
    readfloatWarnNegative(res, in, m.costmarkwL, kNegativeCost);
    readcom(in);
    readfloat(res, in, m.nendopwL);
    readfloat(res, in, m.nectopwL);
    readfloatWarnNegative(res, in, m.vetwL, kNegativeCost);
    readfloat(res, in, m.nshewL);
    readfloat(res, in, m.pskwL);
    readfloat(res, in, m.ptskwL);
    readcom(in);
    if (m.typew == 2) {
        readfloat(res, in, m.nendoparL);
        readfloat(res, in, m.nectoparL);
        readfloatWarnNegative(res, in, m.vetarL, kNegativeCost);
        readfloat(res, in, m.AkharL);
        readfloatWarnNegative(res, in, m.costfixarL, kNegativeCost);
        readfloat(res, in, m.strawarL);
        readfloat(res, in, m.nshearL);
        readfloat(res, in, m.pskarL);
        readfloat(res, in, m.ptskarL);
    } else {
        for (int i = 0; i < 9; ++i) readdes(in);
    }

    // Young stock reared for breeding; the values [1] and [2] of the
    // treatments, veterinary and marketing costs are two values whatever
    // the crossing.
    readcom(in);
    readfloat(res, in, m.nendoprL[1]);
    readfloat(res, in, m.nendoprL[2]);
    readfloat(res, in, m.nendopclFP);
    readfloat(res, in, m.nectoprL[1]);
    readfloat(res, in, m.nectoprL[2]);
    readfloat(res, in, m.nectopclFP);
    readfloatWarnNegative(res, in, m.vetrL[1], kNegativeCost);
    readfloatWarnNegative(res, in, m.vetrL[2], kNegativeCost);
    readfloatWarnNegative(res, in, m.vetclFP, kNegativeCost);
    readfloat(res, in, m.AkhrL);
    readVectorRecord(in, res, &m.nsherL[1], m.nbsF, 1, "%7.1f");
    readfloat(res, in, m.nsheFP);
    readfloatWarnNegative(res, in, m.costfixrL, kNegativeCost);
    readfloat(res, in, m.strawrL);
    readfloat(res, in, m.pinsFP[1]);
    readfloatIf(in, run.res, m.crossing == 2, m.pinsFP[2]);
    readfloatWarnNegative(res, in, m.costoeinFP, kNegativeCost);
    readfloat(res, in, m.pskrL);
    readfloat(res, in, m.ptskrL);
    readfloatWarnNegative(res, in, m.costmarkrL[1], kNegativeCost);
    readfloatWarnNegative(res, in, m.costmarkrL[2], kNegativeCost);

    // Fattened lambs: females, males, castrates.
    readcom(in);
    fatteningCosts(run, in, 1);
    fatteningCosts(run, in, 2);
    fatteningCosts(run, in, 0);
    if (m.lf[0] + m.lf[1] + m.lf[2] > 0) {
        readfloat(res, in, m.AkhfL);
        readfloatWarnNegative(res, in, m.costfixfL, kNegativeCost);
        readfloat(res, in, m.strawfL);
        readfloat(res, in, m.pskfL);
        readfloat(res, in, m.ptskfL);
        readfloatWarnNegative(res, in, m.costmarkfL, kNegativeCost);
    } else {
        for (int i = 0; i < 6; ++i) readdes(in);
    }
    // Cost of a purchased replacement female as a multiple of an own one.
    readfloat(res, in, m.kdif);
}
