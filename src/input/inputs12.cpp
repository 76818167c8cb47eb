// INPUTS12.TXT: the payment of culled sheep by the pricing system priceS
// (live weight, carcass quality classes, carcass weight, or classes of
// fleshiness and fat covering) and the dressing percentages.  Always read,
// as the last input file.
#include "input/inputs.h"

#include <iterator>

#include "context/run.h"
#include "input/price_records.h"
#include "input/reader.h"
#include "model/model.h"

namespace {

[[noreturn]] void rangeError(Run& run, const int& value, const char* what, int lo, int hi) {
    failCheckAt(run, &value, "%s must be in the range from %d\nto %d. Correct this error in INPUTS12.TXT and restart the program.\n",
              what, lo, hi);
}

// Stops the run unless the class frequencies of one breed, the first of
// them at `first`, sum up to 1.  The sum s is held in the storage precision
// like the frequencies themselves.
void checkFrequencies(Run& run, const Real* first, const char* classes, int b, Real s) {
    if (s >= 1.00001 || s <= 0.99999)
        failCheckAt(run, first,
                  "%s%sdo not sum up to 1. The sum is %6.4f.\n"
                  "  Correct the error in INPUTS%d.TXT and restart the program.\n\n\n",
                  classes, b == 1 ? "  pure-bred adult sheep " : "  cross-bred adult sheep ", double(s), 12);
}

// Quality-class frequencies of breed b: echoed, then their sum tested.
void readQualityFrequencies(Run& run, InFile& in, int b) {
    Model& m = run.m;
    readVectorRecord(in, run.res, &m.pclS[b][1], m.nclS, 1, "%8.2f");
    Real s = 0.0;
    for (int c = 1; c <= m.nclS; ++c) s += m.pclS[b][c];
    checkFrequencies(run, &m.pclS[b][1], "Frequencies in quality classes for\n", b, s);
}

// Fleshiness and fat-covering frequencies of breed b: their sum tested,
// then echoed.
void readFleshFatFrequencies(Run& run, InFile& in, int b) {
    Model& m = run.m;
    Real s = 0.0;
    for (int i = 1; i <= m.nclflS; ++i)
        for (int j = 1; j <= m.nclfcS; ++j) {
            readNum(in, m.pclfcS[b][i][j]);
            s += m.pclfcS[b][i][j];
        }
    checkRecordEnd(in, m.nclflS, m.nclfcS);
    checkFrequencies(run, &m.pclfcS[b][1][1], "Frequencies in classes for fleshiness/ fat covering for\n", b, s);
    wrides(in, run.res);
    for (int i = 1; i <= m.nclflS; ++i) {
        std::fputc('\n', run.res);
        for (int j = 1; j <= m.nclfcS; ++j) std::fprintf(run.res, "%8.3f", double(m.pclfcS[b][i][j]));
    }
}

}  // namespace

void readInputs12(Run& run, InFile& in) {
    Model& m = run.m;
    std::FILE* res = run.res;

    readcom(in);
    readint(res, in, m.priceS);
    if (m.priceS < 1 || m.priceS > 4) rangeError(run, m.priceS, "The pricing system for culled sheep", 1, 4);
    readcom(in);

    // 1: price per kg live weight.
    if (m.priceS == 1) {
        readPrice(in, res, m.prlwS[1]);
        readPriceIf(in, res, m.crossing == 2, m.prlwS[2]);
    } else {
        readdes(in);
        readdes(in);
    }
    readcom(in);

    // 2: carcass quality classes.
    if (m.priceS == 2) {
        readint(res, in, m.nclS);
        if (m.nclS < 1 || m.nclS > 5) rangeError(run, m.nclS, "The number of carcass quality classes", 1, 5);
        readVectorRecord(in, res, &m.prclS[1], m.nclS, 1, "%12.4f");
        warnNegativeClassPrices(in, &m.prclS[1], 1, 0, m.nclS);
        readQualityFrequencies(run, in, 1);
        if (m.crossing == 2) readQualityFrequencies(run, in, 2);
        else readdes(in);
    } else {
        for (int i = 0; i < 4; ++i) readdes(in);
    }
    readcom(in);

    // 3: price per kg carcass weight.
    if (m.priceS == 3) {
        readPrice(in, res, m.prcwS[1]);
        readPriceIf(in, res, m.crossing == 2, m.prcwS[2]);
    } else {
        readdes(in);
        readdes(in);
    }
    readcom(in);

    // 4: classes of fleshiness (rows) and fat covering (columns), priced
    // relative to a reference price.
    if (m.priceS == 4) {
        readint(res, in, m.nclflS);
        if (m.nclflS < 1 || m.nclflS > 7) rangeError(run, m.nclflS, "The number of fleshiness classes", 1, 7);
        readint(res, in, m.nclfcS);
        if (m.nclfcS < 1 || m.nclfcS > 7) rangeError(run, m.nclfcS, "The number of fat covering classes", 1, 7);
        readPrice(in, res, m.prrefS);
        readMatrixRecord(in, res, &m.prclfcS[1][1], m.nclflS, int(std::size(m.prclfcS[0])), m.nclfcS, 1, "%12.4f");
        readFleshFatFrequencies(run, in, 1);
        if (m.crossing == 2) readFleshFatFrequencies(run, in, 2);
        else readdes(in);
    } else {
        for (int i = 0; i < 6; ++i) readdes(in);
    }
    readcom(in);

    // Dressing percentages, needed when the carcass is paid.
    if (m.priceS == 3 || m.priceS == 4) {
        readfloat(res, in, m.dresE);
        readfloat(res, in, m.dresR[1]);
        readfloatIf(in, res, m.crossing == 2, m.dresR[2]);
        readfloat(res, in, m.dresrL[1]);
        readfloatIf(in, res, m.crossing == 2, m.dresrL[2]);
    } else {
        for (int i = 0; i < 5; ++i) readdes(in);
    }
}

void deriveAfterInputs12(Run& run) {
    Model& m = run.m;

    // Without milking after weaning, drying coincides with weaning.
    if (m.typeb > 1) m.datdry = m.datwL;

    // Ratios of the dressing percentages of rams and young stock to that of
    // ewes (and of cross-bred young stock to crossing sires), which the
    // evaluation loop keeps when it changes the dressing percentage of ewes.
    if (m.priceS > 2) {
        m.kdresER = m.dresR[1] / m.dresE;
        m.kdresEL = m.dresrL[1] / m.dresE;
        if (m.crossing == 2) {
            m.kdresRL = m.dresrL[2] / m.dresR[2];
        }
    }
}
