// INPUTS02.TXT: the echo of the ram records, the bounds of the number of
// breeding cycles and the test that the last cycle accounts for all rams.
#include <gtest/gtest.h>

#include <string>

#include "input/inputs.h"
#include "input/reader.h"
#include "test_util.h"

using testutil::Harness;

namespace {

std::string file02(const std::string& rr, const std::string& died, const std::string& sold, const std::string& culled) {
    return "/ Rams: losses, sales and culling by breeding cycle /\n" + rr +
           " \"Number of breeding cycles\" \"years\"\n" + died + " \"Rams died\" \"fraction\"\n" + sold +
           " \"Rams sold\" \"fraction\"\n" + culled + "\n\"Rams culled\"\n  \"fraction\"\n";
}

void read02(Harness& h, const std::string& text) {
    h.dir.write("INPUTS02.TXT", text);
    testutil::InDir d(h.dir.path());
    InFile in = openInput(h.run, "INPUTS02.TXT");
    readInputs02(h.run, in);
    EXPECT_EQ(std::fgetc(in.f), '\n');
    EXPECT_EQ(std::fgetc(in.f), EOF);
    closeInput(in);
}

void expectStop(Harness& h, const std::string& text, const std::string& message) {
    EXPECT_EXIT(read02(h, text), testing::ExitedWithCode(1), "");
    EXPECT_EQ(testutil::maskElapsed(h.console()),
              "\n\n\nError message:\n" + message + "The program needed T seconds.\n\n\n");
}

const std::string kSumMessage =
    "The sum pdiedR[RR]+psoldR[RR]+pcullR[RR] must be one.\n"
    "Correct this error in INPUTS02.TXT and restart the program.\n";

}  // namespace

TEST(Inputs02, GoldenEchoAndValues) {
    Harness h;
    read02(h, file02("2", "0.02 0.05", "0.3 0.25", "0.1 0.7"));
    // The line breaks between the texts of the last record stand before "   (".
    EXPECT_EQ(h.results(),
              "\nNumber of breeding cycles    (years): 2"
              "\nRams died    (fraction):   0.020   0.050"
              "\nRams sold    (fraction):   0.300   0.250"
              "\nRams culled\n     (fraction):   0.100   0.700");
    const Model& m = *h.model;
    EXPECT_EQ(m.RR, 2);
    EXPECT_FLOAT_EQ(m.pdiedR[2], 0.05f);
    EXPECT_FLOAT_EQ(m.psoldR[1], 0.3f);
    EXPECT_FLOAT_EQ(m.pcullR[2], 0.7f);
    EXPECT_EQ(double(m.pdiedR[3]), 0.0);
}

TEST(Inputs02, OneAndFiveBreedingCyclesAreAccepted) {
    Harness one;
    read02(one, file02("1", "0.1", "0.4", "0.5"));
    EXPECT_EQ(one.model->RR, 1);
    Harness five;
    read02(five, file02("5", "0 0 0 0 0.1", "0 0 0 0 0.2", "0 0 0 0 0.7"));
    EXPECT_EQ(five.model->RR, 5);
    EXPECT_FLOAT_EQ(five.model->pcullR[5], 0.7f);
}

TEST(Inputs02, NumberOfBreedingCyclesOutsideOneToFiveStopsBeforeAnyEcho) {
    for (const char* rr : {"0", "6", "-1"}) {
        Harness h;
        expectStop(h, file02(rr, "0.1", "0.4", "0.5"),
                   "The number of breeding cycles for rams must be in the range from 1\n"
                   "to 5. Correct this error in INPUTS02.TXT and restart the program.\n");
        EXPECT_EQ(h.results(), "") << rr;
    }
}

// Sums of the last cycle around the tolerance of 1e-06.
namespace {

struct SumCase {
    const char* died;
    const char* sold;
    const char* culled;
    bool passes;

    friend void PrintTo(const SumCase& c, std::ostream* os) {
        *os << c.died << " + " << c.sold << " + " << c.culled;
    }
};

class Inputs02Sum : public testing::TestWithParam<SumCase> {};

}  // namespace

TEST_P(Inputs02Sum, LastCycleMustAccountForAllRams) {
    const auto [died, sold, culled, passes] = GetParam();
    // The first cycle keeps most rams; only the last one is tested.
    const std::string text = file02("2", std::string("0.05 ") + died, std::string("0.1 ") + sold,
                                    std::string("0.1 ") + culled);
    Harness h;
    if (passes) {
        read02(h, text);
        EXPECT_EQ(h.console(), "");
    } else {
        expectStop(h, text, kSumMessage);
        // The test follows the echo of all three vectors.
        const std::string res = h.results();
        EXPECT_NE(res.find("\nRams culled\n     (fraction):   0.100"), std::string::npos) << res;
    }
}

INSTANTIATE_TEST_SUITE_P(Sums, Inputs02Sum,
                         testing::Values(SumCase{"0.0499995", "0.25", "0.7", true},   // 0.9999995
                                         SumCase{"0.0500005", "0.25", "0.7", true},   // 1.0000005
                                         SumCase{"0", "0", "1", true},
                                         SumCase{"0.049", "0.25", "0.7", false},      // 0.999
                                         SumCase{"0.050005", "0.25", "0.7", false},   // 1.000005
                                         SumCase{"0", "0", "0", false}),
                         [](const testing::TestParamInfo<SumCase>& i) {
                             return "case" + std::to_string(i.index) + (i.param.passes ? "_passes" : "_stops");
                         });
