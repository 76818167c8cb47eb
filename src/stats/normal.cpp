#include "stats/normal.h"

#include <cmath>

double normdis(double x) {
    const double r2 = std::sqrt(2.0);
    if (x <= 0) return 0.5 - std::erf(x / -r2) / 2;
    return 0.5 + std::erf(x / r2) / 2;
}

double probit(double p) {
    double lo = -5, hi = 5;
    for (int pass = 0; pass < 200; ++pass) {
        const double flo = normdis(lo), fhi = normdis(hi);
        // Widen the bracket towards p where it does not contain it.
        if (p > fhi) hi = hi + (hi - lo) / 2;
        if (flo > p) lo = lo - (hi - lo) / 2;
        // Narrow it from the side that is further from p.
        if ((fhi - p) > (p - flo)) hi = hi - (hi - lo) / 10;
        else lo = lo + (hi - lo) / 10;
    }
    return (lo + hi) / 2;
}
