// The dumps CHECKS and CHECKS1: every quantity of the model state, one line
// per scalar or array element, written from the quantity list.
#pragma once

#include <cstdio>

struct Model;

// Writes every quantity of m to out, in list order (see fields.def).
void writeDump(const Model& m, std::FILE* out);

// Number of entries of the quantity list (the dimension constants included).
int dumpEntryCount();
