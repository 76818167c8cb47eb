// INPUTS09.TXT: unit costs and rates of the non-feed costs of ewes, rams,
// lambs until weaning, artificially reared lambs, young stock reared for
// breeding and fattened lambs.
#include "driver/run.h"
#include "input/inputs.h"
#include "input/reader.h"
#include "model/model.h"

namespace {

// The four vectors over the fattening variants of one kind of progeny;
// four skipped records when the kind is not fattened.
void fatteningCosts(Run& run, InFile& in, int k) {
    Model& m = run.m;
    const int n = m.lf[k];
    if (n > 0) {
        readVectorRecord(in, run.res, &m.nendopf[k][1], n, 1, "%7.1f");
        readVectorRecord(in, run.res, &m.nectopf[k][1], n, 1, "%7.1f");
        readVectorRecord(in, run.res, &m.vetf[k][1], n, 1, "%12.4f");
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
    m.nendopE = readfloat(res, in);
    m.prendop = readfloat(res, in);
    m.nectopE = readfloat(res, in);
    m.prectop = readfloat(res, in);
    m.vetE = readfloat(res, in);
    m.AkhE = readfloat(res, in);
    m.costAkh = readfloat(res, in);
    m.nsheE = readfloat(res, in);
    m.costshe0E = readfloat(res, in);
    m.costfix0E = readfloat(res, in);
    m.strawE = readfloat(res, in);
    m.prstraw = readfloat(res, in);
    m.pinsE[1] = readfloat(res, in);
    readfloatIf(in, run.res, m.crossing == 2, m.pinsE[2]);
    m.costins[1] = readfloat(res, in);
    readfloatIf(in, run.res, m.crossing == 2, m.costins[2]);
    m.costreins[1] = readfloat(res, in);
    readfloatIf(in, run.res, m.crossing == 2, m.costreins[2]);
    m.nreins = readint(res, in);
    m.coninsE = readfloat(res, in);
    m.costoeinE = readfloat(res, in);
    m.costtan = readfloat(res, in);
    m.pskE = readfloat(res, in);
    m.ptskE = readfloat(res, in);
    m.costmarkcul = readfloat(res, in);
    m.costdead = readfloat(res, in);
    readcom(in);
    if (m.typeb == 1) {  // milking and cheese making
        m.costmilk0E = readfloat(res, in);
        m.costcheese0E = readfloat(res, in);
    } else {
        readdes(in);
        readdes(in);
    }

    // Rams.
    readcom(in);
    m.nendopR = readfloat(res, in);
    m.nectopR = readfloat(res, in);
    m.vetR = readfloat(res, in);
    m.AkhR = readfloat(res, in);
    m.nsheR[1] = readfloat(res, in);
    readfloatIf(in, run.res, m.crossing == 2, m.nsheR[2]);
    m.costshe0R = readfloat(res, in);
    m.costfix0R = readfloat(res, in);
    m.strawR = readfloat(res, in);
    m.pskR = readfloat(res, in);
    m.ptskR = readfloat(res, in);
    m.costmarkbR = readfloat(res, in);
    m.prbR[1] = readfloat(res, in);
    readfloatIf(in, run.res, m.crossing == 2, m.prbR[2]);

    // Lambs: all lambs, until weaning, artificially reared.
    readcom(in);
    m.costshe0L = readfloat(res, in);
    m.costmarkwL = readfloat(res, in);
    readcom(in);
    m.nendopwL = readfloat(res, in);
    m.nectopwL = readfloat(res, in);
    m.vetwL = readfloat(res, in);
    m.nshewL = readfloat(res, in);
    m.pskwL = readfloat(res, in);
    m.ptskwL = readfloat(res, in);
    readcom(in);
    if (m.typew == 2) {
        m.nendoparL = readfloat(res, in);
        m.nectoparL = readfloat(res, in);
        m.vetarL = readfloat(res, in);
        m.AkharL = readfloat(res, in);
        m.costfixarL = readfloat(res, in);
        m.strawarL = readfloat(res, in);
        m.nshearL = readfloat(res, in);
        m.pskarL = readfloat(res, in);
        m.ptskarL = readfloat(res, in);
    } else {
        for (int i = 0; i < 9; ++i) readdes(in);
    }

    // Young stock reared for breeding; the values [1] and [2] of the
    // treatments, veterinary and marketing costs are two values whatever
    // the crossing.
    readcom(in);
    m.nendoprL[1] = readfloat(res, in);
    m.nendoprL[2] = readfloat(res, in);
    m.nendopclFP = readfloat(res, in);
    m.nectoprL[1] = readfloat(res, in);
    m.nectoprL[2] = readfloat(res, in);
    m.nectopclFP = readfloat(res, in);
    m.vetrL[1] = readfloat(res, in);
    m.vetrL[2] = readfloat(res, in);
    m.vetclFP = readfloat(res, in);
    m.AkhrL = readfloat(res, in);
    readVectorRecord(in, res, &m.nsherL[1], m.nbsF, 1, "%7.1f");
    m.nsheFP = readfloat(res, in);
    m.costfixrL = readfloat(res, in);
    m.strawrL = readfloat(res, in);
    m.pinsFP[1] = readfloat(res, in);
    readfloatIf(in, run.res, m.crossing == 2, m.pinsFP[2]);
    m.costoeinFP = readfloat(res, in);
    m.pskrL = readfloat(res, in);
    m.ptskrL = readfloat(res, in);
    m.costmarkrL[1] = readfloat(res, in);
    m.costmarkrL[2] = readfloat(res, in);

    // Fattened lambs: females, males, castrates.
    readcom(in);
    fatteningCosts(run, in, 1);
    fatteningCosts(run, in, 2);
    fatteningCosts(run, in, 0);
    if (m.lf[0] + m.lf[1] + m.lf[2] > 0) {
        m.AkhfL = readfloat(res, in);
        m.costfixfL = readfloat(res, in);
        m.strawfL = readfloat(res, in);
        m.pskfL = readfloat(res, in);
        m.ptskfL = readfloat(res, in);
        m.costmarkfL = readfloat(res, in);
    } else {
        for (int i = 0; i < 6; ++i) readdes(in);
    }
    m.kdif = readfloat(res, in);
}
