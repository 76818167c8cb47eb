// INPUTS05.TXT: the echo of the sale fractions and fattening variants with
// the summary of the targets, the records skipped without crossing, without
// fattening or without castration, the scaling of the castrate fractions,
// and every stop in its order.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "input/inputs.h"
#include "input/reader.h"
#include "test_util.h"

using testutil::Harness;

namespace {

// ---- golden files ----

const char* const kGoldenCrossed =
    "/ Surplus progeny: sale categories /\n"
    "0.5 0.3 0.2 0.0 \"Surplus female progeny, pure-bred\" \"fractions\"\n"
    "0.4 0.2 0.2 0.2 \"Surplus female progeny, cross-bred\" \"fractions\"\n"
    "0.3 0.2 0.25 0.25 \"Surplus male progeny, pure-bred\" \"fractions\"\n"
    "0.5 0.1 0.4 0.0 \"Surplus male progeny, cross-bred\" \"fractions\"\n"
    "0.6 \"Sold before the first breeding season, pure-bred\" \"fraction\"\n"
    "0.5 \"Sold before the first breeding season, cross-bred\" \"fraction\"\n"
    "/ Fattening of female progeny /\n"
    "1 2 \"Unit of target\" \"1 kg, 2 days\"\n"
    "45 200 \"Target\" \"kg or days\"\n"
    "0 2 \"Breeds\" \"0 both, 1 pure, 2 cross\"\n"
    "0.2 0 \"Daily gain, pure-bred\" \"kg/day\"\n"
    "0.22 0.18 \"Daily gain, cross-bred\" \"kg/day\"\n"
    "0.99 0.98 \"Survival, pure-bred\" \"fraction\"\n"
    "0.97 0.96 \"Survival, cross-bred\" \"fraction\"\n"
    "/ Fattening of male progeny /\n"
    "1 \"Unit of target\" \"1 kg, 2 days\"\n"
    "50 \"Target\" \"kg or days\"\n"
    "1 \"Breeds\" \"0 both, 1 pure, 2 cross\"\n"
    "0.3 \"Daily gain, pure-bred\" \"kg/day\"\n"
    "0 \"Daily gain, cross-bred\" \"kg/day\"\n"
    "0.995 \"Survival, pure-bred\" \"fraction\"\n"
    "0 \"Survival, cross-bred\" \"fraction\"\n"
    "/ Fattening of castrates /\n"
    "2 \"Unit of target\" \"1 kg, 2 days\"\n"
    "250 \"Target\" \"kg or days\"\n"
    "0 \"Breeds\" \"0 both, 1 pure, 2 cross\"\n"
    "1 \"Castrates, pure-bred\" \"fractions\"\n"
    "1 \"Castrates, cross-bred\" \"fractions\"\n"
    "0.28 \"Daily gain, pure-bred\" \"kg/day\"\n"
    "0.26 \"Daily gain, cross-bred\" \"kg/day\"\n"
    "0.99 \"Survival, pure-bred\" \"fraction\"\n"
    "0.985 \"Survival, cross-bred\" \"fraction\"\n";

const char* const kGoldenCrossedEcho =
    "\nSurplus female progeny, pure-bred    (fractions):   0.500   0.300   0.200   0.000"
    "\nSurplus female progeny, cross-bred    (fractions):   0.400   0.200   0.200   0.200"
    "\nSurplus male progeny, pure-bred    (fractions):   0.300   0.200   0.250   0.250"
    "\nSurplus male progeny, cross-bred    (fractions):   0.500   0.100   0.400   0.000"
    " Sold before the first breeding season, pure-bred    (fraction):      0.6000 "
    " Sold before the first breeding season, cross-bred    (fraction):      0.5000 "
    "\nUnit of target    (1 kg, 2 days):  1  2"
    "\nTarget    (kg or days):   45.0  200.0"
    "\nBreeds    (0 both, 1 pure, 2 cross):  0  2"
    "\n**********\n"
    "For checking the correctness of your input data:\n"
    "  Target 1 for fattening of female progeny is  45.0 kg,\n"
    "     target 1 is for pure-bred and cross-bred progeny.\n"
    "  Target 2 for fattening of female progeny is 200.0 days,\n"
    "     target 2 is for cross-bred progeny.\n"
    "**********\n"
    "\nDaily gain, pure-bred    (kg/day):   0.200   0.000"
    "\nDaily gain, cross-bred    (kg/day):   0.220   0.180"
    "\nSurvival, pure-bred    (fraction):   0.990   0.980"
    "\nSurvival, cross-bred    (fraction):   0.970   0.960"
    "\nUnit of target    (1 kg, 2 days):  1"
    "\nTarget    (kg or days):   50.0"
    "\nBreeds    (0 both, 1 pure, 2 cross):  1"
    "\n**********\n"
    "For checking the correctness of your input data:\n"
    "  Target 1 for fattening of male progeny is  50.0 kg,\n"
    "     target 1 is for pure-bred progeny.\n"
    "**********\n"
    "\nDaily gain, pure-bred    (kg/day):   0.300"
    "\nDaily gain, cross-bred    (kg/day):   0.000"
    "\nSurvival, pure-bred    (fraction):   0.995"
    "\nSurvival, cross-bred    (fraction):   0.000"
    "\nUnit of target    (1 kg, 2 days):  2"
    "\nTarget    (kg or days):  250.0"
    "\nBreeds    (0 both, 1 pure, 2 cross):  0"
    "\n**********\n"
    "For checking the correctness of your input data:\n"
    "  Target 1 for fattening of castrates is 250.0 days,\n"
    "     target 1 is for pure-bred and cross-bred progeny.\n"
    "**********\n"
    "\nCastrates, pure-bred    (fractions):   1.000"
    "\nCastrates, cross-bred    (fractions):   1.000"
    "\nDaily gain, pure-bred    (kg/day):   0.280"
    "\nDaily gain, cross-bred    (kg/day):   0.260"
    "\nSurvival, pure-bred    (fraction):   0.990"
    "\nSurvival, cross-bred    (fraction):   0.985";

// No crossing and no fattening: every record stands in the file, only the
// fractions of pure-bred progeny and the share sold early are read.
const char* const kGoldenPlain =
    "/ Surplus progeny /\n"
    "0.7 0.3 \"Females, pure-bred\" \"fractions\"\n"
    "1 2 \"Females, cross-bred\" \"skipped\"\n"
    "0.6 0.4 0 \"Males, pure-bred\" \"fractions\"\n"
    "1 2 3 \"Males, cross-bred\" \"skipped\"\n"
    "0.5 \"Sold early\" \"fraction\"\n"
    "7 \"Sold early, cross-bred\" \"skipped\"\n"
    "/ Females /\n"
    "1 \"Unit\" \"skipped\"\n2 \"Target\" \"skipped\"\n3 \"Breeds\" \"skipped\"\n"
    "0 \"Gain\" \"skipped\"\n0 \"Gain\" \"skipped\"\n0 \"Survival\" \"skipped\"\n0 \"Survival\" \"skipped\"\n"
    "/ Males /\n"
    "1 \"Unit\" \"skipped\"\n2 \"Target\" \"skipped\"\n3 \"Breeds\" \"skipped\"\n"
    "0 \"Gain\" \"skipped\"\n0 \"Gain\" \"skipped\"\n0 \"Survival\" \"skipped\"\n0 \"Survival\" \"skipped\"\n"
    "/ Castrates /\n"
    "1 \"Unit\" \"skipped\"\n2 \"Target\" \"skipped\"\n3 \"Breeds\" \"skipped\"\n"
    "5 \"Fractions\" \"skipped\"\n5 \"Fractions\" \"skipped\"\n0 \"Gain\" \"skipped\"\n0 \"Gain\" \"skipped\"\n"
    "0 \"Survival\" \"skipped\"\n0 \"Survival\" \"skipped\"\n";

// ---- generated files ----

// The system variables that shape the file: crossing and the numbers of
// fattening variants of castrates, female and male progeny.
struct System {
    int crossing = 1;
    int lf[3] = {0, 0, 0};
};

// A valid file for a system, records 1 .. 33 by their number.  Every target
// applies to both breeds with crossing and to the pure-bred otherwise, every
// fattening category holds 0.1 of its kind, 0.2 of the males are castrated
// when castrates are fattened.  A record that is not read holds "9 9 9",
// which would fail if it were read, and the unit text "skipped".
struct File05 {
    System sys;
    std::string rec[34];

    std::string text() const {
        std::string s;
        for (int r = 1; r <= 33; ++r) s += rec[r] + "\n";
        return s;
    }
    // Replaces the numbers of record r.
    void set(int r, const std::string& numbers) { rec[r] = numbers + " \"rec" + std::to_string(r) + "\" \"u\""; }
};

std::string fmt(double x) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", x);
    return buf;
}

File05 make05(int crossing, int lf0, int lf1, int lf2) {
    File05 f;
    f.sys.crossing = crossing;
    f.sys.lf[0] = lf0;
    f.sys.lf[1] = lf1;
    f.sys.lf[2] = lf2;
    const bool x = crossing == 2;
    const int code = x ? 0 : 1;
    auto skip = [&](int r) { f.rec[r] = "9 9 9 \"rec" + std::to_string(r) + "\" \"skipped\""; };
    auto repeat = [](int n, auto value) {
        std::string s;
        for (int i = 1; i <= n; ++i) s += (i > 1 ? " " : "") + value(i);
        return s;
    };
    auto present = [&](int r, bool cond, const std::string& numbers) {
        if (cond) f.set(r, numbers);
        else skip(r);
    };

    const std::string females = fmt(1 - 0.2 - 0.1 * lf1) + " 0.2" + repeat(lf1, [](int) { return std::string(" 0.1"); });
    const double castrated = lf0 > 0 ? 0.2 : 0.0;
    const std::string males = fmt(1 - 0.2 - castrated - 0.1 * lf2) + " 0.2 " + fmt(castrated) +
                              repeat(lf2, [](int) { return std::string(" 0.1"); });
    f.rec[1] = "/ Surplus progeny /";
    f.set(2, females);
    present(3, x, females);
    f.set(4, males);
    present(5, x, males);
    f.set(6, "0.4");
    present(7, x, "0.3");
    f.rec[8] = "/ Female progeny /";
    f.rec[16] = "/ Male progeny /";
    f.rec[24] = "/ Castrates /";

    const int lfOf[3] = {lf0, lf1, lf2};
    const int first[3] = {25, 9, 17};
    for (int k = 0; k <= 2; ++k) {
        const int n = lfOf[k], r = first[k];
        present(r, n > 0, repeat(n, [](int i) { return std::string(i % 2 ? "1" : "2"); }));
        present(r + 1, n > 0, repeat(n, [](int i) { return fmt(i % 2 ? 40 + i : 150 + 10 * i); }));
        present(r + 2, n > 0, repeat(n, [&](int) { return std::to_string(code); }));
    }
    for (int k = 1; k <= 2; ++k) {
        const int n = lfOf[k], r = first[k] + 3;
        present(r, n > 0, repeat(n, [](int i) { return fmt(0.2 + 0.01 * i); }));
        present(r + 1, n > 0 && x, repeat(n, [](int i) { return fmt(0.25 + 0.01 * i); }));
        present(r + 2, n > 0, repeat(n, [](int) { return std::string("0.95"); }));
        present(r + 3, n > 0 && x, repeat(n, [](int) { return std::string("0.96"); }));
    }
    const bool c = lf0 > 0;
    const std::string shares = fmt(1 - 0.1 * (lf0 - 1)) + repeat(lf0 - 1, [](int) { return std::string(" 0.1"); });
    present(28, c, shares);
    present(29, c && x, shares);
    present(30, c, repeat(lf0, [](int i) { return fmt(0.3 + 0.01 * i); }));
    present(31, c && x, repeat(lf0, [](int i) { return fmt(0.35 + 0.01 * i); }));
    present(32, c, repeat(lf0, [](int) { return std::string("0.97"); }));
    present(33, c && x, repeat(lf0, [](int) { return std::string("0.98"); }));
    return f;
}

void setSystem(Harness& h, const System& s) {
    Model& m = *h.model;
    m.crossing = s.crossing;
    for (int k = 0; k <= 2; ++k) m.lf[k] = s.lf[k];
    m.csp[0] = s.lf[0];
    m.csp[1] = s.lf[1] + 2;
    m.csp[2] = s.lf[2] + 3;
}

void read05(Harness& h, const std::string& text) {
    h.dir.write("INPUTS05.TXT", text);
    testutil::InDir d(h.dir.path());
    InFile in = openInput(h.run, "INPUTS05.TXT");
    readInputs05(h.run, in);
    // Every record has been consumed: only the final line break is left.
    EXPECT_EQ(std::fgetc(in.f), '\n');
    EXPECT_EQ(std::fgetc(in.f), EOF);
    closeInput(in);
}

void read05(Harness& h, const File05& f) {
    setSystem(h, f.sys);
    read05(h, f.text());
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

TEST(Inputs05, GoldenEchoWithCrossingAndAllKindsFattened) {
    Harness h;
    System s;
    s.crossing = 2;
    s.lf[0] = 1;
    s.lf[1] = 2;
    s.lf[2] = 1;
    setSystem(h, s);
    read05(h, kGoldenCrossed);
    EXPECT_EQ(h.results(), kGoldenCrossedEcho);
    const Model& m = *h.model;
    EXPECT_FLOAT_EQ(m.psp[1][4][2], 0.2f);
    EXPECT_FLOAT_EQ(m.psp[2][3][1], 0.25f);
    EXPECT_FLOAT_EQ(m.ps13[1], 0.6f);
    EXPECT_FLOAT_EQ(m.ps13[2], 0.5f);
    EXPECT_EQ(m.ulf[1][2], 2);
    EXPECT_FLOAT_EQ(m.vlf[1][2], 200.0f);
    EXPECT_EQ(m.clf[1][2], 2);
    EXPECT_EQ(m.clf[2][1], 1);
    EXPECT_EQ(m.ulf[0][1], 2);
    // Progeny categories of the variants: females 8, 9; males 33; castrates 43.
    EXPECT_FLOAT_EQ(m.adgP[8][1], 0.2f);
    EXPECT_EQ(double(m.adgP[9][1]), 0.0);
    EXPECT_FLOAT_EQ(m.adgP[9][2], 0.18f);
    EXPECT_FLOAT_EQ(m.adgP[33][1], 0.3f);
    EXPECT_FLOAT_EQ(m.adgP[43][1], 0.28f);
    EXPECT_FLOAT_EQ(m.adgP[43][2], 0.26f);
    EXPECT_FLOAT_EQ(m.surfat[1][2][2], 0.96f);
    EXPECT_FLOAT_EQ(m.surfat[2][1][1], 0.995f);
    EXPECT_FLOAT_EQ(m.surfat[0][1][2], 0.985f);
    // Castrate fractions become shares of all surplus males of the breed.
    EXPECT_FLOAT_EQ(m.psp[0][1][1], 0.25f);
    EXPECT_FLOAT_EQ(m.psp[0][1][2], 0.4f);
}

TEST(Inputs05, GoldenEchoWithoutCrossingAndWithoutFattening) {
    Harness h;
    setSystem(h, System{});
    read05(h, kGoldenPlain);
    EXPECT_EQ(h.results(),
              "\nFemales, pure-bred    (fractions):   0.700   0.300"
              "\nMales, pure-bred    (fractions):   0.600   0.400   0.000"
              " Sold early    (fraction):      0.5000 ");
    const Model& m = *h.model;
    EXPECT_FLOAT_EQ(m.psp[2][2][1], 0.4f);
    EXPECT_EQ(double(m.ps13[2]), 0.0);
    for (int k = 0; k <= 2; ++k)
        for (int c = 0; c < 10; ++c) EXPECT_EQ(double(m.psp[k][c][2]), 0.0);
    for (int i = 0; i < cap::LF; ++i) EXPECT_EQ(m.clf[1][i] + m.ulf[2][i] + m.clf[0][i], 0);
}

// ---- skipped records ----

namespace {

struct SkipCase {
    int crossing, lf0, lf1, lf2;

    friend void PrintTo(const SkipCase& c, std::ostream* os) {
        *os << "crossing " << c.crossing << ", lf " << c.lf0 << c.lf1 << c.lf2;
    }
};

class Inputs05Skip : public testing::TestWithParam<SkipCase> {};

}  // namespace

TEST_P(Inputs05Skip, SkippedRecordsAreNotEchoedAndStayZero) {
    const auto [crossing, lf0, lf1, lf2] = GetParam();
    const File05 f = make05(crossing, lf0, lf1, lf2);
    Harness h;
    read05(h, f);
    const std::string res = h.results();
    EXPECT_EQ(res.find("skipped"), std::string::npos) << res;
    for (int r = 1; r <= 33; ++r) {
        const bool skipped = f.rec[r].find("skipped") != std::string::npos;
        const bool echoed = res.find("rec" + std::to_string(r) + "    (u):") != std::string::npos;
        if (f.rec[r][0] != '/') {
            EXPECT_NE(skipped, echoed) << "record " << r;
        }
    }
    const Model& m = *h.model;
    for (int i = 1; i < cap::LF; ++i) {
        for (int k = 0; k <= 2; ++k) {
            const bool used = i <= f.sys.lf[k];
            if (!used) {
                EXPECT_EQ(m.ulf[k][i], 0);
                EXPECT_EQ(double(m.vlf[k][i]), 0.0);
                EXPECT_EQ(m.clf[k][i], 0);
                EXPECT_EQ(double(m.surfat[k][i][1]), 0.0);
            }
            if (!used || crossing == 1) {
                EXPECT_EQ(double(m.surfat[k][i][2]), 0.0);
            }
        }
        for (int row : {7, 32, 42}) {
            const int k = row == 7 ? 1 : row == 32 ? 2 : 0;
            if (i > f.sys.lf[k]) {
                EXPECT_EQ(double(m.adgP[row + i][1]), 0.0);
            }
            if (i > f.sys.lf[k] || crossing == 1) {
                EXPECT_EQ(double(m.adgP[row + i][2]), 0.0);
            }
        }
    }
    if (crossing == 1) {
        for (int k = 0; k <= 2; ++k)
            for (int c = 0; c < 10; ++c) EXPECT_EQ(double(m.psp[k][c][2]), 0.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Systems, Inputs05Skip,
                         testing::Values(SkipCase{1, 0, 0, 0}, SkipCase{2, 0, 0, 0}, SkipCase{1, 2, 2, 2},
                                         SkipCase{2, 2, 2, 2}, SkipCase{1, 5, 5, 5}, SkipCase{2, 5, 5, 5},
                                         SkipCase{2, 0, 3, 1}, SkipCase{1, 1, 0, 4}),
                         [](const testing::TestParamInfo<SkipCase>& i) {
                             const auto& p = i.param;
                             return "crossing" + std::to_string(p.crossing) + "_lf" + std::to_string(p.lf0) +
                                    std::to_string(p.lf1) + std::to_string(p.lf2);
                         });

TEST(Inputs05, CastratesOfOneBreedOnlySkipTheRecordsOfTheOther) {
    // Cross-bred males are not castrated: records 29, 31 and 33 are skipped.
    File05 f = make05(2, 1, 0, 0);
    f.set(5, "0.8 0.2 0");
    f.rec[29] = "9 \"rec29\" \"skipped\"";
    f.rec[31] = "9 \"rec31\" \"skipped\"";
    f.rec[33] = "9 \"rec33\" \"skipped\"";
    f.set(27, "1");
    Harness h;
    read05(h, f);
    EXPECT_EQ(h.results().find("skipped"), std::string::npos);
    EXPECT_EQ(double(h.model->psp[0][1][2]), 0.0);
    EXPECT_EQ(double(h.model->adgP[43][2]), 0.0);
    EXPECT_FLOAT_EQ(h.model->psp[0][1][1], 0.2f);

    // Pure-bred males are not castrated and the target is for cross-breds
    // only: records 28, 30 and 32 are skipped.
    File05 g = make05(2, 1, 0, 0);
    g.set(4, "0.8 0.2 0");
    g.rec[28] = "9 \"rec28\" \"skipped\"";
    g.rec[30] = "9 \"rec30\" \"skipped\"";
    g.rec[32] = "9 \"rec32\" \"skipped\"";
    g.set(27, "2");
    Harness h2;
    read05(h2, g);
    EXPECT_EQ(h2.results().find("skipped"), std::string::npos);
    EXPECT_EQ(double(h2.model->psp[0][1][1]), 0.0);
    EXPECT_FLOAT_EQ(h2.model->psp[0][1][2], 0.2f);
    EXPECT_FLOAT_EQ(h2.model->adgP[43][2], 0.36f);
}

TEST(Inputs05, CastrateFractionsAreScaledToSharesOfAllSurplusMales) {
    File05 f = make05(2, 2, 0, 0);
    f.set(4, "0.6 0.2 0.2");
    f.set(5, "0.4 0.2 0.4");
    f.set(28, "0.5 0.5");
    f.set(29, "0.25 0.75");
    Harness h;
    read05(h, f);
    const Model& m = *h.model;
    EXPECT_FLOAT_EQ(m.psp[0][1][1], 0.1f);
    EXPECT_FLOAT_EQ(m.psp[0][2][1], 0.1f);
    EXPECT_FLOAT_EQ(m.psp[0][1][2], 0.1f);
    EXPECT_FLOAT_EQ(m.psp[0][2][2], 0.3f);
    // The echo shows the fractions as read.
    EXPECT_NE(h.results().find("\nrec28    (u):   0.500   0.500\nrec29    (u):   0.250   0.750"), std::string::npos);
}

TEST(Inputs05, TargetForOneBreedNeedsProgenyOfThatBreedOnlyAndItsGainOnly) {
    // Female target 1 for pure-breds: pure-bred category 3 filled, the
    // cross-bred one empty, no cross-bred gain needed.
    File05 f = make05(2, 0, 1, 0);
    f.set(3, "0.8 0.2 0");
    f.set(11, "1");
    f.set(13, "0");
    Harness h;
    read05(h, f);
    EXPECT_EQ(double(h.model->adgP[8][2]), 0.0);
    EXPECT_NE(h.results().find("     target 1 is for pure-bred progeny.\n"), std::string::npos);

    // Male target 1 for cross-breds: no pure-bred gain needed.
    File05 g = make05(2, 0, 0, 1);
    g.set(4, "0.8 0.2 0 0");
    g.set(19, "2");
    g.set(20, "0");
    Harness h2;
    read05(h2, g);
    EXPECT_EQ(double(h2.model->adgP[33][1]), 0.0);
    EXPECT_FLOAT_EQ(h2.model->adgP[33][2], 0.26f);
}

TEST(Inputs05, CastratedCrossBredMalesAreAcceptedWithoutCrossing) {
    // Without crossing the cross-bred male fractions are not read, so they
    // cannot ask for castrate fattening.
    File05 f = make05(1, 0, 0, 0);
    f.rec[5] = "0.5 0.3 0.2 \"rec5\" \"skipped\"";
    Harness h;
    read05(h, f);
    EXPECT_EQ(double(h.model->psp[2][3][2]), 0.0);
}

// ---- stops ----

namespace {

struct StopCase {
    const char* name;
    SkipCase sys;
    std::vector<std::pair<int, std::string>> changes;  // record, numbers
    std::string message;
    std::string resultsTail;  // the results file ends with this text

    friend void PrintTo(const StopCase& c, std::ostream* os) { *os << c.name; }
};

class Inputs05Stop : public testing::TestWithParam<StopCase> {};

}  // namespace

TEST_P(Inputs05Stop, StopsWithMessageAfterTheRightEcho) {
    const StopCase& c = GetParam();
    File05 f = make05(c.sys.crossing, c.sys.lf0, c.sys.lf1, c.sys.lf2);
    for (const auto& [r, numbers] : c.changes) f.set(r, numbers);
    Harness h;
    setSystem(h, f.sys);
    EXPECT_EXIT(read05(h, f.text()), testing::ExitedWithCode(1), "");
    EXPECT_EQ(testutil::maskElapsed(h.console()),
              "\n\n\nError message:\n" + c.message + "The program needed T seconds.\n\n\n");
    const std::string res = h.results();
    EXPECT_TRUE(endsWith(res, c.resultsTail)) << res;
}

namespace {

const std::string kFix = "Correct this error in INPUTS05.TXT and restart the program.\n";
const std::string kFix2 = "  Correct the error in INPUTS05.TXT and restart the program.\n";
const std::string kBlockEnd = "**********\n";

std::string sumMessage(const char* breed, const char* kind) {
    return std::string("The fractions of ") + breed + "surplus " + kind + " must sum to 1.\n" + kFix;
}

std::string wrongCodes(const char* kind) {
    return std::string("In the file INPUTS05.TXT are wrong codes indicating\n"
                       "  the presence of cross-bred ") +
           kind + " in fattening\n"
                  "  whereas in PARAS.TXT no crossbreeding was indicated.\n"
                  "  Correct the error and restart the program.\n";
}

std::string codeMessage(int i, const char* kind) {
    return "The code of target " + std::to_string(i) + " for fattening of " + kind + " must be 0, 1 or 2.\n" + kFix2;
}

std::string unitMessage(int i, const char* kind) {
    return "The unit of target " + std::to_string(i) + " for fattening of " + kind +
           " must be 1 (kg)\n  or 2 (days). Correct the error in INPUTS05.TXT and restart the program.\n";
}

std::string categoryMessage(const char* breed, const char* kind, int i) {
    return std::string("The fraction of ") + breed + kind + "\n  for target " + std::to_string(i) +
           " in fattening is not correct.\n" + kFix2 + "\n\n";
}

std::string gainMessage(const char* breed, const char* kind, int i) {
    return std::string("Average daily gain for fattening of ") + breed + kind + "\n  to target " +
           std::to_string(i) + " must be greater than zero.\n" + kFix2;
}

const std::string kNoCastrates =
    "In the parameter file PARAS.TXT you stated that there will\n"
    "  be no fattening of castrates. In input file INPUTS05.TXT\n"
    "  you gave a non-zero fraction of castrates. Change the\n"
    "  input parameters to make them consistent and restart\n"
    "  the program.\n";

const SkipCase kCrossed{2, 1, 1, 1};
const SkipCase kPlain{1, 1, 1, 1};

}  // namespace

INSTANTIATE_TEST_SUITE_P(
    Checks, Inputs05Stop,
    testing::Values(
        // Sums of the fractions, tested after their echo.
        StopCase{"SumFemalePure", kCrossed, {{2, "0.5 0.2 0.1"}}, sumMessage("pure-bred ", "female progeny"),
                 "\nrec2    (u):   0.500   0.200   0.100"},
        StopCase{"SumFemaleCross", kCrossed, {{3, "0.5 0.2 0.4"}}, sumMessage("cross-bred ", "female progeny"),
                 "\nrec3    (u):   0.500   0.200   0.400"},
        StopCase{"SumFemaleAboveTolerance", kCrossed, {{2, "0.700005 0.2 0.1"}},
                 sumMessage("pure-bred ", "female progeny"), "\nrec2    (u):   0.700   0.200   0.100"},
        StopCase{"SumMalePure", kCrossed, {{4, "0.5 0.2 0.2 0"}}, sumMessage("pure-bred ", "male progeny"),
                 "\nrec4    (u):   0.500   0.200   0.200   0.000"},
        StopCase{"SumMaleCross", kCrossed, {{5, "0.5 0.2 0.2 0.2"}}, sumMessage("cross-bred ", "male progeny"),
                 "\nrec5    (u):   0.500   0.200   0.200   0.200"},
        StopCase{"SumCastratesPure", kCrossed, {{28, "0.9"}}, sumMessage("pure-bred ", "castrates"),
                 "\nrec28    (u):   0.900"},
        StopCase{"SumCastratesCross", kCrossed, {{29, "1.1"}}, sumMessage("cross-bred ", "castrates"),
                 "\nrec29    (u):   1.100"},
        // Targets for cross-breds without crossing: before the summary.
        StopCase{"CrossCodeFemale", kPlain, {{11, "2"}}, wrongCodes("female progeny"),
                 "\nrec11    (u):  2"},
        StopCase{"CrossCodeMale", {1, 0, 0, 2}, {{19, "1 0"}}, wrongCodes("male progeny"),
                 "\nrec19    (u):  1  0"},
        StopCase{"CrossCodeCastrates", kPlain, {{27, "2"}}, wrongCodes("castrates"), "\nrec27    (u):  2"},
        // Codes and units that select nothing, right after their echo; the
        // code is tested for every target before the crossing test.
        StopCase{"CodeFemale", {1, 0, 2, 0}, {{11, "0 3"}}, codeMessage(2, "female progeny"),
                 "\nrec11    (u):  0  3"},
        StopCase{"CodeMale", kCrossed, {{19, "-1"}}, codeMessage(1, "male progeny"), "\nrec19    (u): -1"},
        StopCase{"CodeCastrates", kCrossed, {{27, "5"}}, codeMessage(1, "castrates"), "\nrec27    (u):  5"},
        StopCase{"UnitFemale", kCrossed, {{9, "0"}}, unitMessage(1, "female progeny"), "\nrec9    (u):  0"},
        StopCase{"UnitMale", {2, 0, 0, 2}, {{17, "1 3"}}, unitMessage(2, "male progeny"), "\nrec17    (u):  1  3"},
        StopCase{"UnitCastrates", kPlain, {{25, "-2"}}, unitMessage(1, "castrates"), "\nrec25    (u): -2"},
        // Category tests (a) to (d) after the summary of the targets.
        StopCase{"FemaleA", kCrossed, {{2, "0.8 0.2 0"}}, categoryMessage("pure-bred ", "female progeny", 1),
                 kBlockEnd},
        StopCase{"FemaleB", kCrossed, {{11, "2"}}, categoryMessage("pure-bred ", "female progeny", 1), kBlockEnd},
        StopCase{"FemaleC", kCrossed, {{3, "0.8 0.2 0"}}, categoryMessage("cross-bred ", "female progeny", 1),
                 kBlockEnd},
        StopCase{"FemaleD", kCrossed, {{11, "1"}}, categoryMessage("cross-bred ", "female progeny", 1), kBlockEnd},
        StopCase{"FemaleAWithoutCrossing", {1, 0, 2, 0}, {{2, "0.6 0.2 0.2 0"}},
                 categoryMessage("pure-bred ", "female progeny", 2), kBlockEnd},
        StopCase{"MaleA", kCrossed, {{4, "0.6 0.2 0.2 0"}}, categoryMessage("pure-bred ", "male progeny", 1),
                 kBlockEnd},
        StopCase{"MaleB", kCrossed, {{19, "2"}}, categoryMessage("pure-bred ", "male progeny", 1), kBlockEnd},
        StopCase{"MaleC", kCrossed, {{5, "0.6 0.2 0.2 0"}}, categoryMessage("cross-bred ", "male progeny", 1),
                 kBlockEnd},
        StopCase{"MaleD", kCrossed, {{19, "1"}}, categoryMessage("cross-bred ", "male progeny", 1), kBlockEnd},
        // Castrates: after the fractions as scaled (record 29).
        StopCase{"CastratesA", {2, 2, 0, 0}, {{28, "1 0"}}, categoryMessage("pure-bred ", "castrates", 2),
                 "\nrec29    (u):   0.900   0.100"},
        StopCase{"CastratesB", {2, 2, 0, 0}, {{27, "2 2"}}, categoryMessage("pure-bred ", "castrates", 1),
                 "\nrec29    (u):   0.900   0.100"},
        StopCase{"CastratesC", {2, 2, 0, 0}, {{29, "1 0"}}, categoryMessage("cross-bred ", "castrates", 2),
                 "\nrec29    (u):   1.000   0.000"},
        StopCase{"CastratesD", {2, 2, 0, 0}, {{27, "0 1"}}, categoryMessage("cross-bred ", "castrates", 2),
                 "\nrec29    (u):   0.900   0.100"},
        StopCase{"CastratesANotCastrated", {1, 1, 0, 0}, {{4, "0.8 0.2 0"}},
                 categoryMessage("pure-bred ", "castrates", 1), kBlockEnd},
        // Daily gains, tested while they are read: the record is not echoed.
        StopCase{"GainFemalePure", kCrossed, {{12, "0"}}, gainMessage("pure-bred ", "female progeny", 1), kBlockEnd},
        StopCase{"GainFemalePureSecond", {1, 0, 2, 0}, {{12, "0.2 -0.1"}},
                 gainMessage("pure-bred ", "female progeny", 2), kBlockEnd},
        StopCase{"GainFemaleCross", kCrossed, {{13, "0.0000009"}}, gainMessage("cross-bred ", "female progeny", 1),
                 "\nrec12    (u):   0.210"},
        StopCase{"GainMalePure", kCrossed, {{20, "0"}}, gainMessage("pure-bred ", "male progeny", 1), kBlockEnd},
        StopCase{"GainMaleCross", kCrossed, {{21, "0"}}, gainMessage("cross-bred ", "male progeny", 1),
                 "\nrec20    (u):   0.210"},
        StopCase{"GainCastratesPure", kCrossed, {{30, "0"}}, gainMessage("pure-bred ", "castrates", 1),
                 "\nrec29    (u):   1.000"},
        StopCase{"GainCastratesCross", kCrossed, {{31, "0"}}, gainMessage("cross-bred ", "castrates", 1),
                 "\nrec30    (u):   0.310"},
        // Castrated males without fattening of castrates, for either breed.
        StopCase{"CastratedPureWithoutFattening", {1, 0, 0, 0}, {{4, "0.5 0.3 0.2"}}, kNoCastrates,
                 "\nrec4    (u):   0.500   0.300   0.200 rec6    (u):      0.4000 "},
        StopCase{"CastratedCrossWithoutFattening", {2, 0, 0, 0}, {{5, "0.5 0.3 0.2"}}, kNoCastrates,
                 "\nrec5    (u):   0.500   0.300   0.200 rec6    (u):      0.4000  rec7    (u):      0.3000 "}),
    [](const testing::TestParamInfo<StopCase>& i) { return std::string(i.param.name); });
