// INPUTS10.TXT: prices and amounts of wool, skins and manure, the revenue
// or price of animals sold for breeding, and subsidies.
#include "driver/run.h"
#include "input/inputs.h"
#include "input/reader.h"
#include "model/model.h"

namespace {

// A vector record of the values of genotype b of the progeny categories
// cats[0 .. n-1], or a skipped record.
void readCategories(Run& run, InFile& in, bool needed, Real (*table)[3], const int* cats, int n, int b) {
    if (!needed) {
        readdes(in);
        return;
    }
    for (int i = 0; i < n; ++i) table[cats[i]][b] = readNum(in);
    wrides(in, run.res);
    for (int i = 0; i < n; ++i) std::fprintf(run.res, "%9.0f", double(table[cats[i]][b]));
}

// The eight records of the young stock sold for breeding: the revenue per
// animal (revsbL) or the price per kg live weight (prsbL), by category and
// genotype.  Categories 13, 15, 19, 23 and 26 are females, 38 and 40 males.
void breedingSales(Run& run, InFile& in, bool needed, Real (*table)[3]) {
    const Model& m = run.m;
    static const int kFemales[3] = {15, 19, 23};
    static const int kMales[2] = {38, 40};
    const bool x = m.crossing == 2;
    const bool f1 = m.psp[1][2][1] > 1e-06, f2 = m.psp[1][2][2] > 1e-06;
    const bool m1 = m.psp[2][2][1] > 1e-06, m2 = m.psp[2][2][2] > 1e-06;
    readfloatIf(in, run.res, needed && f1, table[13][1]);
    readfloatIf(in, run.res, needed && x && f2, table[13][2]);
    readfloatIf(in, run.res, needed && f1, table[26][1]);
    readfloatIf(in, run.res, needed && x && f2, table[26][2]);
    readCategories(run, in, needed && f1, table, kFemales, 3, 1);
    readCategories(run, in, needed && x && f2, table, kFemales, 3, 2);
    readCategories(run, in, needed && m1, table, kMales, 2, 1);
    readCategories(run, in, needed && x && m2, table, kMales, 2, 2);
}

}  // namespace

void readInputs10(Run& run, InFile& in) {
    Model& m = run.m;
    std::FILE* res = run.res;
    const bool x = m.crossing == 2;
    const bool fattening = m.lf[0] + m.lf[1] + m.lf[2] > 0;

    // Ewes.
    readcom(in);
    m.prwoolE = readfloat(res, in);
    m.wsheE = readfloat(res, in);
    m.prskrE = readfloat(res, in);
    m.prsktE = readfloat(res, in);
    m.manE = readfloat(res, in);
    m.prman = readfloat(res, in);

    // Rams.
    m.prwoolR[1] = readfloat(res, in);
    readfloatIf(in, run.res, x, m.prwoolR[2]);
    m.wsheR[1] = readfloat(res, in);
    readfloatIf(in, run.res, x, m.wsheR[2]);
    m.prskrR[1] = readfloat(res, in);
    readfloatIf(in, run.res, x, m.prskrR[2]);
    m.prsktR[1] = readfloat(res, in);
    readfloatIf(in, run.res, x, m.prsktR[2]);
    m.manR = readfloat(res, in);
    m.prsbR[1] = readfloat(res, in);
    readfloatIf(in, run.res, x, m.prsbR[2]);

    // Lambs: wool until weaning or in artificial rearing, in fattening and
    // in rearing for breeding.
    m.prwoolL[1] = readfloat(res, in);
    readfloatIf(in, run.res, x, m.prwoolL[2]);
    for (int k = 1; k <= 2; ++k) {
        readfloatIf(in, run.res, m.typew == 1, m.wshewL[k][1]);
        readfloatIf(in, run.res, m.typew == 1 && x, m.wshewL[k][2]);
    }
    for (int k = 1; k <= 2; ++k) {
        readfloatIf(in, run.res, m.typew == 2, m.wshearL[k][1]);
        readfloatIf(in, run.res, m.typew == 2 && x, m.wshearL[k][2]);
    }
    for (int k : {1, 2, 0}) {
        readfloatIf(in, run.res, m.lf[k] > 0, m.wshefL[k][1]);
        readfloatIf(in, run.res, m.lf[k] > 0 && x, m.wshefL[k][2]);
    }
    m.wsherL[1][1] = readfloat(res, in);
    readfloatIf(in, run.res, x, m.wsherL[1][2]);
    readfloatIf(in, run.res, m.ppurchMP < 1.000001 || m.psp[2][2][1] > 1e-06, m.wsherL[2][1]);
    readfloatIf(in, run.res, x && m.psp[2][2][2] > 1e-06, m.wsherL[2][2]);

    // Skins and manure.
    m.prskrL[1] = readfloat(res, in);
    readfloatIf(in, run.res, x, m.prskrL[2]);
    m.prsktL[1] = readfloat(res, in);
    readfloatIf(in, run.res, x, m.prsktL[2]);
    readfloatIf(in, run.res, fattening, m.manfL);
    readfloatIf(in, run.res, m.typew == 2, m.manarL);
    m.manbL = readfloat(res, in);

    // Young stock sold for breeding: revenue per animal (1) or price per kg
    // live weight (2).
    m.opsbL = readint(res, in);
    if (m.opsbL < 1 || m.opsbL > 2)
        failCheck(run, "The option for the young stock sold for breeding must be 1 (revenue per\n"
                       "animal) or 2 (price per kg live weight). Correct this error in INPUTS10.TXT\n"
                       "and restart the program.\n");
    readcom(in);
    breedingSales(run, in, m.opsbL == 1, m.revsbL);
    readcom(in);
    breedingSales(run, in, m.opsbL == 2, m.prsbL);

    // Subsidies.
    readfloatIf(in, run.res, m.psp[2][2][1] + m.psp[2][2][2] > 1e-06, m.subR);
    m.subE = readfloat(res, in);
}
