// Coverage-guided fuzzing of the whole program (libFuzzer).
//
// Every input is a packed working directory (fuzz/unpack.h): the input
// files of one run.  It is unpacked into a private directory and the
// program runs on it from the start to the end: reading and checking of
// every input, the base evaluation, the economic-weight loop, the dumps and
// the results file.  An error stop is a normal outcome; what the fuzzer
// looks for is a crash, a hang, a sanitizer report or a leak.
//
// The model state is allocated once per process: every run sets it to zero
// and to the start-up defaults before it reads anything.
//
// Half of the mutations change one number of the records and keep their
// syntax (fuzz/numbers.h); the others are libFuzzer's own byte mutations.
// With KARVEL1_FUZZ_NUMBERS=0 in the environment only the byte mutations
// are made.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include "model/model.h"
#include "numbers.h"
#include "unpack.h"

namespace {

namespace fs = std::filesystem;

// The working directory of this process, under the temporary directory
// ($TMPDIR; scripts/fuzz puts it in memory where it can).
fs::path makeWorkDir() {
    std::string templ = (fs::temp_directory_path() / "karvel1-fuzz-XXXXXX").string();
    if (!mkdtemp(templ.data())) {
        std::perror("karvel1_fuzz: cannot create a working directory");
        std::abort();
    }
    return templ;
}

struct Process {
    std::unique_ptr<Model> model = std::make_unique<Model>();
    fs::path dir = makeWorkDir();
    std::FILE* console = std::fopen("/dev/null", "w");

    Process() {
        if (!console) {
            std::perror("karvel1_fuzz: cannot open /dev/null");
            std::abort();
        }
    }
    ~Process() {
        std::fclose(console);
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Process process;
    const std::string_view packedDir(reinterpret_cast<const char*>(data), size);
    if (packed::runPacked(*process.model, process.dir, packedDir, process.console) < 0) {
        std::fprintf(stderr, "karvel1_fuzz: cannot write the input files into %s\n", process.dir.c_str());
        std::abort();
    }
    return 0;
}

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size, std::size_t maxSize,
                                               unsigned int seed) {
    static const bool numbers = [] {
        const char* v = std::getenv("KARVEL1_FUZZ_NUMBERS");
        return !(v && std::string_view(v) == "0");
    }();
    if (numbers && seed % 2 == 0)
        if (const std::size_t n = packed::mutateNumber(data, size, maxSize, seed / 2)) return n;
    return LLVMFuzzerMutate(data, size, maxSize);
}
