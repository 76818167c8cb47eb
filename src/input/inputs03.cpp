// INPUTS03.TXT: lambs from birth to weaning or to the end of artificial
// rearing: litter-size distribution by reproductive cycle, lamb losses and
// lamb weights by sex, litter size and breed.
#include <cstdio>

#include "context/run.h"
#include "input/inputs.h"
#include "input/reader.h"
#include "model/model.h"

namespace {

// Columns of the arrays indexed [litter-size class][breed] and
// [sex][litter-size class][breed]: the breed column is the last dimension.
using ByBreed = Real (*)[3];

// A vector record over the litter-size classes 1..clt of breed column b.
void classVector(Run& run, InFile& in, ByBreed rows, int b) {
    readVectorRecord(in, run.res, &rows[1][b], run.m.clt, 3, "%8.3f");
}

// A weight of some litter-size class below the weight `earlier` of the same
// lambs at an earlier age: computable (a negative daily gain), but odd.
void warnLoss(InFile& in, const Model& m, ByBreed later, ByBreed earlier, int b, const char* what) {
    for (int i = 1; i <= m.clt; ++i)
        if (later[i][b] < earlier[i][b]) {
            warnOdd(in, what);
            return;
        }
}

// One row of a matrix echo: its values, then a line break.
void echoRow(std::FILE* res, const Real* row, int n) {
    for (int j = 1; j <= n; ++j) std::fprintf(res, "%8.3f", double(row[j]));
    std::fputc('\n', res);
}

// The litter-size distribution must have a non-empty highest class and sum
// to one in every reproductive cycle.  Tested before the matrix is echoed.
void checkPltype(Run& run) {
    const Model& m = run.m;
    double top = 0.0;
    for (int j = 1; j <= m.LL; ++j) top += m.Pltype[m.clt][j];
    if (top < 1e-06)
        failCheckAt(run, &m.Pltype[m.clt][1],
                  "The number of classes for litter size is too high. The fraction\n"
                  "  of lambings in the highest class for litter size is zero for all\n"
                  "  reproductive cycles. Decrease the number of litter size by one or\n"
                  "  complete the data for the highest class of litter size in\n"
                  "  INPUTS03.TXT and restart the program.\n\n\n");
    for (int j = 1; j <= m.LL; ++j) {
        double s = 0.0;
        for (int i = 1; i <= m.clt; ++i) s += m.Pltype[i][j];
        if (s < 0.99999 || s > 1.00001)
            failCheckAt(run, &m.Pltype[1][j],
                      "In file INPUTS03.TXT are wrong data for the fraction of\n"
                      "  lambings in individual classes for litter size. The fractions\n"
                      "  in reproductive cycle %d do not sum to 1.\n"
                      "  Correct the error and restart the program.\n",
                      j);
    }
}

}  // namespace

void readInputs03(Run& run, InFile& in) {
    Model& m = run.m;
    std::FILE* res = run.res;

    readcom(in);

    // Number of litter-size classes; it bounds every litter-size array,
    // which hold the classes 1..5.
    readInt(in, m.clt);
    if (m.clt > 5 || m.clt <= 0)
        failCheckAt(run, &m.clt,
                  "The number of classes for litter size must be in the range from 1\n"
                  "to 5. Correct this error in INPUTS03.TXT and restart the program.\n\n\n");
    wrides(in, res);
    std::fprintf(res, "%2d", m.clt);

    // Fraction of lambings by litter-size class (rows) and reproductive
    // cycle (columns).
    for (int i = 1; i <= m.clt; ++i)
        for (int j = 1; j <= m.LL; ++j) readNum(in, m.Pltype[i][j]);
    // A file written for more cycles would otherwise give its rows shifted
    // to the sum check.
    checkRecordEnd(in, m.clt, m.LL);
    checkPltype(run);
    wrides(in, res);
    std::fputc('\n', res);
    for (int i = 1; i <= m.clt; ++i) echoRow(res, m.Pltype[i], m.LL);

    // Components of the losses within 24 hours after birth: row i holds the
    // i components of litter-size class i; their sum is the loss of the
    // class, accumulated in the stored precision as the values come in.
    for (int i = 1; i <= m.clt; ++i) {
        m.pdiedbL[i][1] = 0.0;
        for (int j = 1; j <= i; ++j) {
            readNum(in, m.pdiedbtL[i][j]);
            m.pdiedbL[i][1] += m.pdiedbtL[i][j];
        }
    }
    wrides(in, res);
    std::fputc('\n', res);
    for (int i = 1; i <= m.clt; ++i) echoRow(res, m.pdiedbtL[i], i);
    // Each component is a fraction of the lambs born, and so is their sum:
    // more than all lambs of a litter size cannot die.
    for (int i = 1; i <= m.clt; ++i)
        if (m.pdiedbL[i][1] > 1)
            failCheckAt(run, &m.pdiedbtL[i][1],
                      "The losses of lambs of litter size class %d within 24 hours after birth\n"
                      "  sum to %.4f, more than 1. Correct this error in INPUTS03.TXT and restart the program.\n",
                      i, double(m.pdiedbL[i][1]));

    classVector(run, in, m.pdiedwL, 1);
    if (m.typew == 2) classVector(run, in, m.pdiedarL, 1);
    else readdes(in);

    // Birth and weaning weights of pure-bred, then of cross-bred lambs.
    for (int b = 1; b <= m.crossing; ++b) {
        classVector(run, in, m.bwL[1], b);
        classVector(run, in, m.bwL[2], b);
        classVector(run, in, m.wwL[1], b);
        warnLoss(in, m, m.wwL[1], m.bwL[1], b, "a weaning weight below the birth weight");
        classVector(run, in, m.wwL[2], b);
        warnLoss(in, m, m.wwL[2], m.bwL[2], b, "a weaning weight below the birth weight");
    }
    if (m.crossing != 2)
        for (int r = 0; r < 4; ++r) readdes(in);

    // Weights at the end of artificial rearing and its length.
    if (m.typew == 2) {
        const char* const lighter = "a weight at the end of artificial rearing below the weaning weight";
        for (int b = 1; b <= m.crossing; ++b) {
            classVector(run, in, m.warL[1], b);
            warnLoss(in, m, m.warL[1], m.wwL[1], b, lighter);
            classVector(run, in, m.warL[2], b);
            warnLoss(in, m, m.warL[2], m.wwL[2], b, lighter);
        }
        if (m.crossing != 2) {
            readdes(in);
            readdes(in);
        }
        readint(res, in, m.agearL);
    } else {
        for (int r = 0; r < 5; ++r) readdes(in);
    }
}

// Cross-bred lambs have the losses of pure-bred lambs.
void deriveAfterInputs03(Run& run) {
    Model& m = run.m;
    if (m.crossing != 2) return;
    for (int i = 1; i <= m.clt; ++i) {
        m.pdiedbL[i][2] = m.pdiedbL[i][1];
        m.pdiedwL[i][2] = m.pdiedwL[i][1];
        m.pdiedarL[i][2] = m.pdiedarL[i][1];
    }
}
