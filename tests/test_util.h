// Helpers shared by the tests: temporary working directories, running the
// program in one, and in-process runs of the reader routines.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "context/run.h"
#include "model/model.h"

namespace testutil {

namespace fs = std::filesystem;

inline std::string readFile(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

inline void writeFile(const fs::path& p, const std::string& text) {
    std::ofstream f(p, std::ios::binary);
    f << text;
}

// A fresh directory under the system's temporary directory, removed again
// when the object goes out of scope.
class TempDir {
public:
    TempDir() {
        std::string templ = (fs::temp_directory_path() / "karvel1-test-XXXXXX").string();
        path_ = mkdtemp(templ.data());
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const fs::path& path() const { return path_; }
    fs::path operator/(const std::string& name) const { return path_ / name; }
    void write(const std::string& name, const std::string& text) const { writeFile(path_ / name, text); }
    std::string read(const std::string& name) const { return readFile(path_ / name); }

private:
    fs::path path_;
};

// Copies every file of an example working directory into dir.
inline void copyExample(const std::string& example, const TempDir& dir) {
    const fs::path src = fs::path(KARVEL1_SOURCE_DIR) / "examples" / example;
    for (const auto& e : fs::directory_iterator(src))
        if (e.is_regular_file()) fs::copy_file(e.path(), dir / e.path().filename().string());
}

struct ProgramResult {
    int status = -1;     // exit status
    std::string out;     // everything written to standard output
    std::string err;     // and to standard error
};

// Runs karvel1 in dir with the given standard input and arguments (words
// for the shell).
inline ProgramResult runKarvel1(const TempDir& dir, const std::string& input, const std::string& args = "") {
    dir.write(".stdin", input);
    const std::string cmd = "cd '" + dir.path().string() + "' && '" + KARVEL1_EXE + "' " + args +
                            " < .stdin > .stdout 2> .stderr";
    const int raw = std::system(cmd.c_str());
    ProgramResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = dir.read(".stdout");
    r.err = dir.read(".stderr");
    return r;
}

// Replaces the number of seconds in the elapsed-time line by "T".
inline std::string maskElapsed(std::string s) {
    const std::string key = "The program needed ";
    const auto p = s.find(key);
    if (p != std::string::npos) {
        const auto q = s.find(" seconds.", p);
        if (q != std::string::npos) s.replace(p + key.size(), q - p - key.size(), "T");
    }
    return s;
}

// Makes the directory current for the lifetime of the object.
class InDir {
public:
    explicit InDir(const fs::path& p) : old_(fs::current_path()) { fs::current_path(p); }
    ~InDir() { fs::current_path(old_); }

private:
    fs::path old_;
};

// A model state and a run context for in-process tests.  The console and
// the results file are temporary files whose contents the test can read.
struct Harness {
    std::unique_ptr<Model> model = std::make_unique<Model>();
    Run run{*model};
    TempDir dir;

    Harness() {
        resetModel(*model);
        run.con = std::fopen((dir / ".console").c_str(), "w+");
        run.res = std::fopen((dir / ".results").c_str(), "w+");
    }
    ~Harness() {
        std::fclose(run.con);
        std::fclose(run.res);
    }
    std::string console() {
        std::fflush(run.con);
        return dir.read(".console");
    }
    std::string results() {
        std::fflush(run.res);
        return dir.read(".results");
    }
};

// What write puts into a file, as a string.
template <class F> std::string capture(F write) {
    std::FILE* f = std::tmpfile();
    EXPECT_TRUE(write(f));
    std::string s(std::size_t(std::ftell(f)), '\0');
    std::rewind(f);
    EXPECT_EQ(std::fread(s.data(), 1, s.size(), f), s.size());
    std::fclose(f);
    return s;
}

// The fields of a CSV text (quoted fields may hold commas, line breaks and
// doubled quotes), one vector per line.
using CsvTable = std::vector<std::vector<std::string>>;
inline CsvTable parseCsv(const std::string& text) {
    CsvTable rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') rows.back().back() += text[i++];
        else if (c == '"') quoted = !quoted;
        else if (!quoted && c == ',') rows.back().emplace_back();
        else if (!quoted && c == '\n') rows.emplace_back(1);
        else rows.back().back() += c;
    }
    rows.pop_back();  // after the last line break
    return rows;
}

}  // namespace testutil
