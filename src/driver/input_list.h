// The list of the numbers of the input files that can be changed by name
// (karvel1 --list): one row per element, as a tab-separated table or as a
// JSON array of the same rows.
#pragma once

#include <cstdio>

class Overrides;

// Rows of ov.changeable() after a tracing reading: the name as --set
// takes it, the value, the file, the line, the record, and the record's
// own label and unit texts.  Returns false when a write failed.
bool writeInputList(const Overrides& ov, std::FILE* f);
bool writeInputListJson(const Overrides& ov, std::FILE* f);
