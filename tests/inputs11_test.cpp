// INPUTS11.TXT: the record sequence of every milk pricing system, the echo
// layouts of the class coefficients and the somatic-cell price pairs, the
// guards on codes and class counts, and the somatic cell scores.
#include <gtest/gtest.h>

#include "input/inputs.h"
#include "input/reader.h"
#include "test_util.h"

using testutil::Harness;

namespace {

const std::string kHeading = "2.10 Data from file INPUTS11.TXT\n--------------------------------\n";

// Reads text as INPUTS11.TXT the way the reading sequence does (section 2.10).
void read11(Harness& h, const std::string& text, double pmilkch = 0.0) {
    h.model->typeb = 1;
    h.model->pmilkch = pmilkch;
    h.dir.write("INPUTS11.TXT", text);
    testutil::InDir d(h.dir.path());
    h.run.sectionNo = 9;
    readInputFile(h.run, 11, readInputs11);
}

std::string replaced(std::string s, const std::string& from, const std::string& to) {
    const auto p = s.find(from);
    EXPECT_NE(p, std::string::npos) << from;
    if (p != std::string::npos) s.replace(p, from.size(), to);
    return s;
}

// A complete file: one fat limit (two classes), no protein limit (one
// class), four somatic-cell classes.  Every record stands; the pricing
// system decides which are read.
std::string file(int milkprice) {
    return "/ Payment of milk /\n" + std::to_string(milkprice) +
           " \"Pricing system\" \"code\"\n"
           "/ Base price /\n"
           "0.65 \"Base price\" \"per kg\"\n"
           "/ Fat and protein /\n"
           "1 \"Fat limits\" \"n\"\n"
           "6.5 \"Fat thresholds\" \"%\"\n"
           "0 \"Protein limits\" \"n\"\n"
           "5.5 \"Protein thresholds\" \"%\"\n"
           "1 2 3\n4 5 6 \"Fat coefficients\" \"-\"\n"
           "7 8 9 \"Protein coefficients\" \"-\"\n"
           "0.8 \"SD fat\" \"%\"\n"
           "0.5 \"SD protein\" \"%\"\n"
           "/ Somatic cells /\n"
           "3.5 \"Mean SCS\" \"score\"\n"
           "1.5 \"SD SCS\" \"score\"\n"
           "4 \"SCC classes\" \"n\"\n"
           "300000 600000 1200000 \"SCC limits\" \"cells/ml\"\n"
           "/ Payments by somatic-cell class /\n"
           "0.05 0.02 0 -0.05 \"SCC payments\" \"per kg\"\n"
           "/ Factors and shifts by somatic-cell class /\n"
           "1.0 0.05 1.0 0 0.9 -0.05 0.8 -0.1 \"SCC factors and shifts\" \"-\"\n"
           "/ Cheese /\n"
           "8.5 \"Cheese price\" \"per kg\"\n"
           "0.1 \"Whey price\" \"per kg\"\n";
}

// Echo pieces of file().
std::string systemEcho(int milkprice) { return " Pricing system    (code):  " + std::to_string(milkprice) + " "; }
const std::string kBase = " Base price    (per kg):      0.6500 ";
const std::string kFatProt =
    " Fat limits    (n):  1 "
    "\nFat thresholds    (%):  6.50"
    " Protein limits    (n):  0 "
    "\nFat coefficients    (-):"
    "\n            1.000   2.000   3.000"
    "\n            4.000   5.000   6.000"
    "\nProtein coefficients    (-):"
    "\n            7.000   8.000   9.000"
    " SD fat    (%):      0.8000 "
    " SD protein    (%):      0.5000 ";
const std::string kScc =
    " Mean SCS    (score):      3.5000 "
    " SD SCS    (score):      1.5000 "
    " SCC classes    (n):  4 "
    "\nSCC limits    (cells/ml):   300000   600000  1200000";
const std::string kSccPayments = "\nSCC payments    (per kg):      0.0500      0.0200      0.0000     -0.0500";
const std::string kPairs =
    "\nSCC factors and shifts    (-):"
    "\n              1.000      0.0500"
    "\n              1.000      0.0000"
    "\n              0.900     -0.0500"
    "\n              0.800     -0.1000";
const std::string kCheese = " Cheese price    (per kg):      8.5000  Whey price    (per kg):      0.1000 ";

struct SystemCase {
    int milkprice;
    std::string echo;   // after the heading, before the closing line breaks
};

class Inputs11System : public testing::TestWithParam<SystemCase> {};

TEST_P(Inputs11System, EchoOfTheRecordsOfThePricingSystem) {
    Harness h;
    read11(h, file(GetParam().milkprice));
    EXPECT_EQ(h.results(), kHeading + systemEcho(GetParam().milkprice) + GetParam().echo + "\n\n\n");
    EXPECT_EQ(h.console(), "Reading data from INPUTS11.TXT\n");
}

INSTANTIATE_TEST_SUITE_P(Inputs11, Inputs11System,
                         testing::Values(SystemCase{1, kBase}, SystemCase{2, kScc + kSccPayments},
                                         SystemCase{3, kBase + kFatProt}, SystemCase{4, kFatProt + kScc + kSccPayments},
                                         SystemCase{5, kBase + kFatProt + kScc + kPairs}),
                         [](const testing::TestParamInfo<SystemCase>& i) {
                             return "milkprice" + std::to_string(i.param.milkprice);
                         });

}  // namespace

TEST(Inputs11, BasePriceAloneHasNoClasses) {
    Harness h;
    read11(h, file(1));
    deriveAfterInputs11(h.run);
    const Model& m = *h.model;
    EXPECT_FLOAT_EQ(m.prmilkb, 0.65f);
    EXPECT_EQ(m.nfat, -1);
    EXPECT_EQ(m.nprot, -1);
    EXPECT_EQ(m.nSCC, 1);
    EXPECT_EQ(double(m.rf[0][0]), 0.0);
    EXPECT_EQ(double(m.sigmafat), 0.0);
    EXPECT_EQ(double(m.mSCS), 0.0);
    EXPECT_EQ(double(m.tSCC[0]), 0.0);
    EXPECT_EQ(double(m.tSCS[0]), 0.0);
    EXPECT_EQ(double(m.prSCC[0]), 0.0);
    EXPECT_EQ(double(m.prcheese), 0.0);
}

TEST(Inputs11, SomaticCellPaymentAloneIgnoresTheBasePrice) {
    Harness h;
    h.model->prmilkb = 9.0;   // set to 0 when the pricing system is read
    read11(h, file(2));
    const Model& m = *h.model;
    EXPECT_EQ(double(m.prmilkb), 0.0);
    EXPECT_EQ(m.nfat, -1);
    EXPECT_EQ(m.nprot, -1);
    EXPECT_EQ(m.nSCC, 4);
    EXPECT_FLOAT_EQ(m.mSCS, 3.5f);
    EXPECT_FLOAT_EQ(m.sigmaSCS, 1.5f);
    EXPECT_FLOAT_EQ(m.tSCC[2], 1200000.0f);
    EXPECT_FLOAT_EQ(m.prSCC[0], 0.05f);
    EXPECT_FLOAT_EQ(m.prSCC[3], -0.05f);
    EXPECT_EQ(double(m.facSCC[0]), 0.0);
}

TEST(Inputs11, FatAndProteinClassesAndCoefficientOrder) {
    Harness h;
    read11(h, file(4));
    const Model& m = *h.model;
    EXPECT_EQ(double(m.prmilkb), 0.0);
    EXPECT_EQ(m.nfat, 1);
    EXPECT_FLOAT_EQ(m.thfat[0], 6.5f);
    EXPECT_EQ(m.nprot, 0);
    EXPECT_EQ(double(m.thprot[0]), 0.0);   // its record is skipped
    // The three coefficients of a class stand together in the file.
    EXPECT_FLOAT_EQ(m.rf[0][0], 1.0f);
    EXPECT_FLOAT_EQ(m.rf[1][0], 2.0f);
    EXPECT_FLOAT_EQ(m.rf[2][0], 3.0f);
    EXPECT_FLOAT_EQ(m.rf[0][1], 4.0f);
    EXPECT_FLOAT_EQ(m.rf[2][1], 6.0f);
    EXPECT_FLOAT_EQ(m.rp[0][0], 7.0f);
    EXPECT_FLOAT_EQ(m.rp[2][0], 9.0f);
    EXPECT_EQ(double(m.rp[0][1]), 0.0);
    EXPECT_FLOAT_EQ(m.sigmafat, 0.8f);
    EXPECT_FLOAT_EQ(m.sigmaprot, 0.5f);
    EXPECT_EQ(m.nSCC, 4);
    EXPECT_FLOAT_EQ(m.prSCC[1], 0.02f);
}

TEST(Inputs11, FactorsAndShiftsAlternateInTheirRecord) {
    Harness h;
    read11(h, file(5));
    const Model& m = *h.model;
    EXPECT_FLOAT_EQ(m.prmilkb, 0.65f);
    const float fac[4] = {1.0f, 1.0f, 0.9f, 0.8f};
    const float pr[4] = {0.05f, 0.0f, -0.05f, -0.1f};
    for (int c = 0; c < 4; ++c) {
        EXPECT_FLOAT_EQ(m.facSCC[c], fac[c]) << c;
        EXPECT_FLOAT_EQ(m.prSCC[c], pr[c]) << c;
    }
}

TEST(Inputs11, NoFatLimitGivesOneFatClassAndCheesePricesAreRead) {
    Harness h;
    std::string f = replaced(file(3), "1 \"Fat limits\"", "0 \"Fat limits\"");
    f = replaced(f, "1 2 3\n4 5 6 \"Fat", "0.1 0.2 0.3 \"Fat");
    f = replaced(f, "0 \"Protein limits\"", "2 \"Protein limits\"");
    f = replaced(f, "5.5 \"Protein thresholds\"", "5.5 6.25 \"Protein thresholds\"");
    f = replaced(f, "7 8 9 \"Protein", "1 2 3 4 5 6 7 8 9 \"Protein");
    read11(h, f, 0.6);
    EXPECT_EQ(h.results(), kHeading + systemEcho(3) + kBase +
                               " Fat limits    (n):  0 "
                               " Protein limits    (n):  2 "
                               "\nProtein thresholds    (%):  5.50  6.25"
                               "\nFat coefficients    (-):"
                               "\n            0.100   0.200   0.300"
                               "\nProtein coefficients    (-):"
                               "\n            1.000   2.000   3.000"
                               "\n            4.000   5.000   6.000"
                               "\n            7.000   8.000   9.000"
                               " SD fat    (%):      0.8000 "
                               " SD protein    (%):      0.5000 " +
                               kCheese + "\n\n\n");
    const Model& m = *h.model;
    EXPECT_EQ(m.nfat, 0);
    EXPECT_EQ(double(m.thfat[0]), 0.0);
    EXPECT_FLOAT_EQ(m.rf[2][0], 0.3f);
    EXPECT_FLOAT_EQ(m.thprot[1], 6.25f);
    EXPECT_FLOAT_EQ(m.rp[1][2], 8.0f);
    EXPECT_EQ(m.nSCC, 1);
    EXPECT_FLOAT_EQ(m.prcheese, 8.5f);
    EXPECT_FLOAT_EQ(m.prwhey, 0.1f);
}

TEST(Inputs11, SingleSomaticCellClassHasAnEmptyLimitRecord) {
    Harness h;
    std::string f = replaced(file(2), "4 \"SCC classes\"", "1 \"SCC classes\"");
    f = replaced(f, "300000 600000 1200000 \"SCC limits\"", "\"SCC limits\"");
    f = replaced(f, "0.05 0.02 0 -0.05 \"SCC", "0.03 \"SCC");
    read11(h, f);
    deriveAfterInputs11(h.run);
    EXPECT_EQ(h.results(), kHeading + systemEcho(2) +
                               " Mean SCS    (score):      3.5000 "
                               " SD SCS    (score):      1.5000 "
                               " SCC classes    (n):  1 "
                               "\nSCC limits    (cells/ml):"
                               "\nSCC payments    (per kg):      0.0300"
                               "\n\n\n");
    EXPECT_FLOAT_EQ(h.model->prSCC[0], 0.03f);
    EXPECT_EQ(double(h.model->tSCS[0]), 0.0);
}

TEST(Inputs11, SomaticCellScoresOfTheClassLimits) {
    Harness h;
    read11(h, file(4));
    deriveAfterInputs11(h.run);
    const Model& m = *h.model;
    // 3 + log2(count / 100000)
    EXPECT_NEAR(double(m.tSCS[0]), 4.5849625, 1e-6);
    EXPECT_NEAR(double(m.tSCS[1]), 5.5849625, 1e-6);
    EXPECT_NEAR(double(m.tSCS[2]), 6.5849625, 1e-6);
    EXPECT_EQ(double(m.tSCS[3]), 0.0);
}

TEST(Inputs11, NoScoresWithoutTheFile) {
    Harness h;   // INPUTS11.TXT not read: nSCC is 0
    h.model->tSCC[0] = 200000.0;
    deriveAfterInputs11(h.run);
    EXPECT_EQ(double(h.model->tSCS[0]), 0.0);
}

namespace {

struct GuardCase {
    const char* name;
    int milkprice;
    std::string from, to;   // the change to file(milkprice)
    std::string message;
    std::string lastEcho;   // the end of the results file at the stop
};

const std::string kTail = " Correct this error in INPUTS11.TXT and restart the program.\n";

class Inputs11DeathTest : public testing::TestWithParam<GuardCase> {};

TEST_P(Inputs11DeathTest, GuardStopsAfterTheEchoOfItsRecord) {
    const GuardCase& g = GetParam();
    Harness h;
    const std::string f = g.from.empty() ? file(g.milkprice) : replaced(file(g.milkprice), g.from, g.to);
    EXPECT_EXIT(read11(h, f), testing::ExitedWithCode(1), "");
    EXPECT_EQ(testutil::maskElapsed(h.console()), "Reading data from INPUTS11.TXT\n\n\n\nError message:\n" + g.message +
                                                      "The program needed T seconds.\n\n\n");
    const std::string res = h.results();
    ASSERT_GE(res.size(), g.lastEcho.size());
    EXPECT_EQ(res.substr(res.size() - g.lastEcho.size()), g.lastEcho);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs11, Inputs11DeathTest,
    testing::Values(
        GuardCase{"milkprice0", 0, "", "", "The milk pricing system must be in the range from 1\nto 5." + kTail,
                  " Pricing system    (code):  0 "},
        GuardCase{"milkprice6", 6, "", "", "The milk pricing system must be in the range from 1\nto 5." + kTail,
                  " Pricing system    (code):  6 "},
        GuardCase{"nfatNegative", 3, "1 \"Fat limits\"", "-1 \"Fat limits\"",
                  "The number of class limits for fat content must be in the range from 0\nto 9." + kTail,
                  " Fat limits    (n):  -1 "},
        GuardCase{"nfat10", 4, "1 \"Fat limits\"", "10 \"Fat limits\"",
                  "The number of class limits for fat content must be in the range from 0\nto 9." + kTail,
                  " Fat limits    (n):  10 "},
        GuardCase{"nprot10", 5, "0 \"Protein limits\"", "10 \"Protein limits\"",
                  "The number of class limits for protein content must be in the range from 0\nto 9." + kTail,
                  " Protein limits    (n):  10 "},
        GuardCase{"nSCC0", 2, "4 \"SCC classes\"", "0 \"SCC classes\"",
                  "The number of somatic cell count classes must be in the range from 1\nto 7." + kTail,
                  " SCC classes    (n):  0 "},
        GuardCase{"nSCC8", 5, "4 \"SCC classes\"", "8 \"SCC classes\"",
                  "The number of somatic cell count classes must be in the range from 1\nto 7." + kTail,
                  " SCC classes    (n):  8 "},
        GuardCase{"tSCCZero", 4, "300000 600000 1200000", "300000 0 1200000",
                  "The class limits of the somatic cell count must be positive, but\nlimit 2 is 0." + kTail,
                  "\nSCC limits    (cells/ml):   300000        0  1200000"},
        GuardCase{"tSCCNegative", 5, "300000 600000 1200000", "-300000 600000 1200000",
                  "The class limits of the somatic cell count must be positive, but\nlimit 1 is -300000." + kTail,
                  "\nSCC limits    (cells/ml):  -300000   600000  1200000"},
        GuardCase{"sigmafatZero", 3, "0.8 \"SD fat\"", "0 \"SD fat\"",
                  "The standard deviation of the fat content must be greater than zero.\n"
                  "Correct this error in INPUTS11.TXT and restart the program.\n",
                  " SD fat    (%):      0.0000 "},
        GuardCase{"sigmaprotNegative", 5, "0.5 \"SD protein\"", "-0.5 \"SD protein\"",
                  "The standard deviation of the protein content must be greater than zero.\n"
                  "Correct this error in INPUTS11.TXT and restart the program.\n",
                  " SD protein    (%):     -0.5000 "},
        GuardCase{"sigmaSCSZero", 2, "1.5 \"SD SCS\"", "0 \"SD SCS\"",
                  "The standard deviation of the somatic cell score must be greater than zero.\n"
                  "Correct this error in INPUTS11.TXT and restart the program.\n",
                  " SD SCS    (score):      0.0000 "}),
    [](const testing::TestParamInfo<GuardCase>& i) { return std::string(i.param.name); });

}  // namespace
