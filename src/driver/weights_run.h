// Runs the economic-weight loop: one evaluation of the model after another
// as the loop asks for them.
#pragma once

#include "driver/evaluate.h"

struct Run;

// The loop after the base evaluation, ending with the weights complete and
// the model state back at the base values.  With run.threads > 1 the slots
// are evaluated on copies of the base state by that many threads; the
// console, the weights and the final state are the same bytes as on one
// thread (see weights_run.cpp).  evaluate is the model evaluation from the
// re-entry point (another function only in the tests).
void economicWeights(Run& run, void (*evaluate)(Run&) = evaluateModel);

// The largest number of threads worth using: at most 51 slots are
// evaluated, and each thread holds its own copy of the model state.
inline constexpr int kMaxThreads = 8;
