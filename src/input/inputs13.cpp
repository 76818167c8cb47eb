// INPUTS13.TXT: the payment of lambs slaughtered at weaning (or at the end
// of artificial rearing) by the pricing system pricewL (live weight, carcass
// classes, carcass weight, or carcass-weight and quality classes together
// with fleshiness and fat-covering classes).  Read in the base evaluation
// when such lambs exist.  Every group of records begins with a comment; the
// groups of the other pricing systems and the cross-bred records without
// crossing still stand in the file and are skipped.
#include "input/inputs.h"

#include <iterator>

#include "context/run.h"
#include "input/price_records.h"
#include "input/reader.h"
#include "model/model.h"

namespace {

[[noreturn]] void rangeError(Run& run, const int& value, const char* what, int hi) {
    failCheckAt(run, &value,
              "%s must be in the range\nfrom 1 to %d. Correct this error in INPUTS13.TXT and restart the program.\n",
              what, hi);
}

// Carcass-class frequencies of breed group cr: echoed, then their sum
// tested.
void readClassFrequencies(Run& run, InFile& in, int cr) {
    Model& m = run.m;
    readVectorRecord(in, run.res, &m.pclwL[cr][1], m.nclwL, 1, "%8.2f");
    Real s = 0.0;
    for (int c = 1; c <= m.nclwL; ++c) s += m.pclwL[cr][c];
    if (s >= 1.00001 || s <= 0.99999)
        failCheckAt(run, &m.pclwL[cr][1],
                  "Frequencies in quality classes for\n%sdo not sum up to 1. The sum is %6.4f.\n"
                  "  Correct the error in INPUTS%d.TXT and restart the program.\n\n\n",
                  cr == 1 ? "  pure-bred weaned slaughter lambs " : "  cross-bred weaned slaughter lambs ", double(s),
                  13);
}

// Fleshiness (rows) and fat-covering (columns) frequencies of the heavy lambs
// of breed group cr: their sum tested, then echoed row by row.
void readFleshFatFrequencies(Run& run, InFile& in, int cr) {
    Model& m = run.m;
    Real s = 0.0;
    for (int f = 1; f <= m.nclflwL; ++f)
        for (int c = 1; c <= m.nclfcwL; ++c) {
            readNum(in, m.pclfcwL[cr][f][c]);
            s += m.pclfcwL[cr][f][c];
        }
    checkRecordEnd(in, m.nclflwL, m.nclfcwL);
    if (s >= 1.00001 || s <= 0.99999)
        failCheckAt(run, &m.pclfcwL[cr][1][1],
                  "Frequencies in classes for fleshiness/ fat covering for %s"
                  "  heavy lambs (carcass weight > 13 kg) slaughtered after weaning or\n"
                  "  artificial rearing do not sum up to 1. The sum is %6.4f.\n"
                  "  Correct the error in INPUTS13.TXT and restart the program.\n\n\n",
                  cr == 1 ? "pure-bred\n" : "cross-bred\n", double(s));
    wrides(in, run.res);
    for (int f = 1; f <= m.nclflwL; ++f) {
        std::fputc('\n', run.res);
        for (int c = 1; c <= m.nclfcwL; ++c) std::fprintf(run.res, "%8.3f", double(m.pclfcwL[cr][f][c]));
    }
}

}  // namespace

void readInputs13(Run& run, InFile& in) {
    Model& m = run.m;
    std::FILE* res = run.res;

    readcom(in);
    readint(res, in, m.pricewL);
    if (m.pricewL < 1 || m.pricewL > 4) rangeError(run, m.pricewL, "The pricing system for lambs sold at weaning", 4);

    // 1: price per kg live weight.
    readcom(in);
    if (m.pricewL == 1) {
        readPrice(in, res, m.prlwwL[1]);
        readPriceIf(in, res, m.crossing == 2, m.prlwwL[2]);
    } else {
        readdes(in, 2);
    }

    // 2: carcass classes, each with its price and its frequency.
    readcom(in);
    if (m.pricewL == 2) {
        readint(res, in, m.nclwL);
        if (m.nclwL < 1 || m.nclwL > 5)
            rangeError(run, m.nclwL, "The number of carcass classes of lambs sold at weaning", 5);
        readVectorRecord(in, res, &m.prclwL[1], m.nclwL, 1, "%12.4f");
        warnNegativeClassPrices(in, &m.prclwL[1], 1, 0, m.nclwL);
        for (int cr = 1; cr <= m.crossing; ++cr) readClassFrequencies(run, in, cr);
        if (m.crossing == 1) readdes(in, 1);
    } else {
        readdes(in, 4);
    }

    // Dressing percentages, needed when the carcass is paid (3 and 4).
    readcom(in);
    if (m.pricewL == 3 || m.pricewL == 4) {
        readfloat(res, in, m.dreswL[1]);
        readfloatIf(in, res, m.crossing == 2, m.dreswL[2]);
    } else {
        readdes(in, 2);
    }

    // 3: price per kg carcass weight.
    readcom(in);
    if (m.pricewL == 3) {
        readPrice(in, res, m.prcwwL[1]);
        readPriceIf(in, res, m.crossing == 2, m.prcwwL[2]);
    } else {
        readdes(in, 2);
    }

    // 4: carcass-weight classes (the variation of the carcass weight spreads
    // the lambs over them) with a price per weight and quality class, and
    // the quality-class frequencies within every weight class.  The whole
    // price table is one record; its values follow one another on one line.
    readcom(in);
    if (m.pricewL == 4) {
        readfloat(res, in, m.vcwwL);
        for (int w = 1; w <= m.nclcwwL; ++w)
            for (int q = 1; q <= m.nclcqwL; ++q) readNum(in, m.prclcwwL[w][q]);
        wrides(in, res);
        for (int w = 1; w <= m.nclcwwL; ++w)
            for (int q = 1; q <= m.nclcqwL; ++q) std::fprintf(res, "%12.4f", double(m.prclcwwL[w][q]));
        warnNegativeClassPrices(in, &m.prclcwwL[1][1], m.nclcwwL, int(std::size(m.prclcwwL[0])), m.nclcqwL);
        for (int cr = 1; cr <= m.crossing; ++cr)
            for (int w = 1; w <= m.nclcwwL; ++w)
                readVectorRecord(in, res, &m.pclcqwL[w][1][cr], m.nclcqwL, int(std::size(m.pclcqwL[0][0])), "%8.2f");
        if (m.crossing == 1) readdes(in, m.nclcwwL);
    } else {
        readdes(in, 2 + 2 * m.nclcwwL);
    }

    // 4, heavy lambs: fleshiness (rows) and fat-covering (columns) classes,
    // priced relative to a reference price.
    readcom(in);
    if (m.pricewL == 4) {
        readint(res, in, m.nclflwL);
        if (m.nclflwL < 1 || m.nclflwL > 7)
            rangeError(run, m.nclflwL, "The number of fleshiness classes of lambs sold at weaning", 7);
        readint(res, in, m.nclfcwL);
        if (m.nclfcwL < 1 || m.nclfcwL > 7)
            rangeError(run, m.nclfcwL, "The number of fat covering classes of lambs sold at weaning", 7);
        readPrice(in, res, m.prrefwL);
        readMatrixRecord(in, res, &m.prclfcwL[1][1], m.nclflwL, int(std::size(m.prclfcwL[0])), m.nclfcwL, 1,
                         "%12.4f");
        for (int cr = 1; cr <= m.crossing; ++cr) readFleshFatFrequencies(run, in, cr);
        if (m.crossing == 1) readdes(in, 1);
    } else {
        readdes(in, 6);
    }
}
