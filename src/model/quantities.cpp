#include "model/quantities.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <type_traits>
#include <utility>

#include "model/model.h"

namespace quantities {
namespace {

constexpr int kMaxRank = 5;

struct Entry {
    const char* name;
    Kind kind;
    std::size_t offset;
    std::size_t elementSize;
    int rank;
    int cap[kMaxRank];
};

template <class A> constexpr Kind kindOf() {
    using E = std::remove_all_extents_t<A>;
    if constexpr (std::is_same_v<E, int>) return Kind::Int;
    else if constexpr (std::is_same_v<E, double>) return Kind::Double;
    else {
        static_assert(std::is_same_v<E, ::Real>);
        return Kind::Real;
    }
}

template <class A, std::size_t... I>
constexpr Entry makeEntry(const char* name, std::size_t offset, std::index_sequence<I...>) {
    return Entry{name, kindOf<A>(), offset, sizeof(std::remove_all_extents_t<A>), int(std::rank_v<A>),
                 {int(std::extent_v<A, I>)...}};
}

template <class A> constexpr Entry entry(const char* name, std::size_t offset) {
    static_assert(std::rank_v<A> <= kMaxRank);
    return makeEntry<A>(name, offset, std::make_index_sequence<std::rank_v<A>>{});
}

// Every member of the model state that the quantity list declares.
const Entry kEntries[] = {
#define Q(type, name, dims, fmt, ranges, vt, pred) entry<decltype(Model::name)>(#name, offsetof(Model, name)),
#define QEV Q
#define QROW(type, member, row, fmt, ranges, vt, pred)
#define QDECL(type, name, dims) entry<decltype(Model::name)>(#name, offsetof(Model, name)),
#define QCONST(name, value)
#include "model/fields.def"
#undef Q
#undef QEV
#undef QROW
#undef QCONST
#undef QDECL
};

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::size_t distance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diag = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t up = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diag + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diag = up;
        }
    }
    return row[b.size()];
}

}  // namespace

Found find(const std::string& name, const std::vector<int>& idx, Element& out, std::vector<int>& caps) {
    for (const Entry& e : kEntries) {
        if (name != e.name) continue;
        caps.assign(e.cap, e.cap + e.rank);
        if (int(idx.size()) != e.rank) return Found::WrongIndexCount;
        std::size_t flat = 0;
        for (int d = 0; d < e.rank; ++d) {
            if (idx[std::size_t(d)] < 0 || idx[std::size_t(d)] >= e.cap[d]) return Found::IndexOutOfRange;
            flat = flat * std::size_t(e.cap[d]) + std::size_t(idx[std::size_t(d)]);
        }
        out = Element{e.kind, e.offset + flat * e.elementSize, e.elementSize};
        return Found::Ok;
    }
    return Found::UnknownName;
}

bool elementAt(std::size_t offset, std::string& name, std::vector<int>& idx, Element& out) {
    // The quantities by their place in the model state, searched by
    // halving: a tracing reading asks this of every number it reads.
    struct Span {
        std::size_t begin, end;
        const Entry* entry;
    };
    static const std::vector<Span> spans = [] {
        std::vector<Span> v;
        for (const Entry& e : kEntries) {
            std::size_t count = 1;
            for (int d = 0; d < e.rank; ++d) count *= std::size_t(e.cap[d]);
            v.push_back({e.offset, e.offset + count * e.elementSize, &e});
        }
        std::sort(v.begin(), v.end(), [](const Span& a, const Span& b) { return a.begin < b.begin; });
        return v;
    }();
    auto it = std::upper_bound(spans.begin(), spans.end(), offset,
                               [](std::size_t o, const Span& s) { return o < s.begin; });
    if (it == spans.begin()) return false;
    --it;
    if (offset >= it->end) return false;
    const Entry& e = *it->entry;
    std::size_t flat = (offset - e.offset) / e.elementSize;
    idx.assign(std::size_t(e.rank), 0);
    for (int d = e.rank - 1; d >= 0; --d) {
        idx[std::size_t(d)] = int(flat % std::size_t(e.cap[d]));
        flat /= std::size_t(e.cap[d]);
    }
    name = e.name;
    out = Element{e.kind, offset - (offset - e.offset) % e.elementSize, e.elementSize};
    return true;
}

bool offsetIn(const Model& m, const void* p, std::size_t& offset) {
    const auto* base = reinterpret_cast<const unsigned char*>(&m);
    const auto* at = static_cast<const unsigned char*>(p);
    if (at < base || at >= base + sizeof(Model)) return false;
    offset = std::size_t(at - base);
    return true;
}

std::string elementName(const std::string& name, const std::vector<int>& idx) {
    std::string s = name;
    for (int i : idx) {
        s += '[';
        s += std::to_string(i);
        s += ']';
    }
    return s;
}

std::vector<std::string> closeNames(const std::string& name, std::size_t most) {
    const std::string key = lower(name);
    std::vector<std::pair<std::size_t, std::string>> scored;
    for (const Entry& e : kEntries) {
        const std::string n = e.name;
        const std::string l = lower(n);
        std::size_t d = distance(key, l);
        // A name that begins with what was typed counts as close.
        if (!key.empty() && l.compare(0, key.size(), key) == 0) d = std::min<std::size_t>(d, 1);
        scored.emplace_back(d, n);
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    // Only names within about a third of the typed length are worth showing.
    const std::size_t limit = std::max<std::size_t>(2, key.size() / 3);
    std::vector<std::string> out;
    for (const auto& [d, n] : scored)
        if (d <= limit && out.size() < most) out.push_back(n);
    return out;
}

const unsigned char* bytes(const Model& m, const Element& e) {
    return reinterpret_cast<const unsigned char*>(&m) + e.offset;
}

unsigned char* bytes(Model& m, const Element& e) { return reinterpret_cast<unsigned char*>(&m) + e.offset; }

double value(const Model& m, const Element& e) {
    const unsigned char* p = bytes(m, e);
    switch (e.kind) {
    case Kind::Int: return *reinterpret_cast<const int*>(p);
    case Kind::Real: return *reinterpret_cast<const ::Real*>(p);
    case Kind::Double: return *reinterpret_cast<const double*>(p);
    }
    return 0;
}

}  // namespace quantities
