// INPUTS13.TXT: the records read and skipped for every pricing system of
// lambs slaughtered at weaning, their echo, the frequency sums of the
// carcass classes and of the fleshiness and fat-covering classes, and the
// guards on codes and class counts.
#include <gtest/gtest.h>

#include "input/inputs.h"
#include "input/reader.h"
#include "test_util.h"

using testutil::Harness;

namespace {

const std::string kHeading = "2.13 Data from file INPUTS13.TXT\n--------------------------------\n";

// Reads text as INPUTS13.TXT the way the progeny phase does (section 2.13).
void read13(Harness& h, const std::string& text, int crossing = 2) {
    h.model->crossing = crossing;
    h.dir.write("INPUTS13.TXT", text);
    testutil::InDir d(h.dir.path());
    h.run.sectionNo = 12;
    readInputFile(h.run, 13, readInputs13);
}

// A complete file: every record stands, the pricing system decides which
// are read.  The frequency records can be replaced.
struct Freq {
    std::string cl1 = "0.2 0.5 0.3", cl2 = "0.1 0.6 0.3";
    std::string fc1 = "0.1 0.2 0.1\n0.2 0.3 0.1", fc2 = "0.05 0.15 0.1\n0.2 0.4 0.1";
};

std::string file(int pricewL, const Freq& f = Freq{}, int nclwL = 3, int nclfl = 2, int nclfc = 3) {
    return "/ Lambs slaughtered at weaning /\n" + std::to_string(pricewL) +
           " \"Pricing system\" \"code\"\n"
           "/ Live weight /\n"
           "2.5 \"Price pure-bred\" \"per kg\"\n"
           "2.7 \"Price cross-bred\" \"per kg\"\n"
           "/ Carcass classes /\n" +
           std::to_string(nclwL) +
           " \"Carcass classes\" \"n\"\n"
           "10 9 8 \"Class prices\" \"per kg\"\n" +
           f.cl1 + " \"Frequencies pure-bred\" \"-\"\n" + f.cl2 +
           " \"Frequencies cross-bred\" \"-\"\n"
           "/ Dressing percentages /\n"
           "48 \"Dressing pure-bred\" \"%\"\n"
           "50 \"Dressing cross-bred\" \"%\"\n"
           "/ Carcass weight /\n"
           "5.5 \"Carcass price pure-bred\" \"per kg\"\n"
           "5.8 \"Carcass price cross-bred\" \"per kg\"\n"
           "/ Weight and quality classes /\n"
           "12 \"CV carcass weight\" \"%\"\n"
           "6.0 5.5\n6.5 6.0\n7.0 6.2 \"Prices weight x quality\" \"per kg\"\n"
           "0.7 0.3 \"Quality w1 pure\" \"-\"\n"
           "0.6 0.4 \"Quality w2 pure\" \"-\"\n"
           "0.5 0.5 \"Quality w3 pure\" \"-\"\n"
           "0.8 0.2 \"Quality w1 cross\" \"-\"\n"
           "0.7 0.3 \"Quality w2 cross\" \"-\"\n"
           "0.6 0.4 \"Quality w3 cross\" \"-\"\n"
           "/ Fleshiness and fat covering of heavy lambs /\n" +
           std::to_string(nclfl) + " \"Fleshiness classes\" \"n\"\n" + std::to_string(nclfc) +
           " \"Fat classes\" \"n\"\n"
           "6.8 \"Reference price\" \"per kg\"\n"
           "1.0 1.1 0.9\n1.2 1.3 1.0 \"Price coefficients\" \"-\"\n" +
           f.fc1 + " \"Frequencies pure\" \"-\"\n" + f.fc2 + " \"Frequencies cross\" \"-\"\n";
}

std::string system(int p) { return " Pricing system    (code):  " + std::to_string(p) + " "; }
const std::string kLive1 = " Price pure-bred    (per kg):      2.5000 ";
const std::string kLive2 = " Price cross-bred    (per kg):      2.7000 ";
const std::string kClasses =
    " Carcass classes    (n):  3 "
    "\nClass prices    (per kg):     10.0000      9.0000      8.0000"
    "\nFrequencies pure-bred    (-):    0.20    0.50    0.30";
const std::string kClasses2 = "\nFrequencies cross-bred    (-):    0.10    0.60    0.30";
const std::string kDres1 = " Dressing pure-bred    (%):     48.0000 ";
const std::string kDres2 = " Dressing cross-bred    (%):     50.0000 ";
const std::string kCarcass1 = " Carcass price pure-bred    (per kg):      5.5000 ";
const std::string kCarcass2 = " Carcass price cross-bred    (per kg):      5.8000 ";
// The price table of weight and quality classes is echoed on one line.
const std::string kQuality =
    " CV carcass weight    (%):     12.0000 "
    "\nPrices weight x quality    (per kg):      6.0000      5.5000      6.5000      6.0000      7.0000      6.2000"
    "\nQuality w1 pure    (-):    0.70    0.30"
    "\nQuality w2 pure    (-):    0.60    0.40"
    "\nQuality w3 pure    (-):    0.50    0.50";
const std::string kQuality2 =
    "\nQuality w1 cross    (-):    0.80    0.20"
    "\nQuality w2 cross    (-):    0.70    0.30"
    "\nQuality w3 cross    (-):    0.60    0.40";
const std::string kFlesh =
    " Fleshiness classes    (n):  2 "
    " Fat classes    (n):  3 "
    " Reference price    (per kg):      6.8000 "
    "\nPrice coefficients    (-):"
    "\n      1.0000      1.1000      0.9000"
    "\n      1.2000      1.3000      1.0000"
    "\nFrequencies pure    (-):"
    "\n   0.100   0.200   0.100"
    "\n   0.200   0.300   0.100";
const std::string kFlesh2 =
    "\nFrequencies cross    (-):"
    "\n   0.050   0.150   0.100"
    "\n   0.200   0.400   0.100";

struct SystemCase {
    const char* name;
    int pricewL, crossing;
    std::string echo;   // after the heading, before the closing line breaks
};

class Inputs13System : public testing::TestWithParam<SystemCase> {};

TEST_P(Inputs13System, EchoOfTheRecordsOfThePricingSystem) {
    const SystemCase& c = GetParam();
    Harness h;
    read13(h, file(c.pricewL), c.crossing);
    EXPECT_EQ(h.results(), kHeading + system(c.pricewL) + c.echo + "\n\n\n");
    EXPECT_EQ(h.console(), "Reading data from INPUTS13.TXT\n");
    EXPECT_EQ(h.run.sectionNo, 13);
    EXPECT_EQ(h.model->pricewL, c.pricewL);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs13, Inputs13System,
    testing::Values(SystemCase{"liveWeight", 1, 2, kLive1 + kLive2}, SystemCase{"liveWeightPure", 1, 1, kLive1},
                    SystemCase{"classes", 2, 2, kClasses + kClasses2}, SystemCase{"classesPure", 2, 1, kClasses},
                    SystemCase{"carcassWeight", 3, 2, kDres1 + kDres2 + kCarcass1 + kCarcass2},
                    SystemCase{"carcassWeightPure", 3, 1, kDres1 + kCarcass1},
                    SystemCase{"fleshFat", 4, 2, kDres1 + kDres2 + kQuality + kQuality2 + kFlesh + kFlesh2},
                    SystemCase{"fleshFatPure", 4, 1, kDres1 + kQuality + kFlesh}),
    [](const testing::TestParamInfo<SystemCase>& i) { return std::string(i.param.name); });

}  // namespace

TEST(Inputs13, CarcassClassesAndTheirFrequencies) {
    Harness h;
    read13(h, file(2));
    const Model& m = *h.model;
    EXPECT_EQ(m.nclwL, 3);
    EXPECT_FLOAT_EQ(m.prclwL[1], 10.0f);
    EXPECT_FLOAT_EQ(m.prclwL[3], 8.0f);
    EXPECT_FLOAT_EQ(m.pclwL[1][2], 0.5f);
    EXPECT_FLOAT_EQ(m.pclwL[2][1], 0.1f);
    EXPECT_EQ(double(m.prlwwL[1]), 0.0);
    EXPECT_EQ(double(m.dreswL[2]), 0.0);
}

TEST(Inputs13, WeightQualityAndFleshFatTables) {
    Harness h;
    read13(h, file(4));
    const Model& m = *h.model;
    EXPECT_FLOAT_EQ(m.vcwwL, 12.0f);
    // Weight class w (rows of the table) by quality class q.
    EXPECT_FLOAT_EQ(m.prclcwwL[1][2], 5.5f);
    EXPECT_FLOAT_EQ(m.prclcwwL[2][1], 6.5f);
    EXPECT_FLOAT_EQ(m.prclcwwL[3][2], 6.2f);
    EXPECT_FLOAT_EQ(m.pclcqwL[1][1][1], 0.7f);
    EXPECT_FLOAT_EQ(m.pclcqwL[3][2][1], 0.5f);
    EXPECT_FLOAT_EQ(m.pclcqwL[2][2][2], 0.3f);
    EXPECT_FLOAT_EQ(m.pclcqwL[3][1][2], 0.6f);
    EXPECT_EQ(m.nclflwL, 2);
    EXPECT_EQ(m.nclfcwL, 3);
    EXPECT_FLOAT_EQ(m.prrefwL, 6.8f);
    EXPECT_FLOAT_EQ(m.prclfcwL[1][3], 0.9f);
    EXPECT_FLOAT_EQ(m.prclfcwL[2][2], 1.3f);
    EXPECT_FLOAT_EQ(m.pclfcwL[1][2][1], 0.2f);
    EXPECT_FLOAT_EQ(m.pclfcwL[2][1][2], 0.15f);
    EXPECT_FLOAT_EQ(m.pclfcwL[2][2][2], 0.4f);
    EXPECT_EQ(double(m.prcwwL[1]), 0.0);
}

namespace {

const std::string kStopped = "The program needed T seconds.\n\n\n";

// Frequency sums: the bounds 0.99999 and 1.00001 themselves fail, 0.999995
// passes.  The carcass-class frequencies are echoed before they are tested,
// the fleshiness and fat-covering frequencies are tested before the echo.
struct SumCase {
    const char* name;
    int pricewL;
    Freq freq;
    std::string message;    // empty: the file is read to its end
    std::string lastEcho;   // the end of the results file at the stop
};

class Inputs13Sum : public testing::TestWithParam<SumCase> {};

TEST_P(Inputs13Sum, FrequenciesMustSumUpToOne) {
    const SumCase& c = GetParam();
    Harness h;
    if (c.message.empty()) {
        read13(h, file(c.pricewL, c.freq));
        const std::string res = h.results();
        EXPECT_EQ(res.substr(res.size() - 3), "\n\n\n");
        return;
    }
    EXPECT_EXIT(read13(h, file(c.pricewL, c.freq)), testing::ExitedWithCode(1), "");
    EXPECT_EQ(testutil::maskElapsed(h.console()),
              "Reading data from INPUTS13.TXT\n\n\n\nError message:\n" + c.message + kStopped);
    const std::string res = h.results();
    ASSERT_GE(res.size(), c.lastEcho.size());
    EXPECT_EQ(res.substr(res.size() - c.lastEcho.size()), c.lastEcho);
}

Freq classes(const std::string& pure, const std::string& cross) {
    Freq f;
    f.cl1 = pure;
    f.cl2 = cross;
    return f;
}

Freq fleshFat(const std::string& pure, const std::string& cross) {
    Freq f;
    f.fc1 = pure;
    f.fc2 = cross;
    return f;
}

const std::string kTailA = "do not sum up to 1. The sum is 1.0000.\n"
                           "  Correct the error in INPUTS13.TXT and restart the program.\n\n\n";
const std::string kTailB = "  artificial rearing do not sum up to 1. The sum is 1.0000.\n"
                           "  Correct the error in INPUTS13.TXT and restart the program.\n\n\n";

INSTANTIATE_TEST_SUITE_P(
    Inputs13, Inputs13Sum,
    testing::Values(
        SumCase{"classesLowPure", 2, classes("0.5 0.49999 0", "0.1 0.6 0.3"),
                "Frequencies in quality classes for\n  pure-bred weaned slaughter lambs " + kTailA,
                "\nFrequencies pure-bred    (-):    0.50    0.50    0.00"},
        SumCase{"classesHighCross", 2, classes("0.2 0.5 0.3", "0.5 0.50001 0"),
                "Frequencies in quality classes for\n  cross-bred weaned slaugher lambs " + kTailA,
                "\nFrequencies cross-bred    (-):    0.50    0.50    0.00"},
        SumCase{"classesWithinTolerance", 2, classes("0.5 0.499995 0", "0 0.499995 0.5"), "", ""},
        SumCase{"fleshFatLowPure", 4, fleshFat("0.5 0.49999 0\n0 0 0", "0.05 0.15 0.1\n0.2 0.4 0.1"),
                "Frequencies in classes for fleshiness/ fat covering for pure-bred\n"
                "  heavy lambs (carcass weight > 13 kg) slaughtered after weaning or\n" +
                    kTailB,
                "\n      1.2000      1.3000      1.0000"},
        SumCase{"fleshFatHighCross", 4, fleshFat("0.1 0.2 0.1\n0.2 0.3 0.1", "0 0 0.5\n0.50001 0 0"),
                "Frequencies in classes for fleshiness/ fat covering for cross-bred\n"
                "  heavy lambs (carcass weight > 13 kg) slaughtered after weaning or\n" +
                    kTailB,
                "\n   0.200   0.300   0.100"},
        SumCase{"fleshFatWithinTolerance", 4, fleshFat("0.5 0.499995 0\n0 0 0", "0 0 0\n0 0.5 0.499995"), "",
                ""}),
    [](const testing::TestParamInfo<SumCase>& i) { return std::string(i.param.name); });

// Codes and class counts outside the capacity stop right after their echo.
struct GuardCase {
    const char* name;
    std::string text;
    std::string message;
    std::string lastEcho;
};

class Inputs13Guard : public testing::TestWithParam<GuardCase> {};

TEST_P(Inputs13Guard, StopsAfterTheEchoOfItsRecord) {
    const GuardCase& g = GetParam();
    Harness h;
    EXPECT_EXIT(read13(h, g.text), testing::ExitedWithCode(1), "");
    EXPECT_EQ(testutil::maskElapsed(h.console()),
              "Reading data from INPUTS13.TXT\n\n\n\nError message:\n" + g.message + kStopped);
    const std::string res = h.results();
    ASSERT_GE(res.size(), g.lastEcho.size());
    EXPECT_EQ(res.substr(res.size() - g.lastEcho.size()), g.lastEcho);
}

const std::string kTail = " Correct this error in INPUTS13.TXT and restart the program.\n";

INSTANTIATE_TEST_SUITE_P(
    Inputs13, Inputs13Guard,
    testing::Values(
        GuardCase{"pricewL0", file(0), "The pricing system for lambs sold at weaning must be in the range\nfrom 1 to 4." + kTail,
                  kHeading + system(0)},
        GuardCase{"pricewL5", file(5), "The pricing system for lambs sold at weaning must be in the range\nfrom 1 to 4." + kTail,
                  kHeading + system(5)},
        GuardCase{"nclwL0", file(2, Freq{}, 0),
                  "The number of carcass classes of lambs sold at weaning must be in the range\nfrom 1 to 5." + kTail,
                  system(2) + " Carcass classes    (n):  0 "},
        GuardCase{"nclwL6", file(2, Freq{}, 6),
                  "The number of carcass classes of lambs sold at weaning must be in the range\nfrom 1 to 5." + kTail,
                  system(2) + " Carcass classes    (n):  6 "},
        GuardCase{"nclflwL8", file(4, Freq{}, 3, 8),
                  "The number of fleshiness classes of lambs sold at weaning must be in the range\nfrom 1 to 7." + kTail,
                  " Fleshiness classes    (n):  8 "},
        GuardCase{"nclfcwL0", file(4, Freq{}, 3, 2, 0),
                  "The number of fat covering classes of lambs sold at weaning must be in the range\nfrom 1 to 7." +
                      kTail,
                  " Fleshiness classes    (n):  2  Fat classes    (n):  0 "}),
    [](const testing::TestParamInfo<GuardCase>& i) { return std::string(i.param.name); });

}  // namespace
