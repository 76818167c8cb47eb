// The machine-readable outputs of the weights, read back: on the example
// systems the CSV weights give the digits of the results file, the JSON
// document and the sweep row hold the model's numbers, the relative emphasis
// of each column sums to 100 in absolute value and the chart is well-formed
// XML with one bar per trait and column; the relative emphasis worked by
// hand; the faults of a table of standard deviations.
#include "report/export.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>

#include "economics/weights.h"
#include "example_run.h"

namespace {

using testutil::TempDir;
using Table = std::vector<std::vector<std::string>>;

std::string capture(const std::function<bool(std::FILE*)>& write) {
    std::FILE* f = std::tmpfile();
    EXPECT_TRUE(write(f));
    std::string s(std::size_t(std::ftell(f)), '\0');
    std::rewind(f);
    EXPECT_EQ(std::fread(s.data(), 1, s.size(), f), s.size());
    std::fclose(f);
    return s;
}

// RFC 4180 fields: quoted fields may hold commas and doubled quotes.
Table parseCsv(const std::string& text) {
    Table rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') rows.back().back() += text[i++];
        else if (c == '"') quoted = !quoted;
        else if (!quoted && c == ',') rows.back().emplace_back();
        else if (!quoted && c == '\n') rows.emplace_back(1);
        else rows.back().back() += c;
    }
    rows.pop_back();  // after the last line break
    return rows;
}

// Trait -> the weight that section 3.14 of a golden results file prints.
std::map<int, std::string> resultsWeights(const std::string& example) {
    const std::string r = testutil::readFile(std::string(KARVEL1_SOURCE_DIR) + "/tests/golden/" + example + "/RESULTS.TXT");
    std::map<int, std::string> w;
    for (std::size_t a = r.find('\n', r.find("Trait (unit)")) + 1, b; (b = r.find('\n', a)) != a; a = b + 1) {
        const std::string line = r.substr(a, b - a);
        w[std::stoi(line.substr(0, 2))] = line.substr(line.rfind(' ') + 1);
    }
    return w;
}

const Model& exampleModel(const std::string& name) {
    static std::map<std::string, std::unique_ptr<testutil::ExampleRun>> runs;
    auto& r = runs[name];
    if (!r) r = testutil::runExample(name);
    EXPECT_EQ(r->status, 0);
    return *r->model;
}

// A standard deviation for every trait, unlike from trait to trait.
exporting::SdTable everyTrait() {
    exporting::SdTable sd;
    for (int t = 1; t <= 35; ++t) sd.sd[t] = 0.1 * t, sd.has[t] = true;
    return sd;
}

int column(const std::string& name) { return name == "pure-bred" ? 1 : name == "cross-bred" ? 2 : 0; }
RealStored number(const std::string& s) { return RealStored(std::strtod(s.c_str(), nullptr)); }
bool evaluated(const Model& m, int t, int k) {
    return k ? weights::evaluated(m, t, k) : weights::evaluated(m, t, 1) || weights::evaluated(m, t, 2);
}

// Balanced tags (a stray closing tag stays on the stack too); xmllint
// checks the whole document where it is installed.
void expectWellFormed(const std::string& x) {
    std::vector<std::string> open;
    for (std::size_t i = x.find('<'); i != std::string::npos; i = x.find('<', i + 1)) {
        const std::string tag = x.substr(i + 1, x.find('>', i) - i - 1);
        const std::string name = tag.substr(0, tag.find_first_of(" />", 1));
        if (name[0] == '/' && !open.empty() && open.back() == name.substr(1)) open.pop_back();
        else if (name[0] != '?' && tag.back() != '/') open.push_back(name);
    }
    EXPECT_TRUE(open.empty()) << open.back();
    TempDir dir;
    dir.write("chart.svg", x);
    if (std::system("command -v xmllint > /dev/null") == 0) {
        EXPECT_EQ(std::system(("xmllint --noout '" + (dir / "chart.svg").string() + "'").c_str()), 0);
    }
}

class Examples : public testing::TestWithParam<const char*> {};

}  // namespace

TEST(Export, TraitNamesAndUnitsAreTheLabelsOfTheResultsFile) {
    const std::string texts = testutil::readFile(std::string(KARVEL1_SOURCE_DIR) + "/examples/meat/TEXTS_OUT.TXT");
    for (int t = 1; t <= 35; ++t) {
        char label[200];
        std::snprintf(label, sizeof label, "\"%2d %s (%s) ", t, exporting::trait(t).name, exporting::trait(t).unit);
        EXPECT_NE(texts.find(label), std::string::npos) << label;
    }
}

TEST_P(Examples, CsvGivesTheWeightsOfTheResultsFileAndEmphasisSummingTo100) {
    const Model& m = exampleModel(GetParam());
    const exporting::SdTable sd = everyTrait();
    const Table rows = parseCsv(capture([&](std::FILE* f) { return exporting::writeCsv(m, &sd, f); }));
    ASSERT_EQ(rows[0], (std::vector<std::string>{"trait", "name", "unit", "column", "status", "weight", "weight_1pct",
                                                 "evdiff_pct", "sd", "std_weight", "emphasis_pct"}));
    std::map<int, double> absSum;
    std::map<std::pair<int, int>, std::vector<std::string>> row;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const auto& r = rows[i];
        ASSERT_EQ(r.size(), 11u);
        const int t = std::stoi(r[0]), k = column(r[3]);
        row[{t, k}] = r;
        ASSERT_EQ(r[4], evaluated(m, t, k) ? "evaluated" : "skipped") << t << " " << k;
        if (r[4] == "skipped") {
            for (int f : {5, 6, 9, 10}) EXPECT_EQ(r[f], "NA") << t << " " << k;
            continue;
        }
        // evdiff is the difference of the two weights in per cent of the
        // weight, whatever unit both are reported in.
        const double w = std::stod(r[5]), w1 = std::stod(r[6]);
        EXPECT_EQ(r[7] == "", k == 0);
        if (k != 0 && r[7] != "NA") {
            EXPECT_NEAR((w - w1) * 100 / w, std::stod(r[7]), 1e-4 + 1e-4 * std::fabs(std::stod(r[7]))) << t;
        }
        EXPECT_NEAR(std::stod(r[9]), w * 0.1 * t, 1e-12 * std::fabs(w * t)) << t;
        absSum[k] += std::fabs(std::stod(r[10]));
    }
    for (const auto& [k, sum] : absSum) EXPECT_NEAR(sum, 100, 1e-9) << k;
    // Every weight of the results file: the digits of the row's weight, or
    // 0 where the row is skipped or missing (no cross-bred slot).
    const int printed = m.ewopt == 0 ? 1 : m.ewopt == 1 ? 2 : 0;
    for (const auto& [t, text] : resultsWeights(GetParam())) {
        const auto r = row.find({t, printed});
        char s[40] = "0.000";
        if (r != row.end() && r->second[4] == "evaluated") std::snprintf(s, sizeof s, "%.3f", double(number(r->second[5])));
        EXPECT_EQ(text, s) << "trait " << t;
    }
    // A row per trait and column of the system, cross-bred ones only for
    // traits with a cross-bred slot; combined is pure-bred + half cross-bred.
    for (int t = 1; t <= 35; ++t)
        for (int k : {1, 2, 0}) {
            const bool column = m.ewopt == 2 || k == (m.ewopt == 0 ? 1 : 2);
            EXPECT_EQ(row.count({t, k}), column && (k != 2 || weights::hasColumn(t, 2)) ? 1u : 0u) << t << " " << k;
        }
    for (int t : {1, 8, 35})
        if (m.ewopt == 2) {
            EXPECT_NEAR(std::stod(row[{t, 0}][6]), std::stod(row[{t, 1}][6]) + 0.5 * std::stod(row[{t, 2}][6]), 1e-5);
        }
}

TEST_P(Examples, JsonAndSweepRowHoldTheModelsNumbers) {
    const Model& m = exampleModel(GetParam());
    const std::vector<exporting::ChangedValue> changes = {{"prlwwL[2]", "INPUTS13.TXT", 4, "2.50", "say \"3\"\\"}};
    const auto j = nlohmann::json::parse(capture([&](std::FILE* f) { return exporting::writeJson(m, nullptr, changes, f); }));
    EXPECT_EQ(j["system"]["ewopt"], m.ewopt);
    EXPECT_EQ(j["totals"]["Tprof"].get<RealStored>(), stored(m.Tprof));
    EXPECT_EQ(j["flock"]["replacement_rate"].get<double>(), m.l4E[1]);
    const auto& litter = j["flock"]["litter_size_by_cycle"];  // cycles 1 .. LL
    ASSERT_EQ(litter.size(), std::size_t(m.LL));
    EXPECT_EQ(litter.back().get<RealStored>(), stored(m.avlitpE[m.LL]));
    EXPECT_EQ(j["changes"][0]["to"], "say \"3\"\\");
    for (const auto& w : j["weights"]) {
        const int t = w["trait"], k = column(w["column"]);
        EXPECT_EQ(w["status"] == "evaluated", evaluated(m, t, k));
        if (evaluated(m, t, k)) EXPECT_EQ(w["weight"].get<RealStored>(), stored(m.evp[t][k])) << t << " " << k;
        else EXPECT_TRUE(w["weight"].is_null());
    }

    const Table s = parseCsv(capture([&](std::FILE* f) {
        return exporting::writeSweepHeader(m, "prlwwL[1], \"EUR\"", f) && exporting::writeSweepRow(m, "2.5", f);
    }));
    ASSERT_EQ(s.size(), 2u);
    ASSERT_EQ(s[0].size(), s[1].size());
    EXPECT_EQ(s[0][0], "prlwwL[1], \"EUR\"");
    EXPECT_EQ(s[1][0], "2.5");
    EXPECT_EQ(number(s[1][1]), stored(m.Tprof));
    for (std::size_t i = 2; i < s[0].size(); ++i) {
        const std::string& h = s[0][i];
        const int t = std::stoi(h.substr(1)), k = column(h.substr(h.find('_') + 1) + "-bred");
        if (evaluated(m, t, k)) EXPECT_EQ(number(s[1][i]), stored(m.evp[t][k])) << h;
        else EXPECT_EQ(s[1][i], "NA") << h;
    }
}

struct Bar {
    double x, y, w, h;
};

// The bars of a chart, and its width and height.
std::vector<Bar> barsOf(const std::string& svg, double& width, double& height) {
    auto attr = [](const std::string& tag, const char* name) {
        const std::string key = std::string(" ") + name + "=\"";
        const std::size_t p = tag.find(key);
        return p == std::string::npos ? -1.0 : std::atof(tag.c_str() + p + key.size());
    };
    const std::string head = svg.substr(svg.find("<svg"), svg.find('>', svg.find("<svg")) - svg.find("<svg"));
    width = attr(head, "width"), height = attr(head, "height");
    std::vector<Bar> bars;
    for (std::size_t p = svg.find("<rect class=\"bar"); p != std::string::npos; p = svg.find("<rect class=\"bar", p + 1)) {
        const std::string tag = svg.substr(p, svg.find('>', p) - p);
        bars.push_back({attr(tag, "x"), attr(tag, "y"), attr(tag, "width"), attr(tag, "height")});
    }
    return bars;
}

TEST_P(Examples, ChartHasOneBarPerTraitWithSdAndColumn) {
    const Model& m = exampleModel(GetParam());
    const exporting::SdTable sd = everyTrait();
    const std::string svg = capture([&](std::FILE* f) { return exporting::writeChart(m, sd, f); });
    expectWellFormed(svg);
    for (int k : {1, 2}) {
        int bars = 0, drawn = 0;
        for (int t = 1; t <= 35; ++t) bars += evaluated(m, t, k);
        const std::string key = k == 1 ? "class=\"bar pure\"" : "class=\"bar cross\"";
        for (std::size_t p = svg.find(key); p != std::string::npos; p = svg.find(key, p + 1)) ++drawn;
        EXPECT_EQ(drawn, bars) << k;
    }
    EXPECT_EQ(svg.find(">cross-bred</text>") != std::string::npos, m.ewopt == 2);  // the legend
    // Every bar within the picture, below the one before it, and starting
    // or ending at the same zero line.
    double width = 0, height = 0;
    const auto bars = barsOf(svg, width, height);
    ASSERT_FALSE(bars.empty());
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const Bar& b = bars[i];
        EXPECT_TRUE(b.x >= 0 && b.w >= 0 && b.x + b.w <= width && b.y >= 0 && b.y + b.h <= height) << i;
        if (i > 0) {
            EXPECT_GE(b.y, bars[i - 1].y + bars[i - 1].h) << i;
        }
    }
    auto allTouch = [&](double zero) {
        for (const Bar& b : bars)
            if (std::fabs(b.x - zero) > 0.01 && std::fabs(b.x + b.w - zero) > 0.01) return false;
        return true;
    };
    EXPECT_TRUE(allTouch(bars[0].x) || allTouch(bars[0].x + bars[0].w));
}

INSTANTIATE_TEST_SUITE_P(All, Examples, testing::Values("dairy", "meat", "extensive"));

// Three evaluated traits: 5 x 0.4 = 2, -3.5 x 4 = -14 and 0.4 x 10 = 4,
// 20 in absolute value; trait 4 has an sd but is skipped without
// artificial rearing and stays out of the sum.
TEST(Export, RelativeEmphasisWorkedByHand) {
    const auto m = std::make_unique<Model>();
    resetModel(*m);
    m->crossing = 1, m->ewopt = 0, m->typew = 1, m->typeb = 1;
    m->evp[1][1] = 5, m->evp[8][1] = -3.5, m->evp[22][1] = 0.4, m->evp[4][1] = 7;
    exporting::SdTable sd;
    const std::pair<int, double> given[] = {{1, 0.4}, {8, 4.0}, {22, 10.0}, {4, 1.0}};
    for (auto [t, s] : given) sd.sd[t] = s, sd.has[t] = true;
    const std::string csv = capture([&](std::FILE* f) { return exporting::writeCsv(*m, &sd, f); });
    std::map<int, std::vector<std::string>> row;
    for (const auto& r : parseCsv(csv)) row[std::atoi(r[0].c_str())] = r;
    EXPECT_NEAR(std::stod(row[1][10]), 10, 1e-12);
    EXPECT_NEAR(std::stod(row[8][10]), -70, 1e-12);
    EXPECT_NEAR(std::stod(row[22][10]), 20, 1e-12);
    EXPECT_NEAR(std::stod(row[8][9]), -14, 1e-12);
    EXPECT_EQ(row[4][4] + row[4][10], "skippedNA");
    EXPECT_EQ(row[2][8], "NA");  // no sd given
    EXPECT_NE(csv.find("\n20,\"Conception rate of young females, 1st mating\",per cent,"), std::string::npos);
    const std::string svg = capture([&](std::FILE* f) { return exporting::writeChart(*m, sd, f); });
    expectWellFormed(svg);
    EXPECT_NE(svg.find(">-70.0</text>"), std::string::npos);
    // Bar lengths in proportion to the emphasis: 10, -70 and 20.
    double width = 0, height = 0;
    const auto bars = barsOf(svg, width, height);
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_NEAR(bars[1].w / bars[0].w, 7, 0.01);
    EXPECT_NEAR(bars[2].w / bars[0].w, 2, 0.01);
    EXPECT_NEAR(bars[1].x + bars[1].w, bars[0].x, 0.01);  // the negative bar ends at the zero line
}

TEST(Export, SdTableIsReadAndItsFaultsNameTheLine) {
    TempDir dir;
    exporting::SdTable sd;
    std::string error;
    dir.write("ok", "# comment\n\n 1, 0.25\r\n22\t15\n");
    ASSERT_TRUE(exporting::readSdTable((dir / "ok").string(), sd, error)) << error;
    EXPECT_TRUE(sd.has[1] && sd.has[22] && !sd.has[2]);
    EXPECT_EQ(sd.sd[1], 0.25);
    EXPECT_EQ(sd.sd[22], 15);
    // The example table gives an sd only for traits the dairy example evaluates.
    ASSERT_TRUE(exporting::readSdTable(std::string(KARVEL1_SOURCE_DIR) + "/examples/dairy/SD.TXT", sd, error)) << error;
    for (int t = 1; t <= 35; ++t) EXPECT_TRUE(!sd.has[t] || evaluated(exampleModel("dairy"), t, 1)) << t;

    const std::pair<const char*, const char*> cases[] = {
        {"1 0.5\n36 1\n", "bad, line 2: the trait number 36 is not from 1 to 35"},
        {"0 1", "line 1: the trait number 0 is not"},
        {"2.5 1", "line 1: the trait number \"2.5\" is not a whole number"},
        {"# c\n3 abc\n", "line 2: the standard deviation \"abc\" is not a number"},
        {"3 -1", "line 1: the standard deviation -1 of trait 3 is negative"},
        {"3 inf", "is not finite"},
        {"3 nan", "is not finite"},
        {"3 1e999", "is not finite"},
        {"3 1\n\n3 2\n", "line 3: trait 3 is given a second time (first on line 1)"},
        {"3\n", "line 1: expected a trait number and a standard deviation, found 1 value"},
        {"3 1 2\n", "found 3 values"},
    };
    for (const auto& [text, message] : cases) {
        dir.write("bad", text);
        exporting::SdTable out;
        out.has[5] = true;
        EXPECT_FALSE(exporting::readSdTable((dir / "bad").string(), out, error)) << text;
        EXPECT_NE(error.find(message), std::string::npos) << error;
        EXPECT_EQ(error.rfind((dir / "bad").string(), 0), 0u) << error;
        EXPECT_TRUE(out.has[5]) << "the table is left as it was";
    }
    EXPECT_FALSE(exporting::readSdTable((dir / "none").string(), sd, error));
    EXPECT_NE(error.find("none: the file cannot be opened"), std::string::npos) << error;
}
