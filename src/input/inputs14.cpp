// INPUTS14.TXT: the payment of fattened progeny by the pricing system
// pricefL (live weight, carcass classes, carcass weight, or fleshiness and
// fat-covering classes) and the dressing percentages of the fattening
// variants.  Read in the base evaluation when the system has fattening
// variants.  Every group of records begins with a comment; the groups of
// the other pricing systems, the cross-bred records without crossing and
// the records of kinds without fattening still stand in the file and are
// skipped.
#include "input/inputs.h"

#include <iterator>

#include "context/run.h"
#include "input/price_records.h"
#include "input/reader.h"
#include "model/model.h"

namespace {

[[noreturn]] void rangeError(Run& run, const int& value, const char* what, int hi) {
    failCheckAt(run, &value,
              "%s must be in the range\nfrom 1 to %d. Correct this error in INPUTS14.TXT and restart the program.\n",
              what, hi);
}

// Carcass-class frequencies of breed group cr: echoed, then their sum
// tested.
void readClassFrequencies(Run& run, InFile& in, int cr) {
    Model& m = run.m;
    readVectorRecord(in, run.res, &m.pclfL[cr][1], m.nclfL, 1, "%8.2f");
    Real s = 0.0;
    for (int c = 1; c <= m.nclfL; ++c) s += m.pclfL[cr][c];
    if (s >= 1.00001 || s <= 0.99999)
        failCheckAt(run, &m.pclfL[cr][1],
                  "Frequencies in quality classes for\n%sdo not sum up to 1. The sum is %6.4f.\n"
                  "  Correct the error in INPUTS%d.TXT and restart the program.\n\n\n",
                  cr == 1 ? "  pure-bred fattened lambs " : "  cross-bred fattened lambs ", double(s), 14);
}

// Fleshiness (rows) and fat-covering (columns) frequencies of the fattened progeny
// of breed group cr: their sum tested, then echoed row by row.
void readFleshFatFrequencies(Run& run, InFile& in, int cr) {
    Model& m = run.m;
    Real s = 0.0;
    for (int f = 1; f <= m.nclflfL; ++f)
        for (int c = 1; c <= m.nclfcfL; ++c) {
            readNum(in, m.pclfcfL[cr][f][c]);
            s += m.pclfcfL[cr][f][c];
        }
    checkRecordEnd(in, m.nclflfL, m.nclfcfL);
    if (s >= 1.00001 || s <= 0.99999)
        failCheckAt(run, &m.pclfcfL[cr][1][1],
                  "Frequencies in classes for fleshiness/ fat covering for fattened\n"
                  "%slambs do not sum up to 1. The sum is %6.4f.\n"
                  "  Correct the error in INPUTS14.TXT and restart the program.\n\n\n",
                  cr == 1 ? "  pure-bred " : "  cross-bred ", double(s));
    wrides(in, run.res);
    for (int f = 1; f <= m.nclflfL; ++f) {
        std::fputc('\n', run.res);
        for (int c = 1; c <= m.nclfcfL; ++c) std::fprintf(run.res, "%8.3f", double(m.pclfcfL[cr][f][c]));
    }
}

}  // namespace

void readInputs14(Run& run, InFile& in) {
    Model& m = run.m;
    std::FILE* res = run.res;

    readcom(in);
    readint(res, in, m.pricefL);
    if (m.pricefL < 1 || m.pricefL > 4) rangeError(run, m.pricefL, "The pricing system for fattened lambs", 4);

    // 1: price per kg live weight.
    readcom(in);
    if (m.pricefL == 1) {
        readPrice(in, res, m.prlwfL[1]);
        readPriceIf(in, res, m.crossing == 2, m.prlwfL[2]);
    } else {
        readdes(in, 2);
    }

    // 2: carcass classes, each with its price and its frequency.
    readcom(in);
    if (m.pricefL == 2) {
        readint(res, in, m.nclfL);
        if (m.nclfL < 1 || m.nclfL > 5) rangeError(run, m.nclfL, "The number of carcass classes of fattened lambs", 5);
        readVectorRecord(in, res, &m.prclfL[1], m.nclfL, 1, "%12.4f");
        warnNegativeClassPrices(in, &m.prclfL[1], 1, 0, m.nclfL);
        for (int cr = 1; cr <= m.crossing; ++cr) readClassFrequencies(run, in, cr);
        if (m.crossing == 1) readdes(in, 1);
    } else {
        readdes(in, 4);
    }

    // Dressing percentages of the fattening variants, needed when the
    // carcass is paid (3 and 4): per kind (castrates, females, males) one
    // record per breed group.
    readcom(in);
    if (m.pricefL == 3 || m.pricefL == 4) {
        for (int k = 0; k <= 2; ++k) {
            if (m.lf[k] > 0) {
                for (int cr = 1; cr <= m.crossing; ++cr)
                    readVectorRecord(in, res, &m.dresfL[k][1][cr], m.lf[k], int(std::size(m.dresfL[0][0])), "%8.1f");
                if (m.crossing == 1) readdes(in, 1);
            } else {
                readdes(in, 2);
            }
        }
    } else {
        readdes(in, 6);
    }

    // 3: price per kg carcass weight.
    readcom(in);
    if (m.pricefL == 3) {
        readPrice(in, res, m.prcwfL[1]);
        readPriceIf(in, res, m.crossing == 2, m.prcwfL[2]);
    } else {
        readdes(in, 2);
    }

    // 4: fleshiness (rows) and fat-covering (columns) classes, priced
    // relative to a reference price.  Frequencies are read only for the
    // breed groups ja..jb that are fattened at all.
    readcom(in);
    if (m.pricefL == 4) {
        readint(res, in, m.nclflfL);
        if (m.nclflfL < 1 || m.nclflfL > 7) rangeError(run, m.nclflfL, "The number of fleshiness classes of fattened lambs", 7);
        readint(res, in, m.nclfcfL);
        if (m.nclfcfL < 1 || m.nclfcfL > 7)
            rangeError(run, m.nclfcfL, "The number of fat covering classes of fattened lambs", 7);
        readPrice(in, res, m.prreffL);
        readMatrixRecord(in, res, &m.prclfcfL[1][1], m.nclflfL, int(std::size(m.prclfcfL[0])), m.nclfcfL, 1,
                         "%12.4f");
        if (m.fatpb == 1 || m.fatcb == 1) {
            if (m.fatpb == 1 && m.fatcb == 0) {
                m.ja = 1;
                m.jb = 1;
            } else if (m.fatpb == 1 && m.fatcb == 1) {
                m.ja = 1;
                m.jb = 2;
            } else {
                m.ja = 2;
                m.jb = 2;
                readdes(in, 1);   // the pure-bred record
            }
            for (int cr = m.ja; cr <= m.jb; ++cr) readFleshFatFrequencies(run, in, cr);
            if (m.jb == 1) readdes(in, 1);
        } else {
            // No variant applies to either breed group: nothing is fattened
            // and both frequency records are left unread.
            readdes(in, 2);
        }
    } else {
        readdes(in, 6);
    }
}
