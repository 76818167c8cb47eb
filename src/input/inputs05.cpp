// INPUTS05.TXT: how the surplus progeny of each kind and breed is divided
// among the sale categories, and the fattening variants (target, breeds,
// daily gain, survival) of female progeny, male progeny and castrates.
//
// Kinds of surplus progeny k: 0 castrates, 1 female progeny, 2 male progeny.
// Breed b: 1 pure-bred, 2 cross-bred.  Fattening variant i of kind k is sale
// category i + 2 of the females, i + 3 of the males (after the categories
// sold at weaning, reared for breeding and, for males, castrated), and
// category i of the castrates.
#include "input/inputs.h"

#include <type_traits>

#include "context/run.h"
#include "input/reader.h"
#include "model/model.h"

namespace {

constexpr double kPresent = 1e-06;

// Sale category of fattening variant i is i + kFirstCategory[k].
constexpr int kFirstCategory[3] = {0, 2, 3};
// Progeny category (row of adgP) of fattening variant i is i + kFirstRow[k].
constexpr int kFirstRow[3] = {42, 7, 32};
// Distance between consecutive categories or variants in the arrays whose
// last index is the breed.
constexpr int kBreedStride = int(std::extent_v<decltype(Model::psp), 2>);
static_assert(std::extent_v<decltype(Model::adgP), 1> == kBreedStride);
static_assert(std::extent_v<decltype(Model::surfat), 2> == kBreedStride);

const char* kindName(int k) {
    static const char* const names[3] = {"castrates", "female progeny", "male progeny"};
    return names[k];
}

const char* breedName(int b) { return b == 1 ? "pure-bred " : "cross-bred "; }

// Does a target with breed code `code` apply to progeny of breed b?
// Code 0: both breeds, 1: pure-bred only, 2: cross-bred only.
bool appliesTo(int code, int b) { return code == 0 || code == b; }

// Fractions of kind k and breed b over n sale categories; each lies in
// 0..1 and they sum to 1.
void readFractions(Run& run, InFile& in, int k, int b, int n) {
    Model& m = run.m;
    readVectorRecord(in, run.res, &m.psp[k][1][b], n, kBreedStride, "%8.3f");
    Real s = 0.0;
    for (int c = 1; c <= n; ++c) s += m.psp[k][c][b];
    if (s > 1.000001 || s < 0.999999)
        failCheckAt(run, &m.psp[k][1][b],
                  "The fractions of %ssurplus %s must sum to 1.\n"
                  "Correct this error in INPUTS05.TXT and restart the program.\n",
                  breedName(b), kindName(k));
}

// Unit, value and breed code of each fattening target of kind k, checked,
// followed by a summary of the targets in words for the user to verify.
void readTargets(Run& run, InFile& in, int k) {
    Model& m = run.m;
    const int n = m.lf[k];
    if (n == 0) {
        readdes(in);
        readdes(in);
        readdes(in);
        return;
    }

    readVectorRecord(in, run.res, &m.ulf[k][1], n, 1, "%3d");
    // A final weight or age of 0 is no fattening.
    readVectorRecord(in, run.res, &m.vlf[k][1], n, 1, " %6.1f");
    readVectorRecord(in, run.res, &m.clf[k][1], n, 1, "%3d");
    if (m.crossing == 1)
        for (int i = 1; i <= n; ++i)
            if (appliesTo(m.clf[k][i], 2))
                failCheckAt(run, &m.clf[k][i],
                          "In the file INPUTS05.TXT are wrong codes indicating\n"
                          "  the presence of cross-bred %s in fattening\n"
                          "  whereas in PARAS.TXT no crossbreeding was indicated.\n"
                          "  Correct the error and restart the program.\n",
                          kindName(k));

    std::fputs("\n**********\n", run.res);
    std::fputs("For checking the correctness of your input data:\n", run.res);
    for (int i = 1; i <= n; ++i) {
        std::fprintf(run.res, "  Target %d for fattening of %s is", i, kindName(k));
        if (m.ulf[k][i] == 1) std::fprintf(run.res, "%6.1f kg,\n", double(m.vlf[k][i]));
        else if (m.ulf[k][i] == 2) std::fprintf(run.res, "%6.1f days,\n", double(m.vlf[k][i]));
        std::fprintf(run.res, "     target %d is for", i);
        switch (m.clf[k][i]) {
        case 0: std::fputs(" pure-bred and cross-bred progeny.\n", run.res); break;
        case 1: std::fputs(" pure-bred progeny.\n", run.res); break;
        case 2: std::fputs(" cross-bred progeny.\n", run.res); break;
        }
    }
    std::fputs("**********\n", run.res);
}

// Every target must have progeny of each breed it applies to, and none of a
// breed it does not apply to.
void checkTargetCategories(Run& run, int k) {
    const Model& m = run.m;
    for (int i = 1; i <= m.lf[k]; ++i) {
        const int c = i + kFirstCategory[k];
        const int code = m.clf[k][i];
        for (int b = 1; b <= 2; ++b) {
            const double share = m.psp[k][c][b];
            const bool wrong = appliesTo(code, b) ? share < kPresent : share > kPresent;
            if (wrong)
                failCheckAt(run, &m.psp[k][c][b],
                          "The fraction of %s%s\n"
                          "  for target %d in fattening is not correct.\n"
                          "  Correct the error in INPUTS05.TXT and restart the program.\n\n\n",
                          breedName(b), kindName(k), i);
        }
    }
}

// Daily gains in fattening of kind k and breed b, one per target; a target
// that applies to the breed needs a positive gain.
void readGains(Run& run, InFile& in, int k, int b) {
    Model& m = run.m;
    const int n = m.lf[k];
    for (int i = 1; i <= n; ++i) {
        Real& gain = m.adgP[kFirstRow[k] + i][b];
        readNum(in, gain);
        if (appliesTo(m.clf[k][i], b) && gain < kPresent)
            failCheckAt(run, &gain,
                      "Average daily gain for fattening of %s%s\n"
                      "  to target %d must be greater than zero.\n"
                      "  Correct the error in INPUTS05.TXT and restart the program.\n",
                      breedName(b), kindName(k), i);
    }
    wrides(in, run.res);
    for (int i = 1; i <= n; ++i) std::fprintf(run.res, "%8.3f", double(m.adgP[kFirstRow[k] + i][b]));
}

void readSurvival(Run& run, InFile& in, int k, int b) {
    Model& m = run.m;
    readVectorRecord(in, run.res, &m.surfat[k][1][b], m.lf[k], kBreedStride, "%8.3f");
}

// Fattening of female (k = 1) or male (k = 2) progeny.
void readFattening(Run& run, InFile& in, int k) {
    const Model& m = run.m;
    const bool crossed = m.crossing == 2;
    readTargets(run, in, k);
    checkTargetCategories(run, k);
    if (m.lf[k] == 0) {
        for (int r = 0; r < 4; ++r) readdes(in);
        return;
    }
    readGains(run, in, k, 1);
    if (crossed) readGains(run, in, k, 2);
    else readdes(in);
    readSurvival(run, in, k, 1);
    if (crossed) readSurvival(run, in, k, 2);
    else readdes(in);
}

// Fattening of castrates.  Their fractions are read as shares of the
// castrates and then turned into shares of all surplus males of the breed.
void readCastrates(Run& run, InFile& in) {
    Model& m = run.m;
    const bool crossed = m.crossing == 2;
    readTargets(run, in, 0);

    // Castrated males of either breed need a fattening variant to go to.
    for (int b = 1; b <= (crossed ? 2 : 1); ++b)
        if (m.lf[0] == 0 && m.psp[2][3][b] > kPresent)
            failCheckAt(run, &m.psp[2][3][b],
                      "In the parameter file PARAS.TXT you stated that there will\n"
                      "  be no fattening of castrates. In input file INPUTS05.TXT\n"
                      "  you gave a non-zero fraction of castrates. Change the\n"
                      "  input parameters to make them consistent and restart\n"
                      "  the program.\n");

    const bool castrated[3] = {false, m.psp[2][3][1] > kPresent, crossed && m.psp[2][3][2] > kPresent};
    for (int b = 1; b <= 2; ++b) {
        if (!castrated[b]) {
            readdes(in);
            continue;
        }
        readFractions(run, in, 0, b, m.lf[0]);
        for (int c = 1; c <= m.lf[0]; ++c) m.psp[0][c][b] *= m.psp[2][3][b];
    }
    checkTargetCategories(run, 0);
    for (int b = 1; b <= 2; ++b) {
        if (castrated[b]) readGains(run, in, 0, b);
        else readdes(in);
    }
    for (int b = 1; b <= 2; ++b) {
        if (castrated[b]) readSurvival(run, in, 0, b);
        else readdes(in);
    }
}

}  // namespace

void readInputs05(Run& run, InFile& in) {
    Model& m = run.m;
    const bool crossed = m.crossing == 2;

    readcom(in);
    for (int k = 1; k <= 2; ++k) {
        readFractions(run, in, k, 1, m.csp[k]);
        if (crossed) readFractions(run, in, k, 2, m.csp[k]);
        else readdes(in);
    }
    readfloat(run.res, in, m.ps13[1]);
    if (crossed) readfloat(run.res, in, m.ps13[2]);
    else readdes(in);

    readcom(in);
    readFattening(run, in, 1);
    readcom(in);
    readFattening(run, in, 2);
    readcom(in);
    readCastrates(run, in);
}
