// The values each number of the input files may take (input_ranges.def),
// by the quantity it is read into.
#pragma once

#include <string>
#include <vector>

namespace inputranges {

enum class Kind {
    Closed,  // lo <= value <= hi
    Money,   // any value; one beyond kMoneyWarning in size warns
    Code,    // lo <= value <= hi, checked by the reading code itself
};

struct Range {
    const char* name;
    int first;  // the first index the range is for, or -1 for every element
    double lo, hi;
    Kind kind;
};

// Beyond this size a price, cost or revenue leaves the profit per ewe
// without its cents.
inline constexpr double kMoneyWarning = 1e9;

// The range of the element name[idx...]; nullptr where the table has none
// (a date, a number the model does not keep).
const Range* find(const std::string& name, const std::vector<int>& idx);

// Whether the reader lets x stand without a stop (Money and Code: always).
bool allows(const Range& r, double x);

// The range in words, for messages: "from 0 to 1"; "any amount" for money.
std::string text(const Range& r);

// The bounds as --list prints them: the shortest decimal text, empty for
// money, which has none.
std::string minText(const Range& r);
std::string maxText(const Range& r);

// Every range of the table, for its tests.
const std::vector<Range>& all();

}  // namespace inputranges
