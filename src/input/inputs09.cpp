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

// A cost or a price, with a warning when it is negative (what names it).
float costRecord(std::FILE* res, InFile& in, const char* what = "a negative cost") {
    const float x = readfloat(res, in);
    if (x < 0) warnOdd(in, what);
    return x;
}

// The same for a record that only some systems need.
void costRecordIf(InFile& in, std::FILE* res, bool present, Real& x, const char* what = "a negative cost") {
    if (present) x = costRecord(res, in, what);
    else readdes(in);
}

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
    m.prendop = costRecord(res, in, "a negative price");
    m.nectopE = readfloat(res, in, kNonNegative);
    m.prectop = costRecord(res, in, "a negative price");
    m.vetE = costRecord(res, in);
    m.AkhE = readfloat(res, in, kNonNegative);
    m.costAkh = costRecord(res, in);
    m.nsheE = readfloat(res, in, kNonNegative);
    m.costshe0E = costRecord(res, in);
    m.costfix0E = costRecord(res, in);
    m.strawE = readfloat(res, in, kNonNegative);
    m.prstraw = costRecord(res, in, "a negative price");
    m.pinsE[1] = readfloat(res, in, kPercent);
    readfloatIf(in, run.res, m.crossing == 2, m.pinsE[2], kPercent);
    m.costins[1] = costRecord(res, in);
    costRecordIf(in, run.res, m.crossing == 2, m.costins[2]);
    m.costreins[1] = costRecord(res, in);
    costRecordIf(in, run.res, m.crossing == 2, m.costreins[2]);
    m.nreins = readint(res, in, kNonNegative);
    m.coninsE = readfloat(res, in, kConceptionPerPercent);
    m.costoeinE = costRecord(res, in);
    m.costtan = costRecord(res, in);
    m.pskE = readfloat(res, in, kFraction);
    m.ptskE = readfloat(res, in, kFraction);
    m.costmarkcul = costRecord(res, in);
    m.costdead = costRecord(res, in);
    readcom(in);
    if (m.typeb == 1) {  // milking and cheese making
        m.costmilk0E = costRecord(res, in);
        m.costcheese0E = costRecord(res, in);
    } else {
        readdes(in);
        readdes(in);
    }

    // Rams.
    readcom(in);
    m.nendopR = readfloat(res, in, kNonNegative);
    m.nectopR = readfloat(res, in, kNonNegative);
    m.vetR = costRecord(res, in);
    m.AkhR = readfloat(res, in, kNonNegative);
    m.nsheR[1] = readfloat(res, in, kNonNegative);
    readfloatIf(in, run.res, m.crossing == 2, m.nsheR[2], kNonNegative);
    m.costshe0R = costRecord(res, in);
    m.costfix0R = costRecord(res, in);
    m.strawR = readfloat(res, in, kNonNegative);
    m.pskR = readfloat(res, in, kFraction);
    m.ptskR = readfloat(res, in, kFraction);
    m.costmarkbR = costRecord(res, in);
    m.prbR[1] = costRecord(res, in, "a negative price");
    costRecordIf(in, run.res, m.crossing == 2, m.prbR[2], "a negative price");

    // Lambs: all lambs, until weaning, artificially reared.
    readcom(in);
    m.costshe0L = costRecord(res, in);
    m.costmarkwL = costRecord(res, in);
    readcom(in);
    m.nendopwL = readfloat(res, in, kNonNegative);
    m.nectopwL = readfloat(res, in, kNonNegative);
    m.vetwL = costRecord(res, in);
    m.nshewL = readfloat(res, in, kNonNegative);
    m.pskwL = readfloat(res, in, kFraction);
    m.ptskwL = readfloat(res, in, kFraction);
    readcom(in);
    if (m.typew == 2) {
        m.nendoparL = readfloat(res, in, kNonNegative);
        m.nectoparL = readfloat(res, in, kNonNegative);
        m.vetarL = costRecord(res, in);
        m.AkharL = readfloat(res, in, kNonNegative);
        m.costfixarL = costRecord(res, in);
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
    m.vetrL[1] = costRecord(res, in);
    m.vetrL[2] = costRecord(res, in);
    m.vetclFP = costRecord(res, in);
    m.AkhrL = readfloat(res, in, kNonNegative);
    readVectorRecord(in, res, &m.nsherL[1], m.nbsF, 1, "%7.1f", kNonNegative);
    m.nsheFP = readfloat(res, in, kNonNegative);
    m.costfixrL = costRecord(res, in);
    m.strawrL = readfloat(res, in, kNonNegative);
    m.pinsFP[1] = readfloat(res, in, kPercent);
    readfloatIf(in, run.res, m.crossing == 2, m.pinsFP[2], kPercent);
    m.costoeinFP = costRecord(res, in);
    m.pskrL = readfloat(res, in, kFraction);
    m.ptskrL = readfloat(res, in, kFraction);
    m.costmarkrL[1] = costRecord(res, in);
    m.costmarkrL[2] = costRecord(res, in);

    // Fattened lambs: females, males, castrates.
    readcom(in);
    fatteningCosts(run, in, 1);
    fatteningCosts(run, in, 2);
    fatteningCosts(run, in, 0);
    if (m.lf[0] + m.lf[1] + m.lf[2] > 0) {
        m.AkhfL = readfloat(res, in, kNonNegative);
        m.costfixfL = costRecord(res, in);
        m.strawfL = readfloat(res, in, kNonNegative);
        m.pskfL = readfloat(res, in, kFraction);
        m.ptskfL = readfloat(res, in, kFraction);
        m.costmarkfL = costRecord(res, in);
    } else {
        for (int i = 0; i < 6; ++i) readdes(in);
    }
    // Cost of a purchased replacement female as a multiple of an own one.
    m.kdif = readfloat(res, in, kNonNegative);
}
