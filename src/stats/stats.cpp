#include "stats/stats.h"

#include <cmath>

Real scs(double x) {
    return std::log(x / 100000.0) / 0.69314718 + 3.0;
}

RealStored maxi(RealStored a, RealStored b) { return b > a ? b : a; }
