#include "model/input_ranges.h"

#include <charconv>
#include <unordered_map>

#include "model/model.h"

namespace inputranges {
namespace {

const std::vector<Range> kRanges = {
#define IN(name, lo, hi) {#name, -1, lo, hi, Kind::Closed},
#define IN_ROW(name, i, lo, hi) {#name, i, lo, hi, Kind::Closed},
#define MONEY(name) {#name, -1, 0, 0, Kind::Money},
#define CODE(name, lo, hi) {#name, -1, lo, hi, Kind::Code},
#include "model/input_ranges.def"
#undef IN
#undef IN_ROW
#undef MONEY
#undef CODE
};

std::string shortest(double x) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, x);
    return std::string(buf, r.ptr);
}

}  // namespace

const Range* find(const std::string& name, const std::vector<int>& idx) {
    // The ranges of each quantity, looked up once per number the reader
    // stores.
    static const std::unordered_map<std::string, std::vector<const Range*>> byName = [] {
        std::unordered_map<std::string, std::vector<const Range*>> m;
        for (const Range& r : kRanges) m[r.name].push_back(&r);
        return m;
    }();
    const auto it = byName.find(name);
    if (it == byName.end()) return nullptr;
    const Range* any = nullptr;
    for (const Range* r : it->second) {
        if (r->first < 0) any = r;
        else if (!idx.empty() && idx[0] == r->first) return r;
    }
    return any;
}

bool allows(const Range& r, double x) {
    switch (r.kind) {
        case Kind::Closed: return x >= r.lo && x <= r.hi;
        case Kind::Money:
        case Kind::Code: return true;
    }
    return true;
}

std::string text(const Range& r) {
    if (r.kind == Kind::Money) return "any amount";
    return "from " + shortest(r.lo) + " to " + shortest(r.hi);
}

std::string minText(const Range& r) { return r.kind == Kind::Money ? "" : shortest(r.lo); }
std::string maxText(const Range& r) { return r.kind == Kind::Money ? "" : shortest(r.hi); }

const std::vector<Range>& all() { return kRanges; }

}  // namespace inputranges
