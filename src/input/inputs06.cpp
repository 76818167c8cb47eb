// INPUTS06.TXT: the lactation curve, the milk factors for parity and litter
// size and, for ewes milked after weaning, the milk-marketing and
// cheese-making parameters.  Read when typeb is 1 or 2.
#include "input/inputs.h"

#include "context/run.h"
#include "input/reader.h"
#include "model/model.h"

void readInputs06(Run& run, InFile& in) {
    Model& m = run.m;
    std::FILE* res = run.res;

    // The level of the lactation curve is milk per day, its exponent and
    // its decline within their ranges, so that the curve stays finite.
    readcom(in);
    readfloat(res, in, m.awo);
    readfloat(res, in, m.bwo);
    readfloat(res, in, m.cwo);
    readint(res, in, m.placE);
    readint(res, in, m.nsl);
    readVectorRecord(in, res, &m.ktlp[1], m.LL, 1, "%6.3f");

    // Litter-size factors from class 0 on.  Ewes that are not milked after
    // weaning have no class 0 of their own: its factor is zeroed before the
    // echo, whatever the file says.
    for (int i = 0; i <= m.clt; ++i) readNum(in, m.ktlsl[i]);
    if (m.typeb == 2) m.ktlsl[0] = 0.0;
    wrides(in, res);
    for (int i = 0; i <= m.clt; ++i) std::fprintf(res, "%6.3f", double(m.ktlsl[i]));

    readfloatIf(in, res, m.typeb == 1, m.pmilkwm);
    // Ewes culled or dead during the lactation give this share of the milk
    // (and cost this share of milking) of a full lactation.
    readfloat(res, in, m.kmilkcE);
    if (m.typeb == 1) {
        readint(res, in, m.dmilkst);
        readfloat(res, in, m.pmilkch);
    } else {
        readdes(in);
        readdes(in);
    }
    readcom(in);

    // Cheese yield: the method, then the coefficients of both methods, of
    // which those of the other method are skipped.  Without cheese making,
    // eight skipped records take the place of the cheese records and nothing
    // after them is read.
    if (m.typeb == 1 && m.pmilkch > 1e-06) {
        readint(res, in, m.cy);
        if (m.cy < 1 || m.cy > 2)
            failCheckAt(run, &m.cy,
                      "The method for calculating the cheese yield must be in the range from 1\n"
                      "to 2. Correct this error in INPUTS06.TXT and restart the program.\n");
        if (m.cy == 1) {
            readfloat(res, in, m.ach);
            readfloat(res, in, m.bch);
            readfloat(res, in, m.cch);
        } else {
            for (int i = 0; i < 3; ++i) readdes(in);
        }
        // Recoveries and the casein share are fractions, moisture and fat
        // of the cheese per cent; a yield that is not positive, moisture of
        // 100 per cent and cheese without fat are stopped where the yield is
        // calculated.
        if (m.cy == 2) {
            readfloat(res, in, m.rfat);
            readfloat(res, in, m.rcas);
            readfloat(res, in, m.casprot);
            readfloat(res, in, m.moich);
            readfloat(res, in, m.fatch);
        } else {
            for (int i = 0; i < 5; ++i) readdes(in);
        }
    } else {
        for (int i = 0; i < 8; ++i) readdes(in);
    }
}
