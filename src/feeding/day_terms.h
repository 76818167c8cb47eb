// Terms of the daily requirements that recur, computed once and kept.
//
// The feeding phase adds up requirements day by day, and three terms cost
// a call of pow or exp on every day: the metabolic weight W^0.75 of a
// growing animal, the lactation curve, and the gestation curves.  They
// depend on few quantities, which in most evaluations of the economic-weight
// loop are those of the evaluation before, and within one evaluation
// several states share them.  Each term is therefore kept per thread with
// the quantities it was computed from and given back when these are the
// same.  A kept value is the value of the same expression, so the results
// do not change in any bit.
#pragma once

// W^0.75 with W = W0 + g t for the days t = 1 .. last of a growth line, as
// p[t].  Returns nullptr for a line too long to be kept (then compute
// std::pow(W0 + g * t, 0.75) directly).  The pointer is valid until the
// next call.
const double* metabolicWeights(double W0, double g, int last);

// The lactation curve without its level: t^bwo and exp(-cwo t) for the
// days t = 1 .. last, as pw[t] and ex[t].  Returns false for a lactation too
// long to be kept (then compute them directly).  The pointers are valid
// until the next call.
bool lactationTerms(double bwo, double cwo, int last, const double*& pw, const double*& ex);

// The gestation curves (pregnancyNEDay and pregnancyPDIDay of feeding.h)
// come from a table for the usual gestation days.
