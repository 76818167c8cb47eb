// A new working directory from a bundled example (karvel1 init): the files
// are the example's byte for byte, and a directory that holds a system is
// refused without a change.  The installed program is tested by
// tests/install/install_test.sh.
#include <gtest/gtest.h>

#include <csignal>
#include <set>
#include <string>
#include <vector>

#include "init/new_system.h"
#include "test_util.h"

#include <sys/resource.h>

namespace {

using testutil::TempDir;
namespace fs = std::filesystem;

std::set<std::string> namesIn(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

TEST(InitSystem, WritesEachExampleAsItIs) {
    for (std::string_view example : bundledExampleNames()) {
        SCOPED_TRACE(std::string(example));
        TempDir dir;
        std::vector<std::string> written;
        std::string error;
        ASSERT_TRUE(writeExampleSystem(example, dir / "new/sys", written, error)) << error;
        const fs::path source = fs::path(KARVEL1_SOURCE_DIR) / "examples" / std::string(example);
        EXPECT_EQ(namesIn(dir / "new/sys"), namesIn(source));
        EXPECT_EQ(std::set<std::string>(written.begin(), written.end()), namesIn(source));
        for (const std::string& name : written)
            EXPECT_EQ(testutil::readFile(dir / "new/sys" / name), testutil::readFile(source / name)) << name;
    }
}

// Whatever of a system the directory holds, nothing is written or changed.
TEST(InitSystem, RefusesADirectoryThatHoldsAFileOfASystem) {
    const struct {
        const char* name;
        void (*prepare)(const TempDir&);
        const char* message;
    } cases[] = {
        {"another system's input file", [](const TempDir& d) { d.write("INPUTS07.TXT", "mine\n"); },
         "already holds INPUTS07.TXT: nothing was written"},
        {"a dangling link", [](const TempDir& d) { fs::create_symlink("nowhere", d / "SD.TXT"); },
         "already holds SD.TXT"},
        {"two files", [](const TempDir& d) { d.write("TEXTS_OUT.TXT", ""); d.write("PARAS.TXT", "x"); },
         "already holds PARAS.TXT and TEXTS_OUT.TXT"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        c.prepare(dir);
        const std::set<std::string> before = namesIn(dir.path());
        std::vector<std::string> written;
        std::string error;
        EXPECT_FALSE(writeExampleSystem("dairy", dir.path(), written, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_TRUE(written.empty());
        EXPECT_EQ(namesIn(dir.path()), before);
    }
}

// A file that cannot be written completely (the process's limit of the file
// size stands in for a full disk: PARAS.TXT fits, INPUTS01.TXT does not)
// leaves no file of the system behind.
TEST(InitSystem, AFailedWriteLeavesNoFile) {
    TempDir dir;
    rlimit old;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 1000;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::vector<std::string> written;
    std::string error;
    const bool ok = writeExampleSystem("dairy", dir.path(), written, error);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, handler);
    EXPECT_FALSE(ok);
    EXPECT_NE(error.find("INPUTS01.TXT cannot be written completely"), std::string::npos) << error;
    EXPECT_NE(error.find("nothing was left written"), std::string::npos) << error;
    EXPECT_TRUE(namesIn(dir.path()).empty());
}

}  // namespace
