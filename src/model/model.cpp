#include "model/model.h"

#include <algorithm>
#include <type_traits>

namespace {

// Zeroes a scalar or a (multi-dimensional) array member.
template <class A> void zero(A& a) {
    using E = std::remove_all_extents_t<A>;
    std::fill_n(reinterpret_cast<E*>(&a), sizeof(A) / sizeof(E), E{});
}

template <class A> void fill(A& a, double v) {
    using E = std::remove_all_extents_t<A>;
    std::fill_n(reinterpret_cast<E*>(&a), sizeof(A) / sizeof(E), E(v));
}

}  // namespace

void resetModel(Model& m) {
#define Q(type, name, dims, fmt, ranges, vt, pred) zero(m.name);
#define QEV Q
#define QROW(type, member, row, fmt, ranges, vt, pred)
#define QDECL(type, name, dims) zero(m.name);
#define QCONST(name, value)
#include "model/fields.def"
#undef Q
#undef QEV
#undef QROW
#undef QCONST
#undef QDECL
    m.itrait = 0;
    m.icatpb = m.icatcb = 0;
    zero(m.l2E);
    zero(m.prsbLin);
    zero(m.revsbLin);
    zero(m.dayseason);

    // Discount factors start at 1 (no discounting of an empty category).
    fill(m.qmilkE, 1.0);
    fill(m.qendE, 1.0);
    fill(m.qbreedE, 1.0);
    fill(m.qaveE, 1.0);
    fill(m.qendR, 1.0);
    fill(m.qaveR, 1.0);
    fill(m.qbreedL, 1.0);
    fill(m.qendL, 1.0);
    fill(m.qaveL, 1.0);
    m.qpurchR = 1.0;

    m.zr = 1;
    m.lengthrc = 365;
    m.nstg1E = 3;
    m.nstg2E = 2;
    m.nstgE = m.nstg1E + m.nstg2E;
    m.nbsF = 3;
    m.nbsM = 2;
    m.nstg1R = 3;
    m.nstg2R = 1;
    m.nstgR = m.nstg1R + m.nstg2R;
    m.PP = 48;
    m.sexrbm = 0.5;
    m.sexrbf = 0.5;
    m.fR = 2;
    m.fE = 5;
    m.hs = 3;
    m.fL = 20;
    m.nclcwwL = 3;
    m.nclcqwL = 2;
}
