#include "report/dump.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#include "model/field_bounds.h"
#include "model/model.h"
#include "report/line_format.h"

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

// The parsed line format of every entry, made once.
const LineFormat* lineFormats() {
    static const auto formats = [] {
        static LineFormat f[kEntryCount];
        for (int i = 0; i < kEntryCount; ++i)
            if (!parseLineFormat(kEntries[i].fmt, f[i])) std::abort();  // a format outside the dump's forms
        return f;
    }();
    return formats;
}

// The dump is formatted into a buffer that goes to the file, or to a
// text, whenever it fills.
class Sink {
public:
    explicit Sink(std::FILE* out) : out_(out) {}
    explicit Sink(std::string* text) : text_(text) {}
    ~Sink() { flush(); }
    // From now on into this text.
    void into(std::string* text) {
        flush();
        text_ = text;
    }
    void raw(const std::string& t) {
        flush();
        std::fwrite(t.data(), 1, t.size(), out_);
    }
    void flush() {
        if (pos_ == buf_) return;
        if (text_) text_->append(buf_, std::size_t(pos_ - buf_));
        else std::fwrite(buf_, 1, std::size_t(pos_ - buf_), out_);
        pos_ = buf_;
    }
    void line(const Entry& e, const int* idx, double v) {
        if (end_ - pos_ < kReserve) flush();
        pos_ = formatLine(pos_, lineFormats()[&e - kEntries], idx, v);
    }
    void text(const char* t) {
        if (end_ - pos_ < kReserve) flush();
        const std::size_t n = std::strlen(t);
        std::memcpy(pos_, t, n);
        pos_ += n;
    }

private:
    static constexpr std::ptrdiff_t kReserve = 4096;  // room for the longest line
    std::FILE* out_ = nullptr;
    std::string* text_ = nullptr;
    char buf_[1 << 16];
    char* pos_ = buf_;
    char* const end_ = buf_ + sizeof buf_;
};

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

std::size_t elementSize(const Entry& e) {
    return e.kind == Kind::DOUBLE ? sizeof(double) : e.kind == Kind::REAL ? sizeof(Real) : sizeof(int);
}

double elementValue(const Entry& e, const char* base, std::size_t k) {
    return e.kind == Kind::INT    ? double(reinterpret_cast<const int*>(base)[k])
           : e.kind == Kind::REAL ? double(reinterpret_cast<const Real*>(base)[k])
                                  : reinterpret_cast<const double*>(base)[k];
}

// Number of elements of e (the product of its capacities).
std::size_t elementCount(const Entry& e) {
    std::size_t n = 1;
    for (int d = 0; d < e.rank; ++d) n *= std::size_t(e.cap[d]);
    return n;
}

// The first element from k on whose bytes are not all zero, or n.  Zero
// stretches are passed over 32 bytes at a time.
std::size_t nextNonZero(const char* base, std::size_t size, std::size_t k, std::size_t n) {
    std::size_t at = k * size;
    const std::size_t end = n * size;
    for (;;) {
        while (at + 32 <= end && allZeroBytes(base + at, 32)) at += 32;
        const std::size_t stop = std::min(at + 32, end);
        for (; at < stop; at += size)
            if (!allZeroBytes(base + at, size)) return at / size;
        if (at >= end) return n;
    }
}

// Whether the index tuple lies in the ranges of e, each evaluated with the
// outer indices, as the nested loops over the ranges would reach it.
bool inRanges(const Model& m, const Entry& e, const int* idx) {
    for (int d = 0; d < e.rank; ++d) {
        int lo = e.rng[d].lo.eval(m, idx);
        int hi = e.rng[d].hi.eval(m, idx);
        if (lo < 0) lo = 0;
        if (hi > e.cap[d] - 1) hi = e.cap[d] - 1;
        if (idx[d] < lo || idx[d] > hi) return false;
    }
    return true;
}

// An entry whose zeros are left out (every condition but ALL): only the
// elements that are not zero are looked at, in the order of the array in
// memory, which is the order of the nested loops over the ranges (first
// index slowest).  The sparse arrays, mostly zero, cost a scan of their
// bytes.
void writeSparse(const Model& m, const Entry& e, Sink& out) {
    const char* base = reinterpret_cast<const char*>(&m) + e.offset;
    const std::size_t size = elementSize(e), n = elementCount(e);
    for (std::size_t k = nextNonZero(base, size, 0, n); k < n; k = nextNonZero(base, size, k + 1, n)) {
        int idx[kMaxRank] = {};
        std::size_t rest = k;
        for (int d = e.rank - 1; d >= 0; --d) {
            idx[d] = int(rest % std::size_t(e.cap[d]));
            rest /= std::size_t(e.cap[d]);
        }
        if (!inRanges(m, e, idx)) continue;
        const double v = elementValue(e, base, k);
        if (passes(m, e, idx, v)) out.line(e, idx, v);
    }
}

void writeEntry(const Model& m, const Entry& e, Sink& out) {
    if (e.rank == 0) {
        const double v = valueAt(m, e, nullptr);
        if (passes(m, e, nullptr, v)) out.line(e, nullptr, v);
        return;
    }
    if (e.vt != VT::ALL) {
        writeSparse(m, e, out);
        return;
    }
    forEachIndex(m, e, [&](const int* idx) {
        const double v = valueAt(m, e, idx);
        if (passes(m, e, idx, v)) out.line(e, idx, v);
    });
}

// Entries first .. last - 1 are written element by element together: for
// each index tuple of the first entry, the line of every entry in turn.
void writeInterleaved(const Model& m, const Entry* first, const Entry* last, Sink& out) {
    forEachIndex(m, *first, [&](const int* idx) {
        for (const Entry* e = first; e != last; ++e) {
            const double v = valueAt(m, *e, idx);
            if (passes(m, *e, idx, v)) out.line(*e, idx, v);
        }
    });
}

}  // namespace

int dumpEntryCount() { return kEntryCount; }

// Whether any element of e's whole storage, within its ranges or not, is
// an infinity or NaN: a test of the exponent bits, element after element.
bool anyNonFinite(const Model& m, const Entry& e) {
    const char* base = reinterpret_cast<const char*>(&m) + e.offset;
    const std::size_t n = elementCount(e);
    bool any = false;
    if (elementSize(e) == sizeof(double)) {
        constexpr std::uint64_t kExp = 0x7ff0000000000000u;
        for (std::size_t k = 0; k < n; ++k) {
            std::uint64_t w;
            std::memcpy(&w, base + k * sizeof w, sizeof w);
            any |= (w & kExp) == kExp;
        }
    } else {
        constexpr std::uint32_t kExp = 0x7f800000u;
        for (std::size_t k = 0; k < n; ++k) {
            std::uint32_t w;
            std::memcpy(&w, base + k * sizeof w, sizeof w);
            any |= (w & kExp) == kExp;
        }
    }
    return any;
}

bool findNonFinite(const Model& m, char* name, std::size_t size) {
    for (const Entry& e : kEntries) {
        if (e.kind != Kind::REAL && e.kind != Kind::DOUBLE) continue;
        // Most quantities hold no such value anywhere: the search by the
        // ranges is only made for those that do.
        if (!anyNonFinite(m, e)) continue;
        bool found = false;
        int at[kMaxRank] = {};
        forEachIndex(m, e, [&](const int* idx) {
            if (!found && !std::isfinite(valueAt(m, e, idx))) {
                found = true;
                std::copy(idx, idx + kMaxRank, at);
            }
        });
        if (!found) continue;
        // The name as its dump line writes it, without " = value".
        char line[512];
        char* end = formatLine(line, lineFormats()[&e - kEntries], at, 0.0);
        *end = '\0';
        char* eq = std::strstr(line, " =");
        if (eq) *eq = '\0';
        std::snprintf(name, size, "%s", line);
        return true;
    }
    return false;
}

namespace {

// A part of the dump: a run of scalars or of the interleaved weight arrays,
// or one array, with the blank line that follows it.
struct Part {
    int first, last;  // entries first .. last - 1
};

const std::vector<Part>& dumpParts() {
    static const std::vector<Part> parts = [] {
        std::vector<Part> ps;
        for (int i = 0; i < kEntryCount;) {
            const Entry& e = kEntries[i];
            int j = i + 1;
            if (e.interleaved)
                while (j < kEntryCount && kEntries[j].interleaved) ++j;
            else if (e.rank == 0)
                while (j < kEntryCount && kEntries[j].rank == 0 && !kEntries[j].interleaved) ++j;
            ps.push_back({i, j});
            i = j;
        }
        return ps;
    }();
    return parts;
}

void writePart(const Model& m, const Part& p, Sink& out) {
    const Entry& e = kEntries[p.first];
    if (e.interleaved) writeInterleaved(m, &kEntries[p.first], &kEntries[p.last], out);
    else
        for (int i = p.first; i < p.last; ++i) writeEntry(m, kEntries[i], out);
    // The file ends with the line of zr, without a blank line after it.
    if (p.last < kEntryCount) out.text("\n");
}

}  // namespace

void writeDump(const Model& m, std::FILE* file, int threads) {
    const std::vector<Part>& parts = dumpParts();
    const int n = int(parts.size());
    const auto out = std::make_unique<Sink>(file);
    // The parts are taken from both ends: this thread writes them from the
    // first on, straight to the file; a second thread formats them from the
    // last one back, each into a text of its own, which is written when this
    // thread has come to it.  The bytes are those of one thread.
    std::vector<std::string> texts(threads > 1 ? std::size_t(n) : 0);
    std::mutex guard;
    int lo = 0, hi = n;
    const auto take = [&](bool front) {
        const std::lock_guard<std::mutex> lock(guard);
        if (lo == hi) return -1;
        return front ? lo++ : --hi;
    };
    std::thread helper;
    if (threads > 1) {
        try {
            helper = std::thread([&] {
                Sink sink(static_cast<std::string*>(nullptr));
                for (int k; (k = take(false)) >= 0;) {
                    sink.into(&texts[std::size_t(k)]);
                    writePart(m, parts[std::size_t(k)], sink);
                }
                sink.flush();
            });
        } catch (const std::system_error&) {
            // Without a second thread this one writes every part.
        }
    }
    for (int k; (k = take(true)) >= 0;) writePart(m, parts[std::size_t(k)], *out);
    if (!helper.joinable()) return;
    helper.join();
    for (int k = lo; k < n; ++k) out->raw(texts[std::size_t(k)]);
}
