#include "driver/input_list.h"

#include <nlohmann/json.hpp>
#include <string>
#include <utility>

#include "input/overrides.h"
#include "model/input_ranges.h"

namespace {

// A text of a record for one cell of the table: blanks at both ends
// trimmed, tabs and line breaks (which a label may hold) made blanks.
std::string cell(const std::string& s) {
    std::string t = s;
    for (char& c : t)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    const std::size_t a = t.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    return t.substr(a, t.find_last_not_of(' ') - a + 1);
}

// The bounds of the element's range; empty where an end has no bound (money).
std::pair<std::string, std::string> bounds(const TracedNumber& t) {
    const inputranges::Range* r = inputranges::find(t.base, t.idx);
    if (!r) return {};
    return {inputranges::minText(*r), inputranges::maxText(*r)};
}

}  // namespace

bool writeInputList(const Overrides& ov, std::FILE* f) {
    std::fputs("name\tvalue\tfile\tline\trecord\tlabel\tunit\tmin\tmax\n", f);
    for (const TracedNumber* t : ov.changeable()) {
        const auto [lo, hi] = bounds(*t);
        std::fprintf(f, "%s\t%s\t%s\t%d\t%d\t%s\t%s\t%s\t%s\n", t->name.c_str(), valueText(*t).c_str(),
                     t->where.file.c_str(), t->where.line, t->where.record, cell(t->label).c_str(),
                     cell(t->unit).c_str(), lo.c_str(), hi.c_str());
    }
    return std::fflush(f) == 0 && !std::ferror(f);
}

nlohmann::ordered_json inputRow(const TracedNumber& t) {
    nlohmann::ordered_json r;
    r["name"] = t.name;
    r["value"] = nlohmann::ordered_json::parse(valueText(t));
    r["file"] = t.where.file;
    r["line"] = t.where.line;
    r["record"] = t.where.record;
    r["label"] = cell(t.label);
    r["unit"] = cell(t.unit);
    const auto [lo, hi] = bounds(t);
    r["min"] = lo.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json::parse(lo);
    r["max"] = hi.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json::parse(hi);
    return r;
}

bool writeInputListJson(const Overrides& ov, std::FILE* f) {
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    for (const TracedNumber* t : ov.changeable()) rows.push_back(inputRow(*t));
    const std::string s = rows.dump(1) + "\n";
    return std::fwrite(s.data(), 1, s.size(), f) == s.size() && std::fflush(f) == 0;
}
