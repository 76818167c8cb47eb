// The listing of a working directory for the web page: its comments, and
// its numbers against the command line's --list.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "server/workdir.h"
#include "test_util.h"

namespace {

using namespace testutil;

TEST(Workdir, CommentsStandBetweenSlashesOutsideQuotedTexts) {
    const auto notes = workdir::comments("/ The file,\n  its head /\n0.5 \"Gain\" \"kg/day\"\n"
                                         "/ Second\tpart /  \"a / b\" \"\"\n/ last /");
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0].line, 1);
    EXPECT_EQ(notes[0].text, "The file, its head");
    EXPECT_EQ(notes[1].line, 4);
    EXPECT_EQ(notes[1].text, "Second part");
    EXPECT_EQ(notes[2].line, 5);
    EXPECT_EQ(notes[2].text, "last");
    EXPECT_NE(workdir::version("0.5"), workdir::version("0.6"));
    EXPECT_NE(workdir::version("0.5"), workdir::version("0.5 "));
}

// Every number of --list is on the page once, with the same value, place
// and range, in the section of the comment before it.
TEST(Workdir, InputsAreTheListedNumbersBySection) {
    TempDir dir;
    copyExample("dairy", dir);
    const ProgramResult list = runKarvel1(dir, "", "--list");
    ASSERT_EQ(list.status, 0) << list.err;

    workdir::Json page;
    {
        // The page's operations work in the current directory, as the server's do.
        InDir in(dir.path());
        page = workdir::inputs();
    }
    ASSERT_TRUE(page["ok"].get<bool>()) << page.dump();
    std::map<std::string, std::pair<std::string, workdir::Json>> shown;  // name -> file, row
    std::map<std::string, std::string> sectionOf;
    for (const auto& file : page["files"])
        for (const auto& section : file["sections"])
            for (const auto& row : section["numbers"]) {
                const std::string name = row["name"].get<std::string>();
                EXPECT_FALSE(shown.count(name)) << name << " is shown twice";
                shown[name] = {file["file"].get<std::string>(), row};
                sectionOf[name] = section["title"].get<std::string>();
            }

    std::istringstream rows(list.out);
    std::string line;
    std::getline(rows, line);  // the header
    std::size_t listed = 0;
    while (std::getline(rows, line)) {
        std::vector<std::string> cell;
        std::stringstream cells(line);
        for (std::string c; std::getline(cells, c, '\t');) cell.push_back(c);
        cell.resize(9);
        ++listed;
        const auto it = shown.find(cell[0]);
        ASSERT_NE(it, shown.end()) << cell[0] << " is not on the page";
        const workdir::Json& row = it->second.second;
        EXPECT_EQ(row["value"].get<std::string>(), cell[1]) << cell[0];
        EXPECT_EQ(it->second.first, cell[2]) << cell[0];
        EXPECT_EQ(std::to_string(row["line"].get<int>()), cell[3]) << cell[0];
        EXPECT_EQ(row["label"].get<std::string>(), cell[5]) << cell[0];
        for (const auto& [end, text] : {std::pair{"min", cell[7]}, std::pair{"max", cell[8]}}) {
            EXPECT_EQ(row[end].is_null(), text.empty()) << cell[0];
            if (!text.empty()) {
                EXPECT_EQ(row[end].get<double>(), std::stod(text)) << cell[0];
            }
        }
    }
    EXPECT_EQ(listed, shown.size());
    // INPUTS01.TXT: the numbers of the ewes come before the file's second
    // comment, the discount rate after it.
    EXPECT_EQ(sectionOf["LL"], "");
    EXPECT_EQ(sectionOf["u"].rfind("Calendar of the production cycle", 0), 0u) << sectionOf["u"];
    EXPECT_EQ(page["sd"]["1"].get<double>(), 0.25);  // SD.TXT of the example
}

}  // namespace
