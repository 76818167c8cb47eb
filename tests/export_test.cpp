// The machine-readable outputs of the weights, read back: on the example
// systems the CSV table has a row per trait and column with the model's
// weights to 8 digits, the JSON document has them in full, the relative
// emphasis of each column sums to 100 in absolute value, a sweep table joins
// runs of different systems and the chart is well-formed XML with one bar
// per trait and column; the relative emphasis worked by hand; the faults of
// a table of standard deviations.  (The agreement of the CSV table with the
// results file is tested on every system in examples_test.cpp.)
#include "report/export.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

#include "economics/weights.h"
#include "example_run.h"

namespace {

using testutil::TempDir;
using testutil::capture;
using testutil::parseCsv;
using Table = testutil::CsvTable;

const testutil::ExampleRun& exampleRun(const std::string& name) {
    static std::map<std::string, std::unique_ptr<testutil::ExampleRun>> runs;
    auto& r = runs[name];
    if (!r) r = testutil::runExample(name);
    EXPECT_EQ(r->status, 0);
    return *r;
}
const Model& exampleModel(const std::string& name) { return *exampleRun(name).model; }

// A standard deviation for every trait, unlike from trait to trait.
exporting::SdTable everyTrait() {
    exporting::SdTable sd;
    for (int t = 1; t <= 35; ++t) sd.sd[t] = 0.1 * t, sd.has[t] = true;
    return sd;
}

int column(const std::string& name) { return name == "pure-bred" ? 1 : name == "cross-bred" ? 2 : 0; }
bool evaluated(const Model& m, int t, int k) {
    return k ? weights::evaluated(m, t, k) : weights::evaluated(m, t, 1) || weights::evaluated(m, t, 2);
}

// The significant digits of a number's text, which may not end in a zero
// after the point.
int significantDigits(const std::string& text) {
    const std::string mantissa = text.substr(0, text.find_first_of("eE"));
    EXPECT_FALSE(mantissa.find('.') != std::string::npos && mantissa.back() == '0') << text;
    std::string digits;
    for (char c : mantissa)
        if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? 1 : int(digits.size() - first);
}

// The value v to 8 significant digits: x differs from it by at most half a
// unit of the 8th digit.
void expectEightDigits(const std::string& x, double v, const std::string& where) {
    EXPECT_LE(significantDigits(x), 8) << where << ": " << x;
    EXPECT_LE(std::fabs(std::strtod(x.c_str(), nullptr) - v), 5.000001e-8 * std::fabs(v)) << where << ": " << x;
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
    std::set<std::string> keys;
    for (int t = 1; t <= 35; ++t) {
        char label[200];
        std::snprintf(label, sizeof label, "\"%2d %s (%s) ", t, exporting::trait(t).name, exporting::trait(t).unit);
        EXPECT_NE(texts.find(label), std::string::npos) << label;
        // Keys are names in R and in spreadsheets.
        const std::string key = exporting::trait(t).key;
        EXPECT_TRUE(keys.insert(key).second) << key;
        EXPECT_EQ(key.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_"), std::string::npos) << key;
    }
}

// One row per trait and column of the system, in order; numbers to 8
// significant digits; 0 for a trait the system has but the loop skips, NA
// for one it lacks and for evdiff where it is not formed; the relative
// emphasis of each column sums to 100 in absolute value.
TEST_P(Examples, CsvHasARowPerTraitAndColumn) {
    const Model& m = exampleModel(GetParam());
    const exporting::SdTable sd = everyTrait();
    const Table rows = parseCsv(capture([&](std::FILE* f) { return exporting::writeCsv(m, &sd, f); }));
    ASSERT_EQ(rows[0], (std::vector<std::string>{"trait", "name", "unit", "column", "status", "weight", "weight_1pct",
                                                 "evdiff_pct", "sd", "std_weight", "emphasis_pct"}));
    const std::vector<int> cols = m.ewopt == 0 ? std::vector<int>{1} : m.ewopt == 1 ? std::vector<int>{2}
                                                                                    : std::vector<int>{1, 2, 0};
    ASSERT_EQ(rows.size(), 1 + 35 * cols.size());
    std::map<int, double> absSum;
    std::map<std::string, int> statuses;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const auto& r = rows[i];
        ASSERT_EQ(r.size(), 11u);
        const int t = std::stoi(r[0]), k = column(r[3]);
        const std::string where = r[0] + " " + r[3];
        EXPECT_EQ(t, int(i - 1) / int(cols.size()) + 1);
        EXPECT_EQ(k, cols[(i - 1) % cols.size()]);
        ++statuses[r[4]];
        EXPECT_EQ(r[4] == "evaluated", evaluated(m, t, k)) << where;
        if (r[4] == "not in this system") {
            for (int f : {5, 6, 7, 9, 10}) EXPECT_EQ(r[f], "NA") << where;
            continue;
        }
        if (r[4] == "skipped") {
            EXPECT_EQ(r[5] + r[6] + r[7], "00NA") << where;
        } else {
            ASSERT_EQ(r[4], "evaluated");
            expectEightDigits(r[5], m.evp[t][k], where);
        }
        // evdiff is the difference of the two weights in per cent of the
        // weight, whatever unit both are reported in; the combined column
        // has none.
        const double w = std::stod(r[5]), w1 = std::stod(r[6]);
        if (k == 0) {
            EXPECT_EQ(r[7], "NA") << where;
        }
        if (r[7] != "NA") {
            expectEightDigits(r[7], m.evdiff[t][k], where);
            EXPECT_NEAR((w - w1) * 100 / w, std::stod(r[7]), 1e-4 + 1e-4 * std::fabs(std::stod(r[7]))) << where;
        }
        expectEightDigits(r[9], m.evp[t][k] * 0.1 * t, where);
        absSum[k] += std::fabs(std::stod(r[10]));
    }
    // Each share is rounded to 8 digits: up to 5e-7 each.
    for (const auto& [k, sum] : absSum) EXPECT_NEAR(sum, 100, 1e-5) << k;
    EXPECT_GT(statuses["evaluated"], 10);
    EXPECT_GT(statuses["not in this system"], 0);
    // combined = pure-bred + half cross-bred, also for the weights of the
    // 1 % changes.
    if (m.ewopt == 2)
        for (int t : {1, 8, 35}) {
            const auto& r = rows[1 + 3 * (t - 1)];
            EXPECT_NEAR(std::stod(rows[3 * t][6]), std::stod(r[6]) + 0.5 * std::stod(rows[2 + 3 * (t - 1)][6]), 1e-5);
        }
}

// The JSON document has the rows of the CSV table, with the model's doubles
// in full (those CHECKS1 prints) and null for NA; every number is the
// shortest text that reads back to its double.
TEST_P(Examples, JsonHoldsTheModelsNumbers) {
    const testutil::ExampleRun& run = exampleRun(GetParam());
    const Model& m = *run.model;
    const std::vector<exporting::ChangedValue> changes = {{"prlwwL[2]", "INPUTS13.TXT", 4, "2.50", "say \"3\"\\"}};
    const std::string text = capture([&](std::FILE* f) { return exporting::writeJson(m, nullptr, changes, f); });
    const auto j = nlohmann::json::parse(text);
    EXPECT_EQ(j["system"]["ewopt"], m.ewopt);
    EXPECT_EQ(j["totals"]["Tprof"].get<double>(), double(m.Tprof));
    EXPECT_EQ(j["flock"]["replacement_rate"].get<double>(), m.l4E[1]);
    const auto& litter = j["flock"]["litter_size_by_cycle"];  // cycles 1 .. LL
    ASSERT_EQ(litter.size(), std::size_t(m.LL));
    EXPECT_EQ(litter.back().get<double>(), double(m.avlitpE[m.LL]));
    EXPECT_EQ(j["changes"][0]["to"], "say \"3\"\\");

    const Table csv = parseCsv(capture([&](std::FILE* f) { return exporting::writeCsv(m, nullptr, f); }));
    ASSERT_EQ(j["weights"].size(), csv.size() - 1);
    for (std::size_t i = 0; i < j["weights"].size(); ++i) {
        const auto& w = j["weights"][i];
        const int t = w["trait"], k = column(w["column"]);
        EXPECT_EQ(std::to_string(t) + w["column"].get<std::string>() + w["status"].get<std::string>(),
                  csv[i + 1][0] + csv[i + 1][3] + csv[i + 1][4]);
        if (w["status"] == "not in this system") {
            EXPECT_TRUE(w["weight"].is_null() && w["weight_1pct"].is_null()) << t << " " << k;
            continue;
        }
        EXPECT_EQ(w["weight"].get<double>(), double(m.evp[t][k])) << t << " " << k;
        EXPECT_EQ(w["evdiff_pct"].is_null(), csv[i + 1][7] == "NA") << t << " " << k;
        // The dump prints a weight whose magnitude exceeds 1e-6.
        if (k != 0 && evaluated(m, t, k) && std::fabs(m.evp[t][k]) > 1e-6) {
            char line[80];
            std::snprintf(line, sizeof line, "\nevp[%d][%d] = %12.4f\n", t, k, w["weight"].get<double>());
            EXPECT_NE(run.checks1.find(line), std::string::npos) << line;
        }
    }
    // No number of the text (outside its strings) reads back to its double
    // with fewer digits.
    std::string numbersOnly = text;
    for (std::size_t a = 0; (a = numbersOnly.find('"', a)) != std::string::npos;) {
        std::size_t b = a + 1;
        while (numbersOnly[b] != '"') b += numbersOnly[b] == '\\' ? 2 : 1;
        numbersOnly.replace(a, b + 1 - a, b + 1 - a, ' ');
        a = b + 1;
    }
    int numbers = 0;
    for (std::size_t a = numbersOnly.find_first_of("-0123456789"); a != std::string::npos;
         a = numbersOnly.find_first_of("-0123456789", a)) {
        const std::size_t b = numbersOnly.find_first_not_of("-+.eE0123456789", a);
        const std::string x = numbersOnly.substr(a, b - a);
        a = b;
        if (x.find_first_of(".eE") == std::string::npos) continue;  // whole numbers, dates in strings
        const double d = std::strtod(x.c_str(), nullptr);
        char shorter[400];
        std::snprintf(shorter, sizeof shorter, "%.*g", significantDigits(x) - 1, d);
        EXPECT_TRUE(significantDigits(x) == 1 || std::strtod(shorter, nullptr) != d) << x << " as " << shorter;
        ++numbers;
    }
    EXPECT_GT(numbers, 50);
}

// A sweep table of runs whose systems have different weight columns (the
// dairy example has the pure-bred one, the meat example all three) and of a
// run that failed: the header names each trait and column, a run's numbers
// are those of its CSV table, and NA fills what a run lacks.
TEST(Export, SweepTableJoinsTheColumnsOfItsRuns) {
    const exporting::SdTable sd = everyTrait();
    std::vector<exporting::SweepRow> rows(3);
    rows[0] = {{"1", "a"}, true, "ok", "", exporting::sweepNumbers(exampleModel("dairy"), &sd)};
    rows[1] = {{"2", "b"}, false, "stopped", "In the input file X, record 6, is 1.5 # not, \"from 0 to 1\"", {}};
    rows[2] = {{"3", "c"}, true, "ok", "", exporting::sweepNumbers(exampleModel("meat"), &sd)};
    const std::string text = capture([&](std::FILE* f) {
        return exporting::writeSweep({"--set prlwwL[2]=3.1", "--scale mwE[1]=1.1"}, {"prclfL[2]", "b"}, true, rows, f);
    });
    EXPECT_EQ(text.rfind("# --set prlwwL[2]=3.1\n# --scale mwE[1]=1.1\nprclfL[2],b,status,message,Tprof,w1_pure_birth_weight,", 0), 0u);
    const Table t = parseCsv(text.substr(text.find("\nprclfL") + 1));
    ASSERT_EQ(t.size(), 4u);
    ASSERT_EQ(t[0].size(), 5u + 3 * 3 * 35);
    EXPECT_EQ(t[0][5 + 35 + 21], "w22_cross_litter_size");
    EXPECT_EQ(t[0][5 + 105 + 70], "std1_combined_birth_weight");
    EXPECT_EQ(t[0][5 + 210 + 34], "emph35_pure_fleece_weight");
    EXPECT_EQ(t[2][3], rows[1].message);
    EXPECT_EQ(t[3][2] + t[3][3], "ok");
    for (std::size_t f = 4; f < t[0].size(); ++f) EXPECT_EQ(t[2][f], "NA") << t[0][f];
    // Each complete row has its example's numbers, NA in the columns its
    // system lacks.
    const std::pair<int, const char*> runs[] = {{1, "dairy"}, {3, "meat"}};
    for (const auto& [i, example] : runs) {
        const Model& m = exampleModel(example);
        expectEightDigits(t[i][4], m.Tprof, example);
        std::map<std::string, std::vector<std::string>> csv;
        for (const auto& r : parseCsv(capture([&](std::FILE* f) { return exporting::writeCsv(m, &sd, f); })))
            csv[r[0] + r[3]] = r;
        for (int g = 0; g < 3; ++g)
            for (int c = 0; c < 3; ++c)
                for (int tr = 1; tr <= 35; ++tr) {
                    const char* name[3] = {"pure-bred", "cross-bred", "combined"};
                    const std::size_t f = 5 + std::size_t(g * 105 + c * 35 + tr - 1);
                    const auto r = csv.find(std::to_string(tr) + name[c]);
                    const std::string expected = r == csv.end() ? "NA" : r->second[g == 0 ? 5 : g == 1 ? 9 : 10];
                    EXPECT_EQ(t[i][f], expected) << example << " " << t[0][f];
                }
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
    EXPECT_EQ(row[4][4] + row[4][10], "not in this systemNA");  // no artificial rearing
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
