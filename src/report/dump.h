// The dumps CHECKS and CHECKS1: every quantity of the model state, one line
// per scalar or array element, written from the quantity list.
#pragma once

#include <cstddef>
#include <cstdio>

struct Model;

// Writes every quantity of m to out, in list order (see fields.def).  With
// threads > 1 a second thread formats part of the lines; the bytes are the
// same.
void writeDump(const Model& m, std::FILE* out, int threads = 1);

// Whether a real quantity within the ranges that the dumps list holds a
// value that is not a finite number; name receives the first such element
// as its dump line names it (for instance "Tprof" or "revL[33][1]").
bool findNonFinite(const Model& m, char* name, std::size_t size);

// Number of entries of the quantity list (the dimension constants included).
int dumpEntryCount();
