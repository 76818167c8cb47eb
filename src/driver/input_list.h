// The list of the numbers of the input files that can be changed by name
// (karvel1 --list): one row per element, as a tab-separated table or as a
// JSON array of the same rows.
#pragma once

#include <cstdio>

#include <nlohmann/json.hpp>

class Overrides;
struct TracedNumber;

// Rows of ov.changeable() after a tracing reading: the name as --set
// takes it, the value, the file, the line, the record, the record's own
// label and unit texts, and the smallest and largest value the number may
// take (empty, or null in JSON, where an end has no bound: money; where
// the range excludes its smallest value, the message of a run says so).
// Returns false when a write failed.
bool writeInputList(const Overrides& ov, std::FILE* f);
bool writeInputListJson(const Overrides& ov, std::FILE* f);

// One row of the JSON list: name, value (a number), file, line, record,
// label, unit, min and max (null where an end has no bound).
nlohmann::ordered_json inputRow(const TracedNumber& t);
