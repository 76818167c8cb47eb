// INPUTS03.TXT: the record sequence with its skipped records, the echo of
// the litter-size matrix, the triangular loss matrix and the vectors, the
// checks in their order, and the losses derived for cross-bred lambs.
#include <gtest/gtest.h>

#include <string>

#include "input/inputs.h"
#include "input/reader.h"
#include "test_util.h"

using testutil::Harness;

namespace {

// Two litter-size classes and four cycles; every record stands in the file,
// whatever the system variables.
const std::string kTwoClasses =
    "/ Lambs from birth to weaning or to the end of artificial rearing /\n"
    "2 \"Number of classes for litter size\" \"1 to 5\"\n"
    "0.60 0.50 0.40 0.30\n"
    "0.40 0.50 0.60 0.70 \"Fraction of lambings\" \"rows: litter size, columns: cycle\"\n"
    "0.05\n"
    "0.02 0.04 \"Losses within 24 hours\" \"fraction\"\n"
    "0.10 0.15 \"Losses until weaning\" \"fraction\"\n"
    "0.20 0.25 \"Losses in artificial rearing\" \"fraction\"\n"
    "4.0 3.5 \"Birth weight, females\" \"kg\"\n"
    "4.5 3.8 \"Birth weight, males\" \"kg\"\n"
    "20 18 \"Weaning weight, females\" \"kg\"\n"
    "22 19.5 \"Weaning weight, males\" \"kg\"\n"
    "3.8 3.2 \"Birth weight, cross-bred females\" \"kg\"\n"
    "4.2 3.6 \"Birth weight, cross-bred males\" \"kg\"\n"
    "21 19 \"Weaning weight, cross-bred females\" \"kg\"\n"
    "23 20 \"Weaning weight, cross-bred males\" \"kg\"\n"
    "12 10 \"Weight after artificial rearing, females\" \"kg\"\n"
    "13 11 \"Weight after artificial rearing, males\" \"kg\"\n"
    "12.5 10.5 \"Weight after artificial rearing, cross-bred females\" \"kg\"\n"
    "13.5 11.5 \"Weight after artificial rearing, cross-bred males\" \"kg\"\n"
    "45 \"Age at the end of artificial rearing\" \"days\"";

// A record after the last one: the reader must stop right before it.
const std::string kSentinel = "\n99 \"Next file\" \"-\"\n";

// Echo pieces of kTwoClasses.
const std::string kEchoHead =
    "\nNumber of classes for litter size    (1 to 5): 2"
    "\nFraction of lambings    (rows: litter size, columns: cycle):\n"
    "   0.600   0.500   0.400   0.300\n"
    "   0.400   0.500   0.600   0.700\n"
    "\nLosses within 24 hours    (fraction):\n"
    "   0.050\n"
    "   0.020   0.040\n"
    "\nLosses until weaning    (fraction):   0.100   0.150";
const std::string kEchoArLosses = "\nLosses in artificial rearing    (fraction):   0.200   0.250";
const std::string kEchoPure =
    "\nBirth weight, females    (kg):   4.000   3.500"
    "\nBirth weight, males    (kg):   4.500   3.800"
    "\nWeaning weight, females    (kg):  20.000  18.000"
    "\nWeaning weight, males    (kg):  22.000  19.500";
const std::string kEchoCross =
    "\nBirth weight, cross-bred females    (kg):   3.800   3.200"
    "\nBirth weight, cross-bred males    (kg):   4.200   3.600"
    "\nWeaning weight, cross-bred females    (kg):  21.000  19.000"
    "\nWeaning weight, cross-bred males    (kg):  23.000  20.000";
const std::string kEchoArPure =
    "\nWeight after artificial rearing, females    (kg):  12.000  10.000"
    "\nWeight after artificial rearing, males    (kg):  13.000  11.000";
const std::string kEchoArCross =
    "\nWeight after artificial rearing, cross-bred females    (kg):  12.500  10.500"
    "\nWeight after artificial rearing, cross-bred males    (kg):  13.500  11.500";
const std::string kEchoAge = " Age at the end of artificial rearing    (days):  45 ";

std::string rest(InFile& in) {
    std::string s;
    for (int c; (c = std::fgetc(in.f)) != EOF;) s += char(c);
    return s;
}

// Reads `text` as INPUTS03.TXT with the reader itself (no section heading).
void read03(Harness& h, const std::string& text, std::string* remainder = nullptr) {
    h.dir.write("INPUTS03.TXT", text);
    testutil::InDir dir(h.dir.path());
    InFile in = openInput(h.run, "INPUTS03.TXT");
    readInputs03(h.run, in);
    if (remainder) *remainder = rest(in);
    closeInput(in);
}

// A complete file with n litter-size classes after the given count and
// litter-size records; the losses within 24 hours are all 0.01 unless
// given, the other records hold plausible values.
std::string file03(int n, const std::string& count, const std::string& pltype, std::string losses = "") {
    std::string s = "/ Lambs /\n" + count + " \"Classes\" \"count\"\n" + pltype + " \"Pltype\" \"fraction\"\n";
    if (losses.empty())
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= i; ++j) losses += "0.01 ";
    s += losses + "\"Losses\" \"fraction\"\n";
    for (int r = 5; r <= 18; ++r) {
        for (int i = 1; i <= n; ++i) s += std::to_string(r) + " ";
        s += "\"Record " + std::to_string(r) + "\" \"-\"\n";
    }
    return s + "40 \"Age\" \"days\"\n";
}

void setSystem(Harness& h, int LL, int typew, int crossing) {
    h.model->LL = LL;
    h.model->typew = typew;
    h.model->crossing = crossing;
}

}  // namespace

// ---- record sequence and echo ------------------------------------------

struct Variant {
    int typew, crossing;
    std::string echo;
};

void PrintTo(const Variant& v, std::ostream* os) { *os << "typew " << v.typew << ", crossing " << v.crossing; }

class Inputs03Variant : public testing::TestWithParam<Variant> {};

TEST_P(Inputs03Variant, ReadsEchoesAndSkipsTheRecordsOfTheSystem) {
    const Variant& v = GetParam();
    Harness h;
    setSystem(h, 4, v.typew, v.crossing);
    std::string remainder;
    read03(h, kTwoClasses + kSentinel, &remainder);
    EXPECT_EQ(h.results(), v.echo);
    EXPECT_EQ(remainder, kSentinel);   // the skipped records are consumed, no more

    const Model& m = *h.model;
    EXPECT_EQ(m.clt, 2);
    EXPECT_FLOAT_EQ(m.Pltype[2][4], 0.7f);
    EXPECT_FLOAT_EQ(m.pdiedbtL[2][2], 0.04f);
    EXPECT_FLOAT_EQ(m.pdiedwL[2][1], 0.15f);
    EXPECT_FLOAT_EQ(m.bwL[2][1][1], 4.5f);
    EXPECT_FLOAT_EQ(m.wwL[2][2][1], 19.5f);
    // Values of skipped records stay zero.
    EXPECT_FLOAT_EQ(m.pdiedarL[1][1], v.typew == 2 ? 0.2f : 0.0f);
    EXPECT_FLOAT_EQ(m.bwL[1][2][2], v.crossing == 2 ? 3.2f : 0.0f);
    EXPECT_FLOAT_EQ(m.wwL[2][1][2], v.crossing == 2 ? 23.0f : 0.0f);
    EXPECT_FLOAT_EQ(m.warL[1][1][1], v.typew == 2 ? 12.0f : 0.0f);
    EXPECT_FLOAT_EQ(m.warL[2][2][2], v.typew == 2 && v.crossing == 2 ? 11.5f : 0.0f);
    EXPECT_EQ(m.agearL, v.typew == 2 ? 45 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Systems, Inputs03Variant,
    testing::Values(Variant{1, 1, kEchoHead + kEchoPure},
                    Variant{1, 2, kEchoHead + kEchoPure + kEchoCross},
                    Variant{2, 1, kEchoHead + kEchoArLosses + kEchoPure + kEchoArPure + kEchoAge},
                    Variant{2, 2, kEchoHead + kEchoArLosses + kEchoPure + kEchoCross + kEchoArPure + kEchoArCross +
                                      kEchoAge}),
    [](const testing::TestParamInfo<Variant>& i) {
        return "typew" + std::to_string(i.param.typew) + "_crossing" + std::to_string(i.param.crossing);
    });

TEST(Inputs03, FiveLitterSizeClassesAreHeldAndEchoedAsASection) {
    Harness h;
    setSystem(h, 4, 2, 2);
    h.run.sectionNo = 2;
    h.dir.write("INPUTS03.TXT",
                "/ Five classes /\n"
                "5 \"Number of classes for litter size\" \"1 to 5\"\n"
                "0.50 0.40 0.30 0.20\n"
                "0.30 0.30 0.30 0.30\n"
                "0.10 0.15 0.20 0.25\n"
                "0.05 0.10 0.10 0.15\n"
                "0.05 0.05 0.10 0.10 \"Fraction of lambings\" \"classes by cycle\"\n"
                "0.01\n0.01 0.02\n0.01 0.02 0.03\n0.02 0.03 0.04 0.05\n"
                "0.02 0.03 0.04 0.05 0.06 \"Losses within 24 hours\" \"fraction\"\n"
                "0.05 0.08 0.12 0.16 0.20 \"Losses until weaning\" \"fraction\"\n"
                "0.04 0.06 0.08 0.10 0.12 \"Losses in artificial rearing\" \"fraction\"\n"
                "5.0 4.0 3.5 3.0 2.5 \"BF\" \"kg\"\n"
                "5.5 4.5 4.0 3.5 3.0 \"BM\" \"kg\"\n"
                "25 22 20 18 16 \"WF\" \"kg\"\n"
                "27 24 22 20 18 \"WM\" \"kg\"\n"
                "4.8 3.9 3.4 2.9 2.4 \"BFc\" \"kg\"\n"
                "5.3 4.4 3.9 3.4 2.9 \"BMc\" \"kg\"\n"
                "26 23 21 19 17 \"WFc\" \"kg\"\n"
                "28 25 23 21 19 \"WMc\" \"kg\"\n"
                "12 11 10 9 8 \"AF\" \"kg\"\n"
                "13 12 11 10 9 \"AM\" \"kg\"\n"
                "12.5 11.5 10.5 9.5 8.5 \"AFc\" \"kg\"\n"
                "13.5 12.5 11.5 10.5 9.5 \"AMc\" \"kg\"\n"
                "42 \"Age at the end of artificial rearing\" \"days\"\n");
    {
        testutil::InDir dir(h.dir.path());
        readInputFile(h.run, 3, readInputs03);
    }
    EXPECT_EQ(h.console(), "Reading data from INPUTS03.TXT\n");
    EXPECT_EQ(h.results(),
              "2.3 Data from file INPUTS03.TXT\n"
              "-------------------------------\n"
              "\nNumber of classes for litter size    (1 to 5): 5"
              "\nFraction of lambings    (classes by cycle):\n"
              "   0.500   0.400   0.300   0.200\n"
              "   0.300   0.300   0.300   0.300\n"
              "   0.100   0.150   0.200   0.250\n"
              "   0.050   0.100   0.100   0.150\n"
              "   0.050   0.050   0.100   0.100\n"
              "\nLosses within 24 hours    (fraction):\n"
              "   0.010\n"
              "   0.010   0.020\n"
              "   0.010   0.020   0.030\n"
              "   0.020   0.030   0.040   0.050\n"
              "   0.020   0.030   0.040   0.050   0.060\n"
              "\nLosses until weaning    (fraction):   0.050   0.080   0.120   0.160   0.200"
              "\nLosses in artificial rearing    (fraction):   0.040   0.060   0.080   0.100   0.120"
              "\nBF    (kg):   5.000   4.000   3.500   3.000   2.500"
              "\nBM    (kg):   5.500   4.500   4.000   3.500   3.000"
              "\nWF    (kg):  25.000  22.000  20.000  18.000  16.000"
              "\nWM    (kg):  27.000  24.000  22.000  20.000  18.000"
              "\nBFc    (kg):   4.800   3.900   3.400   2.900   2.400"
              "\nBMc    (kg):   5.300   4.400   3.900   3.400   2.900"
              "\nWFc    (kg):  26.000  23.000  21.000  19.000  17.000"
              "\nWMc    (kg):  28.000  25.000  23.000  21.000  19.000"
              "\nAF    (kg):  12.000  11.000  10.000   9.000   8.000"
              "\nAM    (kg):  13.000  12.000  11.000  10.000   9.000"
              "\nAFc    (kg):  12.500  11.500  10.500   9.500   8.500"
              "\nAMc    (kg):  13.500  12.500  11.500  10.500   9.500"
              " Age at the end of artificial rearing    (days):  42 "
              "\n\n\n");

    const Model& m = *h.model;
    EXPECT_EQ(m.clt, 5);
    EXPECT_FLOAT_EQ(m.Pltype[5][1], 0.05f);
    EXPECT_FLOAT_EQ(m.Pltype[5][4], 0.10f);
    EXPECT_FLOAT_EQ(m.pdiedbtL[5][5], 0.06f);
    EXPECT_NEAR(m.pdiedbL[5][1], 0.20, 1e-6);
    EXPECT_NEAR(m.pdiedbL[4][1], 0.14, 1e-6);
    EXPECT_NEAR(m.pdiedbL[1][1], 0.01, 1e-6);
    EXPECT_FLOAT_EQ(m.pdiedwL[5][1], 0.20f);
    EXPECT_FLOAT_EQ(m.bwL[2][5][2], 2.9f);
    EXPECT_FLOAT_EQ(m.warL[2][5][2], 9.5f);
    EXPECT_EQ(m.agearL, 42);
}

TEST(Inputs03, ThreeClassesOverFiveCyclesReadFifteenAndSixNumbers) {
    Harness h;
    setSystem(h, 5, 1, 1);
    std::string remainder;
    read03(h,
           "/ c /\n3 \"Classes\" \"n\"\n"
           "0.5 0.4 0.3 0.2 0.1\n0.3 0.4 0.5 0.6 0.7\n0.2 0.2 0.2 0.2 0.2 \"Pltype\" \"f\"\n"
           "0.01 0.02 0.03 0.04 0.05 0.06 \"Losses\" \"f\"\n"
           "0.1 0.2 0.3 \"Weaning losses\" \"f\"\n"
           "\"skipped\" \"artificial rearing\"\n"
           "4 3.5 3 \"bf\" \"kg\"\n4.5 4 3.5 \"bm\" \"kg\"\n20 18 16 \"wf\" \"kg\"\n22 20 18 \"wm\" \"kg\"\n"
           "\"a\" \"b\" \"c\" \"d\" \"e\" \"f\" \"g\" \"h\"\n"
           "\"i\" \"j\" \"k\" \"l\" \"m\" \"n\" \"o\" \"p\" \"q\" \"r\"" +
               kSentinel,
           &remainder);
    EXPECT_EQ(remainder, kSentinel);
    const Model& m = *h.model;
    EXPECT_FLOAT_EQ(m.Pltype[1][5], 0.1f);
    EXPECT_FLOAT_EQ(m.Pltype[2][1], 0.3f);
    EXPECT_FLOAT_EQ(m.Pltype[3][5], 0.2f);
    EXPECT_FLOAT_EQ(m.pdiedbtL[1][1], 0.01f);
    EXPECT_FLOAT_EQ(m.pdiedbtL[2][2], 0.03f);
    EXPECT_FLOAT_EQ(m.pdiedbtL[3][1], 0.04f);
    EXPECT_FLOAT_EQ(m.pdiedbtL[3][3], 0.06f);
    EXPECT_FLOAT_EQ(m.pdiedbL[2][1], 0.05f);
    EXPECT_FLOAT_EQ(m.pdiedbL[3][1], 0.15f);
    EXPECT_FLOAT_EQ(m.pdiedwL[3][1], 0.3f);
    EXPECT_FLOAT_EQ(m.wwL[2][3][1], 18.0f);
    EXPECT_NE(h.results().find("\nLosses    (f):\n   0.010\n   0.020   0.030\n   0.040   0.050   0.060\n"),
              std::string::npos);
}

TEST(Inputs03, LossWithin24HoursIsAccumulatedInStoredPrecision) {
    // Summed value by value in single precision, 0.01 + 0.04 + 0.05 is one
    // unit in the last place below the single-precision 0.1.
    Harness h;
    setSystem(h, 4, 1, 1);
    read03(h, file03(3, "3", "0.5 0.5 0.5 0.5\n0.3 0.3 0.3 0.3\n0.2 0.2 0.2 0.2", "0.07 0.01 0.02 0.01 0.04 0.05 "));
    float s = 0.0f;
    s += 0.01f;
    s += 0.04f;
    s += 0.05f;
    ASSERT_NE(s, 0.1f);
    EXPECT_EQ(h.model->pdiedbL[3][1].f(), s);
    EXPECT_FLOAT_EQ(h.model->pdiedbL[1][1], 0.07f);
    EXPECT_FLOAT_EQ(h.model->pdiedbL[2][1], 0.03f);
}

// ---- checks --------------------------------------------------------------

struct Check03 {
    const char* name;
    int LL, n;              // cycles; litter-size classes of the records
    std::string count;      // the text of the count record
    std::string pltype;     // the numbers of the litter-size record
    std::string message;    // empty: the file passes
    std::string echoed;     // results file at the stop
};

const std::string kRangeMessage =
    "The number of classes for litter size must be in the range from 1\n"
    "to 5. Correct this error in INPUTS03.TXT and restart the program.\n\n\n";
const std::string kTooHigh =
    "The number of classes for litter size is too high. The fraction\n"
    "  of lambings in the highest class for litter size is zero for all\n"
    "  reproductive cycles. Decrease the number of litter size by one or\n"
    "  complete the data for the highest class of litter size in\n"
    "  INPUTS03.TXT and restart the program.\n\n\n";

std::string columnMessage(int j) {
    return "In file INPUTS03.TXT are wrong data for the fraction of\n"
           "  lambings in individual classes for litter size. The fractions\n"
           "  in reproductive cycle " +
           std::to_string(j) +
           " do not sum to 1.\n"
           "  Correct the error and restart the program.\n";
}

void PrintTo(const Check03& c, std::ostream* os) { *os << c.name; }

class Inputs03Check : public testing::TestWithParam<Check03> {};

TEST_P(Inputs03Check, FirstFailingCheckIsReportedBeforeTheEcho) {
    const Check03& c = GetParam();
    Harness h;
    setSystem(h, c.LL, 1, 1);
    const std::string text = file03(c.n, c.count, c.pltype);
    if (c.message.empty()) {
        read03(h, text);
        EXPECT_EQ(h.console(), "");
        EXPECT_NE(h.results().find("\nPltype    (fraction):\n"), std::string::npos);
    } else {
        EXPECT_EXIT(read03(h, text), testing::ExitedWithCode(1), "");
        EXPECT_EQ(testutil::maskElapsed(h.console()),
                  "\n\n\nError message:\n" + c.message + "The program needed T seconds.\n\n\n");
        EXPECT_EQ(h.results(), c.echoed);
    }
}

const std::string kCount2 = "\nClasses    (count): 2";

INSTANTIATE_TEST_SUITE_P(
    Checks, Inputs03Check,
    testing::Values(
        Check03{"ZeroClasses", 4, 1, "0", "1 1 1 1", kRangeMessage, ""},
        Check03{"NegativeClasses", 4, 1, "-1", "1 1 1 1", kRangeMessage, ""},
        Check03{"SixClasses", 4, 5, "6", "1 1 1 1", kRangeMessage, ""},
        Check03{"OneClass", 4, 1, "1", "1 1 1 1", "", ""},
        Check03{"FiveClasses", 4, 5, "5",
                "0.2 0.2 0.2 0.2 0.2 0.2 0.2 0.2 0.2 0.2 0.2 0.2 0.2 0.2 0.2 0.2 0.2 0.2 0.2 0.2", "", ""},
        Check03{"OneClassAllZero", 4, 1, "1", "0 0 0 0", kTooHigh, "\nClasses    (count): 1"},
        // The highest class is tested before any column, even a wrong one.
        Check03{"HighestClassZeroBeforeColumns", 4, 2, "2", "0.5 1 1 1\n0 0 0 0", kTooHigh, kCount2},
        Check03{"HighestClassInOneCycleOnly", 4, 2, "2", "1 1 1 0.9\n0 0 0 0.1", "", ""},
        Check03{"ColumnsSummingTo0_999995Pass", 4, 2, "2", "0.5 0.5 0.5 0.5\n0.499995 0.499995 0.499995 0.499995",
                "", ""},
        Check03{"ColumnsSummingTo1_000005Pass", 4, 2, "2", "0.5 0.5 0.5 0.5\n0.500005 0.500005 0.500005 0.500005",
                "", ""},
        Check03{"Column3SummingTo0_9999Stops", 4, 2, "2", "0.5 0.5 0.5 0.5\n0.5 0.5 0.4999 0.5", columnMessage(3),
                kCount2},
        Check03{"Column1SummingTo0_99998Stops", 4, 2, "2", "0.49998 0.5 0.5 0.5\n0.5 0.5 0.5 0.5", columnMessage(1),
                kCount2},
        Check03{"Column5Of5SummingTo1_00002Stops", 5, 2, "2", "0.5 0.5 0.5 0.5 0.5\n0.5 0.5 0.5 0.5 0.50002",
                columnMessage(5), kCount2},
        // Two wrong columns: the first in cycle order is reported.
        Check03{"FirstWrongColumnIsReported", 4, 2, "2", "0.5 0.6 0.5 0.1\n0.5 0.5 0.5 0.5", columnMessage(2),
                kCount2}),
    [](const testing::TestParamInfo<Check03>& i) { return std::string(i.param.name); });

// ---- losses of cross-bred lambs -------------------------------------------

TEST(Inputs03, CrossBredLambsGetThePureBredLosses) {
    for (int crossing = 1; crossing <= 2; ++crossing) {
        Harness h;
        Model& m = *h.model;
        m.crossing = crossing;
        m.clt = 2;
        for (int i = 1; i <= 3; ++i) {
            m.pdiedbL[i][1] = 0.01 * i;
            m.pdiedwL[i][1] = 0.02 * i;
            m.pdiedarL[i][1] = 0.03 * i;
        }
        deriveAfterInputs03(h.run);
        const bool cross = crossing == 2;
        for (int i = 1; i <= 2; ++i) {
            EXPECT_FLOAT_EQ(m.pdiedbL[i][2], cross ? 0.01f * i : 0.0f) << i;
            EXPECT_FLOAT_EQ(m.pdiedwL[i][2], cross ? 0.02f * i : 0.0f) << i;
            EXPECT_FLOAT_EQ(m.pdiedarL[i][2], cross ? 0.03f * i : 0.0f) << i;
        }
        // Classes above clt are not touched.
        EXPECT_FLOAT_EQ(m.pdiedbL[3][2], 0.0f);
        EXPECT_FLOAT_EQ(m.pdiedwL[3][2], 0.0f);
        EXPECT_FLOAT_EQ(m.pdiedarL[3][2], 0.0f);
    }
}
