// Stationary distribution of the closed Markov chains of ewes and rams.
#pragma once

#include <cstdio>

// Result counters of one iteration.
struct StationaryTrace {
    int steps = 0;     // iteration count (kE or kR)
    double a = 0;      // mean squared change of the last step
    double a1 = 0;     // squared change of the last step
    double sl = 0;     // sum of the distribution before the last step
};

// Iterates the distribution l1[1..n] of the transition matrix mat (element
// [X][Y] at mat[X * stride + Y], rows and columns 1..n) from l1 = state 1:
// each step adds the one-step image of l1 onto the work vector l2 (which is
// cleared only once, before the first step), normalises it to sum 1 and
// takes it as the new l1.  Stops when the mean squared change is at most
// 1e-16, or after 2000 steps.  l1 is cleared for 0..cap-1 first.
//
// The rows of the transition matrices have at most a handful of non-zero
// entries, so each step visits only those: the cost per step grows with n.
// The terms are added to each l2[Y] in increasing X, exactly as the dense
// sum over all X does (a zero term changes no sum), so the results are
// bit-identical to stationaryDense.
//
// Returns false when the work vector sums to zero or to a value that is not
// finite (a chain without any state that is ever occupied), in which case
// the caller stops the run.
bool stationarySparse(const double* mat, int stride, int n, double* l1, double* l2, int cap, StationaryTrace& t);

// The same iteration over every element of the matrix; for testing.
bool stationaryDense(const double* mat, int stride, int n, double* l1, double* l2, int cap, StationaryTrace& t);

// Checks that every row 1..n of the transition matrix sums to 1 (within
// 0.999999 .. 1.000001) and reports each row that does not on out, naming
// the matrix; the computation goes on.  rowSum receives the sum of the last
// row.
void reportRowSums(std::FILE* out, const char* matrix, const double* mat, int stride, int n, double& rowSum);
