// INPUTS14.TXT: the records read and skipped for every pricing system of
// fattened progeny, the dressing percentages by kind of progeny, the
// breed groups whose fleshiness and fat-covering frequencies are read, the
// frequency sums and the guards on codes and class counts.
#include <gtest/gtest.h>

#include "input/inputs.h"
#include "input/reader.h"
#include "test_util.h"

using testutil::Harness;

namespace {

const std::string kHeading = "2.14 Data from file INPUTS14.TXT\n--------------------------------\n";

// The fattening of the system: variants per kind (castrates, females,
// males) and whether any variant applies to pure-bred and cross-bred
// progeny.
struct Fattening {
    int crossing = 2;
    int lf0 = 2, lf1 = 1, lf2 = 3;
    int fatpb = 1, fatcb = 1;
};

// Reads text as INPUTS14.TXT the way the progeny phase does (section 2.14).
void read14(Harness& h, const std::string& text, const Fattening& f = Fattening{}) {
    Model& m = *h.model;
    m.crossing = f.crossing;
    m.lf[0] = f.lf0;
    m.lf[1] = f.lf1;
    m.lf[2] = f.lf2;
    m.fatpb = f.fatpb;
    m.fatcb = f.fatcb;
    h.dir.write("INPUTS14.TXT", text);
    testutil::InDir d(h.dir.path());
    h.run.sectionNo = 13;
    readInputFile(h.run, 14, readInputs14);
}

struct Freq {
    std::string cl1 = "0.4 0.6", cl2 = "0.3 0.7";
    std::string fc1 = "0.25 0.25\n0.25 0.25", fc2 = "0.1 0.2\n0.3 0.4";
};

// A complete file for the fattening of Fattening{}: every record stands,
// the pricing system and the fattening variants decide which are read.
std::string file(int pricefL, const Freq& f = Freq{}, int nclfL = 2, int nclfl = 2, int nclfc = 2) {
    return "/ Fattened progeny /\n" + std::to_string(pricefL) +
           " \"Pricing system\" \"code\"\n"
           "/ Live weight /\n"
           "2.2 \"Price pure-bred\" \"per kg\"\n"
           "2.4 \"Price cross-bred\" \"per kg\"\n"
           "/ Carcass classes /\n" +
           std::to_string(nclfL) +
           " \"Carcass classes\" \"n\"\n"
           "9.5 8.5 \"Class prices\" \"per kg\"\n" +
           f.cl1 + " \"Frequencies pure-bred\" \"-\"\n" + f.cl2 +
           " \"Frequencies cross-bred\" \"-\"\n"
           "/ Dressing percentages of the fattening variants /\n"
           "46 47 \"Dressing castrates pure\" \"%\"\n"
           "48 49 \"Dressing castrates cross\" \"%\"\n"
           "50 \"Dressing females pure\" \"%\"\n"
           "51 \"Dressing females cross\" \"%\"\n"
           "52 53 54 \"Dressing males pure\" \"%\"\n"
           "55 56 57 \"Dressing males cross\" \"%\"\n"
           "/ Carcass weight /\n"
           "5.1 \"Carcass price pure\" \"per kg\"\n"
           "5.3 \"Carcass price cross\" \"per kg\"\n"
           "/ Fleshiness and fat covering /\n" +
           std::to_string(nclfl) + " \"Fleshiness classes\" \"n\"\n" + std::to_string(nclfc) +
           " \"Fat classes\" \"n\"\n"
           "7.2 \"Reference price\" \"per kg\"\n"
           "1.0 0.9\n1.1 1.2 \"Price coefficients\" \"-\"\n" +
           f.fc1 + " \"Frequencies pure\" \"-\"\n" + f.fc2 + " \"Frequencies cross\" \"-\"\n";
}

std::string system(int p) { return " Pricing system    (code):  " + std::to_string(p) + " "; }
const std::string kLive = " Price pure-bred    (per kg):      2.2000  Price cross-bred    (per kg):      2.4000 ";
const std::string kClasses =
    " Carcass classes    (n):  2 "
    "\nClass prices    (per kg):      9.5000      8.5000"
    "\nFrequencies pure-bred    (-):    0.40    0.60";
const std::string kClasses2 = "\nFrequencies cross-bred    (-):    0.30    0.70";
const std::string kDres =
    "\nDressing castrates pure    (%):    46.0    47.0"
    "\nDressing castrates cross    (%):    48.0    49.0"
    "\nDressing females pure    (%):    50.0"
    "\nDressing females cross    (%):    51.0"
    "\nDressing males pure    (%):    52.0    53.0    54.0"
    "\nDressing males cross    (%):    55.0    56.0    57.0";
const std::string kDresPure =
    "\nDressing castrates pure    (%):    46.0    47.0"
    "\nDressing females pure    (%):    50.0"
    "\nDressing males pure    (%):    52.0    53.0    54.0";
const std::string kCarcass = " Carcass price pure    (per kg):      5.1000  Carcass price cross    (per kg):      5.3000 ";
const std::string kFleshPrices =
    " Fleshiness classes    (n):  2 "
    " Fat classes    (n):  2 "
    " Reference price    (per kg):      7.2000 "
    "\nPrice coefficients    (-):"
    "\n      1.0000      0.9000"
    "\n      1.1000      1.2000";
const std::string kFleshPure = "\nFrequencies pure    (-):\n   0.250   0.250\n   0.250   0.250";
const std::string kFleshCross = "\nFrequencies cross    (-):\n   0.100   0.200\n   0.300   0.400";

struct SystemCase {
    const char* name;
    int pricefL;
    Fattening fat;
    std::string echo;   // after the heading, before the closing line breaks
};

Fattening pureOnly() {
    Fattening f;
    f.crossing = 1;
    f.fatcb = 0;
    return f;
}

class Inputs14System : public testing::TestWithParam<SystemCase> {};

TEST_P(Inputs14System, EchoOfTheRecordsOfThePricingSystem) {
    const SystemCase& c = GetParam();
    Harness h;
    read14(h, file(c.pricefL), c.fat);
    EXPECT_EQ(h.results(), kHeading + system(c.pricefL) + c.echo + "\n\n\n");
    EXPECT_EQ(h.console(), "Reading data from INPUTS14.TXT\n");
    EXPECT_EQ(h.model->pricefL, c.pricefL);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs14, Inputs14System,
    testing::Values(SystemCase{"liveWeight", 1, Fattening{}, kLive},
                    SystemCase{"liveWeightPure", 1, pureOnly(), " Price pure-bred    (per kg):      2.2000 "},
                    SystemCase{"classes", 2, Fattening{}, kClasses + kClasses2},
                    SystemCase{"classesPure", 2, pureOnly(), kClasses},
                    SystemCase{"carcassWeight", 3, Fattening{}, kDres + kCarcass},
                    SystemCase{"carcassWeightPure", 3, pureOnly(),
                               kDresPure + " Carcass price pure    (per kg):      5.1000 "},
                    SystemCase{"fleshFat", 4, Fattening{}, kDres + kFleshPrices + kFleshPure + kFleshCross},
                    SystemCase{"fleshFatPure", 4, pureOnly(), kDresPure + kFleshPrices + kFleshPure}),
    [](const testing::TestParamInfo<SystemCase>& i) { return std::string(i.param.name); });

}  // namespace

TEST(Inputs14, DressingPercentagesByKindVariantAndBreedGroup) {
    Harness h;
    read14(h, file(3));
    const Model& m = *h.model;
    EXPECT_FLOAT_EQ(m.dresfL[0][2][1], 47.0f);
    EXPECT_FLOAT_EQ(m.dresfL[0][1][2], 48.0f);
    EXPECT_FLOAT_EQ(m.dresfL[1][1][2], 51.0f);
    EXPECT_FLOAT_EQ(m.dresfL[2][3][1], 54.0f);
    EXPECT_FLOAT_EQ(m.dresfL[2][2][2], 56.0f);
    EXPECT_FLOAT_EQ(m.prcwfL[1], 5.1f);
    EXPECT_FLOAT_EQ(m.prcwfL[2], 5.3f);
    EXPECT_EQ(double(m.prlwfL[1]), 0.0);
}

TEST(Inputs14, KindsWithoutFatteningHaveTheirTwoRecordsSkipped) {
    Harness h;
    Fattening f;
    f.lf0 = 0;   // no castrates: their records may hold anything
    f.lf1 = 0;
    read14(h, file(3), f);
    EXPECT_EQ(h.results(), kHeading + system(3) +
                               "\nDressing males pure    (%):    52.0    53.0    54.0"
                               "\nDressing males cross    (%):    55.0    56.0    57.0" +
                               kCarcass + "\n\n\n");
    const Model& m = *h.model;
    EXPECT_EQ(double(m.dresfL[0][1][1]), 0.0);
    EXPECT_EQ(double(m.dresfL[1][1][1]), 0.0);
    EXPECT_FLOAT_EQ(m.dresfL[2][1][1], 52.0f);
}

TEST(Inputs14, BothBreedGroupsFattened) {
    Harness h;
    read14(h, file(4));
    const Model& m = *h.model;
    EXPECT_EQ(m.ja, 1);
    EXPECT_EQ(m.jb, 2);
    EXPECT_FLOAT_EQ(m.prreffL, 7.2f);
    EXPECT_FLOAT_EQ(m.prclfcfL[1][2], 0.9f);
    EXPECT_FLOAT_EQ(m.prclfcfL[2][1], 1.1f);
    EXPECT_FLOAT_EQ(m.pclfcfL[1][2][2], 0.25f);
    EXPECT_FLOAT_EQ(m.pclfcfL[2][1][2], 0.2f);
    EXPECT_FLOAT_EQ(m.pclfcfL[2][2][1], 0.3f);
}

// Only cross-bred progeny fattened: the pure-bred record is skipped without
// a test (its sum is 2 here), the cross-bred one is read and tested.
TEST(Inputs14, OnlyCrossBredFattenedSkipsThePureBredRecordFirst) {
    Harness h;
    Freq fr;
    fr.fc1 = "0.5 0.5\n0.5 0.5";
    Fattening f;
    f.fatpb = 0;
    read14(h, file(4, fr), f);
    EXPECT_EQ(h.results(), kHeading + system(4) + kDres + kFleshPrices + kFleshCross + "\n\n\n");
    const Model& m = *h.model;
    EXPECT_EQ(m.ja, 2);
    EXPECT_EQ(m.jb, 2);
    EXPECT_EQ(double(m.pclfcfL[1][1][1]), 0.0);
    EXPECT_FLOAT_EQ(m.pclfcfL[2][2][2], 0.4f);
}

TEST(Inputs14, OnlyPureBredFattenedSkipsTheCrossBredRecord) {
    Harness h;
    Freq fr;
    fr.fc2 = "0 0\n0 0";
    Fattening f;
    f.fatcb = 0;
    read14(h, file(4, fr), f);
    EXPECT_EQ(h.results(), kHeading + system(4) + kDres + kFleshPrices + kFleshPure + "\n\n\n");
    EXPECT_EQ(h.model->ja, 1);
    EXPECT_EQ(h.model->jb, 1);
    EXPECT_EQ(double(h.model->pclfcfL[2][2][2]), 0.0);
}

namespace {

const std::string kStopped = "The program needed T seconds.\n\n\n";

// Frequency sums: the bounds 0.99999 and 1.00001 themselves fail, 0.999995
// passes.  The carcass-class frequencies are echoed before they are tested,
// the fleshiness and fat-covering frequencies are tested before the echo.
struct SumCase {
    const char* name;
    int pricefL;
    Freq freq;
    Fattening fat;
    std::string message;    // empty: the file is read to its end
    std::string lastEcho;   // the end of the results file at the stop
};

class Inputs14Sum : public testing::TestWithParam<SumCase> {};

TEST_P(Inputs14Sum, FrequenciesMustSumUpToOne) {
    const SumCase& c = GetParam();
    Harness h;
    if (c.message.empty()) {
        read14(h, file(c.pricefL, c.freq), c.fat);
        const std::string res = h.results();
        EXPECT_EQ(res.substr(res.size() - 3), "\n\n\n");
        return;
    }
    EXPECT_EXIT(read14(h, file(c.pricefL, c.freq), c.fat), testing::ExitedWithCode(1), "");
    EXPECT_EQ(testutil::maskElapsed(h.console()),
              "Reading data from INPUTS14.TXT\n\n\n\nError message:\n" + c.message + kStopped);
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

Fattening crossOnly() {
    Fattening f;
    f.fatpb = 0;
    return f;
}

const std::string kTailC = "do not sum up to 1. The sum is 1.0000.\n"
                           "  Correct the error in INPUTS14.TXT and restart the program.\n\n\n";
const std::string kTailD = "lambs do not sum up to 1. The sum is 1.0000.\n"
                           "  Correct the error in INPUTS14.TXT and restart the program.\n\n\n";

INSTANTIATE_TEST_SUITE_P(
    Inputs14, Inputs14Sum,
    testing::Values(
        SumCase{"classesLowPure", 2, classes("0.5 0.49999", "0.3 0.7"), Fattening{},
                "Frequencies in quality classes for\n  pure-bred fattened lambs " + kTailC,
                "\nFrequencies pure-bred    (-):    0.50    0.50"},
        SumCase{"classesHighCross", 2, classes("0.4 0.6", "0.50001 0.5"), Fattening{},
                "Frequencies in quality classes for\n  cross-bred fattened lambs " + kTailC,
                "\nFrequencies cross-bred    (-):    0.50    0.50"},
        SumCase{"classesWithinTolerance", 2, classes("0.5 0.499995", "0.499995 0.5"), Fattening{}, "", ""},
        SumCase{"fleshFatLowPure", 4, fleshFat("0.5 0.49999\n0 0", "0.1 0.2\n0.3 0.4"), Fattening{},
                "Frequencies in classes for fleshiness/ fat covering for fattened\n  pure-bred " + kTailD,
                "\n      1.1000      1.2000"},
        SumCase{"fleshFatHighCross", 4, fleshFat("0.25 0.25\n0.25 0.25", "0 0.5\n0 0.50001"), Fattening{},
                "Frequencies in classes for fleshiness/ fat covering for fattened\n  cross-bred " + kTailD,
                kFleshPure},
        // Only cross-bred progeny fattened: the cross-bred matrix is the
        // one tested, right after the price table.
        SumCase{"fleshFatHighCrossOnly", 4, fleshFat("0.25 0.25\n0.25 0.25", "0 0.5\n0 0.50001"), crossOnly(),
                "Frequencies in classes for fleshiness/ fat covering for fattened\n  cross-bred " + kTailD,
                "\n      1.1000      1.2000"},
        SumCase{"fleshFatWithinTolerance", 4, fleshFat("0.5 0.499995\n0 0", "0 0\n0.499995 0.5"), Fattening{}, "",
                ""}),
    [](const testing::TestParamInfo<SumCase>& i) { return std::string(i.param.name); });

struct GuardCase {
    const char* name;
    std::string text;
    std::string message;
    std::string lastEcho;
};

class Inputs14Guard : public testing::TestWithParam<GuardCase> {};

TEST_P(Inputs14Guard, StopsAfterTheEchoOfItsRecord) {
    const GuardCase& g = GetParam();
    Harness h;
    EXPECT_EXIT(read14(h, g.text), testing::ExitedWithCode(1), "");
    EXPECT_EQ(testutil::maskElapsed(h.console()),
              "Reading data from INPUTS14.TXT\n\n\n\nError message:\n" + g.message + kStopped);
    const std::string res = h.results();
    ASSERT_GE(res.size(), g.lastEcho.size());
    EXPECT_EQ(res.substr(res.size() - g.lastEcho.size()), g.lastEcho);
}

const std::string kTail = " Correct this error in INPUTS14.TXT and restart the program.\n";

INSTANTIATE_TEST_SUITE_P(
    Inputs14, Inputs14Guard,
    testing::Values(
        GuardCase{"pricefL0", file(0), "The pricing system for fattened lambs must be in the range\nfrom 1 to 4." + kTail,
                  kHeading + system(0)},
        GuardCase{"pricefL5", file(5), "The pricing system for fattened lambs must be in the range\nfrom 1 to 4." + kTail,
                  kHeading + system(5)},
        GuardCase{"nclfL0", file(2, Freq{}, 0),
                  "The number of carcass classes of fattened lambs must be in the range\nfrom 1 to 5." + kTail,
                  system(2) + " Carcass classes    (n):  0 "},
        GuardCase{"nclfL6", file(2, Freq{}, 6),
                  "The number of carcass classes of fattened lambs must be in the range\nfrom 1 to 5." + kTail,
                  system(2) + " Carcass classes    (n):  6 "},
        GuardCase{"nclflfL0", file(4, Freq{}, 2, 0),
                  "The number of fleshiness classes of fattened lambs must be in the range\nfrom 1 to 7." + kTail,
                  kDres + " Fleshiness classes    (n):  0 "},
        GuardCase{"nclfcfL8", file(4, Freq{}, 2, 2, 8),
                  "The number of fat covering classes of fattened lambs must be in the range\nfrom 1 to 7." + kTail,
                  " Fleshiness classes    (n):  2  Fat classes    (n):  8 "}),
    [](const testing::TestParamInfo<GuardCase>& i) { return std::string(i.param.name); });

}  // namespace
