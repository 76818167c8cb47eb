// Statistical routines of the model.
#pragma once

#include "model/real.h"

// Somatic cell score of a somatic cell count x (cells per ml):
// log2(x / 100000) + 3, evaluated in double and rounded to single precision.
// x must be positive.
Real scs(double x);

// The larger of two single-precision values; the first on ties.
float maxi(float a, float b);
