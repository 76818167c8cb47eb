// Start of a run and the stops for missing or unusable files.
#include <gtest/gtest.h>

#include "test_util.h"

using testutil::TempDir;

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
    EXPECT_NE(r.out.find("Error message:\nThe input file PARAS.TXT cannot be opened.\n"), std::string::npos);
    EXPECT_EQ(dir.read("R.TXT"), "Title\n");
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
