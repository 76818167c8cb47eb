// Bad input as a careless user or a hostile tester gives it: each row
// prepares a working directory from an example, runs the program as a user
// does (the name of the results file typed on standard input) and expects
// the message and the exit status.  After every run, stopped or not, each
// input file of the directory is unchanged.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "example_run.h"

namespace {

namespace fs = std::filesystem;
using testutil::TempDir;

struct BadInput {
    const char* name;
    std::function<void(const TempDir&)> prepare;
    const char* typed;    // the name of the results file, as typed
    const char* message;  // expected on the console
    int status;
};

// The only occurrence of `from` in `file` becomes `to`.
std::function<void(const TempDir&)> value(const char* file, std::string from, std::string to) {
    return [=](const TempDir& d) { testutil::applyEdit(d, {file, from.c_str(), to.c_str()}); };
}

std::function<void(const TempDir&)> nothing() {
    return [](const TempDir&) {};
}

std::vector<BadInput> cases() {
    return {
        // The results file may not be one of the program's own files.
        {"ResultsIsParas", nothing(), "PARAS.TXT\n",
         "The results file cannot be named PARAS.TXT: that is the program's file PARAS.TXT,\n", 1},
        {"ResultsIsAnInputInOtherCase", nothing(), "inputs01.txt\n",
         "The results file cannot be named inputs01.txt: that is the program's file INPUTS01.TXT,\n", 1},
        {"ResultsIsTheFragments", nothing(), "./TEXTS_OUT.TXT\n",
         "The results file cannot be named ./TEXTS_OUT.TXT: that is the program's file TEXTS_OUT.TXT,\n", 1},
        {"ResultsIsADump", nothing(), "Checks1\n",
         "The results file cannot be named Checks1: that is the program's file CHECKS1,\n", 1},
        {"ResultsWithBlanks", nothing(), "MY RESULTS.TXT\n",
         "Only the first word, MY, is used as the name of the results file.\n", 0},
        // Output that cannot be written.
        {"ResultsOnAFullDisk", nothing(), "/dev/full\n", "The file /dev/full cannot be written", 1},
        {"ChecksNotWritable", [](const TempDir& d) { fs::create_directory(d / "CHECKS"); }, "RESULTS.TXT\n",
         "The file CHECKS cannot be written in the working directory (Is a directory).\n", 1},
        // Numbers of other forms and beyond their ranges.
        {"CyclesWrapping", value("INPUTS01.TXT", "8\n\"Number of reproductive cycles", "4294967304\n\"Number of reproductive cycles"),
         "RESULTS.TXT\n", "record 2 (line 6) holds 4294967304, where a whole number from\n", 1},
        {"CyclesWithAFraction", value("INPUTS01.TXT", "8\n\"Number of reproductive cycles", "8.5\n\"Number of reproductive cycles"),
         "RESULTS.TXT\n", "record 2 (line 6) holds \"8.5\" where a whole number is expected.\n", 1},
        {"HexadecimalPrice", value("INPUTS11.TXT", "1.150\n\"Base price of milk", "0x10\n\"Base price of milk"),
         "RESULTS.TXT\n", "holds \"0x10\" where a number is expected.\n", 1},
        {"HexadecimalSystemVariable", value("PARAS.TXT", "1\n\"Type of weaning", "0x1\n\"Type of weaning"),
         "RESULTS.TXT\n", "In the input file PARAS.TXT, record 2 (line 2) holds \"0x1\" where a whole number is expected.\n", 1},
        {"HugeYear", value("INPUTS01.TXT", "0 1 5\n\"Date of lambing", "5800000 1 5\n\"Date of lambing"),
         "RESULTS.TXT\n", "holds 5800000 1 5 (year month day), and the year 5800000 is not from 0 to 10.\n", 1},
        {"HugeDay", value("INPUTS01.TXT", "0 1 5\n\"Date of lambing", "0 1 2147483647\n\"Date of lambing"),
         "RESULTS.TXT\n", "holds 0 1 2147483647 (year month day), and the day 2147483647 is not from 1 to 31.\n", 1},
        // Meaningless values, reported against the file that holds them.
        {"NegativeDeathRate", value("INPUTS01.TXT", "0.030 0.030 0.035", "-0.5 0.030 0.035"), "RESULTS.TXT\n",
         "In the input file INPUTS01.TXT, value 1 of record 3 (line 8, Ewes dying in reproductive cycles 1 to 8) is -0.5,\n"
         "  but it must be from 0 to 1.", 1},
        {"ConceptionAboveOne", value("INPUTS01.TXT", "0.880 0.920", "1.5 0.920"), "RESULTS.TXT\n",
         "value 1 of record 6 (line 14, Conception rate of ewes in cycles 1 to 7) is 1.5,\n  but it must be from 0 to 1.", 1},
        {"NegativeBirthWeight", value("INPUTS03.TXT", "4.300 3.700 3.100\n", "-4.300 3.700 3.100\n"), "RESULTS.TXT\n",
         "In the input file INPUTS03.TXT, value 1 of record", 1},
        {"ZeroBirthWeight", value("INPUTS03.TXT", "4.300 3.700 3.100\n", "0 3.700 3.100\n"), "RESULTS.TXT\n",
         "but it must be from 0.2 to 20.", 1},
        // One row per kind of range not in the table of stops of the examples.
        {"TemperatureBeyondAFarm", value("INPUTS08.TXT", "10.0 17.0 12.0\n\"Mean", "10.0 17.0 60.0\n\"Mean"),
         "RESULTS.TXT\n",
         "In the input file INPUTS08.TXT, value 3 of record 15 (line 31, Mean ambient temperature in feeding seasons "
         "1 to 3) is 60,\n  but it must be from -50 to 50.", 1},
        {"LabourBeyondAYear", value("INPUTS09.TXT", "9.0\n\"Labour of ewes", "9000\n\"Labour of ewes"), "RESULTS.TXT\n",
         "record 7 (line 15, Labour of ewes, milking included) is 9000,\n  but it must be from 0 to 8760.", 1},
        {"PriceTooLargeForCents", value("INPUTS11.TXT", "1.150\n\"Base price of milk", "4e9\n\"Base price of milk"),
         "RESULTS.TXT\n",
         "Warning: in the input file INPUTS11.TXT, record 4 (line 5, Base price of milk) is 4e+09:\n"
         "  an amount beyond 1e+09 leaves the profit without its precision.\n", 0},
        // A check of values read earlier says where they stand.
        {"RamLossesNotSummingToOne", value("INPUTS02.TXT", "0.040 0.050 0.060 0.080", "0.040 0.050 0.060 0.500"),
         "RESULTS.TXT\n",
         "The sum pdiedR[RR]+psoldR[RR]+pcullR[RR] must be one.\n"
         "Correct this error in INPUTS02.TXT and restart the program.\n"
         "  Where: INPUTS02.TXT, record 3 (line 6, Rams dying in breeding cycles 1 to 4).\n", 1},
        {"HighDiscountRate", value("INPUTS01.TXT", "0.020\n\"Discount rate", "0.9\n\"Discount rate"), "RESULTS.TXT\n",
         "Warning: in the input file INPUTS01.TXT, record 16 (line 33, Discount rate) is ", 0},
        // Numbers the system does not read: a warning that says how many it reads and why.
        {"CyclesLoweredLeavesAnExtraNumber", value("INPUTS01.TXT", "8\n\"Number of reproductive cycles", "7\n\"Number of reproductive cycles"),
         "RESULTS.TXT\n",
         "Warning: in the input file INPUTS01.TXT, record 3 (line 8, Ewes dying in reproductive cycles 1 to 8) holds 8 numbers;\n"
         "  the system reads 7 of them and ignores the rest: it reads fewer numbers than the file holds\n"
         "  because of its numbers of cycles, classes or variants (PARAS.TXT, INPUTS01.TXT, INPUTS03.TXT, ...).\n", 1},
        {"RamCycleTooMany", value("INPUTS02.TXT", "0.040 0.050 0.060 0.080", "0.040 0.050 0.060 0.080 0.1"), "RESULTS.TXT\n",
         "Warning: in the input file INPUTS02.TXT, record 3 (line 6, Rams dying in breeding cycles 1 to 4) holds 5 numbers;\n", 0},
        // Finite inputs of extreme size.
        {"ExtremeLabourCost", value("INPUTS09.TXT", "16.00\n\"Cost of labour", "1e308\n\"Cost of labour"),
         "RESULTS.TXT\n", "gives a value that is not a finite number for ", 1},
        // Files that are not files or not text.
        {"DirectoryForAnInput",
         [](const TempDir& d) {
             fs::remove(d / "INPUTS02.TXT");
             fs::create_directory(d / "INPUTS02.TXT");
         },
         "RESULTS.TXT\n", "The input file INPUTS02.TXT is a directory, not a file.\n", 1},
        {"BinaryInput", [](const TempDir& d) { d.write("INPUTS03.TXT", std::string("\x7f" "ELF\x02\x01\x01\0\0\0", 10)); },
         "RESULTS.TXT\n", "The file INPUTS03.TXT holds a byte that is not text (code 127) in record 1 (line 1).\n", 1},
        {"BinaryFragments",
         [](const TempDir& d) {
             d.write("TEXTS_OUT.TXT", "\"Title\"\n\"" + std::string("\x01\x02\x1b[31m", 7) + "\"");
         },
         "RESULTS.TXT\n", "The file TEXTS_OUT.TXT holds a byte that is not text (code 1) in record 2 (line 2).\n", 1},
    };
}

class BadInputs : public testing::TestWithParam<BadInput> {};

// The contents of every file of the directory (but the outputs).
std::map<std::string, std::string> inputs(const TempDir& d) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::directory_iterator(d.path())) {
        const std::string n = e.path().filename().string();
        if (e.is_regular_file() && n.rfind("INPUTS", 0) == 0) files[n] = d.read(n);
        if (n == "PARAS.TXT" || n == "TEXTS_OUT.TXT") files[n] = d.read(n);
    }
    return files;
}

}  // namespace

TEST_P(BadInputs, GiveTheirMessageAndKeepTheInputs) {
    const BadInput& c = GetParam();
    TempDir dir;
    testutil::copyExample("dairy", dir);
    c.prepare(dir);
    const auto before = inputs(dir);
    const auto r = testutil::runKarvel1(dir, c.typed);
    EXPECT_EQ(r.status, c.status) << r.out;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
    if (c.status != 0) {
        EXPECT_NE(r.out.find("\n\n\nError message:\n"), std::string::npos);
        EXPECT_EQ(r.out.find("The results are given"), std::string::npos);
    }
    EXPECT_EQ(inputs(dir), before);
    // No raw control character reaches the console.
    for (char ch : r.out) EXPECT_FALSE(ch != '\n' && ch != '\t' && static_cast<unsigned char>(ch) < 32) << int(ch);
}

INSTANTIATE_TEST_SUITE_P(All, BadInputs, testing::ValuesIn(cases()),
                         [](const testing::TestParamInfo<BadInput>& i) { return std::string(i.param.name); });
