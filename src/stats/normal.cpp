#include "stats/normal.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <mutex>

double normdis(double x) {
    const double r2 = std::sqrt(2.0);
    if (x <= 0) return 0.5 - std::erf(x / -r2) / 2;
    return 0.5 + std::erf(x / r2) / 2;
}

namespace {

// The search of 200 passes for one p.  A pass moves one end of the
// bracket, or both: the distribution function is computed again only at an
// end that moved.
double search(double p) {
    double lo = -5, hi = 5;
    double atLo = lo, atHi = hi, flo = normdis(lo), fhi = normdis(hi);
    for (int pass = 0; pass < 200; ++pass) {
        if (lo != atLo) flo = normdis(atLo = lo);
        if (hi != atHi) fhi = normdis(atHi = hi);
        // Widen the bracket towards p where it does not contain it.
        if (p > fhi) hi = hi + (hi - lo) / 2;
        if (flo > p) lo = lo - (hi - lo) / 2;
        // Narrow it from the side that is further from p.
        if ((fhi - p) > (p - flo)) hi = hi - (hi - lo) / 10;
        else lo = lo + (hi - lo) / 10;
    }
    return (lo + hi) / 2;
}

}  // namespace

// The same arguments come back in every evaluation of the model (the
// mating by weight) and in each change of a class distribution (the
// thresholds of its base frequencies), so the results are kept by the bits
// of p.  The threads of the economic weights share them: each change is
// taken again on the first thread after the others have evaluated it.
double probit(double p) {
    constexpr int kSize = 1024;
    struct Kept {
        std::uint64_t key;
        double value;
        bool used;
    };
    static Kept kept[kSize];
    static std::mutex guard;
    std::uint64_t b;
    std::memcpy(&b, &p, sizeof b);
    const std::size_t i = std::size_t((b * 0x9E3779B97F4A7C15ull) >> 54);
    {
        const std::lock_guard<std::mutex> lock(guard);
        if (kept[i].used && kept[i].key == b) return kept[i].value;
    }
    const double v = search(p);
    const std::lock_guard<std::mutex> lock(guard);
    kept[i] = {b, v, true};
    return v;
}
