#include "herd/markov.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "model/model.h"

namespace {

constexpr int kMaxSteps = 2000;
constexpr int kMaxStates = cap::CE;  // the most ewe or ram states, state 0 included
static_assert(cap::CRS <= cap::CE);

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

namespace {

// A chain and its stationary distribution, kept for the next evaluation:
// most evaluations of the economic-weight loop leave the chains of ewes and
// rams as they were.
struct KeptChain {
    bool valid = false, ok = false;
    int n = 0, cap = 0, nnz = 0;
    int first[kMaxStates + 2];
    int col[kMaxStates * kMaxStates];
    double val[kMaxStates * kMaxStates];
    double l1[kMaxStates], l2[kMaxStates + 1];
    StationaryTrace t;

    bool matches(int n_, int cap_, int nnz_, const int* first_, const int* col_, const double* val_) const {
        return valid && n == n_ && cap == cap_ && nnz == nnz_ &&
               std::memcmp(first, first_, sizeof(int) * std::size_t(n + 2)) == 0 &&
               std::memcmp(col, col_, sizeof(int) * std::size_t(nnz)) == 0 &&
               std::memcmp(val, val_, sizeof(double) * std::size_t(nnz)) == 0;
    }
};

// The work space of one thread (the economic weights may be evaluated on
// two): the non-zero entries of each row of the chain being solved, in
// increasing column order, and the kept chains, one for the ewes and one
// for the rams.  It is made on the first use, so that threads that never
// solve a chain do not carry it.
struct Chains {
    int first[kMaxStates + 2];
    int col[kMaxStates * kMaxStates];
    double val[kMaxStates * kMaxStates];
    KeptChain kept[2];
    int keptNext = 0;
};

thread_local std::unique_ptr<Chains> chains;

}  // namespace

bool stationarySparse(const double* mat, int stride, int n, double* l1, double* l2, int cap, StationaryTrace& t) {
    // Made without zeroing: a chain writes what it reads.
    if (!chains) chains.reset(new Chains);
    int* const first = chains->first;
    int* const col = chains->col;
    double* const val = chains->val;
    KeptChain* const kept = chains->kept;
    int& keptNext = chains->keptNext;
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
    first[0] = 0;
    first[n + 1] = k;

    // The same chain as one kept: its results, which the iteration below
    // would give again.
    for (int c = 0; c < 2; ++c) {
        const KeptChain& kc = kept[c];
        if (!kc.matches(n, cap, k, first, col, val)) continue;
        std::memcpy(l1, kc.l1, sizeof(double) * std::size_t(cap));
        std::memcpy(l2 + 1, kc.l2 + 1, sizeof(double) * std::size_t(n));
        t = kc.t;
        return kc.ok;
    }

    bool ok = true;
    start(n, l1, l2, cap, t);
    while (t.a > 1e-16) {
        if (++t.steps > kMaxSteps) break;
        // Scattering row by row adds the terms of each l2[Y] in increasing X.
        for (int x = 1; x <= n; ++x) {
            const double lx = l1[x];
            for (int e = first[x]; e < first[x + 1]; ++e) l2[col[e]] += val[e] * lx;
        }
        if (!finishStep(n, l1, l2, t)) {
            ok = false;
            break;
        }
    }

    KeptChain& kc = kept[keptNext];
    keptNext = 1 - keptNext;
    kc.valid = true;
    kc.ok = ok;
    kc.n = n;
    kc.cap = cap;
    kc.nnz = k;
    std::memcpy(kc.first, first, sizeof(int) * std::size_t(n + 2));
    std::memcpy(kc.col, col, sizeof(int) * std::size_t(k));
    std::memcpy(kc.val, val, sizeof(double) * std::size_t(k));
    std::memcpy(kc.l1, l1, sizeof(double) * std::size_t(cap));
    std::memcpy(kc.l2 + 1, l2 + 1, sizeof(double) * std::size_t(n));
    kc.t = t;
    return ok;
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
