// INPUTS10.TXT: prices and amounts of wool, skins and manure, the revenue
// or price of animals sold for breeding, and subsidies.
#include "context/run.h"
#include "input/inputs.h"
#include "input/reader.h"
#include "model/model.h"

namespace {

// Amounts of wool and manure cannot be negative.  Prices of wool, skins and
// breeding animals are computable with any sign, but a negative one is odd
// and is reported.  The price of manure may be negative (manure that costs
// its removal) and a subsidy may be a levy; neither is checked.

constexpr const char* kNegativePrice = "a negative price";

// A vector record of the values of genotype b of the progeny categories
// cats[0 .. n-1], or a skipped record; a negative value is reported as what.
void readCategories(Run& run, InFile& in, bool needed, Real (*table)[3], const int* cats, int n, int b,
                    const char* what) {
    if (!needed) {
        readdes(in);
        return;
    }
    for (int i = 0; i < n; ++i) readNum(in, table[cats[i]][b]);
    wrides(in, run.res);
    for (int i = 0; i < n; ++i) std::fprintf(run.res, "%9.0f", double(table[cats[i]][b]));
    for (int i = 0; i < n; ++i)
        if (table[cats[i]][b] < 0) {
            warnOdd(in, what);
            break;
        }
}

// The eight records of the young stock sold for breeding: the revenue per
// animal (revsbL) or the price per kg live weight (prsbL), by category and
// genotype.  Categories 13, 15, 19, 23 and 26 are females, 38 and 40 males.
void breedingSales(Run& run, InFile& in, bool needed, Real (*table)[3], const char* what) {
    const Model& m = run.m;
    static const int kFemales[3] = {15, 19, 23};
    static const int kMales[2] = {38, 40};
    const bool x = m.crossing == 2;
    const bool f1 = m.psp[1][2][1] > 1e-06, f2 = m.psp[1][2][2] > 1e-06;
    const bool m1 = m.psp[2][2][1] > 1e-06, m2 = m.psp[2][2][2] > 1e-06;
    readfloatWarnNegativeIf(in, run.res, needed && f1, table[13][1], what);
    readfloatWarnNegativeIf(in, run.res, needed && x && f2, table[13][2], what);
    readfloatWarnNegativeIf(in, run.res, needed && f1, table[26][1], what);
    readfloatWarnNegativeIf(in, run.res, needed && x && f2, table[26][2], what);
    readCategories(run, in, needed && f1, table, kFemales, 3, 1, what);
    readCategories(run, in, needed && x && f2, table, kFemales, 3, 2, what);
    readCategories(run, in, needed && m1, table, kMales, 2, 1, what);
    readCategories(run, in, needed && x && m2, table, kMales, 2, 2, what);
}

}  // namespace

void readInputs10(Run& run, InFile& in) {
    Model& m = run.m;
    std::FILE* res = run.res;
    const bool x = m.crossing == 2;
    const bool fattening = m.lf[0] + m.lf[1] + m.lf[2] > 0;

    // Ewes.
    readcom(in);
    readfloatWarnNegative(res, in, m.prwoolE, kNegativePrice);
    readfloat(res, in, m.wsheE);
    readfloatWarnNegative(res, in, m.prskrE, kNegativePrice);
    readfloatWarnNegative(res, in, m.prsktE, kNegativePrice);
    readfloat(res, in, m.manE);
    readfloat(res, in, m.prman);

    // Rams.
    readfloatWarnNegative(res, in, m.prwoolR[1], kNegativePrice);
    readfloatWarnNegativeIf(in, run.res, x, m.prwoolR[2], kNegativePrice);
    readfloat(res, in, m.wsheR[1]);
    readfloatIf(in, run.res, x, m.wsheR[2]);
    readfloatWarnNegative(res, in, m.prskrR[1], kNegativePrice);
    readfloatWarnNegativeIf(in, run.res, x, m.prskrR[2], kNegativePrice);
    readfloatWarnNegative(res, in, m.prsktR[1], kNegativePrice);
    readfloatWarnNegativeIf(in, run.res, x, m.prsktR[2], kNegativePrice);
    readfloat(res, in, m.manR);
    readfloatWarnNegative(res, in, m.prsbR[1], kNegativePrice);
    readfloatWarnNegativeIf(in, run.res, x, m.prsbR[2], kNegativePrice);

    // Lambs: wool until weaning or in artificial rearing, in fattening and
    // in rearing for breeding.
    readfloatWarnNegative(res, in, m.prwoolL[1], kNegativePrice);
    readfloatWarnNegativeIf(in, run.res, x, m.prwoolL[2], kNegativePrice);
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
    readfloat(res, in, m.wsherL[1][1]);
    readfloatIf(in, run.res, x, m.wsherL[1][2]);
    readfloatIf(in, run.res, m.ppurchMP < 1.000001 || m.psp[2][2][1] > 1e-06, m.wsherL[2][1]);
    readfloatIf(in, run.res, x && m.psp[2][2][2] > 1e-06, m.wsherL[2][2]);

    // Skins and manure.
    readfloatWarnNegative(res, in, m.prskrL[1], kNegativePrice);
    readfloatWarnNegativeIf(in, run.res, x, m.prskrL[2], kNegativePrice);
    readfloatWarnNegative(res, in, m.prsktL[1], kNegativePrice);
    readfloatWarnNegativeIf(in, run.res, x, m.prsktL[2], kNegativePrice);
    readfloatIf(in, run.res, fattening, m.manfL);
    readfloatIf(in, run.res, m.typew == 2, m.manarL);
    readfloat(res, in, m.manbL);

    // Young stock sold for breeding: revenue per animal (1) or price per kg
    // live weight (2).
    readint(res, in, m.opsbL);
    if (m.opsbL < 1 || m.opsbL > 2)
        failCheckAt(run, &m.opsbL, "The option for the young stock sold for breeding must be 1 (revenue per\n"
                       "animal) or 2 (price per kg live weight). Correct this error in INPUTS10.TXT\n"
                       "and restart the program.\n");
    readcom(in);
    breedingSales(run, in, m.opsbL == 1, m.revsbL, "a negative revenue");
    readcom(in);
    breedingSales(run, in, m.opsbL == 2, m.prsbL, "a negative price");

    // Subsidies.
    readfloatIf(in, run.res, m.psp[2][2][1] + m.psp[2][2][2] > 1e-06, m.subR);
    readfloat(res, in, m.subE);
}
