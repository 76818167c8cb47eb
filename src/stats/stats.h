// Statistical routines of the model.
#pragma once

#include "model/real.h"

// Somatic cell score of a somatic cell count x (cells per ml):
// log2(x / 100000) + 3, evaluated in double and rounded to the storage
// precision.
// x must be positive.
Real scs(double x);

// The larger of two values of the storage precision; the first on ties.
RealStored maxi(RealStored a, RealStored b);
