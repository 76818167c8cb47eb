// Start of a run and the stops for missing or unusable files; the outputs
// that take their names only when a run completes.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "test_util.h"

using testutil::TempDir;
namespace fs = testutil::fs;

TEST(Driver, MissingTextFragmentFileStopsBeforeThePrompt) {
    TempDir dir;
    const auto r = testutil::runKarvel1(dir, "R.TXT\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.find("Please enter"), std::string::npos);
    EXPECT_NE(r.out.find("Error message:\nThe input file TEXTS_OUT.TXT cannot be opened.\n"), std::string::npos);
    EXPECT_NE(r.out.find("The program needed "), std::string::npos);
}

TEST(Driver, MissingParasStopsAfterTheFirstFragment) {
    TempDir dir;
    dir.write("TEXTS_OUT.TXT", "\"Title\n\"\"x\"");
    const auto r = testutil::runKarvel1(dir, "R.TXT\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Error message:\nThe input file PARAS.TXT cannot be opened.\n"
                         "  Put the file into the working directory and restart the program.\n"
                         "The results written up to the error are in the file R.TXT.stopped.\n"
                         "The program needed "),
              std::string::npos)
        << r.out;
    EXPECT_EQ(dir.read("R.TXT.stopped"), "Title\n");
    EXPECT_FALSE(fs::exists(dir / "R.TXT"));
}

TEST(Driver, ResultsFileThatCannotBeCreatedStops) {
    TempDir dir;
    dir.write("TEXTS_OUT.TXT", "\"Title\"");
    const auto r = testutil::runKarvel1(dir, "no/such/dir/R.TXT\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Error message:\nThe results file no/such/dir/R.TXT cannot be created (No such file or directory).\n"),
              std::string::npos);
}

TEST(Driver, NoResultsFileNameStops) {
    TempDir dir;
    dir.write("TEXTS_OUT.TXT", "\"Title\"");
    const auto r = testutil::runKarvel1(dir, "  \n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Error message:\nNo name of the file for writing results was given.\n"), std::string::npos);
}

TEST(Driver, OverlongResultsFileNameStops) {
    TempDir dir;
    dir.write("TEXTS_OUT.TXT", "\"Title\"");
    const auto r = testutil::runKarvel1(dir, std::string(300, 'a') + "\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Error message:\nThe name of the file for writing results is too long.\n"),
              std::string::npos);
}

TEST(Driver, ExampleRunsToTheEndAndExitsZero) {
    TempDir dir;
    testutil::copyExample("dairy", dir);
    const auto r = testutil::runKarvel1(dir, "RESULTS.TXT\n");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.find("Error message"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nThank you for using the program KARVEL1.\nThe results are given in the file RESULTS.TXT.\n"
                         "The values of all variables are given in the file CHECKS1.\nThe program needed "),
              std::string::npos)
        << r.out;
    const std::string checks = dir.read("CHECKS");
    ASSERT_FALSE(checks.empty());
    EXPECT_EQ(checks.substr(checks.size() - 7), "zr = 1\n");
}

// ---- outputs that take their names only when the run completes ----------

namespace {

// Every file of a directory with its bytes (a directory as "<dir>"), the
// test's own console files left out.
std::map<std::string, std::string> files(const TempDir& dir) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::directory_iterator(dir.path())) {
        const std::string n = e.path().filename().string();
        if (n == ".stdin" || n == ".stdout" || n == ".stderr") continue;
        out[n] = e.is_directory() ? "<dir>" : dir.read(n);
    }
    return out;
}

std::string golden(const std::string& name) {
    return testutil::readFile(fs::path(KARVEL1_SOURCE_DIR) / "tests" / "golden" / name);
}

mode_t modeOf(const fs::path& p) {
    struct stat st {};
    stat(p.c_str(), &st);
    return st.st_mode & 07777;
}

}  // namespace

// A complete run writes the reviewed bytes through the temporary files,
// leaves no other file, gives a new file the mode that fopen gives (that
// of the test's .stdin) and keeps the mode of a file it replaces.
TEST(Outputs, CompleteRunsGiveTheReviewedFilesAndNothingElse) {
    TempDir dir;
    testutil::copyExample("dairy", dir);
    const auto inputs = files(dir);
    for (int run = 0; run < 2; ++run) {
        if (run == 1) fs::permissions(dir / "CHECKS1", fs::perms(0640));
        const auto r = testutil::runKarvel1(dir, "RESULTS.TXT\n");
        ASSERT_EQ(r.status, 0) << r.out;
        EXPECT_EQ(testutil::maskElapsed(r.out), golden("dairy/CONSOLE.TXT"));
        auto expected = inputs;
        expected["RESULTS.TXT"] = golden("dairy/RESULTS.TXT");
        expected["CHECKS"] = golden("dairy/CHECKS");
        expected["CHECKS1"] = golden("dairy/CHECKS1");
        EXPECT_TRUE(files(dir) == expected) << "run " << run;
        EXPECT_EQ(modeOf(dir / "RESULTS.TXT"), modeOf(dir / ".stdin"));
        EXPECT_EQ(modeOf(dir / "CHECKS1"), run == 0 ? modeOf(dir / ".stdin") : 0640);
    }
}

// The case reported: a run that stops after a complete one, with the name
// typed at the prompt and given by -o (-q: the messages on standard error).
// The earlier results file and dumps stay byte for byte; the stopped run's
// echo, the beginning of the complete results file up to the missing
// INPUTS12.TXT, is kept as KEEP.TXT.stopped and named after the message.
TEST(Outputs, AStoppedRunLeavesTheEarlierResultsAndKeepsItsEcho) {
    const std::pair<const char*, const char*> namings[] = {{"KEEP.TXT\n", ""}, {"", "-q -o KEEP.TXT"}};
    for (const auto& [typed, args] : namings) {
        SCOPED_TRACE(args);
        TempDir dir;
        testutil::copyExample("dairy", dir);
        ASSERT_EQ(testutil::runKarvel1(dir, typed, args).status, 0);
        fs::rename(dir / "INPUTS12.TXT", dir / "INPUTS12.OLD");
        const auto before = files(dir);
        const auto r = testutil::runKarvel1(dir, typed, args);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE((r.out + r.err).find("  Put the file into the working directory and restart the program.\n"
                                       "The results written up to the error are in the file KEEP.TXT.stopped.\n"),
                  std::string::npos)
            << r.out << r.err;
        auto after = files(dir);
        const std::string stopped = after["KEEP.TXT.stopped"];
        after.erase("KEEP.TXT.stopped");
        EXPECT_TRUE(after == before);
        const std::string& complete = before.at("KEEP.TXT");
        EXPECT_LT(stopped.size(), complete.size());
        EXPECT_EQ(complete.substr(0, stopped.size()), stopped);
        EXPECT_NE(stopped.find("2.10 Data from file INPUTS11.TXT"), std::string::npos);
    }
}

// Where TEXTS_OUT.TXT ends before the last fragment, CHECKS1 is complete:
// it is kept as CHECKS1.stopped (the dairy example's own, although the
// earlier run's CHECKS1 of a changed price stays beside it), and the
// results file lacks only that fragment.
TEST(Outputs, AStopAfterCompleteDumpKeepsItUnderItsOwnName) {
    TempDir dir;
    testutil::copyExample("dairy", dir);
    ASSERT_EQ(testutil::runKarvel1(dir, "", "-q -o KEEP.TXT --set 'prclfL[2]=3.1'").status, 0);
    const std::string lastFragment = "\n\nEnd of the results.\n";
    std::string texts = dir.read("TEXTS_OUT.TXT");
    texts.erase(texts.rfind("\"" + lastFragment + "\""));
    dir.write("TEXTS_OUT.TXT", texts);
    const auto before = files(dir);
    const auto r = testutil::runKarvel1(dir, "KEEP.TXT\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("  where a text in double quotes is expected.\n"
                         "  Complete the file and restart the program.\n"
                         "The results written up to the error are in the file KEEP.TXT.stopped.\n"
                         "The values of all variables are complete in the file CHECKS1.stopped.\n"
                         "The program needed "),
              std::string::npos)
        << r.out;
    auto after = files(dir);
    EXPECT_EQ(after["KEEP.TXT.stopped"] + lastFragment, golden("dairy/RESULTS.TXT"));
    EXPECT_EQ(after["CHECKS1.stopped"], golden("dairy/CHECKS1"));
    EXPECT_NE(before.at("CHECKS1"), golden("dairy/CHECKS1"));
    after.erase("KEEP.TXT.stopped");
    after.erase("CHECKS1.stopped");
    EXPECT_TRUE(after == before);
}

// An output that cannot be written (a directory in its place) stops the
// run with its message.  The earlier files stay (the stopped run changes a
// price: every output of its own differs from them), no temporary file
// remains, and only what the run completed is kept.
TEST(Outputs, AnOutputThatCannotBeWrittenLeavesTheEarlierFiles) {
    struct Case {
        const char* directory;  // made where this output belongs
        const char* message;
        std::vector<std::string> kept;
    };
    const Case cases[] = {
        {"KEEP.TXT", "The results file KEEP.TXT cannot be created (Is a directory).\n", {}},
        {"CHECKS", "The file CHECKS cannot be written in the working directory (Is a directory).\n",
         {"KEEP.TXT.stopped"}},
        {"CHECKS1", "The file CHECKS1 cannot be written in the working directory (Is a directory).\n",
         {"KEEP.TXT.stopped"}},
        // After the CSV table has been written.
        {"w.json", "The file w.json cannot be written in the working directory (Is a directory).\n",
         {"KEEP.TXT.stopped", "CHECKS1.stopped"}},
    };
    const std::string args = "-q -o KEEP.TXT --csv w.csv --json w.json";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.directory);
        TempDir dir;
        testutil::copyExample("dairy", dir);
        ASSERT_EQ(testutil::runKarvel1(dir, "", args).status, 0);
        fs::remove(dir / c.directory);
        fs::create_directory(dir / c.directory);
        const auto before = files(dir);
        const auto r = testutil::runKarvel1(dir, "", args + " --set 'prclfL[2]=3.1'");
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(std::string("Error message:\n") + c.message), std::string::npos) << r.err;
        auto after = files(dir);
        for (const std::string& k : c.kept) EXPECT_EQ(after.erase(k), 1u) << k;
        EXPECT_TRUE(after == before);
    }
}

// Written outside a run, an output file takes its name as soon as it is
// complete; a write that fails leaves the earlier file.
TEST(Outputs, AnOutputFileReplacesTheEarlierOneOnlyWhenComplete) {
    testutil::Harness h;
    testutil::InDir in(h.dir.path());
    h.dir.write("w.csv", "earlier\n");
    EXPECT_THROW(writeOutputFile(h.run, "w.csv",
                                 [](std::FILE* f) {
                                     std::fputs("half", f);
                                     return false;
                                 }),
                 RunStopped);
    EXPECT_EQ(h.dir.read("w.csv"), "earlier\n");
    writeOutputFile(h.run, "w.csv", [](std::FILE* f) { return std::fputs("new\n", f) >= 0; });
    EXPECT_EQ(h.dir.read("w.csv"), "new\n");
    EXPECT_EQ(files(h.dir).size(), 3u);  // .console, .results and w.csv
    EXPECT_TRUE(h.run.pending.empty());
}
