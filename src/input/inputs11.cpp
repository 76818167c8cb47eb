// INPUTS11.TXT: the payment of milk (base price, fat and protein classes,
// somatic-cell classes, as the pricing system milkprice combines them) and
// the prices of cheese and whey.  Read only for ewes milked after weaning.
#include "input/inputs.h"

#include "context/run.h"
#include "input/price_records.h"
#include "input/reader.h"
#include "model/model.h"
#include "stats/stats.h"

namespace {

[[noreturn]] void rangeError(Run& run, const int& value, const char* what, int lo, int hi) {
    failCheckAt(run, &value, "%s must be in the range from %d\nto %d. Correct this error in INPUTS11.TXT and restart the program.\n",
              what, lo, hi);
}

// Payment coefficients of the classes 0 .. last of one milk component: the
// file gives the three coefficients of class 0, then those of class 1, and
// so on; the echo puts each class on a line of its own, indented by nine
// blanks.  The payments (first two coefficients) may be deductions; the
// third is the reference content, a percentage.
template <int N> void readClassCoefficients(InFile& in, std::FILE* res, Real (&r)[3][N], int last) {
    for (int c = 0; c <= last; ++c)
        for (int t = 0; t < 3; ++t) readNum(in, r[t][c]);
    checkRecordEnd(in, last + 1, 3);
    wrides(in, res);
    for (int c = 0; c <= last; ++c) {
        std::fputs("\n         ", res);
        for (int t = 0; t < 3; ++t) std::fprintf(res, "%8.3f", double(r[t][c]));
    }
}

}  // namespace

void readInputs11(Run& run, InFile& in) {
    Model& m = run.m;
    std::FILE* res = run.res;

    readcom(in);
    readint(res, in, m.milkprice);
    if (m.milkprice < 1 || m.milkprice > 5) rangeError(run, m.milkprice, "The milk pricing system", 1, 5);
    m.prmilkb = 0.0;
    readcom(in);
    readPriceIf(in, res, m.milkprice == 1 || m.milkprice == 3 || m.milkprice == 5, m.prmilkb);
    if (m.milkprice <= 2) {
        // Fat and protein are not paid.
        m.nfat = -1;
        m.nprot = -1;
    }
    readcom(in);

    // Fat and protein classes: nfat limits make the classes 0 .. nfat.
    if (m.milkprice > 2) {
        readint(res, in, m.nfat);
        if (m.nfat < 0 || m.nfat > cap::NFAT - 1)
            rangeError(run, m.nfat, "The number of class limits for fat content", 0, cap::NFAT - 1);
        if (m.nfat > 0) readVectorRecord(in, res, &m.thfat[0], m.nfat, 1, "%6.2f");
        else readdes(in);
        readint(res, in, m.nprot);
        if (m.nprot < 0 || m.nprot > cap::NPROT - 1)
            rangeError(run, m.nprot, "The number of class limits for protein content", 0, cap::NPROT - 1);
        if (m.nprot > 0) readVectorRecord(in, res, &m.thprot[0], m.nprot, 1, "%6.2f");
        else readdes(in);
        readClassCoefficients(in, res, m.rf, m.nfat);
        readClassCoefficients(in, res, m.rp, m.nprot);
        readfloat(res, in, m.sigmafat);
        readfloat(res, in, m.sigmaprot);
    } else {
        for (int i = 0; i < 8; ++i) readdes(in);
    }
    readcom(in);

    // Somatic-cell classes: nSCC classes 0 .. nSCC - 1 separated by nSCC - 1
    // limits of the cell count.  Pricing systems without them have a single
    // class.
    if (m.milkprice == 1 || m.milkprice == 3) m.nSCC = 1;
    if (m.milkprice == 2 || m.milkprice == 4 || m.milkprice == 5) {
        readfloat(res, in, m.mSCS);
        readfloat(res, in, m.sigmaSCS);
        readint(res, in, m.nSCC);
        if (m.nSCC < 1 || m.nSCC > cap::NSCC)
            rangeError(run, m.nSCC, "The number of somatic cell count classes", 1, cap::NSCC);
        readVectorRecord(in, res, &m.tSCC[0], m.nSCC - 1, 1, "%9.0f");
    } else {
        for (int i = 0; i < 4; ++i) readdes(in);
    }
    readcom(in);
    if (m.milkprice == 2 || m.milkprice == 4) readVectorRecord(in, res, &m.prSCC[0], m.nSCC, 1, "%12.4f");
    else readdes(in);
    readcom(in);

    // Pricing system 5: a factor and a shift of the price for each
    // somatic-cell class, given in pairs.
    if (m.milkprice == 5) {
        for (int c = 0; c < m.nSCC; ++c) {
            readNum(in, m.facSCC[c]);
            readNum(in, m.prSCC[c]);
        }
        wrides(in, res);
        for (int c = 0; c < m.nSCC; ++c)
            std::fprintf(res, "\n         %10.3f%12.4f", double(m.facSCC[c]), double(m.prSCC[c]));
    } else {
        readdes(in);
    }
    readcom(in);

    if (m.pmilkch > 1e-06) {
        readPrice(in, res, m.prcheese);
        // Whey may cost its disposal: a negative price is no oddity.
        readfloat(res, in, m.prwhey);
    } else {
        readdes(in);
        readdes(in);
    }
}

void deriveAfterInputs11(Run& run) {
    Model& m = run.m;
    // The limits are positive: the reader has stopped the run otherwise.
    for (int c = 0; c <= m.nSCC - 2; ++c) m.tSCS[c] = scs(m.tSCC[c]);
}
