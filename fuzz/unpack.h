// Packed working directories: all input files of one run in one buffer, as
// the fuzzer mutates them and as tests/fuzz_regressions keeps them.
//
// A packed buffer is text made of sections.  A section starts with a line
// "@@ NAME" at the start of the buffer or right after a line break; the
// file NAME holds every byte after that line up to the start of the next
// "@@ " line (so the line break before it belongs to the file) or to the end
// of the buffer.  Bytes before the first section are ignored, and so are
// sections of any name other than the program's own input files
// (PARAS.TXT, INPUTS01.TXT .. INPUTS14.TXT, TEXTS_OUT.TXT): nothing else is
// ever written.  A later section of the same name replaces an earlier one.
// scripts/pack-example packs an example working directory this way.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "driver/driver.h"
#include "context/run.h"

namespace packed {

namespace fs = std::filesystem;

inline constexpr const char* kInputFiles[] = {
    "PARAS.TXT",    "INPUTS01.TXT", "INPUTS02.TXT", "INPUTS03.TXT", "INPUTS04.TXT", "INPUTS05.TXT",
    "INPUTS06.TXT", "INPUTS07.TXT", "INPUTS08.TXT", "INPUTS09.TXT", "INPUTS10.TXT", "INPUTS11.TXT",
    "INPUTS12.TXT", "INPUTS13.TXT", "INPUTS14.TXT", "TEXTS_OUT.TXT"};

struct File {
    std::string name;
    std::string_view bytes;  // points into the packed buffer
};

inline bool isInputFile(std::string_view name) {
    for (const char* f : kInputFiles)
        if (name == f) return true;
    return false;
}

// The input files of a packed buffer, in the order of their sections.
inline std::vector<File> unpack(std::string_view data) {
    constexpr std::string_view kMark = "@@ ";
    // Start of the section header at or after `from` (a line that begins
    // with the mark), or npos.
    const auto nextHeader = [&](std::size_t from) {
        for (std::size_t at = from; at < data.size(); ++at) {
            at = data.find(kMark, at);
            if (at == std::string_view::npos) break;
            if (at == 0 || data[at - 1] == '\n') return at;
        }
        return std::string_view::npos;
    };
    std::vector<File> files;
    std::size_t header = nextHeader(0);
    while (header != std::string_view::npos) {
        const std::size_t nameAt = header + kMark.size();
        std::size_t eol = data.find('\n', nameAt);
        if (eol == std::string_view::npos) eol = data.size();
        const std::string_view name = data.substr(nameAt, eol - nameAt);
        const std::size_t body = eol == data.size() ? eol : eol + 1;
        const std::size_t next = nextHeader(body);
        const std::size_t end = next == std::string_view::npos ? data.size() : next;
        if (isInputFile(name)) {
            std::erase_if(files, [&](const File& f) { return f.name == name; });
            files.push_back({std::string(name), data.substr(body, end - body)});
        }
        header = next;
    }
    return files;
}

// Empties dir (the output files of an earlier run go too) and writes the
// input files into it.  Returns false when a file cannot be written.
inline bool writeFiles(const fs::path& dir, const std::vector<File>& files) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) fs::remove_all(entry.path(), ec);
    for (const File& f : files) {
        std::FILE* out = std::fopen((dir / f.name).c_str(), "wb");
        if (!out) return false;
        const bool ok = std::fwrite(f.bytes.data(), 1, f.bytes.size(), out) == f.bytes.size();
        if (std::fclose(out) != 0 || !ok) return false;
    }
    return true;
}

// Runs the whole program on a packed working directory: unpacks it into
// dir (emptied first), makes dir the current directory for the run, names
// the results file RESULTS.TXT on the program's standard input and runs
// on one thread with the console on `console`.  Returns the program's exit
// status (0 after a complete run, 1 after an error stop), or -1 when the
// directory cannot be prepared.  The current directory is given back.
inline int runPacked(Model& model, const fs::path& dir, std::string_view data, std::FILE* console) {
    if (!writeFiles(dir, unpack(data))) return -1;
    char answer[] = "RESULTS.TXT\n";
    std::FILE* input = fmemopen(answer, sizeof answer - 1, "r");
    if (!input) return -1;
    const fs::path old = fs::current_path();
    fs::current_path(dir);
    struct Back {
        const fs::path& to;
        std::FILE* input;
        ~Back() {
            std::fclose(input);
            std::error_code ec;
            fs::current_path(to, ec);
        }
    } back{old, input};
    Run run(model);
    run.threads = 1;
    run.con = console;
    return runProgram(run, input);
}

}  // namespace packed
