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
#include "herd/markov.h"

using testutil::Edit;
using testutil::ExampleRun;

namespace {

struct System {
    const char* name;
    const char* example;
    std::vector<Edit> edits;  // none for the bundled examples
};

// The value before the record whose name begins with `record` changes from
// `from` to `to`.
Edit value(const char* file, const char* record, const char* from, const char* to) {
    static std::deque<std::string> texts;  // the edits point into these
    texts.push_back(std::string(from) + "\n\"" + record);
    const char* a = texts.back().c_str();
    texts.push_back(std::string(to) + "\n\"" + record);
    return {file, a, texts.back().c_str()};
}
Edit paras(const char* record, const char* from, const char* to) { return value("PARAS.TXT", record, from, to); }
Edit culled(const char* to) { return value("INPUTS12.TXT", "Pricing system for culled sheep", "4", to); }
Edit weaned(const char* to) { return value("INPUTS13.TXT", "Pricing system for lambs", "1", to); }
Edit fattened(const char* to) { return value("INPUTS14.TXT", "Pricing system for fattened", "2", to); }
Edit milkPrice(const char* to) { return value("INPUTS11.TXT", "Milk pricing system", "5", to); }

const std::vector<System>& systems() {
    static const std::vector<System> all = {
        {"dairy", "dairy", {}},
        {"meat", "meat", {}},
        {"extensive", "extensive", {}},
        {"MilkPrice1", "dairy", {milkPrice("1")}},
        {"MilkPrice2", "dairy", {milkPrice("2")}},
        {"MilkPrice3", "dairy", {milkPrice("3")}},
        {"MilkPrice4", "dairy", {milkPrice("4")}},
        {"CheeseByRecovery", "dairy", {value("INPUTS06.TXT", "Method for the cheese yield", "1", "2")}},
        {"Prices1", "dairy", {culled("1"), weaned("2"), fattened("3")}},
        {"Prices2", "dairy", {culled("2"), weaned("3"), fattened("1")}},
        {"Prices3", "dairy", {culled("3"), weaned("4"), fattened("4")}},
        {"DairyEnergyOnly", "dairy", {paras("Method for the feed", "1", "2")}},
        {"DairyNotMilked", "dairy", {paras("Type of breed", "1", "2")}},
        {"MeatEnergyAndProtein", "meat", {paras("Method for the feed", "2", "1")}},
        {"MeatCrossBredWeights", "meat", {paras("Option for economic", "2", "1")}},
        {"MeatWeaned", "meat", {paras("Type of weaning", "2", "1")}},
        {"MeatOwnReplacement", "meat", {paras("Female replacement", "2", "1")}},
        {"MeatBreedingPerAnimal", "meat", {value("INPUTS10.TXT", "Animals sold for breeding are paid", "2", "1")}},
        {"ExtensiveBothColumns", "extensive", {paras("Option for economic", "1", "2")}},
        {"ExtensivePureBred", "extensive",
         {paras("Type of crossing", "2", "1"), paras("Option for economic", "1", "0")}},
    };
    return all;
}

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

// The examples' output files byte for byte as reviewed; the variants'
// CHECKS1, which holds every quantity of the base evaluation and the
// weights.
TEST_P(Systems, GoldenOutput) {
    const System& s = GetParam();
    const ExampleRun& r = run(s);
    if (isExample(s)) {
        testutil::expectGolden(r.results, std::string(s.name) + "/RESULTS.TXT");
        testutil::expectGolden(r.checks, std::string(s.name) + "/CHECKS");
        testutil::expectGolden(r.checks1, std::string(s.name) + "/CHECKS1");
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
    double s1[cap::C], s2[cap::C], d1[cap::C], d2[cap::C];
    StationaryTrace ts, td;
    ASSERT_TRUE(stationarySparse(&m.te[0][0], cap::C, m.TE, s1, s2, cap::C, ts));
    ASSERT_TRUE(stationaryDense(&m.te[0][0], cap::C, m.TE, d1, d2, cap::C, td));
    for (int i = 1; i <= m.TE; ++i) EXPECT_EQ(s1[i], d1[i]);
    for (int i = 1; i <= m.TE; ++i) EXPECT_EQ(s1[i], m.l1E[i]);
    ASSERT_TRUE(stationarySparse(&m.tr[0][0], cap::CR, m.TR, s1, s2, cap::CR, ts));
    ASSERT_TRUE(stationaryDense(&m.tr[0][0], cap::CR, m.TR, d1, d2, cap::CR, td));
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

INSTANTIATE_TEST_SUITE_P(All, Systems, testing::ValuesIn(systems()),
                         [](const testing::TestParamInfo<System>& i) { return std::string(i.param.name); });

// ---- a minimal change of an example stops the run with its message -----

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
        Change{"TooFewFragments", "dairy", "TEXTS_OUT.TXT", "\"\n\nEnd of the results.\n\"", "",
               "The file TEXTS_OUT.TXT holds too few text fragments: it ends in fragment 301,\n"
               "  where a text in double quotes is expected.\n"
               "  The values of all variables are complete in the file CHECKS1.\n"},
        Change{"Paras", "dairy", "PARAS.TXT", "1\n\"Type of weaning", "3\n\"Type of weaning",
               "Type of weaning can be only 1 or 2.\n"},
        Change{"Cycles", "dairy", "INPUTS01.TXT", "8\n\"Number of reproductive cycles of ewes\"",
               "16\n\"Number of reproductive cycles of ewes\"",
               "The number of reproductive cycles must be in the range from 4\n"},
        Change{"LambingDate", "dairy", "INPUTS01.TXT", "0 1 5\n\"Date of lambing\"", "0 2 30\n\"Date of lambing\"",
               "The date of lambing is wrong. Correct the date in\n  INPUTS01.TXT and restart the program.\n"},
        Change{"DiscountRate", "dairy", "INPUTS01.TXT", "0.020\n\"Discount rate\"", "-1\n\"Discount rate\"",
               "The discount rate must be greater than -1.\n"},
        Change{"RamSum", "dairy", "INPUTS02.TXT", "0.100 0.150 0.250 0.900", "0.100 0.150 0.250 0.800",
               "The sum pdiedR[RR]+psoldR[RR]+pcullR[RR] must be one.\n"},
        Change{"RamsStaying", "dairy", "INPUTS02.TXT", "0.100 0.150 0.250 0.900", "0.900 0.150 0.250 0.900",
               "The proportion of rams staying to the next breeding cycle \n"},
        Change{"LitterClasses", "dairy", "INPUTS03.TXT", "3\n\"Number of classes for litter size\"",
               "6\n\"Number of classes for litter size\"",
               "The number of classes for litter size must be in the range from 1\n"},
        Change{"LitterColumn", "dairy", "INPUTS03.TXT", "0.550 0.400", "0.560 0.400",
               "In file INPUTS03.TXT are wrong data for the fraction of\n  lambings in individual classes for litter "
               "size. The fractions\n  in reproductive cycle 1 do not sum to 1.\n"},
        Change{"PurchasedRamWeight", "dairy", "INPUTS04.TXT", "60.0\n\"Weight of purchased rams\"",
               "96.0\n\"Weight of purchased rams\"",
               "The weight of purchased rams of the breed of the herd\n  is not correct.\n"
               "  The weight must be less than mature weight ( 95 kg).\n"},
        Change{"SurplusFemales", "dairy", "INPUTS05.TXT", "0.850 0.150\n", "0.850 0.160\n",
               "The fractions of pure-bred surplus female progeny must sum to 1.\n"},
        Change{"CrossbredTarget", "dairy", "INPUTS05.TXT", "1\n\"Progeny to which the male target applies\"",
               "2\n\"Progeny to which the male target applies\"",
               "In the file INPUTS05.TXT are wrong codes indicating\n  the presence of cross-bred male progeny in "
               "fattening\n"},
        Change{"FatteningGain", "dairy", "INPUTS05.TXT", "0.300\n\"Daily gain of male lambs in fattening\"",
               "0\n\"Daily gain of male lambs in fattening\"",
               "Average daily gain for fattening of pure-bred male progeny\n  to target 1 must be greater than zero.\n"},
        Change{"FeedingSeasons", "dairy", "INPUTS08.TXT", "3\n\"Number of feeding seasons\"",
               "5\n\"Number of feeding seasons\"",
               "The number of feeding seasons must be in the range from 1\nto 4."},
        Change{"MilkPrice", "dairy", "INPUTS11.TXT", "5\n\"Milk pricing system\"", "6\n\"Milk pricing system\"",
               "The milk pricing system must be in the range from 1\nto 5."},
        Change{"FatSd", "dairy", "INPUTS11.TXT", "0.90\n\"Standard deviation of fat content\"",
               "0\n\"Standard deviation of fat content\"",
               "The standard deviation of the fat content must be greater than zero.\n"},
        Change{"FleshFatFrequencies", "dairy", "INPUTS12.TXT",
               "0.005 0.010 0.010 0.005\n\"Culled sheep by fleshiness", "0.005 0.010 0.010 0.015\n\"Culled sheep by fleshiness",
               "Frequencies in classes for fleshiness/ fat covering for\n  pure-bred adult sheep do not sum up to 1. "
               "The sum is 1.0100.\n"},
        Change{"EweDressing", "dairy", "INPUTS12.TXT", "42.0\n\"Dressing percentage of ewes\"",
               "0\n\"Dressing percentage of ewes\"", "The dressing percentage of ewes must be greater than 0 when culled sheep\n"},
        Change{"FattenedFrequencies", "dairy", "INPUTS14.TXT", "0.25 0.55 0.20\n\"Fattened lambs by",
               "0.25 0.55 0.30\n\"Fattened lambs by",
               "Frequencies in quality classes for\n  pure-bred fattened lambs do not sum up to 1. The sum is 1.1000.\n"},
        Change{"PregnancyInterval", "dairy", "INPUTS04.TXT", "150\n\"Length of pregnancy\"",
               "157\n\"Length of pregnancy\"",
               "The time for pregnancy calculated from your input parameters\n  is too short.\n"},
        Change{"FemaleSaleAge", "dairy", "INPUTS04.TXT",
               "150.0\n\"Age at sale of breeding female lambs sold before the first breeding season\"",
               "250.0\n\"Age at sale of breeding female lambs sold before the first breeding season\"",
               "The age of pure-bred breeding female lambs sold\n  before the 1st breeding season is not correct.\n"},
        Change{"YoungFemaleWeight", "dairy", "INPUTS04.TXT",
               "0.180 0.070\n\"Daily gain of young females in rearing stages 1 and 2\"",
               "0.400 0.070\n\"Daily gain of young females in rearing stages 1 and 2\"",
               "The weight calculated for pure-bred female lambs in the first\n  breeding season is higher than mature "
               "weight."},
        Change{"EwePregnancyRequirement", "dairy", "INPUTS04.TXT", "2.0\n\"Weight gain of ewes during flushing\"",
               "8.0\n\"Weight gain of ewes during flushing\"",
               "There is at least one negative value for net energy or protein\n  requirement for pregnancy for ewes.\n"
               "  Decrease the weight gain during flushing for ewes\n  in INPUTS04.TXT and restart the program.\n"},
        Change{"YoungFemalePregnancyRequirement", "dairy", "INPUTS04.TXT",
               "1.5\n\"Weight gain of young females during flushing\"",
               "6.0\n\"Weight gain of young females during flushing\"",
               "There is at least one negative value for net energy or protein\n  requirement for pregnancy for female "
               "breeding lambs.\n  Decrease the weight gain during flushing for female breeding lambs\n"},
        Change{"OwnReplacement", "extensive", "INPUTS01.TXT", "0.000 0.000 0.300 0.600 1.000",
               "0.900 0.900 0.900 0.900 1.000",
               "There are not enough pure-bred female weaned lambs for own replacement.\n"}),
    [](const testing::TestParamInfo<Change>& i) { return std::string(i.param.name); });
