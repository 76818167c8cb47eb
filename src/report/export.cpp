#include "report/export.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string_view>

#include "driver/run.h"
#include "economics/weights.h"
#include "model/model.h"

namespace exporting {

namespace {

// The labels of the weights section of the results file, split into the
// trait and the unit of its reported weight.
constexpr TraitInfo kTraits[36] = {
    {"", ""},
    {"Birth weight", "kg"},
    {"Weaning weight", "kg"},
    {"Daily gain from birth to weaning", "g per day"},
    {"Weight at the end of artificial rearing", "kg"},
    {"Daily gain in artificial rearing", "g per day"},
    {"Daily gain of young breeding animals", "g per day"},
    {"Daily gain in fattening", "g per day"},
    {"Mature weight of ewes", "kg"},
    {"Dressing percentage of lambs sold at weaning", "per cent"},
    {"Dressing percentage of fattened lambs", "per cent"},
    {"Dressing percentage of ewes", "per cent"},
    {"Carcass class of lambs slaughtered at weaning", "0.01 class"},
    {"Carcass class of fattened lambs", "0.01 class"},
    {"Carcass class of culled sheep", "0.01 class"},
    {"Fleshiness class of culled sheep", "0.01 class"},
    {"Fat-covering class of culled sheep", "0.01 class"},
    {"Fleshiness class of lambs", "0.01 class"},
    {"Fat-covering class of lambs", "0.01 class"},
    {"Quality class of lambs slaughtered at weaning", "0.01 class"},
    {"Conception rate of young females, 1st mating", "per cent"},
    {"Conception rate of ewes", "per cent"},
    {"Litter size", "0.01 lamb per lambing"},
    {"Lamb survival in the first 24 hours", "per cent"},
    {"Lamb survival from 24 hours to weaning", "per cent"},
    {"Lamb survival in artificial rearing", "per cent"},
    {"Productive life of ewes", "reproductive cycles"},
    {"Productive life of ewes", "years"},
    {"Milk yield in the standard lactation", "kg"},
    {"Average daily milk yield", "0.1 kg per day"},
    {"Fat content of milk", "0.01 per cent"},
    {"Fat yield in the standard lactation", "kg"},
    {"Protein content of milk", "0.01 per cent"},
    {"Protein yield in the standard lactation", "kg"},
    {"Somatic cell score", "0.01 score"},
    {"Fleece weight", "kg per shearing"},
};

// The shortest decimal (from 6 significant digits) that reads back, also
// through a double, to exactly the stored value f.  Non-finite values give "".
std::string storedText(RealStored f) {
    if (!std::isfinite(f)) return "";
    char s[40];
    for (int p = 6; p <= 17; ++p) {
        std::snprintf(s, sizeof s, "%.*g", p, double(f));
        if (RealStored(std::strtod(s, nullptr)) == f) break;
    }
    return s;
}

// The same for a double (15 to 17 significant digits).
std::string doubleText(double d) {
    if (!std::isfinite(d)) return "";
    char s[40];
    for (int p = 15; p <= 17; ++p) {
        std::snprintf(s, sizeof s, "%.*g", p, d);
        if (std::strtod(s, nullptr) == d) break;
    }
    return s;
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

// One trait in one weight column.  Quantities keep the storage precision of
// the model here, so that they are written with the digits that read back
// to exactly the stored value.
struct Row {
    int t = 0, k = 0;
    bool evaluated = false;
    RealStored weight = 0;      // evp
    RealStored weight1 = 0;     // ev0 in the unit of evp
    bool hasEvdiff = false;
    RealStored evdiff = 0;
    bool hasSd = false;    // the table gives an sd for the trait
    double sd = 0;
    bool hasStd = false;   // evaluated and with an sd
    double standardised = 0;  // weight x sd
    bool hasEmphasis = false;
    double emphasis = 0;   // per cent of the column's sum of |weight x sd|
};

// Every row of the CSV table, trait after trait.  The relative emphasis is
// formed within each column over the evaluated rows that have an sd; a
// column whose standardised weights are all 0 has none.
std::vector<Row> tableRows(const Model& m, const SdTable* sd) {
    std::vector<Row> rows;
    for (int t = 1; t <= 35; ++t)
        for (int k : columns(m)) {
            if (k == 2 && !weights::hasColumn(t, 2)) continue;
            Row r;
            r.t = t;
            r.k = k;
            const double f = weights::reportDivisor(t);
            if (k == 0) {
                r.evaluated = weights::evaluated(m, t, 1) || weights::evaluated(m, t, 2);
                r.weight = stored(m.evp[t][0]);
                r.weight1 = RealStored(RealStored(m.ev0[t][1] / f) + 0.5 * RealStored(m.ev0[t][2] / f));
            } else {
                r.evaluated = weights::evaluated(m, t, k);
                r.weight = stored(m.evp[t][k]);
                r.weight1 = RealStored(m.ev0[t][k] / f);
                // evdiff is -999 where the weight is 0 and the relative
                // difference is undefined.
                r.hasEvdiff = double(m.evdiff[t][k]) != -999.0;
                r.evdiff = stored(m.evdiff[t][k]);
            }
            if (sd && sd->has[t]) {
                r.hasSd = true;
                r.sd = sd->sd[t];
                r.hasStd = r.evaluated && std::isfinite(r.weight);
                // From the weight as written, so that the outputs agree
                // with a product formed from their own numbers.
                r.standardised = std::strtod(storedText(r.weight).c_str(), nullptr) * r.sd;
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

// A stored value as the double nearest to its shortest decimal, so that the
// JSON document of the single-precision build shows 2.59 rather than
// 2.5899999141693115; null if not finite.
nlohmann::ordered_json storedJson(RealStored f) {
    if (!std::isfinite(f)) return nullptr;
    return std::strtod(storedText(f).c_str(), nullptr);
}

nlohmann::ordered_json doubleJson(double d) {
    if (!std::isfinite(d)) return nullptr;
    return d;
}

// A CSV field: quoted (with doubled inner quotes) when it holds a comma, a
// quote or a line break.
std::string csvField(std::string_view s) {
    if (s.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(s);
    std::string q = "\"";
    for (char c : s) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + '"';
}

std::string orNa(bool present, const std::string& text) { return present && !text.empty() ? text : "NA"; }

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

// Numbers: the weight, the weight of the 1 % change and evdiff are model
// quantities and are written with the fewest digits that read back to
// exactly the stored value, so a reader that formats the value read
// with "%.3f" gets the digits of the results file; sd, the standardised
// weight and the relative emphasis are doubles, written with the digits
// that read back to the same double.  "NA" stands for a number that is not
// available: every number of a skipped row, the sd and what depends on it
// where the table has none, and evdiff where the weight is 0.  evdiff of the
// combined column is not formed and is left empty.  Lines end in a line
// feed; text fields are quoted where they hold a comma.
bool writeCsv(const Model& m, const SdTable* sd, std::FILE* out) {
    std::string s = "trait,name,unit,column,status,weight,weight_1pct,evdiff_pct";
    if (sd) s += ",sd,std_weight,emphasis_pct";
    s += '\n';
    for (const Row& r : tableRows(m, sd)) {
        const TraitInfo& ti = trait(r.t);
        s += std::to_string(r.t) + ',' + csvField(ti.name) + ',' + csvField(ti.unit) + ',' + columnName(r.k) + ',' +
             (r.evaluated ? "evaluated" : "skipped");
        s += ',' + orNa(r.evaluated, storedText(r.weight));
        s += ',' + orNa(r.evaluated, storedText(r.weight1));
        s += ',' + (r.k == 0 ? std::string() : orNa(r.evaluated && r.hasEvdiff, storedText(r.evdiff)));
        if (sd) {
            s += ',' + orNa(r.hasSd, doubleText(r.sd));
            s += ',' + orNa(r.hasStd, doubleText(r.standardised));
            s += ',' + orNa(r.hasEmphasis, doubleText(r.emphasis));
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
// null where the table has NA or an empty field].  Model quantities are
// written as the shortest decimal that reads back to the stored value.
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
    flock["ewe_states_fraction"] = list(m.TE, [&](int s) { return doubleJson(m.l1E[s]); });
    flock["ewes_by_cycle_fraction"] = list(m.LL, [&](int c) { return doubleJson(m.l4E[c]); });
    flock["replacement_rate"] = doubleJson(m.l4E[1]);
    flock["ewes_dying_pct_of_replacement"] = storedJson(stored(m.pdiedEp));
    flock["ewes_culled_health_pct_of_replacement"] = storedJson(stored(m.pcullhEp));
    flock["ewes_culled_milk_yield_pct_of_replacement"] = storedJson(stored(m.pcullmEp));
    flock["ewes_culled_not_conceiving_pct_of_replacement"] = storedJson(stored(m.pcullfcEp));
    flock["ewes_leaving_after_last_cycle_pct_of_replacement"] = doubleJson(ratio(m.l1E[m.TE] * 100, m.l4E[1]));
    flock["productive_life_cycles"] = storedJson(stored(m.avlifelE));
    flock["productive_life_years"] = storedJson(stored(m.avlifeyE));
    flock["conception_rate_pct"] = doubleJson(m.avconrateE * 100.0);
    flock["litter_size_by_cycle"] = list(m.LL, [&](int c) { return storedJson(stored(m.avlitpE[c])); });
    flock["litter_size"] = storedJson(stored(m.avlitE));
    const auto perLambing = [&](const auto& v) {
        return list(m.clt, [&](int lt) { return doubleJson(ratio(v[0][lt], m.Nlamb)); });
    };
    flock["lambs_born_per_lambing_by_litter_size"] = perLambing(m.nbtL);
    if (m.typew == 1) {
        flock["lambs_weaned_per_lambing"] = doubleJson(ratio(m.NwL[0], m.Nlamb));
        flock["lambs_weaned_per_lambing_by_litter_size"] = perLambing(m.nwL);
    } else {
        flock["lambs_reared_artificially_per_lambing"] = doubleJson(ratio(m.NarL[0], m.Nlamb));
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
               {"status", r.evaluated ? "evaluated" : "skipped"}};
        o["weight"] = r.evaluated ? storedJson(r.weight) : J();
        o["weight_1pct"] = r.evaluated ? storedJson(r.weight1) : J();
        o["evdiff_pct"] = r.k != 0 && r.evaluated && r.hasEvdiff ? storedJson(r.evdiff) : J();
        if (sd) {
            o["sd"] = r.hasSd ? doubleJson(r.sd) : J();
            o["std_weight"] = r.hasStd ? doubleJson(r.standardised) : J();
            o["emphasis_pct"] = r.hasEmphasis ? doubleJson(r.emphasis) : J();
        }
        w.push_back(o);
    }
    doc["weights"] = w;
    return put(doc.dump(2) + '\n', out);
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
        if (r.k == 0 || !r.hasEmphasis) continue;
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

bool writeSweepHeader(const Model& m, const std::string& quantity, std::FILE* out) {
    std::string s = csvField(quantity) + ",Tprof";
    for (const Row& r : tableRows(m, nullptr)) s += ",w" + std::to_string(r.t) + '_' + columnKey(r.k);
    return put(s + '\n', out);
}

bool writeSweepRow(const Model& m, const std::string& value, std::FILE* out) {
    const auto number = [](RealStored v) { return std::isfinite(v) ? storedText(v) : std::string("NA"); };
    std::string s = csvField(value) + ',' + number(stored(m.Tprof));
    for (const Row& r : tableRows(m, nullptr)) s += ',' + (r.evaluated ? number(r.weight) : std::string("NA"));
    return put(s + '\n', out);
}

}  // namespace exporting
