// Packed working directories (fuzz/unpack.h) and the inputs that the fuzzer
// found faults with: each of tests/fuzz_regressions must run through the
// whole program in-process and end with an error stop or a complete run.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "example_run.h"
#include "numbers.h"
#include "test_util.h"
#include "unpack.h"

namespace {

namespace fs = std::filesystem;
using testutil::TempDir;

std::string names(const std::vector<packed::File>& files) {
    std::string s;
    for (const auto& f : files) s += f.name + "=[" + std::string(f.bytes) + "]";
    return s;
}

TEST(Unpack, SectionsBecomeTheProgramsInputFiles) {
    struct Case {
        const char* packed;
        const char* files;  // name=[bytes] of every file written, in order
    };
    const Case cases[] = {
        {"", ""},
        {"no section at all\n", ""},
        // Bytes before the first section are ignored; a file keeps the
        // line break before the next section.
        {"junk\n@@ PARAS.TXT\n1 \"a\"\n@@ INPUTS01.TXT\n2\n", "PARAS.TXT=[1 \"a\"\n]INPUTS01.TXT=[2\n]"},
        // A file without a final line break, at the end of the buffer.
        {"@@ INPUTS14.TXT\n7", "INPUTS14.TXT=[7]"},
        // A header at the very end: an empty file.
        {"@@ PARAS.TXT\nx\n@@ TEXTS_OUT.TXT", "PARAS.TXT=[x\n]TEXTS_OUT.TXT=[]"},
        // "@@ " inside a line is data, and so is "@@" without the blank.
        {"@@ PARAS.TXT\na @@ INPUTS01.TXT\n@@INPUTS02.TXT\n", "PARAS.TXT=[a @@ INPUTS01.TXT\n@@INPUTS02.TXT\n]"},
        // Names other than the input files are never written, and names
        // are compared exactly.
        {"@@ CHECKS\nc\n@@ ../PARAS.TXT\np\n@@ paras.txt\nq\n@@ PARAS.TXT \nr\n@@ INPUTS15.TXT\ns\n", ""},
        // A later section replaces an earlier one of the same name.
        {"@@ INPUTS02.TXT\nold\n@@ PARAS.TXT\np\n@@ INPUTS02.TXT\nnew\n", "PARAS.TXT=[p\n]INPUTS02.TXT=[new\n]"},
    };
    for (const Case& c : cases) EXPECT_EQ(names(packed::unpack(c.packed)), c.files) << c.packed;
}

TEST(Unpack, WritingEmptiesTheDirectoryFirst) {
    TempDir dir;
    dir.write("CHECKS", "from an earlier run");
    dir.write("INPUTS03.TXT", "old");
    fs::create_directory(dir / "sub");
    dir.write("sub/file", "x");
    ASSERT_TRUE(packed::writeFiles(dir.path(), packed::unpack("@@ INPUTS03.TXT\nnew\n")));
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir.path())) left.push_back(e.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"INPUTS03.TXT"});
    EXPECT_EQ(dir.read("INPUTS03.TXT"), "new\n");
}

// The numbers the fuzzer changes are those the reader takes as numbers:
// never a part of a quoted text, a comment or a section header.
TEST(NumberMutation, FindsTheNumbersOfTheRecordsOnly) {
    const std::string text =
        "@@ PARAS.TXT\n\"t 1\" 2\n/ 3 \"q\" / -4 \"u\"\n5.5e3\"x\" a8 .5\n"
        "@@ INPUTS01.TXT\n\"open 6\n@@ INPUTS02.TXT\n7\n@@ 8\n+9/10/";
    std::vector<std::string> found;
    for (const auto& t : packed::numberTokens(text)) found.push_back(text.substr(t.at, t.len));
    EXPECT_EQ(found, (std::vector<std::string>{"2", "-4", "5.5e3", ".5", "7", "+9"}));
}

TEST(NumberMutation, ReplacesOneNumberAndNothingElse) {
    const std::string text = "@@ INPUTS03.TXT\n0.125 7\n\"a 1\" \"b\"\n/ 2 /\n-30\n\"c\" \"d\"\n";
    std::vector<std::string> results;
    for (std::uint32_t seed = 0; seed < 300; ++seed) {
        std::string buf = text;
        buf.resize(text.size() + 64);
        auto* data = reinterpret_cast<std::uint8_t*>(buf.data());
        const std::size_t n = packed::mutateNumber(data, text.size(), buf.size(), seed);
        ASSERT_GT(n, 0u);
        buf.resize(n);
        // The change lies within one number of the text and puts there a
        // word that cannot end the number early.
        std::size_t pre = 0, post = 0;
        while (pre < n && pre < text.size() && buf[pre] == text[pre]) ++pre;
        while (post < n - pre && post < text.size() - pre && buf[n - 1 - post] == text[text.size() - 1 - post]) ++post;
        const std::size_t end = text.size() - post;
        bool inOne = false;
        for (const auto& t : packed::numberTokens(text))
            if (t.at <= pre && end <= t.at + t.len) inOne = true;
        EXPECT_TRUE(inOne || buf == text) << buf;
        EXPECT_EQ(buf.substr(pre, n - pre - post).find_first_of(" \n\"/"), std::string::npos) << buf;
        results.push_back(buf);
    }
    std::sort(results.begin(), results.end());
    EXPECT_GT(std::unique(results.begin(), results.end()) - results.begin(), 50);

    // Without room for a longer number the text is left as it is; an
    // empty text has no number.
    for (std::uint32_t seed = 0; seed < 100; ++seed) {
        std::string full = text;
        const std::size_t n = packed::mutateNumber(reinterpret_cast<std::uint8_t*>(full.data()), full.size(),
                                                   full.size(), seed);
        EXPECT_LE(n, text.size());
        if (n == 0) {
            EXPECT_EQ(full, text);
        }
    }
    EXPECT_EQ(packed::mutateNumber(nullptr, 0, 0, 1), 0u);
}

// scripts/pack-example packs what unpack gives back byte for byte, and a
// packed example runs as the example itself does.  The model state is kept
// from one run to the next, as in the fuzzer: the second system's output
// must not depend on the first.
TEST(Unpack, PackedExamplesRunAsTheExamplesOnOneModel) {
    TempDir packs;
    const fs::path src(KARVEL1_SOURCE_DIR);
    const auto pack = [&](const char* option, const char* example, const std::string& to) {
        const std::string cmd = "'" + (src / "scripts" / "pack-example").string() + "' " + option + " '" +
                                (src / "examples" / example).string() + "' > '" + (packs / to).string() + "'";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    };
    pack("", "dairy", "dairy");
    pack("", "meat", "meat");
    pack("--bare", "extensive", "extensive.bare");
    const std::string meat = packs.read("meat");
    const auto files = packed::unpack(meat);
    std::size_t count = 0;
    for (const auto& e : fs::directory_iterator(src / "examples" / "meat")) {
        const std::string name = e.path().filename().string();
        const auto f = std::find_if(files.begin(), files.end(), [&](const auto& x) { return x.name == name; });
        ASSERT_NE(f, files.end()) << name;
        EXPECT_EQ(std::string(f->bytes), testutil::readFile(e.path())) << name;
        ++count;
    }
    EXPECT_EQ(files.size(), count);

    auto model = std::make_unique<Model>();
    TempDir work;
    TempDir consoles;
    std::FILE* con = std::fopen((consoles / "console").c_str(), "w");
    ASSERT_NE(con, nullptr);
    const fs::path here = fs::current_path();
    EXPECT_EQ(packed::runPacked(*model, work.path(), packs.read("dairy"), con), 0);
    EXPECT_EQ(fs::current_path(), here);
    EXPECT_EQ(packed::runPacked(*model, work.path(), "@@ PARAS.TXT\n1\n", con), 1);
    EXPECT_EQ(packed::runPacked(*model, work.path(), meat, con), 0);
    testutil::expectGolden(work.read("RESULTS.TXT"), "meat/RESULTS.TXT");
    testutil::expectGolden(work.read("CHECKS"), "meat/CHECKS");
    testutil::expectGolden(work.read("CHECKS1"), "meat/CHECKS1");

    // A bare pack (no texts, no comments) holds the same numbers: the model
    // comes out the same, and only the results file loses its words.
    const std::string bare = packs.read("extensive.bare");
    std::string withoutEmptyTexts = bare;
    for (std::size_t at; (at = withoutEmptyTexts.find("\"\"")) != std::string::npos;) withoutEmptyTexts.erase(at, 2);
    EXPECT_EQ(withoutEmptyTexts.find('"'), std::string::npos);
    EXPECT_EQ(packed::runPacked(*model, work.path(), bare, con), 0);
    std::fclose(con);
    testutil::expectGolden(work.read("CHECKS1"), "extensive/CHECKS1");
}

// Every input under tests/fuzz_regressions once crashed, hung or drew a
// sanitizer report; the sanitized build of these tests shows the fix.
TEST(FuzzRegressions, EveryCaseEndsWithAStatus) {
    const fs::path cases = fs::path(KARVEL1_SOURCE_DIR) / "tests" / "fuzz_regressions";
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(cases))
        if (e.is_regular_file() && e.path().filename().string()[0] != '.') files.push_back(e.path());
    std::sort(files.begin(), files.end());
    auto model = std::make_unique<Model>();
    TempDir work;
    TempDir consoles;
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        const fs::path conPath = consoles / file.filename().string();
        std::FILE* con = std::fopen(conPath.c_str(), "w");
        ASSERT_NE(con, nullptr);
        const int status = packed::runPacked(*model, work.path(), testutil::readFile(file), con);
        std::fclose(con);
        const std::string console = testutil::readFile(conPath);
        EXPECT_TRUE(status == 0 || status == 1) << "status " << status << ", console ends:\n"
                                                << console.substr(console.size() > 1500 ? console.size() - 1500 : 0);
    }
}

}  // namespace
