// INPUTS12.TXT: the record sequence of every pricing system for culled
// sheep with and without crossing, the frequency tests, the guards on codes
// and class counts, and the values derived after the file.
#include <gtest/gtest.h>

#include "input/inputs.h"
#include "input/reader.h"
#include "test_util.h"

using testutil::Harness;

namespace {

// Reads text as INPUTS12.TXT the way the reading sequence does, as section
// 2.11 (milked ewes) unless another section is given.
void read12(Harness& h, int crossing, const std::string& text, int section = 11) {
    h.model->crossing = crossing;
    h.dir.write("INPUTS12.TXT", text);
    testutil::InDir d(h.dir.path());
    h.run.sectionNo = section - 1;
    readInputFile(h.run, 12, readInputs12);
}

std::string replaced(std::string s, const std::string& from, const std::string& to) {
    const auto p = s.find(from);
    EXPECT_NE(p, std::string::npos) << from;
    if (p != std::string::npos) s.replace(p, from.size(), to);
    return s;
}

// A complete file: three quality classes, two fleshiness by three fat
// classes.  Every record stands; the pricing system and crossing decide
// which are read.
std::string file(int priceS) {
    return "/ Payment of culled sheep /\n" + std::to_string(priceS) +
           " \"Pricing system\" \"code\"\n"
           "/ Live weight /\n"
           "2.5 \"Price per kg live weight\" \"pure-bred\"\n"
           "2.75 \"Price per kg live weight\" \"cross-bred\"\n"
           "/ Quality classes /\n"
           "3 \"Quality classes\" \"n\"\n"
           "60 55 50 \"Prices of classes\" \"per head\"\n"
           "0.2 0.5 0.3 \"Frequencies\" \"pure-bred\"\n"
           "0.1 0.6 0.3 \"Frequencies\" \"cross-bred\"\n"
           "/ Carcass weight /\n"
           "5.5 \"Price per kg carcass\" \"pure-bred\"\n"
           "5.75 \"Price per kg carcass\" \"cross-bred\"\n"
           "/ Fleshiness and fat covering /\n"
           "2 \"Fleshiness classes\" \"n\"\n"
           "3 \"Fat classes\" \"n\"\n"
           "6.0 \"Reference price\" \"per kg\"\n"
           "1.1 1.0 0.9\n1.05 0.95 0.85 \"Relative prices\" \"-\"\n"
           "0.1 0.2 0.1\n0.2 0.3 0.1 \"Frequencies\" \"pure-bred\"\n"
           "0.2 0.2 0.1\n0.1 0.3 0.1 \"Frequencies\" \"cross-bred\"\n"
           "/ Dressing percentages /\n"
           "45 \"Dressing ewes\" \"%\"\n"
           "48 \"Dressing rams\" \"pure-bred %\"\n"
           "50 \"Dressing rams\" \"cross-bred %\"\n"
           "47 \"Dressing young stock\" \"pure-bred %\"\n"
           "49 \"Dressing young stock\" \"cross-bred %\"\n";
}

const std::string kHeading = "2.11 Data from file INPUTS12.TXT\n--------------------------------\n";

std::string systemEcho(int priceS) { return " Pricing system    (code):  " + std::to_string(priceS) + " "; }

// The echo of file(priceS) with crossing, hand-written record by record.
std::string echo(int priceS, int crossing) {
    const bool cross = crossing == 2;
    std::string s = systemEcho(priceS);
    if (priceS == 1) {
        s += " Price per kg live weight    (pure-bred):      2.5000 ";
        if (cross) s += " Price per kg live weight    (cross-bred):      2.7500 ";
    } else if (priceS == 2) {
        s += " Quality classes    (n):  3 "
             "\nPrices of classes    (per head):     60.0000     55.0000     50.0000"
             "\nFrequencies    (pure-bred):    0.20    0.50    0.30";
        if (cross) s += "\nFrequencies    (cross-bred):    0.10    0.60    0.30";
    } else if (priceS == 3) {
        s += " Price per kg carcass    (pure-bred):      5.5000 ";
        if (cross) s += " Price per kg carcass    (cross-bred):      5.7500 ";
    } else {
        s += " Fleshiness classes    (n):  2 "
             " Fat classes    (n):  3 "
             " Reference price    (per kg):      6.0000 "
             "\nRelative prices    (-):"
             "\n      1.1000      1.0000      0.9000"
             "\n      1.0500      0.9500      0.8500"
             "\nFrequencies    (pure-bred):"
             "\n   0.100   0.200   0.100"
             "\n   0.200   0.300   0.100";
        if (cross)
            s += "\nFrequencies    (cross-bred):"
                 "\n   0.200   0.200   0.100"
                 "\n   0.100   0.300   0.100";
    }
    if (priceS >= 3) {
        s += " Dressing ewes    (%):     45.0000 "
             " Dressing rams    (pure-bred %):     48.0000 ";
        if (cross) s += " Dressing rams    (cross-bred %):     50.0000 ";
        s += " Dressing young stock    (pure-bred %):     47.0000 ";
        if (cross) s += " Dressing young stock    (cross-bred %):     49.0000 ";
    }
    return s;
}

struct SystemCase {
    int priceS, crossing;
};

class Inputs12System : public testing::TestWithParam<SystemCase> {};

TEST_P(Inputs12System, EchoAndValuesOfThePricingSystem) {
    const auto [priceS, crossing] = GetParam();
    Harness h;
    read12(h, crossing, file(priceS));
    EXPECT_EQ(h.results(), kHeading + echo(priceS, crossing) + "\n\n\n");
    EXPECT_EQ(h.console(), "Reading data from INPUTS12.TXT\n");

    const Model& m = *h.model;
    const bool cross = crossing == 2;
    EXPECT_EQ(m.priceS, priceS);
    EXPECT_EQ(double(m.prlwS[1]), priceS == 1 ? double(2.5f) : 0.0);
    EXPECT_EQ(double(m.prlwS[2]), priceS == 1 && cross ? double(2.75f) : 0.0);
    EXPECT_EQ(m.nclS, priceS == 2 ? 3 : 0);
    EXPECT_EQ(double(m.prclS[3]), priceS == 2 ? 50.0 : 0.0);
    EXPECT_EQ(double(m.pclS[1][2]), priceS == 2 ? double(0.5f) : 0.0);
    EXPECT_EQ(double(m.pclS[2][2]), priceS == 2 && cross ? double(0.6f) : 0.0);
    EXPECT_EQ(double(m.prcwS[1]), priceS == 3 ? 5.5 : 0.0);
    EXPECT_EQ(double(m.prcwS[2]), priceS == 3 && cross ? 5.75 : 0.0);
    EXPECT_EQ(m.nclflS, priceS == 4 ? 2 : 0);
    EXPECT_EQ(m.nclfcS, priceS == 4 ? 3 : 0);
    EXPECT_EQ(double(m.prrefS), priceS == 4 ? 6.0 : 0.0);
    // Rows are fleshiness classes, columns fat classes.
    EXPECT_EQ(double(m.prclfcS[1][3]), priceS == 4 ? double(0.9f) : 0.0);
    EXPECT_EQ(double(m.prclfcS[2][1]), priceS == 4 ? double(1.05f) : 0.0);
    EXPECT_EQ(double(m.pclfcS[1][2][2]), priceS == 4 ? double(0.3f) : 0.0);
    EXPECT_EQ(double(m.pclfcS[2][1][1]), priceS == 4 && cross ? double(0.2f) : 0.0);
    const bool carcass = priceS >= 3;
    EXPECT_EQ(double(m.dresE), carcass ? 45.0 : 0.0);
    EXPECT_EQ(double(m.dresR[1]), carcass ? 48.0 : 0.0);
    EXPECT_EQ(double(m.dresR[2]), carcass && cross ? 50.0 : 0.0);
    EXPECT_EQ(double(m.dresrL[1]), carcass ? 47.0 : 0.0);
    EXPECT_EQ(double(m.dresrL[2]), carcass && cross ? 49.0 : 0.0);
}

INSTANTIATE_TEST_SUITE_P(Inputs12, Inputs12System,
                         testing::Values(SystemCase{1, 1}, SystemCase{1, 2}, SystemCase{2, 1}, SystemCase{2, 2},
                                         SystemCase{3, 1}, SystemCase{3, 2}, SystemCase{4, 1}, SystemCase{4, 2}),
                         [](const testing::TestParamInfo<SystemCase>& i) {
                             return "priceS" + std::to_string(i.param.priceS) + "crossing" +
                                    std::to_string(i.param.crossing);
                         });

// ---- frequency tests ----------------------------------------------------

const std::string kQualityPure = "0.2 0.5 0.3 \"Frequencies\" \"pure-bred\"";
const std::string kQualityCross = "0.1 0.6 0.3 \"Frequencies\" \"cross-bred\"";
const std::string kFleshPure = "0.1 0.2 0.1\n0.2 0.3 0.1 \"Frequencies\" \"pure-bred\"";
const std::string kFleshCross = "0.2 0.2 0.1\n0.1 0.3 0.1 \"Frequencies\" \"cross-bred\"";

struct FrequencyCase {
    const char* name;
    int priceS, crossing;
    std::string from, to;  // the changed record of file(priceS)
    std::string message;   // empty: the file passes
    std::string lastEcho;  // the end of the results file at the stop
};

std::string freqMessage(const char* classes, const char* breed, const char* sum) {
    return std::string(classes) + breed + "do not sum up to 1. The sum is " + sum +
           ".\n  Correct the error in INPUTS12.TXT and restart the program.\n\n\n";
}

const char* const kQuality = "Frequencies in quality classes for\n";
const char* const kFlesh = "Frequencies in classes for fleshiness/ fat covering for\n";
const char* const kPure = "  pure-bred adult sheep ";
const char* const kCross = "  cross-bred adult sheep ";

class Inputs12Frequencies : public testing::TestWithParam<FrequencyCase> {};

TEST_P(Inputs12Frequencies, SumMustLieStrictlyBetweenTheBounds) {
    const FrequencyCase& f = GetParam();
    Harness h;
    const std::string text = replaced(file(f.priceS), f.from, f.to);
    if (f.message.empty()) {
        read12(h, f.crossing, text);
        EXPECT_EQ(h.console(), "Reading data from INPUTS12.TXT\n");
        return;
    }
    EXPECT_EXIT(read12(h, f.crossing, text), testing::ExitedWithCode(1), "");
    EXPECT_EQ(testutil::maskElapsed(h.console()), "Reading data from INPUTS12.TXT\n\n\n\nError message:\n" + f.message +
                                                      "The program needed T seconds.\n\n\n");
    const std::string res = h.results();
    ASSERT_GE(res.size(), f.lastEcho.size());
    EXPECT_EQ(res.substr(res.size() - f.lastEcho.size()), f.lastEcho);
}

// Quality frequencies are tested after their echo, fleshiness and fat
// frequencies before it.
INSTANTIATE_TEST_SUITE_P(
    Inputs12, Inputs12Frequencies,
    testing::Values(
        FrequencyCase{"qualityPure099999", 2, 1, kQualityPure, "0.5 0.25 0.24999 \"F\" \"p\"",
                      freqMessage(kQuality, kPure, "1.0000"), "\nF    (p):    0.50    0.25    0.25"},
        FrequencyCase{"qualityPure100001", 2, 2, kQualityPure, "0.5 0.25 0.25001 \"F\" \"p\"",
                      freqMessage(kQuality, kPure, "1.0000"), "\nF    (p):    0.50    0.25    0.25"},
        FrequencyCase{"qualityPure0999995", 2, 1, kQualityPure, "0.5 0.25 0.249995 \"F\" \"p\"", "", ""},
        FrequencyCase{"qualityPure1000005", 2, 1, kQualityPure, "0.5 0.25 0.250005 \"F\" \"p\"", "", ""},
        FrequencyCase{"qualityCross", 2, 2, kQualityCross, "0.2 0.5 0.2 \"F\" \"c\"",
                      freqMessage(kQuality, kCross, "0.9000"), "\nF    (c):    0.20    0.50    0.20"},
        FrequencyCase{"qualityCrossSkippedWithoutCrossing", 2, 1, kQualityCross, "0.2 0.5 0.2 \"F\" \"c\"", "", ""},
        FrequencyCase{"fleshPure099999", 4, 1, kFleshPure, "0.5 0.25 0.24999 0 0 0 \"F\" \"p\"",
                      freqMessage(kFlesh, kPure, "1.0000"), "\n      1.0500      0.9500      0.8500"},
        FrequencyCase{"fleshPure100001", 4, 2, kFleshPure, "0.5 0.25 0 0 0 0.25001 \"F\" \"p\"",
                      freqMessage(kFlesh, kPure, "1.0000"), "\n      1.0500      0.9500      0.8500"},
        FrequencyCase{"fleshPure0999995", 4, 1, kFleshPure, "0.5 0.25 0.249995 0 0 0 \"F\" \"p\"", "", ""},
        FrequencyCase{"fleshCross", 4, 2, kFleshCross, "0.5 0.25 0.25 0.25 0 0 \"F\" \"c\"",
                      freqMessage(kFlesh, kCross, "1.2500"), "\n   0.200   0.300   0.100"},
        FrequencyCase{"fleshCrossSkippedWithoutCrossing", 4, 1, kFleshCross, "0.5 0.5 0.5 0 0 0 \"F\" \"c\"", "",
                      ""},
        // Another pricing system skips the frequencies altogether.
        FrequencyCase{"qualityUnusedWithLiveWeight", 1, 2, kQualityPure, "0.5 0.5 0.5 \"F\" \"p\"", "", ""},
        FrequencyCase{"fleshUnusedWithCarcassWeight", 3, 2, kFleshPure, "0.5 0.5 0.5 0 0 0 \"F\" \"p\"", "", ""}),
    [](const testing::TestParamInfo<FrequencyCase>& i) { return std::string(i.param.name); });

// ---- guards on codes and class counts ------------------------------------

struct GuardCase {
    const char* name;
    int priceS;
    std::string from, to;
    std::string message;
    std::string lastEcho;
};

const std::string kTail = " Correct this error in INPUTS12.TXT and restart the program.\n";

class Inputs12DeathTest : public testing::TestWithParam<GuardCase> {};

TEST_P(Inputs12DeathTest, GuardStopsAfterTheEchoOfItsRecord) {
    const GuardCase& g = GetParam();
    Harness h;
    const std::string text = g.from.empty() ? file(g.priceS) : replaced(file(g.priceS), g.from, g.to);
    EXPECT_EXIT(read12(h, 2, text), testing::ExitedWithCode(1), "");
    EXPECT_EQ(testutil::maskElapsed(h.console()), "Reading data from INPUTS12.TXT\n\n\n\nError message:\n" + g.message +
                                                      "The program needed T seconds.\n\n\n");
    const std::string res = h.results();
    ASSERT_GE(res.size(), g.lastEcho.size());
    EXPECT_EQ(res.substr(res.size() - g.lastEcho.size()), g.lastEcho);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs12, Inputs12DeathTest,
    testing::Values(
        GuardCase{"priceS0", 0, "", "", "The pricing system for culled sheep must be in the range from 1\nto 4." + kTail,
                  systemEcho(0)},
        GuardCase{"priceS5", 5, "", "", "The pricing system for culled sheep must be in the range from 1\nto 4." + kTail,
                  systemEcho(5)},
        GuardCase{"nclS0", 2, "3 \"Quality classes\"", "0 \"Quality classes\"",
                  "The number of carcass quality classes must be in the range from 1\nto 5." + kTail,
                  " Quality classes    (n):  0 "},
        GuardCase{"nclS6", 2, "3 \"Quality classes\"", "6 \"Quality classes\"",
                  "The number of carcass quality classes must be in the range from 1\nto 5." + kTail,
                  " Quality classes    (n):  6 "},
        GuardCase{"nclflS0", 4, "2 \"Fleshiness classes\"", "0 \"Fleshiness classes\"",
                  "The number of fleshiness classes must be in the range from 1\nto 7." + kTail,
                  " Fleshiness classes    (n):  0 "},
        GuardCase{"nclflS8", 4, "2 \"Fleshiness classes\"", "8 \"Fleshiness classes\"",
                  "The number of fleshiness classes must be in the range from 1\nto 7." + kTail,
                  " Fleshiness classes    (n):  8 "},
        GuardCase{"nclfcS0", 4, "3 \"Fat classes\"", "0 \"Fat classes\"",
                  "The number of fat covering classes must be in the range from 1\nto 7." + kTail,
                  " Fat classes    (n):  0 "},
        GuardCase{"nclfcS8", 4, "3 \"Fat classes\"", "8 \"Fat classes\"",
                  "The number of fat covering classes must be in the range from 1\nto 7." + kTail,
                  " Fat classes    (n):  8 "}),
    [](const testing::TestParamInfo<GuardCase>& i) { return std::string(i.param.name); });

}  // namespace

TEST(Inputs12, LargestClassCountsFitTheArrays) {
    Harness h;
    std::string f = replaced(file(4), "2 \"Fleshiness classes\"", "7 \"Fleshiness classes\"");
    f = replaced(f, "3 \"Fat classes\"", "7 \"Fat classes\"");
    std::string prices, freqs;
    for (int i = 0; i < 49; ++i) {
        prices += "1 ";
        freqs += i == 48 ? "0.04 " : "0.02 ";
    }
    f = replaced(f, "1.1 1.0 0.9\n1.05 0.95 0.85 ", prices);
    f = replaced(f, "0.1 0.2 0.1\n0.2 0.3 0.1 \"Frequencies\" \"pure-bred\"", freqs + "\"Frequencies\" \"pure-bred\"");
    f = replaced(f, "0.2 0.2 0.1\n0.1 0.3 0.1 \"Frequencies\" \"cross-bred\"", freqs + "\"Frequencies\" \"cross-bred\"");
    read12(h, 2, f);
    EXPECT_FLOAT_EQ(h.model->pclfcS[2][7][7], 0.04f);
    EXPECT_FLOAT_EQ(h.model->pclfcS[2][7][6], 0.02f);
    EXPECT_FLOAT_EQ(h.model->dresrL[2], 49.0f);
}

// ---- values derived after the file ---------------------------------------

TEST(Inputs12, SucklingBreedIsSection210AndDriesAtWeaning) {
    Harness h;
    Model& m = *h.model;
    m.typeb = 2;
    m.datwL = 180;
    read12(h, 1, file(1), 10);
    deriveAfterInputs12(h.run);
    const std::string res = h.results();
    EXPECT_EQ(res, "2.10 Data from file INPUTS12.TXT\n--------------------------------\n" + echo(1, 1) + "\n\n\n");
    EXPECT_EQ(m.datdry, 180);
}

TEST(Inputs12, DryingDateFollowsWeaningUnlessEwesAreMilked) {
    for (int typeb : {1, 2, 3}) {
        Harness h;
        Model& m = *h.model;
        m.typeb = typeb;
        m.priceS = 1;
        m.datwL = 180;
        m.datdry = 400;   // read from INPUTS01.TXT for milked ewes
        deriveAfterInputs12(h.run);
        EXPECT_EQ(m.datdry, typeb == 1 ? 400 : 180) << "typeb " << typeb;
    }
}

TEST(Inputs12, DressingRatiosWithCarcassPayment) {
    for (int priceS : {3, 4}) {
        for (int crossing : {1, 2}) {
            Harness h;
            read12(h, crossing, file(priceS));
            deriveAfterInputs12(h.run);
            const Model& m = *h.model;
            EXPECT_FLOAT_EQ(m.kdresER, float(48.0 / 45.0));
            EXPECT_FLOAT_EQ(m.kdresEL, float(47.0 / 45.0));
            EXPECT_EQ(double(m.kdresRL), crossing == 2 ? double(float(49.0 / 50.0)) : 0.0);
        }
    }
}

TEST(Inputs12, NoDressingRatiosWithoutCarcassPayment) {
    for (int priceS : {1, 2}) {
        Harness h;
        read12(h, 2, file(priceS));
        deriveAfterInputs12(h.run);   // dresE is 0: no ratio is formed
        EXPECT_EQ(double(h.model->kdresER), 0.0);
        EXPECT_EQ(double(h.model->kdresEL), 0.0);
        EXPECT_EQ(double(h.model->kdresRL), 0.0);
    }
}

namespace {

struct DressingCase {
    int priceS, crossing;
    double dresE, dresR2;
    std::string message;
};

class Inputs12DressingDeathTest : public testing::TestWithParam<DressingCase> {};

TEST_P(Inputs12DressingDeathTest, ZeroDivisorStops) {
    const DressingCase& c = GetParam();
    Harness h;
    Model& m = *h.model;
    m.typeb = 1;
    m.priceS = c.priceS;
    m.crossing = c.crossing;
    m.dresE = c.dresE;
    m.dresR[1] = 48.0;
    m.dresR[2] = c.dresR2;
    m.dresrL[1] = 47.0;
    m.dresrL[2] = 49.0;
    EXPECT_EXIT(deriveAfterInputs12(h.run), testing::ExitedWithCode(1), "");
    EXPECT_EQ(testutil::maskElapsed(h.console()),
              "\n\n\nError message:\n" + c.message + "The program needed T seconds.\n\n\n");
}

const std::string kEwes =
    "The dressing percentage of ewes must be greater than 0 when culled sheep\n"
    "are paid by their carcass (pricing system 3 or 4). Correct this error in\n"
    "INPUTS12.TXT and restart the program.\n";
const std::string kCrossingRams =
    "The dressing percentage of rams of the breed used for crossing must be\n"
    "greater than 0 when culled sheep are paid by their carcass (pricing system\n"
    "3 or 4). Correct this error in INPUTS12.TXT and restart the program.\n";

INSTANTIATE_TEST_SUITE_P(Inputs12, Inputs12DressingDeathTest,
                         testing::Values(DressingCase{3, 1, 0.0, 50.0, kEwes}, DressingCase{4, 2, -45.0, 50.0, kEwes},
                                         DressingCase{4, 2, 0.0, 0.0, kEwes},
                                         DressingCase{3, 2, 45.0, 0.0, kCrossingRams}));

}  // namespace
