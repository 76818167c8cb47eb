#include "report/export.h"

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string_view>

#include "context/run.h"
#include "economics/weights.h"
#include "model/model.h"

namespace exporting {

namespace {

// The labels of the weights section of the results file, split into the
// trait and the unit of its reported weight, and the trait's short name.
constexpr TraitInfo kTraits[36] = {
    {"", "", ""},
    {"Birth weight", "kg", "birth_weight"},
    {"Weaning weight", "kg", "weaning_weight"},
    {"Daily gain from birth to weaning", "g per day", "gain_to_weaning"},
    {"Weight at the end of artificial rearing", "kg", "rearing_end_weight"},
    {"Daily gain in artificial rearing", "g per day", "gain_in_rearing"},
    {"Daily gain of young breeding animals", "g per day", "gain_young_stock"},
    {"Daily gain in fattening", "g per day", "gain_in_fattening"},
    {"Mature weight of ewes", "kg", "mature_weight"},
    {"Dressing percentage of lambs sold at weaning", "per cent", "dressing_weaned"},
    {"Dressing percentage of fattened lambs", "per cent", "dressing_fattened"},
    {"Dressing percentage of ewes", "per cent", "dressing_ewes"},
    {"Carcass class of lambs slaughtered at weaning", "0.01 class", "class_weaned"},
    {"Carcass class of fattened lambs", "0.01 class", "class_fattened"},
    {"Carcass class of culled sheep", "0.01 class", "class_culled"},
    {"Fleshiness class of culled sheep", "0.01 class", "flesh_culled"},
    {"Fat-covering class of culled sheep", "0.01 class", "fat_culled"},
    {"Fleshiness class of lambs", "0.01 class", "flesh_lambs"},
    {"Fat-covering class of lambs", "0.01 class", "fat_lambs"},
    {"Quality class of lambs slaughtered at weaning", "0.01 class", "quality_weaned"},
    {"Conception rate of young females, 1st mating", "per cent", "conception_young"},
    {"Conception rate of ewes", "per cent", "conception_ewes"},
    {"Litter size", "0.01 lamb per lambing", "litter_size"},
    {"Lamb survival in the first 24 hours", "per cent", "survival_24h"},
    {"Lamb survival from 24 hours to weaning", "per cent", "survival_to_weaning"},
    {"Lamb survival in artificial rearing", "per cent", "survival_in_rearing"},
    {"Productive life of ewes", "reproductive cycles", "life_cycles"},
    {"Productive life of ewes", "years", "life_years"},
    {"Milk yield in the standard lactation", "kg", "milk_yield"},
    {"Average daily milk yield", "0.1 kg per day", "daily_milk"},
    {"Fat content of milk", "0.01 per cent", "fat_content"},
    {"Fat yield in the standard lactation", "kg", "fat_yield"},
    {"Protein content of milk", "0.01 per cent", "protein_content"},
    {"Protein yield in the standard lactation", "kg", "protein_yield"},
    {"Somatic cell score", "0.01 score", "cell_score"},
    {"Fleece weight", "kg per shearing", "fleece_weight"},
};

// The shortest text that reads back to exactly d ("0.1", not
// "0.10000000000000001"); a whole number is written without a point.
std::string shortestText(double d) {
    char s[40];
    const auto r = std::to_chars(s, s + sizeof s, d);
    return std::string(s, r.ptr);
}

// A model quantity as the double nearest to the shortest decimal of its
// stored value: the value itself where the model stores doubles, 2.59 rather
// than 2.5899999141693115 in the single-precision build.
double asDouble(RealStored f) {
    char s[40];
    const auto r = std::to_chars(s, s + sizeof s - 1, f);
    *r.ptr = '\0';
    return std::strtod(s, nullptr);
}

// A number of the CSV tables: rounded to 8 significant digits (beyond them
// a weight holds only the rounding noise of the difference quotient), in
// the shortest text of the rounded value ("4.6423978", "0.25", "1.5e-12");
// "NA" where it is not finite.
std::string csvNumber(double d) {
    if (!std::isfinite(d)) return "NA";
    char s[40];
    std::snprintf(s, sizeof s, "%.7e", d);
    const double rounded = std::strtod(s, nullptr);
    return shortestText(rounded == 0 ? 0.0 : rounded);  // no "-0"
}

const char* columnName(int k) { return k == 1 ? "pure-bred" : k == 2 ? "cross-bred" : "combined"; }
const char* columnKey(int k) { return k == 1 ? "pure" : k == 2 ? "cross" : "combined"; }

// The weight columns of the system, in the order they are written:
// pure-bred, cross-bred, combined.
std::vector<int> columns(const Model& m) {
    if (m.ewopt == 0) return {1};
    if (m.ewopt == 1) return {2};
    return {1, 2, 0};
}

enum class Status { Evaluated, Skipped, NotInSystem };

const char* statusText(Status s) {
    return s == Status::Evaluated ? "evaluated" : s == Status::Skipped ? "skipped" : "not in this system";
}

// One trait in one weight column.
struct Row {
    int t = 0, k = 0;
    Status status = Status::NotInSystem;
    bool hasWeight = false;   // the system has the trait (and the numbers are finite)
    double weight = 0;        // evp
    double weight1 = 0;       // ev0 in the unit of evp
    bool hasEvdiff = false;
    double evdiff = 0;
    bool hasSd = false;       // the table gives an sd for the trait
    double sd = 0;
    bool hasStd = false;      // a weight and an sd
    double standardised = 0;  // weight x sd
    bool hasEmphasis = false;
    double emphasis = 0;      // per cent of the column's sum of |weight x sd|
};

// Every row of the CSV table, trait after trait.  A weight the loop did not
// evaluate is 0 (evp is cleared when the loop starts), as the results file
// prints it.  The relative emphasis is formed within each column over the
// rows that have a weight and an sd; a column whose standardised weights
// are all 0 has none.
std::vector<Row> tableRows(const Model& m, const SdTable* sd) {
    std::vector<Row> rows;
    for (int t = 1; t <= 35; ++t)
        for (int k : columns(m)) {
            Row r;
            r.t = t;
            r.k = k;
            const bool evaluated = k == 0 ? weights::evaluated(m, t, 1) || weights::evaluated(m, t, 2)
                                          : weights::evaluated(m, t, k);
            // A weight the loop computed is given also where the results
            // file has no row for the trait (the weaning traits with
            // artificial rearing).
            r.status = evaluated ? Status::Evaluated : weights::inSystem(m, t) ? Status::Skipped : Status::NotInSystem;
            const double f = weights::reportDivisor(t);
            r.weight = asDouble(stored(m.evp[t][k]));
            if (k == 0) {
                r.weight1 = asDouble(RealStored(RealStored(m.ev0[t][1] / f) + 0.5 * RealStored(m.ev0[t][2] / f)));
            } else {
                r.weight1 = asDouble(RealStored(m.ev0[t][k] / f));
                // evdiff is -999 where the weight is 0 and the relative
                // difference is undefined; the combined column has none.
                r.hasEvdiff = r.status == Status::Evaluated && double(m.evdiff[t][k]) != -999.0;
                r.evdiff = asDouble(stored(m.evdiff[t][k]));
            }
            r.hasWeight = r.status != Status::NotInSystem && std::isfinite(r.weight) && std::isfinite(r.weight1);
            r.hasEvdiff = r.hasEvdiff && std::isfinite(r.evdiff);
            if (sd && sd->has[t]) {
                r.hasSd = true;
                r.sd = sd->sd[t];
                r.hasStd = r.hasWeight;
                r.standardised = r.weight * r.sd;
            }
            rows.push_back(r);
        }
    for (int k : columns(m)) {
        double sum = 0;
        for (const Row& r : rows)
            if (r.k == k && r.hasStd) sum += std::fabs(r.standardised);
        if (!(sum > 0) || !std::isfinite(sum)) continue;
        for (Row& r : rows)
            if (r.k == k && r.hasStd) {
                r.hasEmphasis = true;
                r.emphasis = r.standardised / sum * 100;
            }
    }
    return rows;
}

// A number of the JSON document, null if not finite.
nlohmann::ordered_json jsonNumber(double d) {
    if (!std::isfinite(d)) return nullptr;
    return d;
}

nlohmann::ordered_json storedJson(RealStored f) { return jsonNumber(asDouble(f)); }

// Appends j as JSON text indented by two blanks a level (the layout of
// nlohmann's dump(2)), with every floating-point number in its shortest
// text that reads back to the same double, which dump does not guarantee.
void writeDocument(const nlohmann::ordered_json& j, int indent, std::string& out) {
    using V = nlohmann::ordered_json::value_t;
    const bool object = j.type() == V::object;
    if ((object || j.type() == V::array) && !j.empty()) {
        out += object ? "{\n" : "[\n";
        bool first = true;
        for (auto it = j.begin(); it != j.end(); ++it) {
            if (!first) out += ",\n";
            first = false;
            out.append(std::size_t(indent + 2), ' ');
            if (object) out += nlohmann::ordered_json(it.key()).dump() + ": ";
            writeDocument(*it, indent + 2, out);
        }
        out += '\n';
        out.append(std::size_t(indent), ' ');
        out += object ? '}' : ']';
    } else if (j.type() == V::number_float) {
        const double d = j.get<double>();
        out += std::isfinite(d) ? shortestText(d) : "null";
    } else {
        out += j.dump();  // strings, whole numbers, true, false, null, [] and {}
    }
}

// A CSV field: quoted (with doubled inner quotes) when it holds a comma, a
// quote, a line break or a '#' (which a reader told that '#' begins a
// comment takes as text only inside quotes).
std::string csvField(std::string_view s) {
    if (s.find_first_of(",\"\r\n#") == std::string_view::npos) return std::string(s);
    std::string q = "\"";
    for (char c : s) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + '"';
}

std::string orNa(bool present, double d) { return present ? csvNumber(d) : "NA"; }

bool put(const std::string& s, std::FILE* out) {
    return std::fwrite(s.data(), 1, s.size(), out) == s.size() && std::fflush(out) == 0;
}

double ratio(double x, double d) { return d != 0 ? x / d : 0.0; }

}  // namespace

const TraitInfo& trait(int t) { return kTraits[t >= 1 && t <= 35 ? t : 0]; }

bool readSdTable(const std::string& path, SdTable& out, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in || std::filesystem::is_directory(path)) {
        error = path + ": the file cannot be opened";
        return false;
    }
    SdTable table;
    int firstLine[36] = {};
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        const auto fail = [&](const std::string& what) {
            error = path + ", line " + std::to_string(n) + ": " + what;
            return false;
        };
        if (n == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        // Fields are separated by white space or a comma.
        std::vector<std::string> fields;
        std::string cur;
        for (char c : line + ' ') {
            if (c == ',' || std::isspace(static_cast<unsigned char>(c))) {
                if (!cur.empty()) fields.push_back(cur);
                cur.clear();
            } else {
                cur += c;
            }
        }
        if (fields.empty() || fields[0][0] == '#') continue;
        if (fields.size() != 2)
            return fail("expected a trait number and a standard deviation, found " + std::to_string(fields.size()) +
                        (fields.size() == 1 ? " value" : " values"));
        // The fields as the messages repeat them.
        const std::string tf = printable(fields[0].c_str()), sf = printable(fields[1].c_str());
        char* end = nullptr;
        errno = 0;
        const long t = std::strtol(fields[0].c_str(), &end, 10);
        if (*end != '\0' || errno != 0) return fail("the trait number \"" + tf + "\" is not a whole number");
        if (t < 1 || t > 35) return fail("the trait number " + tf + " is not from 1 to 35");
        const double s = std::strtod(fields[1].c_str(), &end);
        if (*end != '\0') return fail("the standard deviation \"" + sf + "\" is not a number");
        if (!std::isfinite(s))
            return fail("the standard deviation " + sf + " of trait " + tf + " is not finite");
        if (s < 0) return fail("the standard deviation " + sf + " of trait " + tf + " is negative");
        if (table.has[t])
            return fail("trait " + tf + " is given a second time (first on line " +
                        std::to_string(firstLine[t]) + ")");
        table.has[t] = true;
        table.sd[t] = s;
        firstLine[t] = n;
    }
    out = table;
    return true;
}

// Numbers: rounded to 8 significant digits (csvNumber), so that a weight
// read and formatted with "%.3f" gives the digits of the results file.
// "NA" stands for a number that is not available: every number of a trait
// the system lacks, evdiff where the weight is 0 (also of a skipped row)
// and in the combined column, where it is not formed, and the sd and what
// depends on it where the table has none.  Lines end in a line feed; text
// fields are quoted where they hold a comma.
bool writeCsv(const Model& m, const SdTable* sd, std::FILE* out) {
    std::string s = "trait,name,unit,column,status,weight,weight_1pct,evdiff_pct";
    if (sd) s += ",sd,std_weight,emphasis_pct";
    s += '\n';
    for (const Row& r : tableRows(m, sd)) {
        const TraitInfo& ti = trait(r.t);
        s += std::to_string(r.t) + ',' + csvField(ti.name) + ',' + csvField(ti.unit) + ',' + columnName(r.k) + ',' +
             statusText(r.status);
        s += ',' + orNa(r.hasWeight, r.weight);
        s += ',' + orNa(r.hasWeight, r.weight1);
        s += ',' + orNa(r.hasEvdiff, r.evdiff);
        if (sd) {
            s += ',' + orNa(r.hasSd, r.sd);
            s += ',' + orNa(r.hasStd, r.standardised);
            s += ',' + orNa(r.hasEmphasis, r.emphasis);
        }
        s += '\n';
    }
    return put(s, out);
}

// Keys: "program" {name, version}; "system" (the system variables, the
// fattening variants as lf_female, lf_male and lf_castrate); "totals" per
// ewe and year {Trev, Tcosts, Tsub, Tprof}; "flock" (sections 3.1 and 3.2 of
// the results file); "changes" [{name, file, record, from, to}]; "weights"
// [one object per row of the CSV table, with its column names as keys and
// null where the table has NA].  Numbers are written in full precision:
// the shortest text that reads back to the same double (writeDocument).
bool writeJson(const Model& m, const SdTable* sd, const std::vector<ChangedValue>& changes, std::FILE* out) {
    using J = nlohmann::ordered_json;
    J doc;
    doc["program"] = {{"name", kProgramName}, {"version", kProgramVersion}};
    doc["system"] = {{"typew", m.typew},       {"crossing", m.crossing}, {"lf_female", m.lf[1]},
                     {"lf_male", m.lf[2]},     {"lf_castrate", m.lf[0]}, {"typeb", m.typeb},
                     {"feedcost", m.feedcost}, {"femrep", m.femrep},     {"ewopt", m.ewopt}};
    doc["totals"] = {{"Trev", storedJson(stored(m.Trev))},
                     {"Tcosts", storedJson(stored(m.Tcosts))},
                     {"Tsub", storedJson(stored(m.Tsub))},
                     {"Tprof", storedJson(stored(m.Tprof))}};

    // The flock figures of the results file's sections 3.1 and 3.2.  Lists
    // by ewe state, reproductive cycle or litter-size class start with
    // state, cycle or class 1.
    J flock;
    const auto list = [](int n, auto&& value) {
        J a = J::array();
        for (int i = 1; i <= n; ++i) a.push_back(value(i));
        return a;
    };
    flock["iterations_stationary"] = m.kE;
    flock["ewe_states_fraction"] = list(m.TE, [&](int s) { return jsonNumber(m.l1E[s]); });
    flock["ewes_by_cycle_fraction"] = list(m.LL, [&](int c) { return jsonNumber(m.l4E[c]); });
    flock["replacement_rate"] = jsonNumber(m.l4E[1]);
    flock["ewes_dying_pct_of_replacement"] = storedJson(stored(m.pdiedEp));
    flock["ewes_culled_health_pct_of_replacement"] = storedJson(stored(m.pcullhEp));
    flock["ewes_culled_milk_yield_pct_of_replacement"] = storedJson(stored(m.pcullmEp));
    flock["ewes_culled_not_conceiving_pct_of_replacement"] = storedJson(stored(m.pcullfcEp));
    flock["ewes_leaving_after_last_cycle_pct_of_replacement"] = jsonNumber(ratio(m.l1E[m.TE] * 100, m.l4E[1]));
    flock["productive_life_cycles"] = storedJson(stored(m.avlifelE));
    flock["productive_life_years"] = storedJson(stored(m.avlifeyE));
    flock["conception_rate_pct"] = jsonNumber(m.avconrateE * 100.0);
    flock["litter_size_by_cycle"] = list(m.LL, [&](int c) { return storedJson(stored(m.avlitpE[c])); });
    flock["litter_size"] = storedJson(stored(m.avlitE));
    const auto perLambing = [&](const auto& v) {
        return list(m.clt, [&](int lt) { return jsonNumber(ratio(v[0][lt], m.Nlamb)); });
    };
    flock["lambs_born_per_lambing_by_litter_size"] = perLambing(m.nbtL);
    if (m.typew == 1) {
        flock["lambs_weaned_per_lambing"] = jsonNumber(ratio(m.NwL[0], m.Nlamb));
        flock["lambs_weaned_per_lambing_by_litter_size"] = perLambing(m.nwL);
    } else {
        flock["lambs_reared_artificially_per_lambing"] = jsonNumber(ratio(m.NarL[0], m.Nlamb));
        flock["lambs_reared_artificially_per_lambing_by_litter_size"] = perLambing(m.narL);
    }
    flock["lamb_losses_24h_by_litter_size_fraction"] =
        list(m.clt, [&](int lt) { return storedJson(stored(m.pdiedbL[lt][1])); });
    doc["flock"] = flock;

    J ch = J::array();
    for (const ChangedValue& c : changes)
        ch.push_back({{"name", c.name}, {"file", c.file}, {"record", c.record}, {"from", c.from}, {"to", c.to}});
    doc["changes"] = ch;

    // The rows of the CSV table, with null for the numbers that are not
    // available.
    J w = J::array();
    for (const Row& r : tableRows(m, sd)) {
        const TraitInfo& ti = trait(r.t);
        J o = {{"trait", r.t},
               {"name", ti.name},
               {"unit", ti.unit},
               {"column", columnName(r.k)},
               {"status", statusText(r.status)}};
        o["weight"] = r.hasWeight ? jsonNumber(r.weight) : J();
        o["weight_1pct"] = r.hasWeight ? jsonNumber(r.weight1) : J();
        o["evdiff_pct"] = r.hasEvdiff ? jsonNumber(r.evdiff) : J();
        if (sd) {
            o["sd"] = r.hasSd ? jsonNumber(r.sd) : J();
            o["std_weight"] = r.hasStd ? jsonNumber(r.standardised) : J();
            o["emphasis_pct"] = r.hasEmphasis ? jsonNumber(r.emphasis) : J();
        }
        w.push_back(o);
    }
    doc["weights"] = w;
    std::string text;
    writeDocument(doc, 0, text);
    return put(text + '\n', out);
}

namespace {

// Text for SVG content and attribute values.
std::string xmlEscape(std::string_view s) {
    std::string e;
    for (char c : s) switch (c) {
        case '&': e += "&amp;"; break;
        case '<': e += "&lt;"; break;
        case '>': e += "&gt;"; break;
        case '"': e += "&quot;"; break;
        case '\'': e += "&apos;"; break;
        default: e += c;
        }
    return e;
}

std::string fmt(const char* f, double a) {
    char s[64];
    std::snprintf(s, sizeof s, f, a);
    return s;
}

// The label of a trait in the chart: number and name, and the unit where
// two traits share the name (productive life in cycles and in years).
std::string chartLabel(int t) {
    std::string label = std::to_string(t) + " " + trait(t).name;
    for (int u = 1; u <= 35; ++u)
        if (u != t && std::strcmp(trait(u).name, trait(t).name) == 0) return label + " (" + trait(t).unit + ")";
    return label;
}

// A value in per cent for a bar: one decimal, two for the small values that
// would otherwise show as 0.0 or -0.0.
std::string percent(double v) {
    if (v == 0) return "0.0";
    return fmt(std::fabs(v) < 0.05 ? "%.2f" : "%.1f", v);
}

// A step of 1, 2 or 5 times a power of ten that divides [0, extent] into
// at most about five intervals.
double tickStep(double extent) {
    const double raw = extent / 5;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    for (double f : {1.0, 2.0, 5.0})
        if (f * p >= raw) return f * p;
    return 10 * p;
}

// Splits text into lines of at most width characters at blanks.
std::vector<std::string> wrap(const std::string& text, std::size_t width) {
    std::vector<std::string> lines;
    std::string cur;
    std::size_t a = 0;
    while (a < text.size()) {
        std::size_t b = text.find(' ', a);
        if (b == std::string::npos) b = text.size();
        const std::string word = text.substr(a, b - a);
        if (!cur.empty() && cur.size() + 1 + word.size() > width) {
            lines.push_back(cur);
            cur.clear();
        }
        cur += (cur.empty() ? "" : " ") + word;
        a = b + 1;
    }
    if (!cur.empty()) lines.push_back(cur);
    return lines;
}

}  // namespace

// Layout, from the top: title, legend (with two columns), one group of bars
// per trait with its label at the left, the axis with its ticks in per
// cent, and the note.  The zero line lies at the left of the plot when no
// value is negative, otherwise in its middle with the same scale to both
// sides.  Widths of texts are estimated from their length (sans-serif at
// 12 px is about 6.5 px a character).
bool writeChart(const Model& m, const SdTable& sd, std::FILE* out) {
    struct Bar {
        int k;
        double v;
    };
    struct Group {
        std::string label;
        std::vector<Bar> bars;
    };
    std::vector<Group> groups;
    bool cols[3] = {};
    double maxAbs = 0;
    bool negative = false;
    int lastTrait = 0;
    for (const Row& r : tableRows(m, &sd)) {
        if (r.k == 0 || r.status != Status::Evaluated || !r.hasEmphasis) continue;
        if (r.t != lastTrait) groups.push_back({chartLabel(r.t), {}});
        lastTrait = r.t;
        groups.back().bars.push_back({r.k, r.emphasis});
        cols[r.k] = true;
        maxAbs = std::max(maxAbs, std::fabs(r.emphasis));
        negative = negative || r.emphasis < 0;
    }
    const bool legend = cols[1] && cols[2];
    const char* colour[3] = {"", "#3b6fb6", "#e08a2c"};

    constexpr double kCharW = 6.5, kBarH = 14, kBarGap = 2, kGroupGap = 10, kValueRoom = 56;
    std::size_t longest = 0;
    for (const Group& g : groups) longest = std::max(longest, g.label.size());
    const double labelW = 10 + kCharW * double(longest);
    const double width = std::max(760.0, labelW + 560);
    const double plotL = labelW + 10 + (negative ? kValueRoom : 0), plotR = width - kValueRoom - 10;
    const double extent = maxAbs > 0 ? maxAbs : 1;
    const double step = tickStep(extent);
    const double top = std::ceil(extent / step - 1e-9) * step;  // axis end, a whole number of steps
    const double zeroX = negative ? (plotL + plotR) / 2 : plotL;
    const double scale = (negative ? (plotR - plotL) / 2 : plotR - plotL) / top;

    std::string body;
    double y = 36;
    body += "<text x=\"" + fmt("%.1f", width / 2) + "\" y=\"" + fmt("%.1f", y) +
            "\" text-anchor=\"middle\" font-size=\"18\" font-weight=\"bold\">Relative emphasis of the traits (%)</text>\n";
    y += 14;
    if (legend) {
        double x = width / 2 - 110;
        for (int k = 1; k <= 2; ++k) {
            body += "<rect x=\"" + fmt("%.1f", x) + "\" y=\"" + fmt("%.1f", y) + "\" width=\"14\" height=\"14\" fill=\"" +
                    colour[k] + "\"/>\n";
            body += "<text x=\"" + fmt("%.1f", x + 20) + "\" y=\"" + fmt("%.1f", y + 11.5) + "\">" + columnName(k) +
                    "</text>\n";
            x += 120;
        }
        y += 24;
    }
    y += 10;
    const double plotTop = y;
    if (groups.empty()) {
        body += "<text x=\"" + fmt("%.1f", width / 2) + "\" y=\"" + fmt("%.1f", y + 14) +
                "\" text-anchor=\"middle\">No evaluated trait has a standard deviation.</text>\n";
        y += 30;
    }
    for (const Group& g : groups) {
        const double h = double(g.bars.size()) * (kBarH + kBarGap) - kBarGap;
        body += "<text x=\"" + fmt("%.1f", labelW) + "\" y=\"" + fmt("%.1f", y + h / 2 + 4) +
                "\" text-anchor=\"end\">" + xmlEscape(g.label) + "</text>\n";
        for (const Bar& b : g.bars) {
            const double len = std::fabs(b.v) * scale;
            const double x = b.v < 0 ? zeroX - len : zeroX;
            body += "<rect class=\"bar " + std::string(columnKey(b.k)) + "\" x=\"" + fmt("%.2f", x) + "\" y=\"" +
                    fmt("%.1f", y) + "\" width=\"" + fmt("%.2f", len) + "\" height=\"" + fmt("%.0f", kBarH) +
                    "\" fill=\"" + colour[b.k] + "\"><title>" + xmlEscape(g.label) + ", " + columnName(b.k) + ": " +
                    percent(b.v) + " %</title></rect>\n";
            const bool left = b.v < 0;
            body += "<text x=\"" + fmt("%.2f", left ? x - 4 : x + len + 4) + "\" y=\"" + fmt("%.1f", y + kBarH - 3) +
                    "\" font-size=\"11\"" + (left ? " text-anchor=\"end\"" : "") + ">" + percent(b.v) + "</text>\n";
            y += kBarH + kBarGap;
        }
        y += kGroupGap - kBarGap;
    }
    const double plotBottom = y;
    // Ticks and grid lines every step, both sides of zero when there are
    // negative values; the zero line on top of them.
    std::string grid;
    const int nTicks = int(std::lround(top / step));
    for (int i = negative ? -nTicks : 0; !groups.empty() && i <= nTicks; ++i) {
        const double x = zeroX + i * step * scale;
        if (i != 0)
            grid += "<line x1=\"" + fmt("%.2f", x) + "\" y1=\"" + fmt("%.1f", plotTop - 4) + "\" x2=\"" + fmt("%.2f", x) +
                    "\" y2=\"" + fmt("%.1f", plotBottom) + "\" stroke=\"#dddddd\"/>\n";
        grid += "<text x=\"" + fmt("%.2f", x) + "\" y=\"" + fmt("%.1f", plotBottom + 16) +
                "\" text-anchor=\"middle\" font-size=\"11\">" + fmt("%g", i * step) + "</text>\n";
    }
    if (!groups.empty())
        grid += "<line x1=\"" + fmt("%.2f", zeroX) + "\" y1=\"" + fmt("%.1f", plotTop - 4) + "\" x2=\"" +
            fmt("%.2f", zeroX) + "\" y2=\"" + fmt("%.1f", plotBottom) + "\" stroke=\"#333333\"/>\n";
    y = plotBottom + (groups.empty() ? 10 : 40);
    std::string note;
    const std::string text =
        std::string("Each bar: the economic weight of the trait times its genetic standard deviation, in per cent of "
                    "the sum of these products in absolute value over the traits shown") +
        (legend ? " in the same column (pure-bred or cross-bred)" : cols[2] ? " (cross-bred weights)" : " (pure-bred weights)") +
        ". A negative value: the profit falls as the trait rises.";
    for (const std::string& line : wrap(text, std::size_t((width - 40) / kCharW))) {
        note += "<text x=\"20\" y=\"" + fmt("%.1f", y) + "\" fill=\"#444444\">" + xmlEscape(line) + "</text>\n";
        y += 16;
    }
    const double height = y + 4;

    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    s += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + fmt("%.0f", width) + "px\" height=\"" +
         fmt("%.0f", height) + "px\" viewBox=\"0 0 " + fmt("%.0f", width) + " " + fmt("%.0f", height) +
         "\" font-family=\"sans-serif\" font-size=\"12\">\n";
    s += "<rect x=\"0\" y=\"0\" width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    s += grid + body + note + "</svg>\n";
    return put(s, out);
}

SweepNumbers sweepNumbers(const Model& m, const SdTable* sd) {
    SweepNumbers n;
    n.profit = csvNumber(asDouble(stored(m.Tprof)));
    for (const Row& r : tableRows(m, sd)) {
        n.column[r.k] = true;
        n.cells[r.k][0] += ',' + orNa(r.hasWeight, r.weight);
        if (sd) {
            n.cells[r.k][1] += ',' + orNa(r.hasStd, r.standardised);
            n.cells[r.k][2] += ',' + orNa(r.hasEmphasis, r.emphasis);
        }
    }
    return n;
}

bool writeSweep(const std::vector<std::string>& notes, const std::vector<std::string>& swept, bool sd,
                const std::vector<SweepRow>& rows, std::FILE* out) {
    // The weight columns of every system that a run had (a swept or changed
    // system variable may give runs different columns).
    std::vector<int> cols;
    for (int k : {1, 2, 0})
        for (const SweepRow& r : rows)
            if (r.complete && r.numbers.column[k]) {
                cols.push_back(k);
                break;
            }
    const int groups = sd ? 3 : 1;
    const char* prefix[3] = {"w", "std", "emph"};
    std::string na;
    for (int t = 1; t <= 35; ++t) na += ",NA";

    std::string s;
    for (const std::string& note : notes) s += "# " + note + '\n';
    for (const std::string& name : swept) s += csvField(name) + ',';
    s += "status,message,Tprof";
    for (int g = 0; g < groups; ++g)
        for (int k : cols)
            for (int t = 1; t <= 35; ++t)
                s += std::string(",") + prefix[g] + std::to_string(t) + '_' + columnKey(k) + '_' + trait(t).key;
    s += '\n';
    for (const SweepRow& r : rows) {
        for (const std::string& v : r.values) s += csvField(v) + ',';
        s += csvField(r.status) + ',' + csvField(r.message) + ',' + (r.complete ? r.numbers.profit : "NA");
        for (int g = 0; g < groups; ++g)
            for (int k : cols) s += r.complete && r.numbers.column[k] ? r.numbers.cells[k][g] : na;
        s += '\n';
    }
    return put(s, out);
}

}  // namespace exporting
