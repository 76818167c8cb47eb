// INPUTS06.TXT: the record sequence for milked and suckling breeds, the
// zeroed litter-size class 0, the cheese-yield methods and their guard.
#include <gtest/gtest.h>

#include "input/inputs.h"
#include "input/reader.h"
#include "test_util.h"

using testutil::Harness;

namespace {

const std::string kHeading = "2.6 Data from file INPUTS06.TXT\n-------------------------------\n";

// Four cycles of ewes and two litter-size classes: the parity record holds
// four numbers, the litter record three (class 0 included).
void setUp(Harness& h, int typeb) {
    h.model->typeb = typeb;
    h.model->LL = 4;
    h.model->clt = 2;
}

// Reads text as INPUTS06.TXT the way the reading sequence does (section 2.6).
void read06(Harness& h, const std::string& text) {
    h.dir.write("INPUTS06.TXT", text);
    testutil::InDir d(h.dir.path());
    h.run.sectionNo = 5;
    readInputFile(h.run, 6, readInputs06);
}

// The file up to the comment before the cheese-yield records.
std::string head(const std::string& cheeseFraction) {
    return "/ Milk production of ewes /\n"
           "1.5 \"Lactation curve a\" \"kg\"\n"
           "0.25 \"Lactation curve b\" \"-\"\n"
           "0.015 \"Lactation curve c\" \"-\"\n"
           "2 \"Placement of ewes\" \"code\"\n"
           "1 \"Suckling lambs\" \"number\"\n"
           "1.0 1.1 1.2 0.95 \"Factors for parity\" \"-\"\n"
           "0.7 1.0 1.25 \"Factors for litter size\" \"-\"\n"
           "0.8 \"Fraction of milk marketed\" \"fraction\"\n"
           "1.5 \"Factor on milking costs\" \"-\"\n"
           "14 \"Start of milk recording\" \"days after weaning\"\n" +
           cheeseFraction +
           " \"Milk made into cheese\" \"fraction\"\n"
           "/ Cheese yield /\n";
}

std::string cheese(int cy) {
    return std::to_string(cy) +
           " \"Method of cheese yield\" \"code\"\n"
           "0.5 \"Coefficient a\" \"kg\"\n"
           "1.25 \"Coefficient b\" \"kg per %\"\n"
           "2.5 \"Coefficient c\" \"kg per %\"\n"
           "0.9 \"Recovery of fat\" \"-\"\n"
           "0.75 \"Recovery of casein\" \"-\"\n"
           "0.8 \"Casein in protein\" \"-\"\n"
           "40 \"Moisture of cheese\" \"%\"\n"
           "30 \"Fat in cheese\" \"%\"\n";
}

const std::string kCurve =
    " Lactation curve a    (kg):      1.5000 "
    " Lactation curve b    (-):      0.2500 "
    " Lactation curve c    (-):      0.0150 "
    " Placement of ewes    (code):  2 "
    " Suckling lambs    (number):  1 "
    "\nFactors for parity    (-): 1.000 1.100 1.200 0.950";

}  // namespace

TEST(Inputs06, MilkedBreedWithLinearCheeseYield) {
    Harness h;
    setUp(h, 1);
    read06(h, head("0.6") + cheese(1));
    EXPECT_EQ(h.results(), kHeading + kCurve +
                               "\nFactors for litter size    (-): 0.700 1.000 1.250"
                               " Fraction of milk marketed    (fraction):      0.8000 "
                               " Factor on milking costs    (-):      1.5000 "
                               " Start of milk recording    (days after weaning):  14 "
                               " Milk made into cheese    (fraction):      0.6000 "
                               " Method of cheese yield    (code):  1 "
                               " Coefficient a    (kg):      0.5000 "
                               " Coefficient b    (kg per %):      1.2500 "
                               " Coefficient c    (kg per %):      2.5000 "
                               "\n\n\n");
    const Model& m = *h.model;
    EXPECT_FLOAT_EQ(m.awo, 1.5f);
    EXPECT_FLOAT_EQ(m.bwo, 0.25f);
    EXPECT_FLOAT_EQ(m.cwo, 0.015f);
    EXPECT_EQ(m.placE, 2);
    EXPECT_EQ(m.nsl, 1);
    EXPECT_FLOAT_EQ(m.ktlp[1], 1.0f);
    EXPECT_FLOAT_EQ(m.ktlp[4], 0.95f);
    EXPECT_FLOAT_EQ(m.ktlsl[0], 0.7f);
    EXPECT_FLOAT_EQ(m.ktlsl[2], 1.25f);
    EXPECT_FLOAT_EQ(m.pmilkwm, 0.8f);
    EXPECT_FLOAT_EQ(m.kmilkcE, 1.5f);
    EXPECT_EQ(m.dmilkst, 14);
    EXPECT_FLOAT_EQ(m.pmilkch, 0.6f);
    EXPECT_EQ(m.cy, 1);
    EXPECT_FLOAT_EQ(m.ach, 0.5f);
    EXPECT_FLOAT_EQ(m.bch, 1.25f);
    EXPECT_FLOAT_EQ(m.cch, 2.5f);
    // The records of the other method stand in the file but are skipped.
    EXPECT_EQ(double(m.rfat), 0.0);
    EXPECT_EQ(double(m.fatch), 0.0);
}

TEST(Inputs06, MilkedBreedWithCheeseYieldFromRecoveries) {
    Harness h;
    setUp(h, 1);
    read06(h, head("0.6") + cheese(2));
    EXPECT_EQ(h.results(), kHeading + kCurve +
                               "\nFactors for litter size    (-): 0.700 1.000 1.250"
                               " Fraction of milk marketed    (fraction):      0.8000 "
                               " Factor on milking costs    (-):      1.5000 "
                               " Start of milk recording    (days after weaning):  14 "
                               " Milk made into cheese    (fraction):      0.6000 "
                               " Method of cheese yield    (code):  2 "
                               " Recovery of fat    (-):      0.9000 "
                               " Recovery of casein    (-):      0.7500 "
                               " Casein in protein    (-):      0.8000 "
                               " Moisture of cheese    (%):     40.0000 "
                               " Fat in cheese    (%):     30.0000 "
                               "\n\n\n");
    const Model& m = *h.model;
    EXPECT_EQ(m.cy, 2);
    EXPECT_EQ(double(m.ach), 0.0);
    EXPECT_EQ(double(m.cch), 0.0);
    EXPECT_FLOAT_EQ(m.rfat, 0.9f);
    EXPECT_FLOAT_EQ(m.rcas, 0.75f);
    EXPECT_FLOAT_EQ(m.casprot, 0.8f);
    EXPECT_FLOAT_EQ(m.moich, 40.0f);
    EXPECT_FLOAT_EQ(m.fatch, 30.0f);
}

TEST(Inputs06, SucklingBreedZeroesLitterClassZeroAndSkipsMilkingRecords) {
    Harness h;
    setUp(h, 2);
    read06(h, head("0.6") + cheese(1));
    // ktlsl[0] is 0.000 whatever the file says; marketing and cheese
    // records are skipped.
    EXPECT_EQ(h.results(), kHeading + kCurve +
                               "\nFactors for litter size    (-): 0.000 1.000 1.250"
                               " Factor on milking costs    (-):      1.5000 "
                               "\n\n\n");
    const Model& m = *h.model;
    EXPECT_EQ(double(m.ktlsl[0]), 0.0);
    EXPECT_FLOAT_EQ(m.ktlsl[1], 1.0f);
    EXPECT_EQ(double(m.pmilkwm), 0.0);
    EXPECT_FLOAT_EQ(m.kmilkcE, 1.5f);
    EXPECT_EQ(m.dmilkst, 0);
    EXPECT_EQ(double(m.pmilkch), 0.0);
    EXPECT_EQ(m.cy, 0);
    EXPECT_EQ(double(m.ach), 0.0);
}

TEST(Inputs06, WithoutCheeseExactlyEightRecordsAreSkipped) {
    for (int typeb : {1, 2}) {
        Harness h;
        setUp(h, typeb);
        h.dir.write("INPUTS06.TXT", head("0") + cheese(1));
        testutil::InDir d(h.dir.path());
        InFile in = openInput(h.run, "INPUTS06.TXT");
        readInputs06(h.run, in);
        std::string rest;
        for (int c; (c = std::fgetc(in.f)) != EOF;) rest += char(c);
        closeInput(in);
        // The ninth cheese record is not read.
        EXPECT_EQ(rest, "\n30 \"Fat in cheese\" \"%\"\n") << "typeb " << typeb;
        EXPECT_EQ(h.model->cy, 0);
        EXPECT_EQ(double(h.model->ach), 0.0);
        EXPECT_EQ(double(h.model->rfat), 0.0);
        const std::string res = h.results();
        EXPECT_EQ(res.find("Method of cheese yield"), std::string::npos);
    }
}

class Inputs06DeathTest : public testing::TestWithParam<int> {};

TEST_P(Inputs06DeathTest, CheeseMethodOutsideOneAndTwoStopsAfterItsEcho) {
    Harness h;
    setUp(h, 1);
    EXPECT_EXIT(read06(h, head("0.6") + cheese(GetParam())), testing::ExitedWithCode(1), "");
    EXPECT_EQ(testutil::maskElapsed(h.console()),
              "Reading data from INPUTS06.TXT\n"
              "\n\n\nError message:\n"
              "The method for calculating the cheese yield must be in the range from 1\n"
              "to 2. Correct this error in INPUTS06.TXT and restart the program.\n"
              "The program needed T seconds.\n\n\n");
    const std::string res = h.results();
    const std::string tail = " Method of cheese yield    (code):  " + std::to_string(GetParam()) + " ";
    ASSERT_GE(res.size(), tail.size());
    EXPECT_EQ(res.substr(res.size() - tail.size()), tail);
}

INSTANTIATE_TEST_SUITE_P(Inputs06, Inputs06DeathTest, testing::Values(0, 3, -1));
