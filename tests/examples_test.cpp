// Whole runs of production systems: the bundled examples and variants of
// them that take the branches the examples do not (other pricing systems,
// feed costing, weaning, crossing, replacement and weights options).  Each
// run is compared with its golden output and checked for invariants that
// hold for any input; each check of the inputs and of the model stops a
// minimally changed example with its message.
//
// Golden files are written by the program itself (KARVEL1_UPDATE_GOLDEN=1,
// never set in CI) and reviewed before they are committed: a new example's
// results file is read as a breeder would read it (labels, units and
// numbers side by side, totals that add up); a changed golden file is
// accepted only when `git diff` shows exactly the lines that the change of
// the program is meant to change; a variant's CHECKS1 is compared with the
// CHECKS1 of its example, and only the quantities that its edit touches may
// differ.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <regex>
#include <vector>

#include "example_run.h"
#include "systems.h"
#include "economics/weights.h"
#include "report/export.h"
#include "feeding/phases.h"
#include "herd/markov.h"

using testutil::Edit;
using testutil::ExampleRun;
using testutil::System;
using testutil::systems;
using testutil::value;

namespace {

bool isExample(const System& s) { return s.edits.empty(); }

// Each system is run once per test binary.
const ExampleRun& run(const System& s) {
    static std::map<std::string, std::unique_ptr<ExampleRun>> runs;
    auto& r = runs[s.name];
    if (!r) r = testutil::runExample(s.example, 1, s.edits);
    return *r;
}

class Systems : public testing::TestWithParam<System> {};

}  // namespace

TEST_P(Systems, RunsToTheEndWithFiniteNumbers) {
    const ExampleRun& r = run(GetParam());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.console.find("Error message"), std::string::npos) << r.console;
    // printf writes a non-finite value as "inf" or "nan", with its sign.
    static const std::regex nonFinite("(^|[ =-])(inf|nan)($|[ \n])");
    for (const std::string* out : {&r.checks, &r.checks1, &r.results})
        EXPECT_FALSE(std::regex_search(*out, nonFinite));
    EXPECT_NE(r.results.find("\n\nEnd of the results.\n"), std::string::npos);
}

// The examples' output files and console transcript (the prompt, the
// progress lines, the farewell) byte for byte as reviewed; the variants'
// CHECKS1, which holds every quantity of the base evaluation and the
// weights.
TEST_P(Systems, GoldenOutput) {
    const System& s = GetParam();
    const ExampleRun& r = run(s);
    if (isExample(s)) {
        testutil::expectGolden(r.results, std::string(s.name) + "/RESULTS.TXT");
        testutil::expectGolden(r.checks, std::string(s.name) + "/CHECKS");
        testutil::expectGolden(r.checks1, std::string(s.name) + "/CHECKS1");
        testutil::expectGolden(testutil::maskElapsed(r.console), std::string(s.name) + "/CONSOLE.TXT");
    } else {
        testutil::expectGolden(r.checks1, std::string("variants/") + s.name + ".CHECKS1");
    }
}

// After the economic-weight loop the model holds the base values again: the
// two dumps differ only in the loop's own lines (weights, scratch vectors
// of the threshold shifts, the evaluation counter).
TEST_P(Systems, StateAfterTheLoopIsTheBaseState) {
    const ExampleRun& r = run(GetParam());
    const auto body = [](const std::string& d) {
        std::string out;
        std::size_t a = 0;
        while (a < d.size()) {
            const std::size_t b = d.find('\n', a);
            const std::string line = d.substr(a, b - a + 1);
            const std::string name = line.substr(0, line.find_first_of("[ "));
            static const char* const kLoop[] = {"ev", "ev0", "evp", "evdiff", "pt", "pf", "pclwLqm", "pclwLql", "zr"};
            if (std::find(std::begin(kLoop), std::end(kLoop), name) == std::end(kLoop)) out += line;
            a = b == std::string::npos ? d.size() : b + 1;
        }
        return out;
    };
    EXPECT_EQ(body(r.checks1), body(r.checks));
    EXPECT_NE(r.checks1.find("\nev[1]["), std::string::npos);
    EXPECT_EQ(r.checks1.substr(r.checks1.rfind("zr = ")), "zr = 256\n");
}

TEST_P(Systems, MarkovChainsOfEwesAndRams) {
    const Model& m = *run(GetParam()).model;
    for (int X = 1; X <= m.TE; ++X) {
        double s = 0;
        for (int Y = 1; Y <= m.TE; ++Y) s += m.te[X][Y];
        EXPECT_NEAR(s, 1.0, 1e-6) << X;
    }
    for (int X = 1; X <= m.TR; ++X) {
        double s = 0;
        for (int Y = 1; Y <= m.TR; ++Y) s += m.tr[X][Y];
        EXPECT_NEAR(s, 1.0, 1e-6) << X;
    }
    // The share of ewes in their first cycle is the replacement rate: the
    // share of ewes that die or are culled.
    double leaving = 0, all = 0;
    for (int p = 1; p <= m.LL; ++p)
        for (int g = 1; g <= 3; ++g) leaving += m.l1E[(p - 1) * 5 + g];
    for (int X = 1; X <= m.TE; ++X) all += m.l1E[X];
    EXPECT_NEAR(all, 1.0, 1e-9);
    EXPECT_NEAR(m.l4E[1], leaving, 1e-7);
    EXPECT_GT(m.Nlamb, 0.5);
    EXPECT_LT(m.Nlamb, 1.0 + 1e-9);
    EXPECT_GT(double(m.avlifelE), 2.0);

    // The sparse iteration gives the dense one's vectors bit for bit.
    double s1[cap::CE], s2[cap::CE], d1[cap::CE], d2[cap::CE];
    StationaryTrace ts, td;
    ASSERT_TRUE(stationarySparse(&m.te[0][0], cap::CE, m.TE, s1, s2, cap::CE, ts));
    ASSERT_TRUE(stationaryDense(&m.te[0][0], cap::CE, m.TE, d1, d2, cap::CE, td));
    for (int i = 1; i <= m.TE; ++i) EXPECT_EQ(s1[i], d1[i]);
    for (int i = 1; i <= m.TE; ++i) EXPECT_EQ(s1[i], m.l1E[i]);
    ASSERT_TRUE(stationarySparse(&m.tr[0][0], cap::CRS, m.TR, s1, s2, cap::CRS, ts));
    ASSERT_TRUE(stationaryDense(&m.tr[0][0], cap::CRS, m.TR, d1, d2, cap::CRS, td));
    for (int i = 1; i <= m.TR; ++i) EXPECT_EQ(s1[i], d1[i]);
}

TEST_P(Systems, PlausibleProgenyWeightsAndNumbers) {
    const Model& m = *run(GetParam()).model;
    for (int cr = 1; cr <= m.crossing; ++cr)
        for (int lt = 1; lt <= m.clt; ++lt)
            for (int sex = 1; sex <= 2; ++sex) {
                if (m.NwL[cr] <= 0) continue;
                EXPECT_GT(double(m.wwL[sex][lt][cr]), double(m.bwL[sex][lt][cr]));
                EXPECT_LT(double(m.wwL[sex][lt][cr]), double(m.mwE[cr]));
            }
    // No category holds a negative number of animals; every category with
    // animals that is sold alive has a weight.
    for (int c = 1; c <= m.PP; ++c)
        for (int cr = 0; cr <= m.crossing; ++cr) EXPECT_GE(double(m.l1skL[c][cr]), -1e-9) << c << " " << cr;
    for (int c : {7, 8, 9, 10, 11, 12, 13, 15, 19, 23, 26, 32, 33, 34, 35, 36, 37, 38, 40, 43, 44, 45, 46, 47})
        for (int cr = 1; cr <= m.crossing; ++cr) {
            if (m.l1skL[c][cr] <= 1e-6) continue;
            EXPECT_GT(double(m.wP[c][cr]), 5.0) << c << " " << cr;
            EXPECT_LT(double(m.wP[c][cr]), 130.0) << c << " " << cr;
        }
    // The own female replacement enters the ewe flock at the replacement rate.
    EXPECT_NEAR(double(m.nherd[1]) * double(m.Pherd[1]), m.l4E[1], 1e-6);
    EXPECT_GT(double(m.wlE[1]), 0.6 * double(m.mwE[1]));
    EXPECT_LE(double(m.wlE[1]), double(m.mwE[1]) + 1e-3);
    // Discount factors of a positive rate lie in (0, 1].
    for (int X = 1; X <= m.TE; ++X) {
        EXPECT_GT(double(m.qaveE[X]), 0.0);
        EXPECT_LE(double(m.qaveE[X]), 1.0);
    }
    EXPECT_GT(double(m.tmilkw), 0.0);
}

// Traits that a system does not have cannot change its profit.
TEST_P(Systems, WeightsOfTraitsTheSystemLacksAreZero) {
    const Model& m = *run(GetParam()).model;
    const auto zero = [&](int t, int k) { EXPECT_EQ(double(m.ev[t][k]), 0.0) << "trait " << t << " column " << k; };
    for (int k = 1; k <= 2; ++k) {
        if (m.crossing == 1 && k == 2)
            for (int t = 1; t <= 35; ++t) zero(t, 2);
        if (m.typeb != 1)
            for (int t = 28; t <= 34; ++t) zero(t, k);
        if (m.typew == 1) {
            zero(4, k);
            zero(5, k);
            zero(25, k);
        } else {
            zero(24, k);
        }
        if (m.lf[0] + m.lf[1] + m.lf[2] == 0) {
            zero(7, k);
            zero(10, k);
        }
    }
    if (m.ewopt == 0)
        for (int t = 1; t <= 35; ++t) zero(t, 2);
    if (m.ewopt == 2) {
        for (int t = 1; t <= 35; ++t) {
            EXPECT_FLOAT_EQ(double(m.evp[t][0]), m.evp[t][1] + 0.5 * m.evp[t][2]) << t;
        }
    }
}

// The requirements, feed and water of a progeny state lie in the state's
// feeding groups only: the clearing of the next evaluation relies on it.
TEST_P(Systems, ProgenyTablesHoldValuesInTheStatesFeedingGroups) {
    const Model& m = *run(GetParam()).model;
    const auto check = [&](const char* name, const auto& table) {
        for (int i = 0; i < int(std::size(table)); ++i) {
            const FeedingGroups g = progenyGroups(i);
            for (int j = 0; j < 3; ++j)
                for (int f = 0; f < int(std::size(table[i][j])); ++f)
                    for (double v : table[i][j][f])
                        EXPECT_TRUE(v == 0 || (f >= g.first && f <= g.last)) << name << "[" << i << "][" << j << "][" << f << "]";
        }
    };
#define CHECK_TABLE(t) check(#t, m.t)
    CHECK_TABLE(nemL);
    CHECK_TABLE(negL);
    CHECK_TABLE(newL);
    CHECK_TABLE(pdimL);
    CHECK_TABLE(pdigL);
    CHECK_TABLE(pdiwL);
    CHECK_TABLE(watL);
    CHECK_TABLE(nefL);
    CHECK_TABLE(pdifL);
    CHECK_TABLE(nepL);
    CHECK_TABLE(pdipL);
    CHECK_TABLE(neL);
    CHECK_TABLE(pdiL);
    CHECK_TABLE(feL);
    CHECK_TABLE(fpdiL);
    CHECK_TABLE(ffL);
    for (int c = 0; c < cap::LT; ++c) {
        CHECK_TABLE(nembL[c]);
        CHECK_TABLE(negbL[c]);
        CHECK_TABLE(newbL[c]);
        CHECK_TABLE(pdimbL[c]);
        CHECK_TABLE(pdigbL[c]);
        CHECK_TABLE(pdiwbL[c]);
        CHECK_TABLE(nebL[c]);
        CHECK_TABLE(pdibL[c]);
        CHECK_TABLE(nepbL[c]);
        CHECK_TABLE(pdipbL[c]);
    }
#undef CHECK_TABLE
}

// The CSV table of the weights and the results file agree: every weight the
// results file prints (also as 0.000) is the CSV's weight of the trait in
// the printed column, to three decimals; a trait without a row there is
// "not in this system" with NA, unless the loop evaluated it (the weaning
// traits with artificial rearing).
TEST_P(Systems, CsvGivesEveryWeightOfTheResultsFile) {
    const ExampleRun& r = run(GetParam());
    const Model& m = *r.model;
    std::map<int, std::string> printed;
    for (std::size_t a = r.results.find('\n', r.results.find("\nTrait (unit)") + 1) + 1, b;
         (b = r.results.find('\n', a)) != a; a = b + 1) {
        const std::string line = r.results.substr(a, b - a);
        printed[std::stoi(line.substr(0, 2))] = line.substr(line.rfind(' ') + 1);
    }
    ASSERT_FALSE(printed.empty());
    const std::string column = m.ewopt == 0 ? "pure-bred" : m.ewopt == 1 ? "cross-bred" : "combined";
    int compared = 0;
    for (const auto& row : testutil::parseCsv(testutil::capture([&](std::FILE* f) { return exporting::writeCsv(m, nullptr, f); }))) {
        if (row[3] != column) continue;
        const int t = std::stoi(row[0]);
        if (printed.count(t)) {
            char text[40];
            std::snprintf(text, sizeof text, "%.3f", std::strtod(row[5].c_str(), nullptr));
            EXPECT_EQ(text, printed[t]) << "trait " << t << ": " << row[4] << " " << row[5];
            ++compared;
        } else if (row[4] != "evaluated") {
            EXPECT_EQ(row[4] + " " + row[5], "not in this system NA") << "trait " << t;
        }
    }
    EXPECT_EQ(compared, int(printed.size()));
}

INSTANTIATE_TEST_SUITE_P(All, Systems, testing::ValuesIn(systems()),
                         [](const testing::TestParamInfo<System>& i) { return std::string(i.param.name); });

namespace {

// Day runs added up again, not kept, for as long as it lives.
struct DayRunsComputed {
    DayRunsComputed() { keepDayRuns(false); }
    ~DayRunsComputed() { keepDayRuns(true); }
    DayRunsComputed(const DayRunsComputed&) = delete;
    DayRunsComputed& operator=(const DayRunsComputed&) = delete;
};

}  // namespace

// The day runs of animals that recur from one evaluation to the next are
// taken from those kept: the whole run of the large example, whose day
// loops are the longest, is the same bytes as with every run added up
// again.
TEST(KeptDayRuns, GiveTheBytesOfTheDayLoops) {
    std::unique_ptr<ExampleRun> computed;
    {
        const DayRunsComputed off;
        computed = testutil::runExample("large", 2);
    }
    const auto kept = testutil::runExample("large", 2);
    EXPECT_EQ(kept->status, 0);
    EXPECT_EQ(kept->checks, computed->checks);
    EXPECT_EQ(kept->checks1, computed->checks1);
    EXPECT_EQ(kept->results, computed->results);
}

// The kept runs of a thread outlive a run: a sweep, the fuzzer and these
// tests run several systems on one thread.  A system that differs from the
// one before only in inputs that all its own runs read alike (the
// temperature, the activity of ewes and of lambs, the weight of rams) gives
// its own bytes, not the sums kept from the system before.
TEST(KeptDayRuns, TakeNoRunOfAnotherSystem) {
    testutil::runExample("dairy", 1);  // fills the kept runs of this thread
    const std::vector<Edit> edits = {
        value("INPUTS08.TXT", "Mean ambient temperature", "10.0 17.0 12.0", "6.0 17.0 12.0"),
        value("INPUTS08.TXT", "Activity coefficient of ewes kept in the barn", "0.000", "0.004"),
        value("INPUTS08.TXT", "Activity coefficient of lambs kept in the barn", "0.000", "0.030"),
        value("INPUTS04.TXT", "Mature weight of rams\"", "95.0", "100.0"),
    };
    for (const Edit& e : edits) {
        const auto kept = testutil::runExample("dairy", 1, {e});
        std::unique_ptr<ExampleRun> computed;
        {
            const DayRunsComputed off;
            computed = testutil::runExample("dairy", 1, {e});
        }
        EXPECT_EQ(kept->status, 0) << e.to;
        EXPECT_EQ(kept->checks1, computed->checks1) << e.to;
    }
}

// The profit of these systems depends linearly on some traits: a dressing
// percentage where carcasses are paid per kg without weight classes, a
// survival rate of lambs (each later category scales with it) and the
// fleece weight.  The weights of the changes by +-1 % and +-0.5 % then
// agree, and evdiff, their difference in per cent, is 0 but for rounding.
// Real quantities stored in single precision round the profits, sums over
// days and animals, to seven digits before two nearly equal ones are
// subtracted: there most of these evdiffs exceed 0.01 per cent, and some
// reach several per cent.
TEST(LinearTraits, HaveNoCurvature) {
    const std::map<std::string, std::vector<int>> linear = {
        {"dairy", {11, 23, 24, 35}},    // culled sheep paid per kg carcass in fleshiness and fat classes
        {"meat", {9, 10, 23, 25, 35}},  // lambs per kg carcass, fattened lambs in fleshiness and fat classes
        {"extensive", {11, 23, 24, 35}},    // culled sheep per kg carcass
        {"large", {10, 11, 23, 25, 35}},    // fattened lambs and culled sheep in fleshiness and fat classes
    };
    for (const auto& [example, traits] : linear) {
        const System* s = nullptr;
        for (const System& x : systems())
            if (x.name == example) s = &x;
        ASSERT_NE(s, nullptr);
        const Model& m = *run(*s).model;
        int checked = 0;
        for (int t : traits)
            for (int k = 1; k <= 2; ++k) {
                if (!weights::evaluated(m, t, k)) continue;
                EXPECT_LT(std::fabs(double(m.evdiff[t][k])), 1e-3) << example << ": trait " << t << ", column " << k;
                ++checked;
            }
        EXPECT_GE(checked, int(traits.size())) << example;
    }
}

// Values at the limits of their checks are accepted: the sale ages of
// breeding lambs on the days of the breeding seasons that bound them.
TEST(Limits, SaleAgesAtTheBreedingSeasonsAreAccepted) {
    const auto age = [](const char* from, const char* to, const char* record) {
        return std::vector<std::string>{std::string(from) + "\n\"Age at sale of breeding " + record,
                                        std::string(to) + "\n\"Age at sale of breeding " + record};
    };
    // The dairy example's breeding seasons fall on days 209 and 574 of age,
    // weaning on day 30.
    const std::vector<std::vector<std::vector<std::string>>> cases = {
        {age("150.0", "209", "female lambs sold before"), age("300.0", "574", "female lambs sold between"),
         age("160.0", "208", "male lambs sold before"), age("330.0", "209", "male lambs sold between")},
        {age("150.0", "30", "female lambs sold before"), age("300.0", "210", "female lambs sold between"),
         age("330.0", "574", "male lambs sold between")},
    };
    for (const auto& edits : cases) {
        testutil::TempDir dir;
        testutil::copyExample("dairy", dir);
        for (const auto& e : edits) testutil::applyEdit(dir, {"INPUTS04.TXT", e[0].c_str(), e[1].c_str()});
        const auto r = testutil::runKarvel1(dir, "RESULTS.TXT\n");
        EXPECT_EQ(r.status, 0) << r.out;
    }
}

// ---- a minimal change of an example stops the run with its message -----
//
// One row for every check of the inputs and of the model: the example, the
// file, the text changed and the message expected after "Error message:".

namespace {

struct Change {
    const char* name;
    const char* example;
    const char* file;
    const char* from;
    const char* to;
    const char* message;   // expected after "Error message:\n"
};

class ExampleCheck : public testing::TestWithParam<Change> {};

}  // namespace

TEST_P(ExampleCheck, StopsWithItsMessage) {
    const Change& c = GetParam();
    testutil::TempDir dir;
    testutil::copyExample(c.example, dir);
    std::string text = dir.read(c.file);
    const auto at = text.find(c.from);
    ASSERT_NE(at, std::string::npos) << c.from;
    ASSERT_EQ(text.find(c.from, at + 1), std::string::npos) << "ambiguous: " << c.from;
    text.replace(at, std::string(c.from).size(), c.to);
    dir.write(c.file, text);
    const auto r = testutil::runKarvel1(dir, "RESULTS.TXT\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(std::string("\n\n\nError message:\n") + c.message), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("The program needed "), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ExampleCheck,
    testing::Values(
        // Values outside their allowed ranges.
        Change{"FatteningTooLong", "dairy", "INPUTS05.TXT", "36.0\n\"Fattening target of male lambs\"",
               "400.0\n\"Fattening target of male lambs\"",
               "The fattening of male lambs to target 1 ends at an age of "},
        Change{"RamFlushingTooLong", "dairy", "INPUTS08.TXT", "21\n\"Flushing of rams before the breeding season\"",
               "2147483647\n\"Flushing of rams before the breeding season\"",
               "In the input file INPUTS08.TXT, record 13 (line 27, Flushing of rams before the breeding season) is 2.14748e+09,\n"
               "  but it must be from 0 to 365. Correct the record and restart the program.\n"},
Change{"MilkFatLimitAbove100", "dairy", "INPUTS11.TXT", "6.00 7.00 8.00\n", "6.00 7.00 108.00\n",
               "In the input file INPUTS11.TXT, value 3 of record 7 "
               "(line 12, Class limits for fat content) is 108,\n"
               "  but it must be from 0 to 100. Correct the record and restart the program.\n"},
        Change{"MilkFatReferenceNegative", "dairy", "INPUTS11.TXT", " 0.000 0.020 7.00\n", " 0.000 0.020 -7.00\n",
               "In the input file INPUTS11.TXT, value 9 of record 10 (line 20, Fat classes: payment, payment per per cent above the reference, reference) is -7,\n"
               "  but it must be from 0 to 100. Correct the record and restart the program.\n"},
        Change{"EweDressingAbove100", "dairy", "INPUTS12.TXT",
               "42.0\n" "\"Dressing percentage of ewes\"",
               "142.0\n" "\"Dressing percentage of ewes\"",
               "In the input file INPUTS12.TXT, record 22 (line 47, Dressing percentage of ewes) is 142,\n"
               "  but it must be from 10 to 100. Correct the record and restart the program.\n"},
        Change{"CarcassWeightVariationNegative", "extensive", "INPUTS13.TXT",
               "15.0\n" "\"Coefficient",
               "-15.0\n" "\"Coefficient",
               "In the input file INPUTS13.TXT, record 18 (line 33, Coefficient of variation of carcass weight) is -15,\n"
               "  but it must be from 0 to 100. Correct the record and restart the program.\n"},
        Change{"WeanedQualityWithinWeightAbove1", "extensive", "INPUTS13.TXT", "0.70 0.30\n", "1.70 -0.70\n",
               "In the input file INPUTS13.TXT, value 1 of record 20 "
               "(line 39, Pure-bred lambs of carcass weight below 7 kg by quality class) is 1.7,\n"
               "  but it must be from 0 to 1. Correct the record and restart the program.\n"},
        Change{"FattenedFrequencyAbove1", "dairy", "INPUTS14.TXT",
               "0.25 0.55 0.20\n" "\"Fattened lambs by",
               "1.25 -0.45 0.20\n" "\"Fattened lambs by",
               "In the input file INPUTS14.TXT, value 1 of record 9 "
               "(line 15, Fattened lambs by carcass quality class) is 1.25,\n"
               "  but it must be from 0 to 1. Correct the record and restart the program.\n"},
        Change{"FattenedDressingAbove100", "meat", "INPUTS14.TXT", "48.0 49.0\n", "48.0 149.0\n",
               "In the input file INPUTS14.TXT, value 2 of record 16 "
               "(line 29, Dressing percentage of fattened pure-bred male lambs, variants 1 and 2) is 149,\n"
               "  but it must be from 0 to 100. Correct the record and restart the program.\n"},
        Change{"FattenedFleshFatFrequencyNegative", "meat", "INPUTS14.TXT",
               "0.005 0.010 0.005 0.005\n",
               "-0.005 0.010 0.015 0.005\n",
               "In the input file INPUTS14.TXT, value 1 of record 26 (line 52, Fattened pure-bred lambs by fleshiness (rows) and fat covering (columns)) is -0.005,\n"
               "  but it must be from 0 to 1. Correct the record and restart the program.\n"},
Change{"EweCullingFraction", "dairy", "INPUTS01.TXT", "0.040 0.050 0.070 0.090 0.120 0.150 0.190 0.250\n",
               "0.040 1.500 0.070 0.090 0.120 0.150 0.190 0.250\n",
               "In the input file INPUTS01.TXT, value 2 of record 5 (line 12, Ewes culled for health, udder and other "
               "reasons in cycles 1 to 8) is 1.5,\n"
               "  but it must be from 0 to 1. Correct the record and restart the program.\n"},
        Change{"EweCrossingFraction", "meat", "INPUTS01.TXT", "0.200 0.300 0.400 0.500 0.600 0.600\n",
               "0.200 0.300 0.400 0.500 0.600 1.600\n",
               "In the input file INPUTS01.TXT, value 6 of record 9 (line 20, Ewes mated to terminal sires in cycles 1 "
               "to 6) is 1.6,\n"
               "  but it must be from 0 to 1. Correct the record and restart the program.\n"},
        Change{"RamDeathFraction", "dairy", "INPUTS02.TXT", "0.040 0.050 0.060 0.080\n",
               "-0.500 0.050 0.060 0.080\n",
               "In the input file INPUTS02.TXT, value 1 of record 3 (line 6, Rams dying in breeding cycles 1 to 4) is "
               "-0.5,\n"
               "  but it must be from 0 to 1. Correct the record and restart the program.\n"},
        Change{"LitterSizeFraction", "dairy", "INPUTS03.TXT", "0.550 0.400 0.350 0.330 0.330 0.350 0.380 0.420\n"
               "0.420 0.520 0.550 0.560 0.560 0.550 0.530 0.500\n"
               "0.030",
               "0.600 0.400 0.350 0.330 0.330 0.350 0.380 0.420\n"
               "0.420 0.520 0.550 0.560 0.560 0.550 0.530 0.500\n"
               "-0.020",
               "In the input file INPUTS03.TXT, value 17 of record 3 (line 9, Lambings by litter size (rows: singles, twins, triplets; columns: cycles 1 to 8)) is -0.02,\n"
               "  but it must be from 0 to 1. Correct the record and restart the program.\n"},
        Change{"BirthLossComponent", "dairy", "INPUTS03.TXT", "0.050 0.010\n",
               "1.050 0.010\n",
               "In the input file INPUTS03.TXT, value 2 of record 4 (line 12, Lamb losses within 24 hours after birth (row: litter size; column j: share due to litters losing j lambs)) is 1.05,\n"
               "  but it must be from 0 to 1. Correct the record and restart the program.\n"},
        Change{"BirthLossSum", "dairy", "INPUTS03.TXT", "0.090 0.030 0.010\n",
               "0.900 0.030 0.100\n",
               "The losses of lambs of litter size class 3 within 24 hours after birth\n"
               "  sum to 1.0300, more than 1. Correct this error in INPUTS03.TXT and restart the program.\n"},
        Change{"WeaningLossFraction", "dairy", "INPUTS03.TXT", "0.040 0.055 0.090\n",
               "0.040 -0.055 0.090\n",
               "In the input file INPUTS03.TXT, value 2 of record 5 (line 15, Lamb losses from 24 hours to weaning, "
               "singles, twins, triplets) is -0.055,\n"
               "  but it must be from 0 to 1. Correct the record and restart the program.\n"},
        Change{"MatureWeightZero", "dairy", "INPUTS04.TXT", "70.0\n"
               "\"Mature weight of ewes\"",
               "0\n"
               "\"Mature weight of ewes\"",
               "In the input file INPUTS04.TXT, record 2 (line 6, Mature weight of ewes) is 0,\n"
               "  but it must be from 10 to 300. Correct the record and restart the program.\n"},
        Change{"MatingWeightFraction", "dairy", "INPUTS04.TXT", "0.580\n"
               "\"Minimum weight of young females for mating\"",
               "1.580\n"
               "\"Minimum weight of young females for mating\"",
               "In the input file INPUTS04.TXT, record 4 (line 10, Minimum weight of young females for mating) is 1.58,\n"
               "  but it must be from 0 to 1. Correct the record and restart the program.\n"},
        Change{"PregnancyLengthZero", "dairy", "INPUTS04.TXT", "150\n"
               "\"Length of pregnancy\"",
               "0\n"
               "\"Length of pregnancy\"",
               "In the input file INPUTS04.TXT, record 20 (line 42, Length of pregnancy) is 0,\n"
               "  but it must be from 100 to 200. Correct the record and restart the program.\n"},
        Change{"NegativeCullingDelay", "dairy", "INPUTS04.TXT", "45.0\n"
               "\"Non-pregnant young females",
               "-45.0\n"
               "\"Non-pregnant young females",
               "In the input file INPUTS04.TXT, record 28 (line 58, Non-pregnant young females are culled this many days after the breeding season) is -45,\n"
               "  but it must be from 0 to 365. Correct the record and restart the program.\n"},
        Change{"NegativeMaleSaleAge", "dairy", "INPUTS04.TXT", "160.0\n"
               "\"Age at sale of breeding male lambs sold before",
               "-160.0\n"
               "\"Age at sale of breeding male lambs sold before",
               "In the input file INPUTS04.TXT, record 44 (line 90, Age at sale of breeding male lambs sold before the first breeding season) is -160,\n"
               "  but it must be from 0 to 1825. Correct the record and restart the program.\n"},
        Change{"HeterosisBelowMinus100", "extensive", "INPUTS04.TXT", "5.0\n"
               "\"Heterosis for mature weight\"",
               "-100.0\n"
               "\"Heterosis for mature weight\"",
               "In the input file INPUTS04.TXT, record 54 (line 112, Heterosis for mature weight) is -100,\n"
               "  but it must be from -99 to 100. Correct the record and restart the program.\n"},
        Change{"SurplusFemaleFraction", "dairy", "INPUTS05.TXT", "0.850 0.150\n",
               "1.150 -0.150\n",
               "In the input file INPUTS05.TXT, value 1 of record 2 (line 6, Surplus female lambs: slaughtered at "
               "weaning, reared for breeding) is 1.15,\n"
               "  but it must be from 0 to 1. Correct the record and restart the program.\n"},
        Change{"EarlySaleShare", "dairy", "INPUTS05.TXT", "0.500\n"
               "\"Breeding female lambs sold before mating: share",
               "1.500\n"
               "\"Breeding female lambs sold before mating: share",
               "In the input file INPUTS05.TXT, record 6 (line 14, Breeding female lambs sold before mating: share sold before the first breeding season) is 1.5,\n"
               "  but it must be from 0 to 1. Correct the record and restart the program.\n"},
        Change{"FatteningTargetZero", "dairy", "INPUTS05.TXT", "36.0\n"
               "\"Fattening target of male lambs\"",
               "0.0\n"
               "\"Fattening target of male lambs\"",
               "In the input file INPUTS05.TXT, record 18 (line 36, Fattening target of male lambs) is 0,\n"
               "  but it must be from 1 to 1825. Correct the record and restart the program.\n"},
        Change{"CastrateFraction", "meat", "INPUTS05.TXT", "1.000\n"
               "\"Pure-bred castrates by fattening variant\"",
               "-1.000\n"
               "\"Pure-bred castrates by fattening variant\"",
               "In the input file INPUTS05.TXT, record 28 (line 59, Pure-bred castrates by fattening variant) is -1,\n"
               "  but it must be from 0 to 1. Correct the record and restart the program.\n"},
Change{"MilkSoldFraction", "dairy", "INPUTS06.TXT",
               "0.200\n\"Milk of suckling ewes milked",
               "1.5\n\"Milk of suckling ewes milked",
               "In the input file INPUTS06.TXT, record 9 (line 20, Milk of suckling ewes milked and sold before weaning) is 1.5,\n"
               "  but it must be from 0 to 1. Correct the record and restart the program.\n"},
        Change{"LactationLevel", "dairy", "INPUTS06.TXT",
               "1.2500\n\"Parameter a",
               "-1.25\n\"Parameter a",
               "In the input file INPUTS06.TXT, record 2 (line 6, Parameter a of the lactation curve) is -1.25,\n"
               "  but it must be from 0 to 20. Correct the record and restart the program.\n"},
        Change{"CheeseShare", "dairy", "INPUTS06.TXT",
               "0.300\n\"Milk made into cheese",
               "1.300\n\"Milk made into cheese",
               "In the input file INPUTS06.TXT, record 12 (line 26, Milk made into cheese on the farm) is 1.3,\n"
               "  but it must be from 0 to 1. Correct the record and restart the program.\n"},
        Change{"RationDryMatter", "dairy", "INPUTS08.TXT",
               "0.860 0.240 0.550\n\"Rams: dry matter",
               "0.860 1.240 0.550\n\"Rams: dry matter",
               "In the input file INPUTS08.TXT, value 5 of record 16 (line 34, Rams: dry matter of the ration (rows: groups 1 and 2)) is 1.24,\n"
               "  but it must be from 0 to 1. Correct the record and restart the program.\n"},
        Change{"RationLossesPercent", "dairy", "INPUTS08.TXT",
               "8.0 15.0 10.0\n\"Rams: feed losses\"",
               "8.0 15.0 110.0\n\"Rams: feed losses\"",
               "In the input file INPUTS08.TXT, value 6 of record 19 (line 43, Rams: feed losses) is 110,\n"
               "  but it must be from 0 to 90. Correct the record and restart the program.\n"},
        Change{"LatePregnancy", "dairy", "INPUTS08.TXT",
               "42\n\"Length of late pregnancy",
               "160\n\"Length of late pregnancy",
               "In the input file INPUTS08.TXT, record 28 (line 62, Length of late pregnancy) is 160,\n"
               "  but it must be from 0 to 150, the length of pregnancy. Correct the record and restart the program.\n"},
        Change{"EndoparasiteTreatments", "dairy", "INPUTS09.TXT",
               "2.0\n\"Treatments of ewes against endoparasites",
               "-2.0\n\"Treatments of ewes against endoparasites",
               "In the input file INPUTS09.TXT, record 2 (line 5, Treatments of ewes against endoparasites) is -2,\n"
               "  but it must be from 0 to 52. Correct the record and restart the program.\n"},
        Change{"EwesInseminated", "dairy", "INPUTS09.TXT",
               "30.0\n\"Ewes inseminated for pure-bred",
               "130.0\n\"Ewes inseminated for pure-bred",
               "In the input file INPUTS09.TXT, record 14 (line 29, Ewes inseminated for pure-bred mating) is 130,\n"
               "  but it must be from 0 to 100. Correct the record and restart the program.\n"},
        Change{"InseminationConception", "dairy", "INPUTS09.TXT",
               "0.0060\n\"Conception rate after insemination",
               "0.60\n\"Conception rate after insemination",
               "In the input file INPUTS09.TXT, record 21 (line 43, Conception rate after insemination divided by 100) is 0.6,\n"
               "  but it must be from 0 to 0.01. Correct the record and restart the program.\n"},
        Change{"PurchasedFemaleCost", "dairy", "INPUTS09.TXT",
               "1.20\n\"Cost of a purchased replacement female",
               "-1.20\n\"Cost of a purchased replacement female",
               "In the input file INPUTS09.TXT, record 107 (line 209, Cost of a purchased replacement female relative to the cost of an own one) is -1.2,\n"
               "  but it must be from 0 to 100. Correct the record and restart the program.\n"},
        Change{"RamSaleFraction", "dairy", "INPUTS02.TXT", "0.150 0.100 0.050 0.020\n",
               "-0.150 0.100 0.050 0.020\n",
               "In the input file INPUTS02.TXT, value 1 of record 4 (line 8, Rams sold for breeding after breeding "
               "cycles 1 to 4) is -0.15,\n  but it must be from 0 to 1. Correct the record and restart the program.\n"},
        // TEXTS_OUT.TXT
        Change{"TooFewFragments", "dairy", "TEXTS_OUT.TXT", "\"\n\nEnd of the results.\n\"", "",
               "The file TEXTS_OUT.TXT holds too few text fragments: it ends in fragment 301 (line 349),\n"
               "  where a text in double quotes is expected.\n"
               "  Complete the file and restart the program.\n"
               "The results written up to the error are in the file RESULTS.TXT.stopped.\n"
               "The values of all variables are complete in the file CHECKS1.stopped.\n"},
        // PARAS.TXT
        Change{"Paras", "dairy", "PARAS.TXT", "1\n\"Type of weaning", "3\n\"Type of weaning",
               "Type of weaning can be only 1 or 2.\n"},
        Change{"CrossingType", "dairy", "PARAS.TXT", "1\n\"Type of crossing", "3\n\"Type of crossing",
               "Type of crossing can be only 1 or 2.\n"},
        Change{"FemaleVariants", "dairy", "PARAS.TXT", "0\n\"Number of fattening variants for surplus female",
               "6\n\"Number of fattening variants for surplus female",
               "The number of variants for fattening of surplus female progeny\n"
               "must be an integer in the interval from 0 to 5.\n"},
        Change{"MaleVariants", "dairy", "PARAS.TXT", "1\n\"Number of fattening variants for surplus male",
               "-1\n\"Number of fattening variants for surplus male",
               "The number of variants for fattening of surplus male progeny\n"
               "must be an integer in the interval from 0 to 5.\n"},
        Change{"CastrateVariants", "dairy", "PARAS.TXT", "0\n\"Number of fattening variants for castrates",
               "6\n\"Number of fattening variants for castrates",
               "The number of variants for fattening of castrates\nmust be an integer in the interval from 0 to 5.\n"},
        Change{"BreedType", "dairy", "PARAS.TXT", "1\n\"Type of breed", "4\n\"Type of breed",
               "Type of breed can be only 1, 2 or 3.\n"},
        Change{"FeedCostMethod", "dairy", "PARAS.TXT", "1\n\"Method for the feed costs",
               "0\n\"Method for the feed costs", "Method for calculating the feed costs can be only 1 or 2.\n"},
        Change{"FemaleReplacement", "dairy", "PARAS.TXT", "1\n\"Female replacement", "3\n\"Female replacement",
               "Parameter female replacement may take only values 1 or 2.\n"},
        Change{"WeightOption", "dairy", "PARAS.TXT", "0\n\"Option for economic weights",
               "3\n\"Option for economic weights",
               "The option for calculating economic weights may take only values 0, 1 or 2.\n"},
        Change{"WeightOptionPureBred", "dairy", "PARAS.TXT", "0\n\"Option for economic weights",
               "1\n\"Option for economic weights",
               "The option for calculating economic weights must be 0 when there\n  is only pure-bred progeny.\n"},
        Change{"WeightOptionCrossing", "meat", "PARAS.TXT", "2\n\"Option for economic weights",
               "0\n\"Option for economic weights",
               "The option for calculating economic weights cannot be 0 if there\n  is crossing in the herd.\n"},
        Change{"ParasEndsEarly", "dairy", "PARAS.TXT",
               "\"Option for economic weights (0 = pure-bred only, 1 = cross-bred column, 2 = both columns)\"", "",
               "The input file PARAS.TXT ends in record 10 (line 19), where the text of a system variable in double quotes is "
               "expected.\n"},
        // INPUTS01.TXT
        Change{"Cycles", "dairy", "INPUTS01.TXT", "8\n\"Number of reproductive cycles of ewes\"",
               "16\n\"Number of reproductive cycles of ewes\"",
               "The number of reproductive cycles must be in the range from 4\n"},
        Change{"CyclesNotANumber", "dairy", "INPUTS01.TXT", "8\n\"Number of reproductive cycles of ewes\"",
               "x8\n\"Number of reproductive cycles of ewes\"",
               "In the input file INPUTS01.TXT, record 2 (line 6) holds \"x8\" where a whole number is expected.\n"},
        // A file written for more cycles than the system has: the rows of the
        // litter-size matrix would take each other's numbers (not the sum check).
        Change{"CyclesLowered", "dairy", "INPUTS01.TXT", "8\n\"Number of reproductive cycles of ewes\"",
               "7\n\"Number of reproductive cycles of ewes\"",
               "In the input file INPUTS03.TXT, record 3 (line 7, Lambings by litter size (rows: singles, twins, "
               "triplets; columns: cycles 1 to 8)) holds 24 numbers,\n"
               "  but the system reads 21 of them, 3 rows of 7, one row after the other: row 2 would\n"
               "  begin on line 7, where row 1 ends, and take the numbers of one row for those of another.\n"
               "  The system reads fewer numbers than the file holds because of its numbers of cycles,\n"},
        Change{"DiscountWithDecimalComma", "dairy", "INPUTS01.TXT", "0.020\n\"Discount rate", "0,020\n\"Discount rate",
               "In the input file INPUTS01.TXT, record 16 (line 33) holds \"0,020\" where a number is expected.\n"
               "  Write numbers with a decimal point, not a comma: 0.020, not 0,020.\n"},
        Change{"LambingDate", "dairy", "INPUTS01.TXT", "0 1 5\n\"Date of lambing\"", "0 2 30\n\"Date of lambing\"",
               "The date of lambing is wrong: in the input file INPUTS01.TXT, record 11 (line 23, Date of lambing)\n"
               "  holds 0 2 30 (year month day), and the day 30 does not exist in February.\n"
               "  Correct the date in INPUTS01.TXT and restart the program.\n"},
        Change{"LambingMonth", "dairy", "INPUTS01.TXT", "0 1 5\n\"Date of lambing\"", "0 13 05\n\"Date of lambing\"",
               "The date of lambing is wrong: in the input file INPUTS01.TXT, record 11 (line 23, Date of lambing)\n"
               "  holds 0 13 05 (year month day), and the month 13 is not from 1 to 12.\n"},
        Change{"WeaningDayAndYear", "dairy", "INPUTS01.TXT", "0 2 4\n\"Date of weaning", "-1\n2 0\n\"Date of weaning",
               "The date of weaning lambs is wrong: in the input file INPUTS01.TXT, record 12 (line 25, Date of weaning "
               "of lambs)\n  holds -1 2 0 (year month day), and the year -1 is not from 0 to 10 and the day 0 is not from "
               "1 to 31.\n"},
        Change{"BreedingEndYear", "dairy", "INPUTS01.TXT", "0 9 30\n\"End of the breeding season\"",
               "11 9 30\n\"End of the breeding season\"",
               "The date of the end of the breeding season is wrong: in the input file INPUTS01.TXT, record 14 (line 29, "
               "End of the breeding season)\n  holds 11 9 30 (year month day), and the year 11 is not from 0 to 10.\n"},
        Change{"DryingDate", "dairy", "INPUTS01.TXT", "0 7 15\n\"Date of drying", "0 2 3\n\"Date of drying",
               "The date of drying must not be earlier than the date of weaning lambs.\n"},
        Change{"DiscountRate", "dairy", "INPUTS01.TXT", "0.020\n\"Discount rate\"", "-1\n\"Discount rate\"",
               "In the input file INPUTS01.TXT, record 16 (line 33, Discount rate) is -1,\n"
               "  but it must be from -0.5 to 1. Correct the record and restart the program.\n"},
        Change{"DiscountNotANumber", "dairy", "INPUTS01.TXT", "0.020\n\"Discount rate\"", "O.020\n\"Discount rate\"",
               "In the input file INPUTS01.TXT, record 16 (line 33) holds \"O.020\" where a number is expected.\n"},
        Change{"DiscountNotFinite", "dairy", "INPUTS01.TXT", "0.020\n\"Discount rate\"", "1e400\n\"Discount rate\"",
               "In the input file INPUTS01.TXT, record 16 (line 33) holds 1e400, a value too large for the program.\n"},
        Change{"EndsAtNumber", "dairy", "INPUTS01.TXT", "0.020\n\"Discount rate\" \"per year\"", "",
               "The input file INPUTS01.TXT ends in record 16 (line 33), where a number is expected.\n"},
        Change{"EndsAtNameText", "dairy", "INPUTS01.TXT", "\"Discount rate\" \"per year\"", "",
               "The input file INPUTS01.TXT ends in record 16 (line 34), where the name text of the record in double quotes is "
               "expected.\n"},
        Change{"EndsAtUnitText", "dairy", "INPUTS01.TXT", "\"Discount rate\" \"per year\"",
               "\"Discount rate\" \"per year",
               "The input file INPUTS01.TXT ends in record 16 (line 34), where the unit text of the record in double quotes is "
               "expected.\n"},
        // INPUTS02.TXT
        Change{"CommentNotClosed", "dairy", "INPUTS02.TXT", "leave the flock. /", "leave the flock. ",
               "The input file INPUTS02.TXT ends in record 1 (line 11), where a comment between two slashes is expected.\n"},
        Change{"RamCycles", "dairy", "INPUTS02.TXT", "4\n\"Number of breeding cycles of rams\"",
               "6\n\"Number of breeding cycles of rams\"",
               "The number of breeding cycles for rams must be in the range from 1\n"},
        Change{"RamSum", "dairy", "INPUTS02.TXT", "0.100 0.150 0.250 0.900", "0.100 0.150 0.250 0.800",
               "The sum pdiedR[RR]+psoldR[RR]+pcullR[RR] must be one.\n"},
        // INPUTS03.TXT
        Change{"LitterClasses", "dairy", "INPUTS03.TXT", "3\n\"Number of classes for litter size\"",
               "6\n\"Number of classes for litter size\"",
               "The number of classes for litter size must be in the range from 1\n"},
        Change{"EmptyTopLitterClass", "dairy", "INPUTS03.TXT",
               "0.030 0.080 0.100 0.110 0.110 0.100 0.090 0.080\n\"Lambings by litter size",
               "0.000 0.000 0.000 0.000 0.000 0.000 0.000 0.000\n\"Lambings by litter size",
               "The number of classes for litter size is too high. The fraction\n"},
        Change{"LitterColumn", "dairy", "INPUTS03.TXT", "0.550 0.400", "0.560 0.400",
               "In file INPUTS03.TXT are wrong data for the fraction of\n  lambings in individual classes for litter "
               "size. The fractions\n  in reproductive cycle 1 do not sum to 1.\n"},
        // INPUTS05.TXT
        Change{"SurplusFemales", "dairy", "INPUTS05.TXT", "0.850 0.150\n", "0.850 0.160\n",
               "The fractions of pure-bred surplus female progeny must sum to 1.\n"},
        Change{"TargetUnit", "dairy", "INPUTS05.TXT", "1\n\"Unit of the fattening target of male lambs\"",
               "3\n\"Unit of the fattening target of male lambs\"",
               "In the input file INPUTS05.TXT, record 17 (line 34, Unit of the fattening target of male lambs) is 3,\n"
               "  but it must be from 1 to 2. Correct the record and restart the program.\n"},
        Change{"CrossbredTarget", "dairy", "INPUTS05.TXT", "1\n\"Progeny to which the male target applies\"",
               "2\n\"Progeny to which the male target applies\"",
               "In the file INPUTS05.TXT are wrong codes indicating\n  the presence of cross-bred male progeny in "
               "fattening\n"},
        Change{"TargetFraction", "meat", "INPUTS05.TXT", "0 2\n\"Progeny to which the female targets apply\"",
               "0 1\n\"Progeny to which the female targets apply\"",
               "The fraction of pure-bred female progeny\n  for target 2 in fattening is not correct.\n"},
        Change{"FatteningGain", "dairy", "INPUTS05.TXT", "0.300\n\"Daily gain of male lambs in fattening\"",
               "0\n\"Daily gain of male lambs in fattening\"",
               "Average daily gain for fattening of pure-bred male progeny\n  to target 1 must be greater than zero.\n"},
        Change{"CastratesNotFattened", "dairy", "INPUTS05.TXT", "0.400 0.050 0.000 0.550\n",
               "0.400 0.050 0.100 0.450\n",
               "In the parameter file PARAS.TXT you stated that there will\n"
               "  be no fattening of castrates. In input file INPUTS05.TXT\n"},
        // INPUTS04.TXT (read after INPUTS05.TXT)
        Change{"PurchasedRamWeight", "dairy", "INPUTS04.TXT", "60.0\n\"Weight of purchased rams\"",
               "96.0\n\"Weight of purchased rams\"",
               "The weight of purchased rams of the breed of the herd\n  is not correct.\n"
               "  The weight must be less than mature weight ( 95 kg).\n"},
        // INPUTS06.TXT
        Change{"CheeseMethod", "dairy", "INPUTS06.TXT", "1\n\"Method for the cheese yield\"",
               "3\n\"Method for the cheese yield\"",
               "The method for calculating the cheese yield must be in the range from 1\n"},
        // INPUTS08.TXT
        Change{"FeedingSeasons", "dairy", "INPUTS08.TXT", "3\n\"Number of feeding seasons\"",
               "5\n\"Number of feeding seasons\"",
               "The number of feeding seasons must be in the range from 1\nto 4."},
        Change{"SeasonChanges", "dairy", "INPUTS08.TXT", "3\n\"Number of changes of feeding season",
               "8\n\"Number of changes of feeding season",
               "The number of changes of the feeding season in a year must be in the\n"
               "range from 0 to 7. Correct this error in INPUTS08.TXT and restart the program.\n"},
        Change{"SeasonChangeDate", "dairy", "INPUTS08.TXT", "0 4 1\n\"Start of grazing\"",
               "0 4 31\n\"Start of grazing\"",
               "The date of change in the feeding season is wrong: in the input file INPUTS08.TXT, record 6 (line 14, "
               "Start of grazing)\n  holds 0 4 31 (year month day), and the day 31 does not exist in April.\n"
               "  Correct the date in INPUTS08.TXT and restart the program.\n"},
        Change{"LastSeasonCode", "dairy", "INPUTS08.TXT", "1\n\"Feeding season from this date\"",
               "2\n\"Feeding season from this date\"",
               "The code for the feeding season after the last change in the year\n"
               "  must be the same as the code on January 1st.\n"},
        Change{"SeasonCode", "dairy", "INPUTS08.TXT", "2\n\"Feeding season from this date\"",
               "4\n\"Feeding season from this date\"",
               "The code of a feeding season must be in the range from 1 to 3,\n"},
        Change{"SeasonDatesOrder", "dairy", "INPUTS08.TXT", "0 9 1\n\"Start of autumn feeding\"",
               "0 3 1\n\"Start of autumn feeding\"",
               "The dates of change in the feeding season must increase and lie within\n"},
        // INPUTS10.TXT
        Change{"BreedingSaleOption", "dairy", "INPUTS10.TXT", "1\n\"Animals sold for breeding are paid\"",
               "3\n\"Animals sold for breeding are paid\"",
               "The option for the young stock sold for breeding must be 1 (revenue per\n"},
        // INPUTS11.TXT
        Change{"MilkPrice", "dairy", "INPUTS11.TXT", "5\n\"Milk pricing system\"", "6\n\"Milk pricing system\"",
               "The milk pricing system must be in the range from 1\nto 5."},
        Change{"FatLimits", "dairy", "INPUTS11.TXT", "3\n\"Number of class limits for fat content\"",
               "-1\n\"Number of class limits for fat content\"",
               "The number of class limits for fat content must be in the range from 0\n"
               "to 9. Correct this error in INPUTS11.TXT and restart the program.\n"},
        Change{"ProteinLimits", "dairy", "INPUTS11.TXT", "3\n\"Number of class limits for protein content\"",
               "-1\n\"Number of class limits for protein content\"",
               "The number of class limits for protein content must be in the range from 0\n"
               "to 9. Correct this error in INPUTS11.TXT and restart the program.\n"},
        Change{"FatSd", "dairy", "INPUTS11.TXT", "0.90\n\"Standard deviation of fat content\"",
               "0\n\"Standard deviation of fat content\"",
               "In the input file INPUTS11.TXT, record 12 (line 28, Standard deviation of fat content) is 0,\n"
               "  but it must be from 0.01 to 30. Correct the record and restart the program.\n"},
        Change{"CellClasses", "dairy", "INPUTS11.TXT", "4\n\"Number of classes of somatic cell count\"",
               "0\n\"Number of classes of somatic cell count\"",
               "The number of somatic cell count classes must be in the range from 1\n"
               "to 7. Correct this error in INPUTS11.TXT and restart the program.\n"},
        Change{"CellLimit", "dairy", "INPUTS11.TXT", "300000 500000 1000000\n", "300000 0 1000000\n",
               "In the input file INPUTS11.TXT, value 2 of record 18 (line 40, Class limits of somatic cell count) is 0,\n"
               "  but it must be from 1000 to 1e+08. Correct the record and restart the program.\n"},
        // INPUTS12.TXT
        Change{"CulledPricing", "meat", "INPUTS12.TXT", "2\n\"Pricing system for culled sheep\"",
               "5\n\"Pricing system for culled sheep\"",
               "The pricing system for culled sheep must be in the range from 1\n"
               "to 4. Correct this error in INPUTS12.TXT and restart the program.\n"},
        Change{"CulledQualityClasses", "meat", "INPUTS12.TXT", "3\n\"Number of carcass quality classes\"",
               "6\n\"Number of carcass quality classes\"",
               "The number of carcass quality classes must be in the range from 1\n"
               "to 5. Correct this error in INPUTS12.TXT and restart the program.\n"},
        Change{"CulledQualityFrequencies", "meat", "INPUTS12.TXT", "0.30 0.50 0.20\n", "0.30 0.50 0.30\n",
               "Frequencies in quality classes for\n  pure-bred adult sheep do not sum up to 1. The sum is 1.1000.\n"},
        Change{"CulledFleshClasses", "dairy", "INPUTS12.TXT", "4\n\"Number of fleshiness classes\"",
               "8\n\"Number of fleshiness classes\"",
               "The number of fleshiness classes must be in the range from 1\n"
               "to 7. Correct this error in INPUTS12.TXT and restart the program.\n"},
        Change{"CulledFatClasses", "dairy", "INPUTS12.TXT", "4\n\"Number of fat-covering classes\"",
               "8\n\"Number of fat-covering classes\"",
               "The number of fat covering classes must be in the range from 1\n"
               "to 7. Correct this error in INPUTS12.TXT and restart the program.\n"},
        Change{"FleshFatFrequencies", "dairy", "INPUTS12.TXT",
               "0.005 0.010 0.010 0.005\n\"Culled sheep by fleshiness", "0.005 0.010 0.010 0.015\n\"Culled sheep by fleshiness",
               "Frequencies in classes for fleshiness/ fat covering for\n  pure-bred adult sheep do not sum up to 1. "
               "The sum is 1.0100.\n"},
        // INPUTS13.TXT
        Change{"WeanedPricing", "dairy", "INPUTS13.TXT", "1\n\"Pricing system for lambs slaughtered at weaning\"",
               "5\n\"Pricing system for lambs slaughtered at weaning\"",
               "The pricing system for lambs sold at weaning must be in the range\n"
               "from 1 to 4. Correct this error in INPUTS13.TXT and restart the program.\n"},
        // No example pays weaned lambs by carcass classes (pricing system 2): these
        // two set system 2 together with a wrong number of classes.
        Change{"WeanedQualityClasses", "dairy", "INPUTS13.TXT",
               "1\n\"Pricing system for lambs slaughtered at weaning\" \"1 = per kg live weight\"\n"
               "/ Price per kg live weight /\n4.60\n"
               "\"Price of lambs slaughtered at weaning\" \"EUR per kg live weight\"\n4.60\n"
               "\"Price of cross-bred lambs slaughtered at weaning\" \"EUR per kg live weight; not used\"\n"
               "/ Carcass quality classes: not used with pricing system 1 /\n3\n\"Number of carcass quality classes\"",
               "2\n\"Pricing system for lambs slaughtered at weaning\" \"1 = per kg live weight\"\n"
               "/ Price per kg live weight /\n4.60\n"
               "\"Price of lambs slaughtered at weaning\" \"EUR per kg live weight\"\n4.60\n"
               "\"Price of cross-bred lambs slaughtered at weaning\" \"EUR per kg live weight; not used\"\n"
               "/ Carcass quality classes: not used with pricing system 1 /\n6\n\"Number of carcass quality classes\"",
               "The number of carcass classes of lambs sold at weaning must be in the range\n"
               "from 1 to 5. Correct this error in INPUTS13.TXT and restart the program.\n"},
        Change{"WeanedQualityFrequencies", "dairy", "INPUTS13.TXT",
               "1\n\"Pricing system for lambs slaughtered at weaning\" \"1 = per kg live weight\"\n"
               "/ Price per kg live weight /\n4.60\n"
               "\"Price of lambs slaughtered at weaning\" \"EUR per kg live weight\"\n4.60\n"
               "\"Price of cross-bred lambs slaughtered at weaning\" \"EUR per kg live weight; not used\"\n"
               "/ Carcass quality classes: not used with pricing system 1 /\n3\n\"Number of carcass quality classes\"",
               "2\n\"Pricing system for lambs slaughtered at weaning\" \"1 = per kg live weight\"\n"
               "/ Price per kg live weight /\n4.60\n"
               "\"Price of lambs slaughtered at weaning\" \"EUR per kg live weight\"\n4.60\n"
               "\"Price of cross-bred lambs slaughtered at weaning\" \"EUR per kg live weight; not used\"\n"
               "/ Carcass quality classes: not used with pricing system 1 /\n2\n\"Number of carcass quality classes\"",
               "Frequencies in quality classes for\n"
               "  pure-bred weaned slaughter lambs do not sum up to 1. The sum is 0.8000.\n"},
        Change{"WeanedFleshClasses", "extensive", "INPUTS13.TXT", "5\n\"Number of fleshiness classes\"",
               "8\n\"Number of fleshiness classes\"",
               "The number of fleshiness classes of lambs sold at weaning must be in the range\n"
               "from 1 to 7. Correct this error in INPUTS13.TXT and restart the program.\n"},
        Change{"WeanedFatClasses", "extensive", "INPUTS13.TXT", "4\n\"Number of fat-covering classes\"",
               "8\n\"Number of fat-covering classes\"",
               "The number of fat covering classes of lambs sold at weaning must be in the range\n"
               "from 1 to 7. Correct this error in INPUTS13.TXT and restart the program.\n"},
        Change{"WeanedFleshFatFrequencies", "extensive", "INPUTS13.TXT", "0.030 0.040 0.010 0.005\n",
               "0.130 0.040 0.010 0.005\n",
               "Frequencies in classes for fleshiness/ fat covering for pure-bred\n"
               "  heavy lambs (carcass weight > 13 kg) slaughtered after weaning or\n"
               "  artificial rearing do not sum up to 1. The sum is 1.1000.\n"},
        Change{"EndsInSkippedRecord", "dairy", "INPUTS13.TXT",
               "\"Cross-bred heavy lambs by fleshiness and fat covering\" \"fractions; not used\"",
               "\"Cross-bred heavy lambs by fleshiness and fat covering\"",
               "The input file INPUTS13.TXT ends in record 32 (line 66), where the texts of a record in double quotes is "
               "expected.\n"},
        // INPUTS14.TXT
        Change{"FattenedPricing", "dairy", "INPUTS14.TXT", "2\n\"Pricing system for fattened lambs\"",
               "5\n\"Pricing system for fattened lambs\"",
               "The pricing system for fattened lambs must be in the range\n"
               "from 1 to 4. Correct this error in INPUTS14.TXT and restart the program.\n"},
        Change{"FattenedQualityClasses", "dairy", "INPUTS14.TXT", "3\n\"Number of carcass quality classes\"",
               "6\n\"Number of carcass quality classes\"",
               "The number of carcass classes of fattened lambs must be in the range\n"
               "from 1 to 5. Correct this error in INPUTS14.TXT and restart the program.\n"},
        Change{"FattenedFrequencies", "dairy", "INPUTS14.TXT", "0.25 0.55 0.20\n\"Fattened lambs by",
               "0.25 0.55 0.30\n\"Fattened lambs by",
               "Frequencies in quality classes for\n  pure-bred fattened lambs do not sum up to 1. The sum is 1.1000.\n"},
        Change{"FattenedFleshClasses", "meat", "INPUTS14.TXT", "5\n\"Number of fleshiness classes\"",
               "8\n\"Number of fleshiness classes\"",
               "The number of fleshiness classes of fattened lambs must be in the range\n"
               "from 1 to 7. Correct this error in INPUTS14.TXT and restart the program.\n"},
        Change{"FattenedFatClasses", "meat", "INPUTS14.TXT", "4\n\"Number of fat-covering classes\"",
               "8\n\"Number of fat-covering classes\"",
               "The number of fat covering classes of fattened lambs must be in the range\n"
               "from 1 to 7. Correct this error in INPUTS14.TXT and restart the program.\n"},
        Change{"FattenedFleshFatFrequencies", "meat", "INPUTS14.TXT", "0.005 0.010 0.005 0.005\n",
               "0.105 0.010 0.005 0.005\n",
               "Frequencies in classes for fleshiness/ fat covering for fattened\n"
               "  pure-bred lambs do not sum up to 1. The sum is 1.1000.\n"},
        // Checks of the model phases, in the order of the evaluation
        Change{"WeaningBeforeLambing", "dairy", "INPUTS01.TXT", "0 2 4\n\"Date of weaning of lambs\"",
               "0 1 5\n\"Date of weaning of lambs\"",
               "The date of weaning lambs must be later than the date of lambing.\n"},
        Change{"ArtificialRearingAge", "meat", "INPUTS03.TXT", "56\n\"Age of lambs at the end of artificial rearing\"",
               "30\n\"Age of lambs at the end of artificial rearing\"",
               "The age at the end of artificial rearing must be higher than the age\n"
               "  at weaning (30 days). Correct this error in INPUTS03.TXT and restart the program.\n"},
        Change{"PregnancyInterval", "dairy", "INPUTS04.TXT", "150\n\"Length of pregnancy\"",
               "157\n\"Length of pregnancy\"",
               "The time for pregnancy calculated from your input parameters\n  is too short.\n"},
        Change{"EweFlockUndefined", "dairy", "INPUTS01.TXT",
               "0.080 0.060 0.060 0.070 0.080 0.100 0.120 0.150\n"
               "\"Ewes culled for low milk yield in cycles 1 to 8\" \"fraction\"\n0.040",
               "1.000 0.060 0.060 0.070 0.080 0.100 0.120 0.150\n"
               "\"Ewes culled for low milk yield in cycles 1 to 8\" \"fraction\"\n1.000",
               "The structure of the ewe flock cannot be calculated from your input\n"},
        Change{"RamsStaying", "dairy", "INPUTS02.TXT", "0.100 0.150 0.250 0.900", "0.900 0.150 0.250 0.900",
               "The proportion of rams staying to the next breeding cycle \n"},
        Change{"FemaleSaleAge", "dairy", "INPUTS04.TXT",
               "150.0\n\"Age at sale of breeding female lambs sold before the first breeding season\"",
               "250.0\n\"Age at sale of breeding female lambs sold before the first breeding season\"",
               "The age of pure-bred breeding female lambs sold\n  before the 1st breeding season is not correct.\n"},
        Change{"FemaleSaleAgeSecond", "dairy", "INPUTS04.TXT",
               "300.0\n\"Age at sale of breeding female lambs sold between",
               "600.0\n\"Age at sale of breeding female lambs sold between",
               "The age of pure-bred breeding female lambs sold\n"
               "  between the 1st and 2nd breeding season is not correct.\n"
               "  The age must be between 210 and 574 days.\n"},
        Change{"YoungFemaleWeight", "dairy", "INPUTS04.TXT",
               "0.180 0.070\n\"Daily gain of young females in rearing stages 1 and 2\"",
               "0.400 0.070\n\"Daily gain of young females in rearing stages 1 and 2\"",
               "The weight calculated for pure-bred female lambs in the first\n  breeding season is higher than mature "
               "weight."},
        Change{"YoungFemaleWeightSecond", "dairy", "INPUTS04.TXT", "0.180 0.070\n\"Daily gain of young females",
               "0.180 0.400\n\"Daily gain of young females",
               "The weight calculated for pure-bred female lambs in the second\n"
               "  breeding season is higher than mature weight. Correct the \n"},
        Change{"YoungMaleWeight", "dairy", "INPUTS04.TXT", "0.250 0.080\n\"Daily gain of young males",
               "0.500 0.080\n\"Daily gain of young males",
               "The weight calculated for pure-bred male lambs in the first\n"
               "  breeding season is higher than mature weight. Correct the \n"},
        Change{"YoungMaleWeightSecond", "dairy", "INPUTS04.TXT", "0.250 0.080\n\"Daily gain of young males",
               "0.250 0.300\n\"Daily gain of young males",
               "The weight calculated for pure-bred male lambs in the second\n"
               "  breeding season is higher than mature weight. Correct the \n"},
        Change{"MaleSaleAge", "dairy", "INPUTS04.TXT", "160.0\n\"Age at sale of breeding male lambs sold before",
               "250.0\n\"Age at sale of breeding male lambs sold before",
               "The age at which pure-bred breeding male lambs are sold\n"
               "  before the first breeding season is not correct.\n"},
        Change{"MaleSaleAgeSecond", "dairy", "INPUTS04.TXT", "330.0\n\"Age at sale of breeding male lambs sold between",
               "600.0\n\"Age at sale of breeding male lambs sold between",
               "The age at which pure-bred breeding male lambs are sold\n"
               "  between the first and second breeding season is not correct.\n"},
        Change{"NoFemaleReplacement", "dairy", "INPUTS04.TXT", "0.970\n\"Survival of pregnant young females",
               "0.000\n\"Survival of pregnant young females",
               "No young female reared for replacement joins the ewe flock: the conception\n"},
        Change{"OwnReplacement", "extensive", "INPUTS01.TXT", "0.000 0.000 0.300 0.600 1.000",
               "0.900 0.900 0.900 0.900 1.000",
               "There are not enough pure-bred female weaned lambs for own replacement.\n"},
        Change{"EwesPerRam", "dairy", "INPUTS04.TXT", "40.0\n\"Ewes per older ram\"", "-40.0\n\"Ewes per older ram\"",
               "In the input file INPUTS04.TXT, record 53 (line 108, Ewes per older ram) is -40,\n"
               "  but it must be from 1 to 1000. Correct the record and restart the program.\n"},
        Change{"NoMaleReplacement", "dairy", "INPUTS04.TXT", "0.970 0.980\n\"Survival of young males",
               "0.000 0.980\n\"Survival of young males",
               "No young male reared for ram replacement enters the ram flock: the\n"},
        // No example makes cheese by the recovery method (method 2): these three
        // set method 2 together with one of its values.
        Change{"CheeseMoisture", "dairy", "INPUTS06.TXT",
               "1\n\"Method for the cheese yield\" \"1 = linear formula, 2 = fat and casein recovery\"\n11.500\n"
               "\"Intercept of the milk needed per kg cheese\" \"kg milk per kg cheese\"\n-0.450\n"
               "\"Change of the milk needed per kg cheese per per cent of fat\" \"kg milk\"\n-0.650\n"
               "\"Change of the milk needed per kg cheese per per cent of protein\" \"kg milk\"\n0.900\n"
               "\"Recovery of milk fat in the cheese\" \"fraction; not used with method 1\"\n0.950\n"
               "\"Recovery of casein in the cheese\" \"fraction; not used with method 1\"\n0.780\n"
               "\"Casein in milk protein\" \"fraction; not used with method 1\"\n40.0",
               "2\n\"Method for the cheese yield\" \"1 = linear formula, 2 = fat and casein recovery\"\n11.500\n"
               "\"Intercept of the milk needed per kg cheese\" \"kg milk per kg cheese\"\n-0.450\n"
               "\"Change of the milk needed per kg cheese per per cent of fat\" \"kg milk\"\n-0.650\n"
               "\"Change of the milk needed per kg cheese per per cent of protein\" \"kg milk\"\n0.900\n"
               "\"Recovery of milk fat in the cheese\" \"fraction; not used with method 1\"\n0.950\n"
               "\"Recovery of casein in the cheese\" \"fraction; not used with method 1\"\n0.780\n"
               "\"Casein in milk protein\" \"fraction; not used with method 1\"\n100.0",
               "The moisture content of cheese must be below 100 per cent.\n"},
        Change{"CheeseFat", "dairy", "INPUTS06.TXT",
               "1\n\"Method for the cheese yield\" \"1 = linear formula, 2 = fat and casein recovery\"\n11.500\n"
               "\"Intercept of the milk needed per kg cheese\" \"kg milk per kg cheese\"\n-0.450\n"
               "\"Change of the milk needed per kg cheese per per cent of fat\" \"kg milk\"\n-0.650\n"
               "\"Change of the milk needed per kg cheese per per cent of protein\" \"kg milk\"\n0.900\n"
               "\"Recovery of milk fat in the cheese\" \"fraction; not used with method 1\"\n0.950\n"
               "\"Recovery of casein in the cheese\" \"fraction; not used with method 1\"\n0.780\n"
               "\"Casein in milk protein\" \"fraction; not used with method 1\"\n40.0\n"
               "\"Moisture of the cheese\" \"per cent; not used with method 1\"\n30.0",
               "2\n\"Method for the cheese yield\" \"1 = linear formula, 2 = fat and casein recovery\"\n11.500\n"
               "\"Intercept of the milk needed per kg cheese\" \"kg milk per kg cheese\"\n-0.450\n"
               "\"Change of the milk needed per kg cheese per per cent of fat\" \"kg milk\"\n-0.650\n"
               "\"Change of the milk needed per kg cheese per per cent of protein\" \"kg milk\"\n0.900\n"
               "\"Recovery of milk fat in the cheese\" \"fraction; not used with method 1\"\n0.950\n"
               "\"Recovery of casein in the cheese\" \"fraction; not used with method 1\"\n0.780\n"
               "\"Casein in milk protein\" \"fraction; not used with method 1\"\n40.0\n"
               "\"Moisture of the cheese\" \"per cent; not used with method 1\"\n0.0",
               "The fat content of cheese must be above 0 per cent.\n"},
        Change{"CheeseYield", "dairy", "INPUTS06.TXT",
               "1\n\"Method for the cheese yield\" \"1 = linear formula, 2 = fat and casein recovery\"\n11.500\n"
               "\"Intercept of the milk needed per kg cheese\" \"kg milk per kg cheese\"\n-0.450\n"
               "\"Change of the milk needed per kg cheese per per cent of fat\" \"kg milk\"\n-0.650\n"
               "\"Change of the milk needed per kg cheese per per cent of protein\" \"kg milk\"\n0.900",
               "2\n\"Method for the cheese yield\" \"1 = linear formula, 2 = fat and casein recovery\"\n11.500\n"
               "\"Intercept of the milk needed per kg cheese\" \"kg milk per kg cheese\"\n-0.450\n"
               "\"Change of the milk needed per kg cheese per per cent of fat\" \"kg milk\"\n-0.650\n"
               "\"Change of the milk needed per kg cheese per per cent of protein\" \"kg milk\"\n0.000",
               "The cheese yield calculated from the fat and protein content of milk\n"
               "  and the recoveries of fat and casein is not positive. Correct the\n"},
        Change{"RationEnergy", "dairy", "INPUTS08.TXT", "5.200 6.000 5.600\n", "0.000 6.000 5.600\n",
               "The ration of feeding group 1 of rams in feeding season 1 is needed,\n"
               "  but it has no energy or dry-matter content. Correct the ration in INPUTS08.TXT and restart the "
               "program.\n"},
        Change{"RationProtein", "dairy", "INPUTS08.TXT", "80.0 95.0 88.0\n", "0.0 95.0 88.0\n",
               "The ration of feeding group 1 of rams in feeding season 1 is needed,\n"
               "  but it has no protein or dry-matter content. Correct the ration in INPUTS08.TXT and restart the "
               "program.\n"},
        Change{"EwePregnancyRequirement", "dairy", "INPUTS04.TXT", "2.0\n\"Weight gain of ewes during flushing\"",
               "8.0\n\"Weight gain of ewes during flushing\"",
               "There is at least one negative value for net energy or protein\n  requirement for pregnancy for ewes.\n"
               "  Decrease the weight gain during flushing for ewes\n  in INPUTS04.TXT and restart the program.\n"},
        Change{"YoungFemalePregnancyRequirement", "dairy", "INPUTS04.TXT",
               "1.5\n\"Weight gain of young females during flushing\"",
               "6.0\n\"Weight gain of young females during flushing\"",
               "There is at least one negative value for net energy or protein\n  requirement for pregnancy for female "
               "breeding lambs.\n  Decrease the weight gain during flushing for female breeding lambs\n"},
        Change{"NegativeWeight", "dairy", "INPUTS04.TXT", "0.180 0.070\n\"Daily gain of young females",
               "-0.180 0.070\n\"Daily gain of young females",
               "The live weight of progeny of category 13 calculated for their feeding\n"
               "  is negative. Correct the weights and daily gains of lambs and young\n"
               "  stock in INPUTS03.TXT, INPUTS04.TXT and INPUTS05.TXT and restart the program.\n"
               "  Where: INPUTS04.TXT, record 6 (line 14, Daily gain of young females in rearing stages 1 and 2).\n"}
        // Stops that no change of a single input file can reach:
        //  - "The input file %s cannot be opened.": an input file is missing from the
        //    working directory (PARAS.TXT, INPUTS01..14.TXT or TEXTS_OUT.TXT; the
        //    message names it).
        //  - "The name of the file for writing results is too long." (more than 255
        //    characters typed) and "No name of the file for writing results was
        //    given." (empty input): the name comes from the console, which this
        //    table always answers with RESULTS.TXT.
        //  - "The results file %s cannot be created.": a name in a directory that
        //    does not exist, or a read-only working directory.
        //  - "The file %s cannot be written in the working directory.": CHECKS or
        //    CHECKS1 cannot be created, e.g. a directory of that name exists.
        //  - TEXTS_OUT.TXT ending before the results are written (the message
        //    without the line about CHECKS1) needs the whole tail of the file
        //    removed, not the change of one fragment: removing a single quote only
        //    moves the end to fragment 301 (TooFewFragments above).
        // Variants of a covered message that differ only in a parameter (the date,
        // the breed, the kind of progeny, the feeding group) are not repeated. The
        // cross-bred message of INPUTS13.TXT ("cross-bred weaned slaughter lambs")
        // needs crossing together with pricing system 2 of lambs sold at weaning,
        // which no example has, and is left out.
    ),
    [](const testing::TestParamInfo<Change>& i) { return std::string(i.param.name); });
