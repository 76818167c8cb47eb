// INPUTS09.TXT: unit costs and rates of the non-feed costs of ewes, rams,
// lambs until weaning, artificially reared lambs, young stock reared for
// breeding and fattened lambs.
#include "driver/run.h"
#include "input/inputs.h"
#include "input/reader.h"
#include "model/model.h"

namespace {

// Numbers of treatments and shearings, hours of labour and kg of straw
// cannot be negative; the shares of skins sold and tanned are fractions.
// Costs and prices can be computed with whatever sign, but a negative one
// is odd and is reported.

// The conception rate after insemination divided by 100: multiplied by the
// per cent of ewes inseminated it gives the fraction of ewes that conceive
// by insemination.
constexpr Allowed kConceptionPerPercent{0, 0.01, false, "from 0 to 0.01"};

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
        readVectorRecord(in, run.res, &m.nendopf[k][1], n, 1, "%7.1f", kNonNegative);
        readVectorRecord(in, run.res, &m.nectopf[k][1], n, 1, "%7.1f", kNonNegative);
        readVectorRecord(in, run.res, &m.vetf[k][1], n, 1, "%12.4f");
        if (anyNegative(&m.vetf[k][1], n)) warnOdd(in, "a negative cost");
        readVectorRecord(in, run.res, &m.nshefL[k][1], n, 1, "%7.1f", kNonNegative);
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
    m.nendopE = readfloat(res, in, kNonNegative);
    m.prendop = readfloatWarnNegative(res, in, "a negative price");
    m.nectopE = readfloat(res, in, kNonNegative);
    m.prectop = readfloatWarnNegative(res, in, "a negative price");
    m.vetE = readfloatWarnNegative(res, in, kNegativeCost);
    m.AkhE = readfloat(res, in, kNonNegative);
    m.costAkh = readfloatWarnNegative(res, in, kNegativeCost);
    m.nsheE = readfloat(res, in, kNonNegative);
    m.costshe0E = readfloatWarnNegative(res, in, kNegativeCost);
    m.costfix0E = readfloatWarnNegative(res, in, kNegativeCost);
    m.strawE = readfloat(res, in, kNonNegative);
    m.prstraw = readfloatWarnNegative(res, in, "a negative price");
    m.pinsE[1] = readfloat(res, in, kPercent);
    readfloatIf(in, run.res, m.crossing == 2, m.pinsE[2], kPercent);
    m.costins[1] = readfloatWarnNegative(res, in, kNegativeCost);
    readfloatWarnNegativeIf(in, run.res, m.crossing == 2, m.costins[2], kNegativeCost);
    m.costreins[1] = readfloatWarnNegative(res, in, kNegativeCost);
    readfloatWarnNegativeIf(in, run.res, m.crossing == 2, m.costreins[2], kNegativeCost);
    m.nreins = readint(res, in, kNonNegative);
    m.coninsE = readfloat(res, in, kConceptionPerPercent);
    m.costoeinE = readfloatWarnNegative(res, in, kNegativeCost);
    m.costtan = readfloatWarnNegative(res, in, kNegativeCost);
    m.pskE = readfloat(res, in, kFraction);
    m.ptskE = readfloat(res, in, kFraction);
    m.costmarkcul = readfloatWarnNegative(res, in, kNegativeCost);
    m.costdead = readfloatWarnNegative(res, in, kNegativeCost);
    readcom(in);
    if (m.typeb == 1) {  // milking and cheese making
        m.costmilk0E = readfloatWarnNegative(res, in, kNegativeCost);
        m.costcheese0E = readfloatWarnNegative(res, in, kNegativeCost);
    } else {
        readdes(in);
        readdes(in);
    }

    // Rams.
    readcom(in);
    m.nendopR = readfloat(res, in, kNonNegative);
    m.nectopR = readfloat(res, in, kNonNegative);
    m.vetR = readfloatWarnNegative(res, in, kNegativeCost);
    m.AkhR = readfloat(res, in, kNonNegative);
    m.nsheR[1] = readfloat(res, in, kNonNegative);
    readfloatIf(in, run.res, m.crossing == 2, m.nsheR[2], kNonNegative);
    m.costshe0R = readfloatWarnNegative(res, in, kNegativeCost);
    m.costfix0R = readfloatWarnNegative(res, in, kNegativeCost);
    m.strawR = readfloat(res, in, kNonNegative);
    m.pskR = readfloat(res, in, kFraction);
    m.ptskR = readfloat(res, in, kFraction);
    m.costmarkbR = readfloatWarnNegative(res, in, kNegativeCost);
    m.prbR[1] = readfloatWarnNegative(res, in, "a negative price");
    readfloatWarnNegativeIf(in, run.res, m.crossing == 2, m.prbR[2], "a negative price");

    // Lambs: all lambs, until weaning, artificially reared.
    readcom(in);
    m.costshe0L = readfloatWarnNegative(res, in, kNegativeCost);
    m.costmarkwL = readfloatWarnNegative(res, in, kNegativeCost);
    readcom(in);
    m.nendopwL = readfloat(res, in, kNonNegative);
    m.nectopwL = readfloat(res, in, kNonNegative);
    m.vetwL = readfloatWarnNegative(res, in, kNegativeCost);
    m.nshewL = readfloat(res, in, kNonNegative);
    m.pskwL = readfloat(res, in, kFraction);
    m.ptskwL = readfloat(res, in, kFraction);
    readcom(in);
    if (m.typew == 2) {
        m.nendoparL = readfloat(res, in, kNonNegative);
        m.nectoparL = readfloat(res, in, kNonNegative);
        m.vetarL = readfloatWarnNegative(res, in, kNegativeCost);
        m.AkharL = readfloat(res, in, kNonNegative);
        m.costfixarL = readfloatWarnNegative(res, in, kNegativeCost);
        m.strawarL = readfloat(res, in, kNonNegative);
        m.nshearL = readfloat(res, in, kNonNegative);
        m.pskarL = readfloat(res, in, kFraction);
        m.ptskarL = readfloat(res, in, kFraction);
    } else {
        for (int i = 0; i < 9; ++i) readdes(in);
    }

    // Young stock reared for breeding; the values [1] and [2] of the
    // treatments, veterinary and marketing costs are two values whatever
    // the crossing.
    readcom(in);
    m.nendoprL[1] = readfloat(res, in, kNonNegative);
    m.nendoprL[2] = readfloat(res, in, kNonNegative);
    m.nendopclFP = readfloat(res, in, kNonNegative);
    m.nectoprL[1] = readfloat(res, in, kNonNegative);
    m.nectoprL[2] = readfloat(res, in, kNonNegative);
    m.nectopclFP = readfloat(res, in, kNonNegative);
    m.vetrL[1] = readfloatWarnNegative(res, in, kNegativeCost);
    m.vetrL[2] = readfloatWarnNegative(res, in, kNegativeCost);
    m.vetclFP = readfloatWarnNegative(res, in, kNegativeCost);
    m.AkhrL = readfloat(res, in, kNonNegative);
    readVectorRecord(in, res, &m.nsherL[1], m.nbsF, 1, "%7.1f", kNonNegative);
    m.nsheFP = readfloat(res, in, kNonNegative);
    m.costfixrL = readfloatWarnNegative(res, in, kNegativeCost);
    m.strawrL = readfloat(res, in, kNonNegative);
    m.pinsFP[1] = readfloat(res, in, kPercent);
    readfloatIf(in, run.res, m.crossing == 2, m.pinsFP[2], kPercent);
    m.costoeinFP = readfloatWarnNegative(res, in, kNegativeCost);
    m.pskrL = readfloat(res, in, kFraction);
    m.ptskrL = readfloat(res, in, kFraction);
    m.costmarkrL[1] = readfloatWarnNegative(res, in, kNegativeCost);
    m.costmarkrL[2] = readfloatWarnNegative(res, in, kNegativeCost);

    // Fattened lambs: females, males, castrates.
    readcom(in);
    fatteningCosts(run, in, 1);
    fatteningCosts(run, in, 2);
    fatteningCosts(run, in, 0);
    if (m.lf[0] + m.lf[1] + m.lf[2] > 0) {
        m.AkhfL = readfloat(res, in, kNonNegative);
        m.costfixfL = readfloatWarnNegative(res, in, kNegativeCost);
        m.strawfL = readfloat(res, in, kNonNegative);
        m.pskfL = readfloat(res, in, kFraction);
        m.ptskfL = readfloat(res, in, kFraction);
        m.costmarkfL = readfloatWarnNegative(res, in, kNegativeCost);
    } else {
        for (int i = 0; i < 6; ++i) readdes(in);
    }
    // Cost of a purchased replacement female as a multiple of an own one.
    m.kdif = readfloat(res, in, kNonNegative);
}
