// The command line: exit statuses and messages, options that must give the
// plain run byte for byte, changes of input values by name that act as an
// edit of the input file would, and sweeps.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "example_run.h"
#include "test_util.h"

namespace {

using testutil::TempDir;

struct Usage {
    const char* name;
    const char* args;
    int status;
    const char* message;  // a part of standard error (or output, for --help)
};

class CommandLine : public testing::TestWithParam<Usage> {};

TEST_P(CommandLine, ExitStatusAndMessage) {
    const Usage& u = GetParam();
    TempDir dir;
    testutil::copyExample("dairy", dir);
    const auto r = testutil::runKarvel1(dir, "", u.args);
    EXPECT_EQ(r.status, u.status) << r.out << r.err;
    EXPECT_NE((r.err + r.out).find(u.message), std::string::npos) << r.out << r.err;
    // No usage fault writes a file.
    if (u.status == 2) {
        EXPECT_FALSE(testutil::fs::exists(dir / "CHECKS"));
        EXPECT_FALSE(testutil::fs::exists(dir / "R.TXT"));
        EXPECT_FALSE(testutil::fs::exists(dir / "new"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CommandLine,
    testing::Values(
        Usage{"Help", "--help", 0, "Usage: karvel1 [OPTIONS] [directory]"},
        Usage{"Version", "--version", 0, "karvel1 1.1.6"},
        Usage{"CompleteRun", "-q -o R.TXT", 0, ""},
        Usage{"UnknownOption", "--bogus", 2, "--bogus"},
        Usage{"NoSuchDirectory", "no/such/dir", 2, "Directory does not exist"},
        Usage{"UnknownName", "-o R.TXT --set conrateX[1]=1", 2, "no quantity conrateX. Close names: conrateE"},
        Usage{"IndexOutOfRange", "-o R.TXT --set 'conrateE[16]=1'", 2, "the element must be conrateE[0..15]"},
        Usage{"MissingIndex", "-o R.TXT --set conrateE=1", 2, "the element must be conrateE[0..15]"},
        Usage{"NotAName", "-o R.TXT --set 'conrateE[1]x=1'", 2, "\"conrateE[1]x\" is not a quantity name"},
        Usage{"EmptyIndex", "-o R.TXT --set 'conrateE[]=1'", 2, "\"conrateE[]\" is not a quantity name"},
        Usage{"ValueTooLarge", "-o R.TXT --set 'mwE[1]=1e39'", 2, "1e39 is too large"},
        Usage{"WholeNumberWrittenAsDecimal", "-o R.TXT --set LL=8.0", 2, "8.0 is not a whole number"},
        Usage{"NotANumber", "-o R.TXT --set 'conrateE[1]=0x1'", 2, "\"0x1\" is not a decimal number"},
        Usage{"NoValue", "-o R.TXT --scale 'mwE[1]'", 2, "expected NAME=FACTOR"},
        Usage{"ComputedQuantity", "-o R.TXT --set Tprof=1", 2, "Tprof is not read from an input file"},
        Usage{"ElementNotInTheSystem", "-o R.TXT --set 'conrateE[8]=0.5'", 2,
              "this system does not read conrateE[8] from its input files; of conrateE it reads conrateE[1], "
              "conrateE[2], conrateE[3], conrateE[4] and others."},
        Usage{"PatternMatchingNothing", "-o R.TXT --scale 'mwR[*]=2'", 2, "no element of mwR[*] is read"},
        Usage{"DateAsOneNumber", "-o R.TXT --set datebs=3", 2,
              "datebs is the date of INPUTS01.TXT, record 14 (line 29),\n  written there as year, month and day"},
        Usage{"FractionForAWholeNumber", "-o R.TXT --set LL=8.5", 2, "LL is a whole number (INPUTS01.TXT"},
        Usage{"ScaledWholeNumber", "-o R.TXT --scale LL=1.1", 2, "the factor makes it 8.8."},
        Usage{"FactorTooCloseToZero", "-o R.TXT --scale 'mwE[1]=1e-400'", 2, "1e-400 is too close to 0"},
        Usage{"SdTableAsOutput", "-o R.TXT --sd SD.TXT --csv ./SD.TXT", 2,
              "--csv ./SD.TXT: that is the table of standard deviations (--sd)"},
        Usage{"SweepOfAnElementNotRead", "--sweep 'conrateE[8]=0.8:0.9:3'", 2,
              "this system does not read conrateE[8]"},
        // An output that cannot be created is found before the computation.
        Usage{"JsonInAMissingDirectory", "-q -o R.TXT --json nodir/x.json", 1,
              "the file nodir/x.json cannot be created (No such file or directory)"},
        // crossing = 2 makes three more records of INPUTS01.TXT be read:
        // the discount rate moves, and the run stops at the first input
        // that crossing needs, not at a number the first place of u holds.
        Usage{"ChangeAfterRecordsThatMove", "-q -o R.TXT --set crossing=2 --set ewopt=1 --set u=0.03", 1,
              "In the input file INPUTS03.TXT, value 1 of record 11 (line 27, Birth weight of cross-bred female "
              "lambs) is 0"},
        Usage{"ChangedTwice", "-o R.TXT --set 'mwE[1]=1' --scale 'mwE[1]=2'", 2, "mwE[1] is changed twice"},
        Usage{"ChangedTwiceByAPattern", "-o R.TXT --set 'prfE[2][1]=0.2' --scale 'prfE[*][1]=1.2'", 2,
              "prfE[2][1] is changed twice"},
        Usage{"OwnFileAsOutput", "-o R.TXT --csv checks1", 2, "that is the program's file CHECKS1"},
        Usage{"OutputTwice", "-o R.TXT --json R.TXT", 2, "the same file is named for two outputs"},
        Usage{"ChartWithoutSd", "-o R.TXT --chart c.svg", 2, "--chart needs --sd"},
        Usage{"SweepWithResults", "-o R.TXT --sweep 'mwE[1]=60:80:3'", 2, "cannot go with it"},
        Usage{"SweepSteps", "--sweep 'mwE[1]=60:80:0'", 2, "STEPS, the number of values"},
        Usage{"SweepForm", "--sweep 'mwE[1]=60:80'", 2, "expected NAME=FROM:TO:STEPS"},
        Usage{"SweptAndSet", "--sweep 'mwE[1]=60:80:3' --set 'mwE[1]=1'", 2, "mwE[1] is both changed and swept"},
        Usage{"SweptTwice", "--sweep 'mwE[1]=60:80:3' --sweep 'mwE[1]=1:2:2'", 2, "mwE[1] is swept twice"},
        Usage{"SweepGridTooLarge", "--sweep 'mwE[1]=60:80:101' --sweep 'prclfL[2]=3:4:100'", 2,
              "the grid of the sweeps has more than 10000 runs"},
        Usage{"SweepUnknownName", "--sweep 'conrateX[1]=0.8:1.2:5'", 2,
              "--sweep conrateX[1]=0.8:1.2:5: there is no quantity conrateX"},
        // A value the input checks refuse gets the message of the file, in
        // the run itself and in the row of a sweep, which goes on.
        Usage{"ValueOutOfRange", "-q -o R.TXT --set 'conrateE[1]=1.5'", 1,
              "value 1 of record 6 (line 14, Conception rate of ewes in cycles 1 to 7) is 1.5"},
        Usage{"SweepValueOutOfRange", "--sweep 'conrateE[1]=1.5:0.5:3'", 1,
              "1 of 3 runs of the sweep failed, their rows give the messages: conrateE[1] = 1.5 (stopped)\n"},
        Usage{"SweepTableCannotBeCreated", "--sweep 'mwE[1]=60:80:1' --csv no/such/t.csv", 1,
              "the file no/such/t.csv cannot be created (No such file or directory)"},
        Usage{"CsvOnAFullDisk", "-q -o R.TXT --csv /dev/full", 1, "The file /dev/full cannot be written"},
        Usage{"BadSdTable", "-o R.TXT --sd NONE.TXT", 1, "NONE.TXT"},
        // init refuses a directory that holds a system and writes nothing.
        Usage{"InitIntoASystem", "init . --from meat", 1,
              "karvel1 init: . already holds PARAS.TXT, INPUTS01.TXT, INPUTS02.TXT"},
        Usage{"InitIntoAFile", "init PARAS.TXT", 1, "karvel1 init: PARAS.TXT exists and is not a directory: choose another name."},
        Usage{"InitWithoutDirectory", "init", 2, "DIR is required"},
        Usage{"InitIntoAnEmptyName", "init ''", 2, "DIR is empty"},
        // The printed next steps name a directory called init as ./init.
        Usage{"InitIntoADirectoryNamedInit", "init init", 0, "karvel1 ./init -o RESULTS.TXT"},
        Usage{"InitUnknownExample", "init new --from large", 2, "large not in {dairy,meat,extensive}"},
        // The server's own command line: what it refuses before it serves.
        Usage{"ServeHelp", "serve --help", 0, "Usage: karvel1 serve [DIR] [--port N]"},
        Usage{"ServePortTooLarge", "serve --port=65536", 2, "a number from 0 to 65535"},
        Usage{"ServeTwoDirectories", "serve a b", 2, "one working directory only"},
        Usage{"ServeNoSuchDirectory", "serve no/dir", 1, "no/dir cannot be entered"}),
    [](const testing::TestParamInfo<Usage>& i) { return std::string(i.param.name); });

// Runs the dairy example with arguments and keeps its output files.
struct Outputs {
    testutil::ProgramResult r;
    std::string results, checks1;
};

Outputs runDairy(const std::string& args, const std::vector<testutil::Edit>& edits = {}) {
    TempDir dir;
    testutil::copyExample("dairy", dir);
    for (const auto& e : edits) testutil::applyEdit(dir, e);
    Outputs o;
    o.r = testutil::runKarvel1(dir, "R.TXT\n", args);
    o.results = dir.read("R.TXT");
    o.checks1 = dir.read("CHECKS1");
    return o;
}

// The lines of text after the first blank line (the note of changed values
// stands before it).
std::string afterNote(const std::string& t) { return t.substr(t.find("\n\n") + 2); }

TEST(CommandLineRun, OptionsWithoutChangesGiveThePlainRun) {
    const Outputs plain = runDairy("");
    ASSERT_EQ(plain.r.status, 0);
    // -o: the transcript without the prompt; -q: nothing on the console.
    const Outputs named = runDairy("-o R.TXT");
    std::string transcript = plain.r.out;
    const std::string prompt = "Please enter the name of the file for writing results\n";
    transcript.erase(transcript.find(prompt), prompt.size());
    EXPECT_EQ(testutil::maskElapsed(named.r.out), testutil::maskElapsed(transcript));
    EXPECT_EQ(named.results, plain.results);
    const Outputs quiet = runDairy("-q -o R.TXT");
    EXPECT_EQ(quiet.r.out, "");
    EXPECT_EQ(quiet.r.err, "");
    EXPECT_EQ(quiet.checks1, plain.checks1);
    // A value set to itself, or scaled by 1: the same state and weights; the
    // results file only gains the note.
    const Outputs same = runDairy("-q -o R.TXT --set 'conrateE[1]=0.88' --scale 'prclfL[2]=1'");
    EXPECT_EQ(same.checks1, plain.checks1);
    EXPECT_EQ(afterNote(same.results), plain.results);
    EXPECT_EQ(same.results.substr(0, same.results.find("\n\n")),
              "Input values changed from the command line (the echo of the input files shows them):\n"
              "  conrateE[1] = 0.88 (--set 0.88; INPUTS01.TXT holds 0.880 in line 14, record 6)\n"
              "  prclfL[2] = 3.05 (--scale 1; INPUTS14.TXT holds 3.05 in line 13, record 8)");
}

TEST(CommandLineRun, ChangesActAsEditsOfTheInputFiles) {
    // A rate of the Markov chain, a price of the carcass-class file read in
    // the base evaluation, and a scaled weight: the run equals one whose
    // files say so.
    const Outputs set = runDairy("-q -o R.TXT --set 'conrateE[2]=0.85' --set 'prclfL[2]=3.1' --scale 'mwE[1]=1.1'");
    const Outputs edited = runDairy("-q -o R.TXT", {{"INPUTS01.TXT", "0.880 0.920 0.930", "0.880 0.85 0.930"},
                                                    {"INPUTS14.TXT", "2.80 3.05 3.30", "2.80 3.1 3.30"},
                                                    {"INPUTS04.TXT", "70.0\n\"Mature weight of ewes\"", "77\n\"Mature weight of ewes\""}});
    ASSERT_EQ(set.r.status, 0) << set.r.err;
    ASSERT_EQ(edited.r.status, 0) << edited.r.err;
    EXPECT_EQ(set.checks1, edited.checks1);
    EXPECT_EQ(afterNote(set.results), edited.results);
}

TEST(CommandLineRun, MachineReadableOutputsOfAChangedRun) {
    TempDir dir;
    testutil::copyExample("dairy", dir);
    const auto r = testutil::runKarvel1(
        dir, "", "-q -o R.TXT --set 'prclfL[2]=3.1' --sd SD.TXT --csv w.csv --json w.json --chart e.svg");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto j = nlohmann::json::parse(dir.read("w.json"));
    ASSERT_EQ(j["changes"].size(), 1u);
    EXPECT_EQ(j["changes"][0]["name"], "prclfL[2]");
    EXPECT_EQ(j["changes"][0]["from"], "3.05");
    EXPECT_EQ(j["changes"][0]["to"], "3.1");
    // The profit of the changed run, as CHECKS1 prints it.
    char profit[32];
    std::snprintf(profit, sizeof profit, "Tprof = %10.2f", j["totals"]["Tprof"].get<double>());
    EXPECT_NE(dir.read("CHECKS1").find(profit), std::string::npos) << profit;
    EXPECT_EQ(dir.read("w.csv").substr(0, 6), "trait,");
    EXPECT_EQ(std::system(("xmllint --noout '" + (dir / "e.svg").string() + "'").c_str()), 0);
}

std::vector<std::string> lines(const std::string& t) {
    std::vector<std::string> out;
    std::istringstream in(t);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

TEST(CommandLineRun, SweepMiddleValueIsThePlainRun) {
    TempDir dir;
    testutil::copyExample("dairy", dir);
    const auto sweep = testutil::runKarvel1(dir, "", "--sweep 'prclfL[2]=2.95:3.15:5'");
    ASSERT_EQ(sweep.status, 0) << sweep.err;
    const auto rows = lines(sweep.out);
    ASSERT_EQ(rows.size(), 6u) << sweep.out;
    EXPECT_EQ(rows[0].substr(0, 52), "prclfL[2],status,message,Tprof,w1_pure_birth_weight,");
    EXPECT_EQ(rows[3].substr(0, 9), "3.05,ok,,");
    // The plain run as a sweep of one value (the file's own) and the middle
    // row agree in every field but the first.
    const auto one = testutil::runKarvel1(dir, "", "--sweep 'prclfL[2]=3.05:3.05:1' --csv one.csv");
    ASSERT_EQ(one.status, 0) << one.err;
    const auto plainRows = lines(dir.read("one.csv"));
    ASSERT_EQ(plainRows.size(), 2u);
    EXPECT_EQ(plainRows[0], rows[0]);
    EXPECT_EQ(plainRows[1], rows[3]);
    // A price per kg acts linearly on the profit: equal steps of the price
    // give equal steps of the profit.
    std::vector<double> profit;
    for (std::size_t i = 1; i < rows.size(); ++i) profit.push_back(std::stod(testutil::parseCsv(rows[i] + "\n")[0][3]));
    for (std::size_t i = 2; i < profit.size(); ++i)
        EXPECT_NEAR(profit[i] - profit[i - 1], profit[1] - profit[0], 1e-3);
    EXPECT_GT(profit[1], profit[0]);
}

// Two sweeps give every pair of values, the first outermost.  A value the
// input checks refuse (conrateE[1] = 1.1) and one whose change cannot be made
// (LL = 7.5) give a row with the message and NA, and the runs after them go
// on; the exit status is 1.  The changes of --set stand at the top of the
// table, --sd adds the relative emphasis, and no temporary file remains.
TEST(CommandLineRun, SweepGridWithRefusedValues) {
    TempDir dir;
    testutil::copyExample("dairy", dir);
    const auto r = testutil::runKarvel1(
        dir, "", "--sweep 'conrateE[1]=0.9:1.1:3' --sweep 'LL=7.5:8:2' --set 'prclfL[2]=3.1' --sd SD.TXT --csv g.csv");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.err,
              "karvel1: 4 of 6 runs of the sweep failed, their rows give the messages: conrateE[1] = 0.9, LL = 7.5 "
              "(not made); conrateE[1] = 1, LL = 7.5 (not made); conrateE[1] = 1.1, LL = 7.5 (not made); "
              "conrateE[1] = 1.1, LL = 8 (stopped)\n");
    const std::string text = dir.read("g.csv");
    ASSERT_EQ(text.rfind("# --set prclfL[2]=3.1\nconrateE[1],LL,status,message,Tprof,", 0), 0u) << text;
    const auto t = testutil::parseCsv(text.substr(text.find('\n') + 1));
    ASSERT_EQ(t.size(), 7u);
    const char* expected[6][3] = {{"0.9", "7.5", "not made"}, {"0.9", "8", "ok"},      {"1", "7.5", "not made"},
                                  {"1", "8", "ok"},           {"1.1", "7.5", "not made"}, {"1.1", "8", "stopped"}};
    for (int i = 0; i < 6; ++i) {
        const auto& row = t[std::size_t(i) + 1];
        EXPECT_EQ(row[0] + " " + row[1] + " " + row[2], std::string(expected[i][0]) + " " + expected[i][1] + " " +
                                                            expected[i][2]);
        if (row[2] == "ok") {
            EXPECT_EQ(row[3], "");
            // The emphasis of the evaluated traits sums to 100 in absolute value.
            double sum = 0;
            for (std::size_t f = 0; f < row.size(); ++f)
                if (t[0][f].rfind("emph", 0) == 0 && row[f] != "NA") sum += std::fabs(std::stod(row[f]));
            EXPECT_NEAR(sum, 100, 1e-5);
            continue;
        }
        for (std::size_t f = 4; f < row.size(); ++f) ASSERT_EQ(row[f], "NA") << i << " " << t[0][f];
    }
    EXPECT_EQ(t[1][3], "--sweep LL: LL is a whole number (INPUTS01.TXT, line 6, record 2); 7.5 is not a whole number.");
    EXPECT_EQ(t[6][3].rfind("In the input file INPUTS01.TXT, value 1 of record 6 (line 14, Conception rate of ewes in "
                            "cycles 1 to 7) is 1.1, but it must be from 0 to 1.", 0), 0u) << t[6][3];
    // More conception, more profit.
    EXPECT_GT(std::stod(t[4][4]), std::stod(t[2][4]));
    for (const auto& e : testutil::fs::directory_iterator(dir.path()))
        EXPECT_NE(e.path().filename().string().rfind(".g.csv", 0), 0u) << e.path();
}

}  // namespace

// A complete run of a sweep that warns (a negative milk price) carries the
// warning in its row.
TEST(CommandLineRun, SweepRowsCarryTheirWarnings) {
    TempDir dir;
    testutil::copyExample("dairy", dir);
    const auto r = testutil::runKarvel1(dir, "", "--sweep 'prmilkb=-0.1:0.1:2'");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto t = testutil::parseCsv(r.out);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[1][0] + " " + t[1][1], "-0.1 ok");
    EXPECT_EQ(t[1][2].rfind("Warning: in the input file INPUTS11.TXT, record 4 (line 5, Base price of milk)", 0), 0u)
        << t[1][2];
    EXPECT_EQ(t[2][2], "");
}
