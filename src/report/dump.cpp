#include "report/dump.h"

#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <utility>
#include <type_traits>

#include "model/field_bounds.h"
#include "model/model.h"

namespace {

enum class Kind { INT, REAL, DOUBLE, CONST };

constexpr int kMaxRank = 5;

struct Entry {
    const char* fmt;
    Kind kind;
    std::size_t offset;      // of element [0][0]... of the entry in Model
    int rank;
    int cap[kMaxRank];
    Range rng[kMaxRank];
    VT vt;
    PredFn pred;
    bool interleaved;        // ev, ev0, evp, evdiff: written element by element together
    int constValue;
};

template <class A> constexpr Kind kindOf() {
    using E = std::remove_all_extents_t<A>;
    if constexpr (std::is_same_v<E, int>) return Kind::INT;
    else if constexpr (std::is_same_v<E, double>) return Kind::DOUBLE;
    else {
        static_assert(std::is_same_v<E, Real>);
        return Kind::REAL;
    }
}

template <class A, std::size_t... I>
constexpr Entry makeEntry(const char* fmt, std::size_t offset, std::initializer_list<Range> rng, VT vt,
                          PredFn pred, bool interleaved, std::index_sequence<I...>) {
    Entry e{fmt, kindOf<A>(), offset, int(std::rank_v<A>), {int(std::extent_v<A, I>)...}, {Range{0, 0}, Range{0, 0}, Range{0, 0}, Range{0, 0}, Range{0, 0}}, vt, pred, interleaved, 0};
    int k = 0;
    for (const Range& r : rng) e.rng[k++] = r;
    return e;
}

template <class A>
constexpr Entry entry(const char* fmt, std::size_t offset, std::initializer_list<Range> rng, VT vt, PredFn pred,
                      bool interleaved) {
    static_assert(std::rank_v<A> <= kMaxRank);
    return makeEntry<A>(fmt, offset, rng, vt, pred, interleaved, std::make_index_sequence<std::rank_v<A>>{});
}

#define FIELD_UNPAREN(...) __VA_ARGS__

const Entry kEntries[] = {
#define Q(type, name, dims, fmt, ranges, vt, pred) \
    entry<decltype(Model::name)>(fmt, offsetof(Model, name), {FIELD_UNPAREN ranges}, VT::vt, pred, false),
#define QEV(type, name, dims, fmt, ranges, vt, pred) \
    entry<decltype(Model::name)>(fmt, offsetof(Model, name), {FIELD_UNPAREN ranges}, VT::vt, pred, true),
#define QROW(type, member, row, fmt, ranges, vt, pred)                                          \
    entry<std::remove_extent_t<decltype(Model::member)>>(                                      \
        fmt, offsetof(Model, member) + (row) * sizeof(std::remove_extent_t<decltype(Model::member)>), \
        {FIELD_UNPAREN ranges}, VT::vt, pred, false),
#define QDECL(type, name, dims)
#define QCONST(name, value) \
    Entry{#name " = %d\n", Kind::CONST, 0, 0, {}, {Range{0, 0}, Range{0, 0}, Range{0, 0}, Range{0, 0}, Range{0, 0}}, VT::ALL, nullptr, false, value},
#include "model/fields.def"
#undef Q
#undef QEV
#undef QROW
#undef QCONST
#undef QDECL
};

constexpr int kEntryCount = int(sizeof(kEntries) / sizeof(kEntries[0]));

// Value of element idx of entry e, as double (ints are exact in a double).
double valueAt(const Model& m, const Entry& e, const int* idx) {
    std::size_t flat = 0;
    for (int d = 0; d < e.rank; ++d) flat = flat * std::size_t(e.cap[d]) + std::size_t(idx[d]);
    const char* base = reinterpret_cast<const char*>(&m) + e.offset;
    switch (e.kind) {
    case Kind::INT: return reinterpret_cast<const int*>(base)[flat];
    case Kind::REAL: return reinterpret_cast<const Real*>(base)[flat];
    case Kind::DOUBLE: return reinterpret_cast<const double*>(base)[flat];
    case Kind::CONST: return e.constValue;
    }
    return 0;
}

bool passes(const Model& m, const Entry& e, const int* idx, double v) {
    switch (e.vt) {
    case VT::ALL: break;
    case VT::ABS6: if (!(std::fabs(v) > 1e-06)) return false; break;
    case VT::GT6: if (!(v > 1e-06)) return false; break;
    case VT::GT5: if (!(v > 1e-05)) return false; break;
    }
    return e.pred == nullptr || e.pred(m, idx);
}

void printLine(std::FILE* out, const Entry& e, const int* i, double v) {
    const bool asInt = e.kind == Kind::INT || e.kind == Kind::CONST;
    const int iv = asInt ? int(v) : 0;
    switch (e.rank) {
    case 0: asInt ? std::fprintf(out, e.fmt, iv) : std::fprintf(out, e.fmt, v); break;
    case 1: asInt ? std::fprintf(out, e.fmt, i[0], iv) : std::fprintf(out, e.fmt, i[0], v); break;
    case 2: asInt ? std::fprintf(out, e.fmt, i[0], i[1], iv) : std::fprintf(out, e.fmt, i[0], i[1], v); break;
    case 3:
        asInt ? std::fprintf(out, e.fmt, i[0], i[1], i[2], iv) : std::fprintf(out, e.fmt, i[0], i[1], i[2], v);
        break;
    case 4:
        asInt ? std::fprintf(out, e.fmt, i[0], i[1], i[2], i[3], iv)
              : std::fprintf(out, e.fmt, i[0], i[1], i[2], i[3], v);
        break;
    case 5:
        asInt ? std::fprintf(out, e.fmt, i[0], i[1], i[2], i[3], i[4], iv)
              : std::fprintf(out, e.fmt, i[0], i[1], i[2], i[3], i[4], v);
        break;
    }
}

// Calls visit(idx) for every index tuple of e's ranges, first index slowest.
// Bounds are clamped to the capacity so that no element outside the record
// is ever read, whatever the counts hold.
template <class F> void forEachIndex(const Model& m, const Entry& e, F&& visit) {
    int idx[kMaxRank] = {};
    int hi[kMaxRank] = {};
    int d = 0;
    auto start = [&](int dim) {
        int lo = e.rng[dim].lo.eval(m, idx);
        hi[dim] = e.rng[dim].hi.eval(m, idx);
        if (lo < 0) lo = 0;
        if (hi[dim] > e.cap[dim] - 1) hi[dim] = e.cap[dim] - 1;
        idx[dim] = lo;
    };
    start(0);
    while (d >= 0) {
        if (idx[d] > hi[d]) {
            if (--d >= 0) ++idx[d];
            continue;
        }
        if (d == e.rank - 1) {
            visit(static_cast<const int*>(idx));
            ++idx[d];
        } else {
            start(++d);
        }
    }
}

void writeEntry(const Model& m, const Entry& e, std::FILE* out) {
    if (e.rank == 0) {
        const double v = valueAt(m, e, nullptr);
        if (passes(m, e, nullptr, v)) printLine(out, e, nullptr, v);
        return;
    }
    forEachIndex(m, e, [&](const int* idx) {
        const double v = valueAt(m, e, idx);
        if (passes(m, e, idx, v)) printLine(out, e, idx, v);
    });
}

// Entries first .. last - 1 are written element by element together: for
// each index tuple of the first entry, the line of every entry in turn.
void writeInterleaved(const Model& m, const Entry* first, const Entry* last, std::FILE* out) {
    forEachIndex(m, *first, [&](const int* idx) {
        for (const Entry* e = first; e != last; ++e) {
            const double v = valueAt(m, *e, idx);
            if (passes(m, *e, idx, v)) printLine(out, *e, idx, v);
        }
    });
}

}  // namespace

int dumpEntryCount() { return kEntryCount; }

void writeDump(const Model& m, std::FILE* out) {
    for (int i = 0; i < kEntryCount;) {
        const Entry& e = kEntries[i];
        if (e.interleaved) {
            int j = i + 1;
            while (j < kEntryCount && kEntries[j].interleaved) ++j;
            writeInterleaved(m, &kEntries[i], &kEntries[j], out);
            std::fputs("\n", out);
            i = j;
        } else if (e.rank == 0) {
            // A run of scalars forms one group, followed by a blank line.
            int j = i;
            while (j < kEntryCount && kEntries[j].rank == 0 && !kEntries[j].interleaved) writeEntry(m, kEntries[j++], out);
            // The file ends with the line of zr, without a blank line after it.
            if (j < kEntryCount) std::fputs("\n", out);
            i = j;
        } else {
            writeEntry(m, e, out);
            std::fputs("\n", out);
            ++i;
        }
    }
}
