// The standard normal distribution function and its inverse.
#pragma once

// Standard normal distribution function Phi(x), in double precision.
double normdis(double x);

// Inverse of normdis by a bracketing search of exactly 200 passes that
// starts from [-5, 5]; it ends with a finite value for every p, also for
// p = 0 and p = 1.
double probit(double p);
