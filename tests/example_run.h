// Runs a bundled example system in-process, in a temporary copy of its
// working directory, and keeps the model state and the output files.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "driver/driver.h"
#include "test_util.h"

namespace testutil {

struct ExampleRun {
    std::unique_ptr<Model> model = std::make_unique<Model>();
    int status = -1;
    std::string console, results, checks, checks1;
};

// One change of an input file: the only occurrence of `from` becomes `to`.
struct Edit {
    const char* file;
    const char* from;
    const char* to;
};

// Applies an edit to a working directory; the text to replace must occur
// exactly once.
inline void applyEdit(const TempDir& dir, const Edit& e) {
    std::string text = dir.read(e.file);
    const auto at = text.find(e.from);
    ASSERT_NE(at, std::string::npos) << e.file << ": " << e.from;
    ASSERT_EQ(text.find(e.from, at + 1), std::string::npos) << e.file << ", ambiguous: " << e.from;
    text.replace(at, std::string(e.from).size(), e.to);
    dir.write(e.file, text);
}

inline std::unique_ptr<ExampleRun> runExample(const std::string& name, int threads = 1,
                                              const std::vector<Edit>& edits = {}) {
    auto r = std::make_unique<ExampleRun>();
    TempDir dir;
    copyExample(name, dir);
    for (const Edit& e : edits) applyEdit(dir, e);
    InDir in(dir.path());
    dir.write(".stdin", "RESULTS.TXT\n");
    Run run(*r->model);
    run.threads = threads;
    run.con = std::fopen(".console", "w");
    std::FILE* input = std::fopen(".stdin", "r");
    r->status = runProgram(run, input);
    std::fclose(input);
    std::fclose(run.con);
    r->console = dir.read(".console");
    r->results = dir.read("RESULTS.TXT");
    r->checks = dir.read("CHECKS");
    r->checks1 = dir.read("CHECKS1");
    return r;
}

// Text fragment k (from 1) of an example's TEXTS_OUT.TXT, without quotes.
inline std::string textFragment(const std::string& example, int k) {
    const std::string t =
        readFile(fs::path(KARVEL1_SOURCE_DIR) / "examples" / example / "TEXTS_OUT.TXT");
    std::size_t pos = 0;
    for (int i = 1; i < k; ++i) pos = t.find('"', t.find('"', pos) + 1) + 1;
    const std::size_t a = t.find('"', pos) + 1;
    return t.substr(a, t.find('"', a) - a);
}

// Compares text with a golden file under tests/golden/; with the environment
// variable KARVEL1_UPDATE_GOLDEN set, writes the golden file instead.
inline void expectGolden(const std::string& text, const std::string& golden) {
    const fs::path p = fs::path(KARVEL1_SOURCE_DIR) / "tests" / "golden" / golden;
    if (std::getenv("KARVEL1_UPDATE_GOLDEN")) {
        fs::create_directories(p.parent_path());
        writeFile(p, text);
        return;
    }
    ASSERT_TRUE(fs::exists(p)) << p;
    const std::string expected = readFile(p);
    if (expected == text) return;
    // Report the first differing line rather than two long texts.
    std::size_t line = 1, i = 0;
    while (i < text.size() && i < expected.size() && text[i] == expected[i]) {
        if (text[i] == '\n') ++line;
        ++i;
    }
    const auto lineAt = [](const std::string& s, std::size_t at) {
        const std::size_t b = s.rfind('\n', at == 0 ? 0 : at - 1);
        const std::size_t from = b == std::string::npos ? 0 : b + 1;
        return s.substr(from, s.find('\n', from) - from);
    };
    ADD_FAILURE() << golden << " differs at line " << line << ":\n  expected: " << lineAt(expected, i)
                  << "\n  actual:   " << lineAt(text, i);
}

}  // namespace testutil
