// The machine-readable outputs of the weights, read back: on the example
// systems the CSV weights give the digits of the results file, the JSON
// document holds the model's numbers, the relative emphasis of each column
// sums to 100 in absolute value and the chart is well-formed XML with one
// bar per trait and column; a small case of the relative emphasis worked by
// hand; the faults of a table of standard deviations.
#include "report/export.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Trait number -> the weight that section 3.14 of a golden results file prints.
std::map<int, std::string> resultsWeights(const std::string& example) {
    const std::string r = testutil::readFile(std::string(KARVEL1_SOURCE_DIR) + "/tests/golden/" + example + "/RESULTS.TXT");
    std::map<int, std::string> w;
    std::size_t a = r.find('\n', r.find("Trait (unit)")) + 1;
    for (std::size_t b; (b = r.find('\n', a)) != a; a = b + 1) {
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
float number(const std::string& s) { return std::strtof(s.c_str(), nullptr); }

// Well-formed XML: balanced tags, quoted attributes, entities only where
// text holds '&'.  xmllint checks it again where it is installed.
void expectWellFormed(const std::string& x, const TempDir& dir) {
    std::vector<std::string> open;
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (x[i] == '&') {
            const std::string entity = x.substr(i, x.find(';', i) + 1 - i);
            EXPECT_TRUE(entity == "&lt;" || entity == "&gt;" || entity == "&amp;" || entity == "&quot;" ||
                        entity == "&apos;") << entity;
        }
        if (x[i] != '<') continue;
        const std::size_t e = x.find('>', i);
        ASSERT_NE(e, std::string::npos);
        const std::string tag = x.substr(i + 1, e - i - 1);
        ASSERT_EQ(tag.find('<'), std::string::npos) << tag;
        ASSERT_EQ(std::count(tag.begin(), tag.end(), '"') % 2, 0) << tag;
        const std::string name = tag.substr(tag[0] == '/', tag.find_first_of(" />", 1) - (tag[0] == '/'));
        if (tag[0] == '/') {
            ASSERT_FALSE(open.empty());
            EXPECT_EQ(open.back(), name);
            open.pop_back();
        } else if (tag[0] != '?' && tag.back() != '/') {
            open.push_back(name);
        }
        i = e;
    }
    EXPECT_TRUE(open.empty());
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
    const std::map<int, std::string> printed = resultsWeights(GetParam());
    const int printedColumn = m.ewopt == 0 ? 1 : m.ewopt == 1 ? 2 : 0;
    std::map<int, double> absSum;
    std::map<std::pair<int, int>, const std::vector<std::string>*> byKey;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const auto& r = rows[i];
        ASSERT_EQ(r.size(), 11u);
        const int t = std::stoi(r[0]), k = column(r[3]);
        byKey[{t, k}] = &r;
        EXPECT_EQ(r[1], exporting::trait(t).name);
        const bool evaluated = k == 0 ? weights::evaluated(m, t, 1) || weights::evaluated(m, t, 2) : weights::evaluated(m, t, k);
        ASSERT_EQ(r[4], evaluated ? "evaluated" : "skipped") << t << " " << k;
        if (!evaluated) {
            for (int f : {5, 6, 9, 10}) EXPECT_EQ(r[f], "NA") << t << " " << k;
            continue;
        }
        // evdiff is the difference of the two weights in per cent of the
        // weight, whatever the unit they are both reported in.
        const double w = std::stod(r[5]), w1 = std::stod(r[6]);
        if (k != 0 && r[7] != "NA") {
            EXPECT_NEAR((w - w1) * 100 / w, std::stod(r[7]), 1e-4 + 1e-4 * std::fabs(std::stod(r[7]))) << t;
        }
        EXPECT_EQ(r[7] == "", k == 0);
        EXPECT_NEAR(std::stod(r[9]), w * 0.1 * t, 1e-12 * std::fabs(w * t)) << t;
        absSum[k] += std::fabs(std::stod(r[10]));
    }
    for (const auto& [k, sum] : absSum) EXPECT_NEAR(sum, 100, 1e-9) << k;
    // Every weight of the results file: the digits of the row's weight, or
    // 0 where the row is skipped or missing (no cross-bred slot).
    for (const auto& [t, text] : printed) {
        const auto r = byKey.find({t, printedColumn});
        char s[40] = "0.000";
        if (r != byKey.end() && (*r->second)[4] == "evaluated")
            std::snprintf(s, sizeof s, "%.3f", double(number((*r->second)[5])));
        EXPECT_EQ(text, s) << "trait " << t;
    }
    // One row per trait and column of the system; the cross-bred column
    // only for the traits that have a cross-bred slot; the combined row is
    // pure-bred plus half the cross-bred weight.
    for (int t = 1; t <= 35; ++t)
        for (int k : {1, 2, 0}) {
            const bool exists = m.ewopt == 2 ? (k != 2 || weights::hasColumn(t, 2)) : k == (m.ewopt == 0 ? 1 : 2) && weights::hasColumn(t, k);
            ASSERT_EQ(byKey.count({t, k}), exists ? 1u : 0u) << t << " " << k;
        }
    for (int t : {1, 8, 35})
        if (m.ewopt == 2) {
            EXPECT_NEAR(std::stod((*byKey[{t, 0}])[6]), std::stod((*byKey[{t, 1}])[6]) + 0.5 * std::stod((*byKey[{t, 2}])[6]), 1e-5);
        }
}

TEST_P(Examples, JsonHoldsTheModelsNumbersAndTheChanges) {
    const Model& m = exampleModel(GetParam());
    const std::vector<exporting::ChangedValue> changes = {{"prlwwL[2]", "INPUTS13.TXT", 4, "2.50", "say \"3\"\\"}};
    const auto j = nlohmann::json::parse(capture([&](std::FILE* f) { return exporting::writeJson(m, nullptr, changes, f); }));
    EXPECT_EQ(j["program"]["name"], "KARVEL1");
    EXPECT_EQ(j["system"]["ewopt"], m.ewopt);
    EXPECT_EQ(j["system"]["lf_castrate"], m.lf[0]);
    EXPECT_EQ(j["totals"]["Tprof"].get<float>(), m.Tprof.f());
    EXPECT_EQ(j["totals"]["Trev"].get<float>(), m.Trev.f());
    EXPECT_EQ(j["flock"]["replacement_rate"].get<double>(), m.l4E[1]);
    double states = 0;
    for (double s : j["flock"]["ewe_states_fraction"]) states += s;
    EXPECT_NEAR(states, 1, 1e-9);
    EXPECT_EQ(j["flock"]["litter_size_by_cycle"].size(), std::size_t(m.LL));
    EXPECT_EQ(j["changes"][0]["to"], "say \"3\"\\");
    EXPECT_EQ(j["changes"][0]["record"], 4);
    int evaluated = 0;
    for (const auto& w : j["weights"]) {
        const int t = w["trait"], k = column(w["column"]);
        if (w["status"] == "skipped") {
            EXPECT_TRUE(w["weight"].is_null());
            continue;
        }
        ++evaluated;
        EXPECT_EQ(w["weight"].get<float>(), m.evp[t][k].f()) << t << " " << k;
        EXPECT_FALSE(w.contains("sd"));
    }
    EXPECT_GT(evaluated, 10);
}

TEST_P(Examples, ChartHasOneBarPerTraitWithSdAndColumn) {
    const Model& m = exampleModel(GetParam());
    const exporting::SdTable sd = everyTrait();
    const Table rows = parseCsv(capture([&](std::FILE* f) { return exporting::writeCsv(m, &sd, f); }));
    std::map<std::string, int> bars;
    for (const auto& r : rows)
        if (r[4] == "evaluated" && r[3] != "combined") ++bars[r[3] == "pure-bred" ? "pure" : "cross"];
    const std::string svg = capture([&](std::FILE* f) { return exporting::writeChart(m, sd, f); });
    TempDir dir;
    expectWellFormed(svg, dir);
    for (const char* k : {"pure", "cross"}) {
        int n = 0;
        for (std::size_t p = svg.find(std::string("class=\"bar ") + k + "\""); p != std::string::npos; p = svg.find(std::string("class=\"bar ") + k + "\"", p + 1)) ++n;
        EXPECT_EQ(n, bars[k]) << k;
    }
    EXPECT_EQ(svg.find(">cross-bred</text>") != std::string::npos, m.ewopt == 2);
}

TEST_P(Examples, SweepRowHasTheProfitAndAWeightPerColumn) {
    const Model& m = exampleModel(GetParam());
    const Table t = parseCsv(capture([&](std::FILE* f) {
        return exporting::writeSweepHeader(m, "prlwwL[1], \"EUR\"", f) && exporting::writeSweepRow(m, "2.5", f);
    }));
    ASSERT_EQ(t.size(), 2u);
    ASSERT_EQ(t[0].size(), t[1].size());
    EXPECT_EQ(t[0][0], "prlwwL[1], \"EUR\"");
    EXPECT_EQ(t[1][0], "2.5");
    EXPECT_EQ(number(t[1][1]), m.Tprof.f());
    for (std::size_t i = 2; i < t[0].size(); ++i) {
        const std::string& h = t[0][i];
        const int trait = std::stoi(h.substr(1)), k = column(h.substr(h.find('_') + 1) + "-bred");
        const bool evaluated = k == 0 ? weights::evaluated(m, trait, 1) || weights::evaluated(m, trait, 2) : weights::evaluated(m, trait, k);
        if (evaluated) EXPECT_EQ(number(t[1][i]), m.evp[trait][k].f()) << h;
        else EXPECT_EQ(t[1][i], "NA") << h;
    }
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
    std::map<int, std::vector<std::string>> row;
    for (const auto& r : parseCsv(capture([&](std::FILE* f) { return exporting::writeCsv(*m, &sd, f); }))) row[std::atoi(r[0].c_str())] = r;
    EXPECT_NEAR(std::stod(row[1][10]), 10, 1e-12);
    EXPECT_NEAR(std::stod(row[8][10]), -70, 1e-12);
    EXPECT_NEAR(std::stod(row[22][10]), 20, 1e-12);
    EXPECT_NEAR(std::stod(row[8][9]), -14, 1e-12);
    EXPECT_EQ(row[4][4], "skipped");
    EXPECT_EQ(row[4][10], "NA");
    EXPECT_EQ(row[2][8], "NA");  // no sd given
    const std::string csv = capture([&](std::FILE* f) { return exporting::writeCsv(*m, &sd, f); });
    EXPECT_NE(csv.find("\n20,\"Conception rate of young females, 1st mating\",per cent,"), std::string::npos);
    const std::string svg = capture([&](std::FILE* f) { return exporting::writeChart(*m, sd, f); });
    TempDir dir;
    expectWellFormed(svg, dir);
    EXPECT_NE(svg.find(">-70.0</text>"), std::string::npos);
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
    ASSERT_TRUE(exporting::readSdTable(std::string(KARVEL1_SOURCE_DIR) + "/examples/dairy/SD.TXT", sd, error)) << error;
    // The example table gives an sd only for traits the dairy example evaluates.
    const Model& dairy = exampleModel("dairy");
    for (int t = 1; t <= 35; ++t)
        EXPECT_TRUE(!sd.has[t] || weights::evaluated(dairy, t, 1)) << t;

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
        error.clear();
        EXPECT_FALSE(exporting::readSdTable((dir / "bad").string(), out, error)) << text;
        EXPECT_NE(error.find(message), std::string::npos) << error;
        EXPECT_EQ(error.rfind((dir / "bad").string(), 0), 0u) << error;
        EXPECT_TRUE(out.has[5]) << "the table is left as it was";
    }
    EXPECT_FALSE(exporting::readSdTable((dir / "none").string(), sd, error));
    EXPECT_NE(error.find("none: the file cannot be opened"), std::string::npos) << error;
}
