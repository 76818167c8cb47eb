// INPUTS01.TXT: the echo of every kind of record, the records skipped for
// breeds that are not milked and for flocks without crossing, and the stops
// for a wrong number of cycles and for impossible dates.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/inputs.h"
#include "input/reader.h"
#include "test_util.h"

using testutil::Harness;

namespace {

// Records 1 .. 16 of a complete file with four cycles (index 0 unused).
std::vector<std::string> goldenRecords() {
    return {"",
            "/ Ewe flock: losses, culling, conception and crossing /",
            "4 \"Number of reproductive cycles\" \"lambings\"",
            "0.02 0.03 0.04 0.05 \"Ewes died\" \"fraction per cycle\"",
            "0.01 0.01 0.02 0.02 \"Ewes culled for milk yield\" \"fraction\"",
            "0.10 0.12 0.15 1.00 \"Ewes culled\" \"fraction\"",
            "0.9 0.92 0.94 \"Conception rate\" \"fraction\"",
            "0.5 0.4 0.3 \"Barren ewes kept\" \"fraction\"",
            "0.25 \"Ewe lambs mated to crossing sires\" \"fraction\"",
            "0.1 0.2 0.3 \"Ewes mated to crossing sires\" \"fraction\"",
            "/ Calendar /",
            "1 2 1 \"Lambing\" \"year month day\"",
            "1 4 15 \"Weaning\" \"year month day\"",
            "0 9 1 \"Start of breeding season\" \"year month day\"",
            "0 10 31 \"End of breeding season\" \"year month day\"",
            "1 7 31 \"Drying\" \"year month day\"",
            "0.03 \"Discount rate\" \"per year\""};
}

std::string join(const std::vector<std::string>& rec) {
    std::string s;
    for (std::size_t i = 1; i < rec.size(); ++i) s += rec[i] + "\n";
    return s;
}

// The echo of the golden records, record by record.
const std::string kEchoLL = "\nNumber of reproductive cycles    (lambings): 4";
const std::string kEchoDied = "\nEwes died    (fraction per cycle):  0.0200  0.0300  0.0400  0.0500";
const std::string kEchoCullm = "\nEwes culled for milk yield    (fraction):  0.0100  0.0100  0.0200  0.0200";
const std::string kEchoCullh = "\nEwes culled    (fraction):  0.1000  0.1200  0.1500  1.0000";
const std::string kEchoConrate = "\nConception rate    (fraction):  0.9000  0.9200  0.9400";
const std::string kEchoBarr = "\nBarren ewes kept    (fraction):  0.5000  0.4000  0.3000";
const std::string kEchoCross0 = " Ewe lambs mated to crossing sires    (fraction):      0.2500 ";
const std::string kEchoCross = "\nEwes mated to crossing sires    (fraction): 0.100 0.200 0.300";
const std::string kEchoLamb = "\nLambing    (year month day):1 2 1\n   Days from January 1st of year zero: 397";
const std::string kEchoWean = "\nWeaning    (year month day):1 4 15\n   Days from January 1st of year zero: 470";
const std::string kEchoBbs =
    "\nStart of breeding season    (year month day):0 9 1\n   Days from January 1st of year zero: 244";
const std::string kEchoEbs =
    "\nEnd of breeding season    (year month day):0 10 31\n   Days from January 1st of year zero: 304";
const std::string kEchoDry = "\nDrying    (year month day):1 7 31\n   Days from January 1st of year zero: 577";
const std::string kEchoU = " Discount rate    (per year):      0.0300 ";

void read01(Harness& h, const std::string& text) {
    h.dir.write("INPUTS01.TXT", text);
    testutil::InDir d(h.dir.path());
    InFile in = openInput(h.run, "INPUTS01.TXT");
    readInputs01(h.run, in);
    // Every record has been consumed: only the final line break is left.
    EXPECT_EQ(std::fgetc(in.f), '\n');
    EXPECT_EQ(std::fgetc(in.f), EOF);
    closeInput(in);
}

void setSystem(Harness& h, int typeb, int crossing) {
    h.model->typeb = typeb;
    h.model->crossing = crossing;
}

void expectStop(Harness& h, const std::string& text, const std::string& message) {
    EXPECT_EXIT(read01(h, text), testing::ExitedWithCode(1), "");
    EXPECT_EQ(testutil::maskElapsed(h.console()),
              "\n\n\nError message:\n" + message + "The program needed T seconds.\n\n\n");
}

}  // namespace

TEST(Inputs01, GoldenEchoAndValues) {
    Harness h;
    setSystem(h, 1, 2);
    read01(h, join(goldenRecords()));
    EXPECT_EQ(h.results(), kEchoLL + kEchoDied + kEchoCullm + kEchoCullh + kEchoConrate + kEchoBarr + kEchoCross0 +
                               kEchoCross + kEchoLamb + kEchoWean + kEchoBbs + kEchoEbs + kEchoDry + kEchoU);
    const Model& m = *h.model;
    EXPECT_EQ(m.LL, 4);
    EXPECT_FLOAT_EQ(m.pdiedE[1], 0.02f);
    EXPECT_FLOAT_EQ(m.pdiedE[4], 0.05f);
    EXPECT_FLOAT_EQ(m.pcullmE[4], 0.02f);
    EXPECT_FLOAT_EQ(m.pcullhE[4], 1.0f);
    EXPECT_FLOAT_EQ(m.conrateE[3], 0.94f);
    EXPECT_EQ(double(m.conrateE[4]), 0.0);   // no conception in the last cycle
    EXPECT_FLOAT_EQ(m.pbarrE[3], 0.3f);
    EXPECT_EQ(double(m.pbarrE[4]), 0.0);
    EXPECT_FLOAT_EQ(m.pcrossE[0], 0.25f);
    EXPECT_FLOAT_EQ(m.pcrossE[3], 0.3f);
    EXPECT_EQ(double(m.pcrossE[4]), 0.0);
    EXPECT_EQ(m.datlamb, 397);
    EXPECT_EQ(m.datwL, 470);
    EXPECT_EQ(m.datbbs, 244);
    EXPECT_EQ(m.datebs, 304);
    EXPECT_EQ(m.datdry, 577);
    EXPECT_FLOAT_EQ(m.u, 0.03f);
}

// Records 4 and 15 exist for milked breeds, 8 and 9 with crossing; otherwise
// they stand in the file with values that would be wrong if they were read.
namespace {

struct SkipCase {
    int typeb, crossing;
};

class Inputs01Skip : public testing::TestWithParam<SkipCase> {};

}  // namespace

TEST_P(Inputs01Skip, SkippedRecordsAreNotEchoedAndStayZero) {
    const auto [typeb, crossing] = GetParam();
    auto rec = goldenRecords();
    if (typeb != 1) {
        rec[4] = "9 9 9 9 \"Culled for milk yield\" \"not read\"";
        rec[15] = "0 2 30 \"Drying\" \"not read\"";
    }
    if (crossing != 2) {
        rec[8] = "9 \"Crossing before first lambing\" \"not read\"";
        rec[9] = "9 9 9 \"Crossing\" \"not read\"";
    }
    Harness h;
    setSystem(h, typeb, crossing);
    read01(h, join(rec));
    const std::string expect = kEchoLL + kEchoDied + (typeb == 1 ? kEchoCullm : "") + kEchoCullh + kEchoConrate +
                               kEchoBarr + (crossing == 2 ? kEchoCross0 + kEchoCross : "") + kEchoLamb + kEchoWean +
                               kEchoBbs + kEchoEbs + (typeb == 1 ? kEchoDry : "") + kEchoU;
    EXPECT_EQ(h.results(), expect);
    const Model& m = *h.model;
    for (int i = 0; i < cap::L; ++i) {
        if (typeb != 1) {
            EXPECT_EQ(double(m.pcullmE[i]), 0.0) << i;
        }
        if (crossing != 2) {
            EXPECT_EQ(double(m.pcrossE[i]), 0.0) << i;
        }
    }
    if (typeb != 1) {
        EXPECT_EQ(m.datdry, 0);
    }
    EXPECT_FLOAT_EQ(m.u, 0.03f);
}

INSTANTIATE_TEST_SUITE_P(Systems, Inputs01Skip,
                         testing::Values(SkipCase{1, 1}, SkipCase{2, 1}, SkipCase{3, 1}, SkipCase{2, 2},
                                         SkipCase{3, 2}),
                         [](const testing::TestParamInfo<SkipCase>& i) {
                             return "typeb" + std::to_string(i.param.typeb) + "_crossing" +
                                    std::to_string(i.param.crossing);
                         });

TEST(Inputs01, FifteenCyclesFillTheVectorsToTheirLastElement) {
    // Vectors of LL values and of LL - 1 values, numbered 1, 2, ...
    auto numbers = [](int n) {
        std::string s;
        for (int i = 1; i <= n; ++i) s += "0." + std::to_string(i < 10 ? i : i + 80) + " ";
        return s;
    };
    auto rec = goldenRecords();
    rec[2] = "15 \"Cycles\" \"n\"";
    for (int r : {3, 4, 5}) rec[r] = numbers(15) + "\"v\" \"f\"";
    for (int r : {6, 7, 9}) rec[r] = numbers(14) + "\"v\" \"f\"";
    Harness h;
    setSystem(h, 1, 2);
    read01(h, join(rec));
    const Model& m = *h.model;
    EXPECT_EQ(m.LL, 15);
    EXPECT_FLOAT_EQ(m.pdiedE[15], 0.95f);
    EXPECT_FLOAT_EQ(m.pcullmE[15], 0.95f);
    EXPECT_FLOAT_EQ(m.pcullhE[15], 0.95f);
    EXPECT_FLOAT_EQ(m.conrateE[14], 0.94f);
    EXPECT_EQ(double(m.conrateE[15]), 0.0);
    EXPECT_FLOAT_EQ(m.pbarrE[14], 0.94f);
    EXPECT_FLOAT_EQ(m.pcrossE[14], 0.94f);
    EXPECT_NE(h.results().find("\nCycles    (n):15\nv    (f):  0.1000  0.2000"), std::string::npos);
}

namespace {

const std::string kCyclesMessage =
    "The number of reproductive cycles must be in the range from 4\n"
    "to 15. Correct this error in INPUTS01.TXT and restart the program.\n";

}  // namespace

TEST(Inputs01, NumberOfCyclesOutsideFourToFifteenStopsBeforeAnyEcho) {
    for (const char* ll : {"3", "16", "-4"}) {
        Harness h;
        setSystem(h, 1, 2);
        auto rec = goldenRecords();
        rec[2] = std::string(ll) + " \"Number of reproductive cycles\" \"lambings\"";
        expectStop(h, join(rec), kCyclesMessage);
        EXPECT_EQ(h.results(), "") << ll;
    }
}

// An impossible date stops the run after its echo, with the date named.
namespace {

struct DateCase {
    int record;
    const char* what;
};

class Inputs01Date : public testing::TestWithParam<DateCase> {};

}  // namespace

TEST_P(Inputs01Date, ImpossibleDateStopsAfterItsEcho) {
    const auto [record, what] = GetParam();
    for (const char* date : {"0 2 30", "11 1 1"}) {
        auto rec = goldenRecords();
        rec[record] = std::string(date) + " \"Faulty date\" \"y m d\"";
        Harness h;
        setSystem(h, 1, 2);
        expectStop(h, join(rec),
                   std::string("The date ") + what + "is wrong. Correct the date in\n"
                   "  INPUTS01.TXT and restart the program.\n\n\n");
        const std::string res = h.results();
        const std::string tail =
            "\nFaulty date    (y m d):" + std::string(date) + "\n   Days from January 1st of year zero: -1";
        ASSERT_GE(res.size(), tail.size());
        EXPECT_EQ(res.substr(res.size() - tail.size()), tail) << date;
    }
}

INSTANTIATE_TEST_SUITE_P(Dates, Inputs01Date,
                         testing::Values(DateCase{11, "of lambing "}, DateCase{12, "of weaning lambs "},
                                         DateCase{13, "of the start of the breeding season "},
                                         DateCase{14, "of the end of the breeding season "},
                                         DateCase{15, "of drying "}),
                         [](const testing::TestParamInfo<DateCase>& i) {
                             return "record" + std::to_string(i.param.record);
                         });

TEST(Inputs01, DiscountRateAtOrBelowMinusOneStops) {
    Harness h;
    setSystem(h, 1, 2);
    auto rec = goldenRecords();
    rec[16] = "-1 \"Discount rate\" \"per year\"";
    expectStop(h, join(rec),
               "The discount rate must be greater than -1.\n"
               "Correct this error in INPUTS01.TXT and restart the program.\n");
    rec[16] = "-0.5 \"Discount rate\" \"per year\"";
    Harness ok;
    setSystem(ok, 1, 2);
    read01(ok, join(rec));
    EXPECT_FLOAT_EQ(ok.model->u, -0.5f);
}

TEST(Inputs01, DryingBeforeWeaningStopsForMilkedEwes) {
    Harness h;
    setSystem(h, 1, 1);
    auto rec = goldenRecords();
    rec[15] = "1 4 14 \"Drying\" \"year month day\"";   // a day before weaning
    expectStop(h, join(rec),
               "The date of drying must not be earlier than the date of weaning lambs.\n"
               "  Correct the dates in INPUTS01.TXT and restart the program.\n\n\n");
    Harness same;
    setSystem(same, 1, 1);
    rec[15] = "1 4 15 \"Drying\" \"year month day\"";   // drying at weaning: no milking period
    read01(same, join(rec));
    EXPECT_EQ(same.model->datdry, same.model->datwL);
}
