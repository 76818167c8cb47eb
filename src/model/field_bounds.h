// Index bounds and write conditions of the quantity list (fields.def).
//
// A bound is a constant or a function of the model state and of the values
// of the outer indices already chosen (idx[0] is the first index, ...).
// A predicate tells whether an element exists in the modelled system.
#pragma once

#include "model/model.h"

using BoundFn = int (*)(const Model&, const int* idx);
using PredFn = bool (*)(const Model&, const int* idx);

struct Bound {
    int c = 0;
    BoundFn f = nullptr;
    constexpr Bound(int v) : c(v) {}
    constexpr Bound(BoundFn fn) : f(fn) {}
    int eval(const Model& m, const int* idx) const { return f ? f(m, idx) : c; }
};

struct Range {
    Bound lo, hi;
};

// Value conditions: always written; |value| > 1e-06; value > 1e-06;
// value > 1e-05.
enum class VT { ALL, ABS6, GT6, GT5 };

namespace fb {

// ---- bounds -------------------------------------------------------------
inline int LL(const Model& m, const int*) { return m.LL; }
inline int LLm1(const Model& m, const int*) { return m.LL - 1; }
inline int TE(const Model& m, const int*) { return m.TE; }
inline int TR(const Model& m, const int*) { return m.TR; }
inline int RR(const Model& m, const int*) { return m.RR; }
inline int PP(const Model& m, const int*) { return m.PP; }
inline int clt(const Model& m, const int*) { return m.clt; }
inline int crossing(const Model& m, const int*) { return m.crossing; }
inline int nfs(const Model& m, const int*) { return m.nfs; }
inline int RRm1(const Model& m, const int*) { return m.RR - 1; }
inline int fR(const Model& m, const int*) { return m.fR; }
inline int fE(const Model& m, const int*) { return m.fE; }
inline int fL(const Model& m, const int*) { return m.fL; }
inline int hs(const Model& m, const int*) { return m.hs; }
inline int nchfst(const Model& m, const int*) { return m.nchfst; }

// The value of the first index: the triangular tables of litter size, whose
// row i has the columns 1 .. i (or 0 .. i).
inline int idx0(const Model&, const int* idx) { return idx[0]; }

// Breeding seasons followed for young females and for young males.
inline int nbsF(const Model& m, const int*) { return m.nbsF; }
inline int nbsFm1(const Model& m, const int*) { return m.nbsF - 1; }
inline int nbsM(const Model& m, const int*) { return m.nbsM; }
// Seasons of the sex idx[0] (1 female, 2 male).
inline int nbsSex(const Model& m, const int* idx) { return idx[0] == 1 ? m.nbsF : m.nbsM; }
// First sale occasion of young breeding animals of the sex idx[0]: females
// can be sold before their first mating (occasion 0), males from 1 on.
inline int saleLo(const Model&, const int* idx) { return idx[0] == 1 ? 0 : 1; }

// Fattening variants and sale categories of the kind idx[0] (0 castrates,
// 1 females, 2 males), and the fattening variants of each kind for the rows
// of a table written row by row.
inline int lfk(const Model& m, const int* idx) { return m.lf[idx[0]]; }
inline int cspk(const Model& m, const int* idx) { return m.csp[idx[0]]; }
inline int lf0(const Model& m, const int*) { return m.lf[0]; }
inline int lf1(const Model& m, const int*) { return m.lf[1]; }
inline int lf2(const Model& m, const int*) { return m.lf[2]; }

// Class counts of the carcass pricing of culled sheep, of lambs sold at
// weaning and of fattened lambs.
inline int nclS(const Model& m, const int*) { return m.nclS; }
inline int nclflS(const Model& m, const int*) { return m.nclflS; }
inline int nclfcS(const Model& m, const int*) { return m.nclfcS; }
inline int nclwL(const Model& m, const int*) { return m.nclwL; }
inline int nclflwL(const Model& m, const int*) { return m.nclflwL; }
inline int nclfcwL(const Model& m, const int*) { return m.nclfcwL; }
inline int nclcwwL(const Model& m, const int*) { return m.nclcwwL; }
inline int nclcqwL(const Model& m, const int*) { return m.nclcqwL; }
inline int nclfL(const Model& m, const int*) { return m.nclfL; }
inline int nclflfL(const Model& m, const int*) { return m.nclflfL; }
inline int nclfcfL(const Model& m, const int*) { return m.nclfcfL; }

// Milk payment classes, counted from 0: nfat limits make nfat + 1 classes
// (nfat is -1 when fat is not paid), nSCC somatic-cell classes have
// nSCC - 1 limits.
inline int nfat(const Model& m, const int*) { return m.nfat; }
inline int nfatm1(const Model& m, const int*) { return m.nfat - 1; }
inline int nprot(const Model& m, const int*) { return m.nprot; }
inline int nprotm1(const Model& m, const int*) { return m.nprot - 1; }
inline int nSCCm1(const Model& m, const int*) { return m.nSCC - 1; }
inline int nSCCm2(const Model& m, const int*) { return m.nSCC - 2; }
// First genotype column of the weight arrays: 0 holds the combined weight
// when ewopt = 2.
inline int evLo(const Model& m, const int*) { return m.ewopt == 2 ? 0 : 1; }

// ---- predicates ---------------------------------------------------------
// The progeny category idx[0] of genotype column idx[1] has animals.
inline bool cat(const Model& m, const int* idx) { return m.l1skL[idx[0]][idx[1]] > 1e-06; }
// Lambs are weaned without artificial rearing / are artificially reared.
inline bool typew1(const Model& m, const int*) { return m.typew == 1; }
inline bool typew2(const Model& m, const int*) { return m.typew == 2; }
// Ewes are milked after weaning.
inline bool typeb1(const Model& m, const int*) { return m.typeb == 1; }
// Part of the milk of milked ewes is made into cheese.
inline bool cheese(const Model& m, const int*) { return m.typeb == 1 && m.pmilkch > 1e-06; }
// Milk is paid by fat and protein classes.
inline bool fatProtPaid(const Model& m, const int*) { return m.typeb == 1 && m.milkprice > 2; }
// The somatic-cell classes enter the milk price.
inline bool sccPaid(const Model& m, const int*) {
    return m.typeb == 1 && (m.milkprice == 2 || m.milkprice > 3);
}
// The price of each somatic-cell class is a factor on the fat and protein price.
inline bool milkprice5(const Model& m, const int*) { return m.typeb == 1 && m.milkprice == 5; }
// Lambs sold at weaning are paid by carcass-weight and quality classes.
inline bool pricewL4(const Model& m, const int*) { return m.pricewL == 4; }
// Category idx[0] is one of the young-female categories at a breeding
// season (14, 18, 22) and has animals in either genotype column.
inline bool breedCat(const Model& m, const int* idx) {
    const int c = idx[0];
    return (c == 14 || c == 18 || c == 22) && m.l1skL[c][1] + m.l1skL[c][2] > 1e-06;
}
// evdiff is -999 where the weight is zero, and it is not formed for the
// combined column 0.
inline bool evdiffShown(const Model& m, const int* idx) {
    return idx[1] >= 1 && double(m.evdiff[idx[0]][idx[1]]) != -999.0;
}

}  // namespace fb
