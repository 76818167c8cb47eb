// PARAS.TXT: the echo, the nine checks in their order, and the start and
// error-stop transcript of the program.
#include "input/paras.h"

#include <gtest/gtest.h>

#include <array>

#include "input/reader.h"
#include "test_util.h"

using testutil::TempDir;

namespace {

const char* const kBanner =
    "\n\n\nRunning KARVEL1 Version 1.1.6, 2010\n"
    "Authors: the KARVEL1 development group\n"
    "         Bio-economic model of a sheep production system\n"
    "         and economic weights of its traits\n"
    "         Reports of faults: see the README of the program\n\n\n";

const char* const kTexts = "\"First fragment\n\"\"Second fragment\n\"\"Last fragment\n\"";

// A PARAS.TXT with the nine values in file order.
std::string paras(const std::array<int, 9>& v) {
    static const char* const names[9] = {"Type of weaning", "Type of crossing", "Female variants", "Male variants",
                                         "Castrate variants", "Type of breed", "Feed costs", "Female replacement",
                                         "Economic weights"};
    std::string s = "\"System variables\"\n";
    for (int i = 0; i < 9; ++i) s += std::to_string(v[i]) + "\n\"" + names[i] + "\"\n";
    return s;
}

const std::string kParasTail = "Correct the error in the parameter file PARAS.TXT and restart the program.\n\n\n";
const std::string kConflictTail = "  Correct the error in parameter file PARAS.TXT and restart the program.\n\n\n";

}  // namespace

TEST(Paras, WrongValueTranscript) {
    TempDir dir;
    dir.write("TEXTS_OUT.TXT", kTexts);
    dir.write("PARAS.TXT", paras({3, 1, 0, 0, 0, 1, 1, 1, 0}));
    const auto r = testutil::runKarvel1(dir, "RESULTS.TXT\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(testutil::maskElapsed(r.out),
              std::string(kBanner) + "Please enter the name of the file for writing results\n" +
                  "\nI am working\nReading data from PARAS.TXT\n" +
                  "\n\n\nError message:\nType of weaning can be only 1 or 2.\n" + kParasTail +
                  "The program needed T seconds.\n\n\n");
    EXPECT_EQ(dir.read("RESULTS.TXT"),
              "First fragment\nSystem variables\nType of weaning:  3\nType of crossing:  1\nFemale variants:  0\n"
              "Male variants:  0\nCastrate variants:  0\nType of breed:  1\nFeed costs:  1\n"
              "Female replacement:  1\nEconomic weights:  0\n");
}

struct ParasCase {
    std::array<int, 9> values;
    std::string message;   // empty: the values pass
};

class ParasCheck : public testing::TestWithParam<ParasCase> {};

TEST_P(ParasCheck, FirstFailingCheckIsReported) {
    testutil::Harness h;
    h.dir.write("PARAS.TXT", paras(GetParam().values));
    h.dir.write("TEXTS_OUT.TXT", kTexts);
    testutil::InDir in(h.dir.path());
    h.run.texts = openInput(h.run, "TEXTS_OUT.TXT");
    h.run.texts.fragments = true;
    outputr(h.run.texts);
    if (GetParam().message.empty()) {
        readParas(h.run);
        EXPECT_EQ(h.console(), "\nI am working\nReading data from PARAS.TXT\n");
        EXPECT_NE(h.results().find("Second fragment"), std::string::npos);
    } else {
        EXPECT_EXIT(readParas(h.run), testing::ExitedWithCode(1), "");
        EXPECT_EQ(testutil::maskElapsed(h.console()), "\nI am working\nReading data from PARAS.TXT\n"
                                                      "\n\n\nError message:\n" +
                                                          GetParam().message + "The program needed T seconds.\n\n\n");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Checks, ParasCheck,
    testing::Values(
        ParasCase{{1, 1, 0, 0, 0, 1, 1, 1, 0}, ""}, ParasCase{{2, 2, 5, 5, 5, 3, 2, 2, 1}, ""},
        ParasCase{{1, 2, 0, 0, 0, 2, 1, 1, 2}, ""},
        ParasCase{{0, 1, 0, 0, 0, 1, 1, 1, 0}, "Type of weaning can be only 1 or 2.\n" + kParasTail},
        ParasCase{{1, 3, 0, 0, 0, 1, 1, 1, 0}, "Type of crossing can be only 1 or 2.\n" + kParasTail},
        ParasCase{{1, 0, 0, 0, 0, 1, 1, 1, 0}, "Type of crossing can be only 1 or 2.\n" + kParasTail},
        ParasCase{{1, 1, 6, 0, 0, 1, 1, 1, 0},
                  "The number of variants for fattening of surplus female progeny\n"
                  "must be an integer in the interval from 0 to 5.\n" + kParasTail},
        ParasCase{{1, 1, 0, -1, 0, 1, 1, 1, 0},
                  "The number of variants for fattening of surplus male progeny\n"
                  "must be an integer in the interval from 0 to 5.\n" + kParasTail},
        ParasCase{{1, 1, 0, 0, 6, 1, 1, 1, 0},
                  "The number of variants for fattening of castrates\n"
                  "must be an integer in the interval from 0 to 5.\n" + kParasTail},
        ParasCase{{1, 1, 0, 0, 0, 4, 1, 1, 0}, "Type of breed can be only 1, 2 or 3.\n" + kParasTail},
        ParasCase{{1, 1, 0, 0, 0, 0, 1, 1, 0}, "Type of breed can be only 1, 2 or 3.\n" + kParasTail},
        ParasCase{{1, 1, 0, 0, 0, 1, 3, 1, 0}, "Method for calculating the feed costs can be only 1 or 2.\n" + kParasTail},
        ParasCase{{1, 1, 0, 0, 0, 1, 1, 0, 0}, "Parameter female replacement may take only values 1 or 2.\n" + kParasTail},
        ParasCase{{1, 1, 0, 0, 0, 1, 1, 1, 3},
                  "The option for calculating economic weights may take only values 0, 1 or 2.\n" + kParasTail},
        ParasCase{{1, 1, 0, 0, 0, 1, 1, 1, -1},
                  "The option for calculating economic weights may take only values 0, 1 or 2.\n" + kParasTail},
        ParasCase{{1, 1, 0, 0, 0, 1, 1, 1, 1},
                  "The option for calculating economic weights must be 0 when there\n"
                  "  is only pure-bred progeny.\n" + kConflictTail},
        ParasCase{{1, 2, 0, 0, 0, 1, 1, 1, 0},
                  "The option for calculating economic weights cannot be 0 if there\n"
                  "  is crossing in the herd.\n" + kConflictTail},
        // Several wrong values: only the first in the order of the checks.
        ParasCase{{1, 9, 9, 9, 9, 9, 9, 9, 9}, "Type of crossing can be only 1 or 2.\n" + kParasTail},
        ParasCase{{1, 1, 0, 0, 0, 1, 0, 0, 1}, "Method for calculating the feed costs can be only 1 or 2.\n" + kParasTail},
        ParasCase{{1, 1, 0, 0, 0, 1, 1, 1, 7},
                  "The option for calculating economic weights may take only values 0, 1 or 2.\n" + kParasTail}),
    [](const testing::TestParamInfo<ParasCase>& i) {
        std::string n = "v";
        for (int v : i.param.values) n += v < 0 ? "m" + std::to_string(-v) : std::to_string(v);
        return n + "_" + std::to_string(i.index);
    });

TEST(Paras, FattenedKindsInFileOrderAndSaleCategories) {
    testutil::Harness h;
    h.dir.write("PARAS.TXT", paras({1, 1, 0, 2, 3, 1, 1, 1, 0}));
    h.dir.write("TEXTS_OUT.TXT", kTexts);
    testutil::InDir in(h.dir.path());
    h.run.texts = openInput(h.run, "TEXTS_OUT.TXT");
    readParas(h.run);
    const Model& m = *h.model;
    EXPECT_EQ(m.lf[1], 0);  // the third value: females
    EXPECT_EQ(m.lf[2], 2);  // the fourth: males
    EXPECT_EQ(m.lf[0], 3);  // the fifth: castrates
    EXPECT_EQ(m.csp[0], 3);
    EXPECT_EQ(m.csp[1], 2);
    EXPECT_EQ(m.csp[2], 5);
}

TEST(Paras, NoFatteningGivesTheFixedSaleCategoriesOnly) {
    testutil::Harness h;
    h.dir.write("PARAS.TXT", paras({1, 1, 0, 0, 0, 1, 1, 1, 0}));
    h.dir.write("TEXTS_OUT.TXT", kTexts);
    testutil::InDir in(h.dir.path());
    h.run.texts = openInput(h.run, "TEXTS_OUT.TXT");
    readParas(h.run);
    EXPECT_EQ(h.model->csp[0], 0);
    EXPECT_EQ(h.model->csp[1], 2);
    EXPECT_EQ(h.model->csp[2], 3);
}

TEST(Paras, ShortFileStopsWithMessage) {
    TempDir dir;
    dir.write("TEXTS_OUT.TXT", kTexts);
    dir.write("PARAS.TXT", "\"System variables\"\n1 \"a\"\n1 \"b\"\n");
    const auto r = testutil::runKarvel1(dir, "R.TXT\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Error message:\nThe input file PARAS.TXT ends in record 4, where a whole number is expected.\n"),
              std::string::npos)
        << r.out;
}
