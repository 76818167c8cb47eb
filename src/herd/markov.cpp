#include "herd/markov.h"

#include <cmath>

namespace {

constexpr int kMaxSteps = 2000;
constexpr int kMaxStates = 100;

void start(int n, double* l1, double* l2, int cap, StationaryTrace& t) {
    for (int i = 0; i < cap; ++i) l1[i] = 0;
    l1[1] = 1;
    for (int y = 1; y <= n; ++y) l2[y] = 0;
    t.steps = 0;
    t.a = 1;
}

// Normalises the new vector, measures the change and takes it over.
bool finishStep(int n, double* l1, double* l2, StationaryTrace& t) {
    double s = 0;
    for (int y = 1; y <= n; ++y) s += l2[y];
    if (!(s != 0) || !std::isfinite(s)) return false;
    t.sl = s;
    double a1 = 0;
    for (int y = 1; y <= n; ++y) {
        l2[y] /= s;
        a1 += (l2[y] - l1[y]) * (l2[y] - l1[y]);
    }
    t.a1 = a1;
    double old = 0;
    for (int y = 1; y <= n; ++y) old += l1[y];
    t.sl = old;
    t.a = a1 / n;
    for (int y = 1; y <= n; ++y) l1[y] = l2[y];
    return true;
}

}  // namespace

bool stationaryDense(const double* mat, int stride, int n, double* l1, double* l2, int cap, StationaryTrace& t) {
    start(n, l1, l2, cap, t);
    while (t.a > 1e-16) {
        if (++t.steps > kMaxSteps) break;
        for (int y = 1; y <= n; ++y)
            for (int x = 1; x <= n; ++x) l2[y] += mat[x * stride + y] * l1[x];
        if (!finishStep(n, l1, l2, t)) return false;
    }
    return true;
}

bool stationarySparse(const double* mat, int stride, int n, double* l1, double* l2, int cap, StationaryTrace& t) {
    // Non-zero entries of each row, in increasing column order (one copy
    // per thread: the economic weights may be evaluated on two threads).
    thread_local int first[kMaxStates + 1];
    thread_local int col[kMaxStates * kMaxStates];
    thread_local double val[kMaxStates * kMaxStates];
    int k = 0;
    for (int x = 1; x <= n; ++x) {
        first[x] = k;
        for (int y = 1; y <= n; ++y) {
            const double v = mat[x * stride + y];
            if (v != 0) {
                col[k] = y;
                val[k] = v;
                ++k;
            }
        }
    }
    first[n + 1] = k;

    start(n, l1, l2, cap, t);
    while (t.a > 1e-16) {
        if (++t.steps > kMaxSteps) break;
        // Scattering row by row adds the terms of each l2[Y] in increasing X.
        for (int x = 1; x <= n; ++x) {
            const double lx = l1[x];
            for (int e = first[x]; e < first[x + 1]; ++e) l2[col[e]] += val[e] * lx;
        }
        if (!finishStep(n, l1, l2, t)) return false;
    }
    return true;
}

void reportRowSums(std::FILE* out, const char* matrix, const double* mat, int stride, int n, double& rowSum) {
    for (int x = 1; x <= n; ++x) {
        rowSum = 0;
        for (int y = 1; y <= n; ++y) rowSum += mat[x * stride + y];
        if (rowSum < 0.999999 || rowSum > 1.000001) {
            std::fprintf(out, "Sum of elements in a row of %s is different from 1", matrix);
            std::fprintf(out, "  %d %12.9f\n", x, rowSum);
        }
    }
}
