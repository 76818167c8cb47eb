#include "model/model.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

#include "model/large_pages.h"

namespace {

// Zeroes a scalar or a (multi-dimensional) array member that is not zero.
template <class A> void zero(A& a) {
    using E = std::remove_all_extents_t<A>;
    if (allZeroBytes(&a, sizeof(A))) return;
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
    m.maleGainSlot = 0;
    zero(m.l2E);
    zero(m.prsbLin);
    zero(m.revsbLin);
    zero(m.dayseason);
    zero(m.seasonEnd);
    zero(m.calendarKey);
    zero(m.lambRows);

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

// The record lives in large pages (model/large_pages.h): a run touches
// most of it.
void ModelFree::operator()(Model* p) const { freeLargePages(p, sizeof(Model)); }

// The memory comes zeroed; Model has no constructor that would write it.
ModelCopy newModel() { return ModelCopy(new (allocateLargePages(sizeof(Model))) Model); }

ModelCopy copyModel(const Model& m) {
    // Fresh zeroed memory; the copy goes page by page of the new block,
    // skipping the pages whose source is zero.
    Model* const copy = new (allocateLargePages(sizeof(Model))) Model;
    constexpr std::size_t kPage = 4096;
    const auto* from = reinterpret_cast<const unsigned char*>(&m);
    auto* to = reinterpret_cast<unsigned char*>(copy);
    std::size_t at = 0;
    std::size_t next = (kPage - reinterpret_cast<std::uintptr_t>(to) % kPage) % kPage;
    while (at < sizeof(Model)) {
        if (next == at) next += kPage;
        const std::size_t end = std::min(next, sizeof(Model));
        if (!allZeroBytes(from + at, end - at)) std::memcpy(to + at, from + at, end - at);
        at = end;
    }
    return ModelCopy(copy);
}
