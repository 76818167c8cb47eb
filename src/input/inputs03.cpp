// INPUTS03.TXT: lambs from birth to weaning or to the end of artificial
// rearing: litter-size distribution by reproductive cycle, lamb losses and
// lamb weights by sex, litter size and breed.
#include <cstdio>

#include "driver/run.h"
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
        failCheck(run,
                  "The number of classes for litter size is too high. The fraction\n"
                  "  of lambings in the highest class for litter size is zero for all\n"
                  "  reproductive cycles. Decrease the number of litter size by one or\n"
                  "  complete the data for the highest class of litter size in\n"
                  "  INPUTS03.TXT and restart the program.\n\n\n");
    for (int j = 1; j <= m.LL; ++j) {
        double s = 0.0;
        for (int i = 1; i <= m.clt; ++i) s += m.Pltype[i][j];
        if (s < 0.99999 || s > 1.00001)
            failCheck(run,
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
    const int clt = readInt(in);
    if (clt > 5 || clt <= 0)
        failCheck(run,
                  "The number of classes for litter size must be in the range from 1\n"
                  "to 5. Correct this error in INPUTS03.TXT and restart the program.\n\n\n");
    m.clt = clt;
    wrides(in, res);
    std::fprintf(res, "%2d", m.clt);

    // Fraction of lambings by litter-size class (rows) and reproductive
    // cycle (columns).
    for (int i = 1; i <= m.clt; ++i)
        for (int j = 1; j <= m.LL; ++j) m.Pltype[i][j] = readNum(in);
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
            m.pdiedbtL[i][j] = readNum(in);
            m.pdiedbL[i][1] += m.pdiedbtL[i][j];
        }
    }
    wrides(in, res);
    std::fputc('\n', res);
    for (int i = 1; i <= m.clt; ++i) echoRow(res, m.pdiedbtL[i], i);

    classVector(run, in, m.pdiedwL, 1);
    if (m.typew == 2) classVector(run, in, m.pdiedarL, 1);
    else readdes(in);

    // Birth and weaning weights of pure-bred, then of cross-bred lambs.
    classVector(run, in, m.bwL[1], 1);
    classVector(run, in, m.bwL[2], 1);
    classVector(run, in, m.wwL[1], 1);
    classVector(run, in, m.wwL[2], 1);
    if (m.crossing == 2) {
        classVector(run, in, m.bwL[1], 2);
        classVector(run, in, m.bwL[2], 2);
        classVector(run, in, m.wwL[1], 2);
        classVector(run, in, m.wwL[2], 2);
    } else {
        for (int r = 0; r < 4; ++r) readdes(in);
    }

    // Weights at the end of artificial rearing and its length.
    if (m.typew == 2) {
        classVector(run, in, m.warL[1], 1);
        classVector(run, in, m.warL[2], 1);
        if (m.crossing == 2) {
            classVector(run, in, m.warL[1], 2);
            classVector(run, in, m.warL[2], 2);
        } else {
            readdes(in);
            readdes(in);
        }
        m.agearL = readint(res, in);
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
