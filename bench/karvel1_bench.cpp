// Speed of the program on the bundled example systems:
//   FullRun        a whole run (reading, base evaluation, economic-weight
//                  loop, both dumps, results file) in a copy of the example's
//                  working directory, on all cores and on one;
//   Evaluation     one evaluation of the model from the re-entry point, on
//                  the base state, again and again (items per second =
//                  evaluations per second; the day runs that recur are kept);
//   Loop           the economic-weight loop on one thread from the base
//                  state: its evaluations with changed traits (items per
//                  second = evaluations per second);
//   Dump           writing the dump of the base state.
// Run: scripts/benchmark (Release build).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "driver/driver.h"
#include "driver/evaluate.h"
#include "context/run.h"
#include "driver/weights_run.h"
#include "economics/weights.h"
#include "input/reader.h"
#include "model/model.h"
#include "report/dump.h"

namespace fs = std::filesystem;

namespace {

// A copy of an example's working directory, current while the object lives.
class WorkDir {
public:
    explicit WorkDir(const std::string& example) : old_(fs::current_path()) {
        std::string templ = (fs::temp_directory_path() / "karvel1-bench-XXXXXX").string();
        dir_ = mkdtemp(templ.data());
        for (const auto& e : fs::directory_iterator(fs::path(KARVEL1_SOURCE_DIR) / "examples" / example))
            fs::copy_file(e.path(), dir_ / e.path().filename());
        std::FILE* f = std::fopen((dir_ / ".stdin").c_str(), "w");
        std::fputs("RESULTS.TXT\n", f);
        std::fclose(f);
        fs::current_path(dir_);
    }
    ~WorkDir() {
        fs::current_path(old_);
        fs::remove_all(dir_);
    }

private:
    fs::path old_, dir_;
};

int cores() { return std::max(1, int(std::thread::hardware_concurrency())); }

void fullRun(benchmark::State& state, const char* example, int threads) {
    WorkDir dir(example);
    auto m = std::make_unique<Model>();
    for (auto _ : state) {
        Run run(*m);
        run.threads = threads;
        run.con = std::fopen("/dev/null", "w");
        std::FILE* in = std::fopen(".stdin", "r");
        const int status = runProgram(run, in);
        std::fclose(in);
        std::fclose(run.con);
        if (status != 0) state.SkipWithError("the example did not run to the end");
    }
}

// The base state of an example, for the benchmarks of single phases.
std::unique_ptr<Model> baseState(const char* example) {
    WorkDir dir(example);
    auto m = std::make_unique<Model>();
    Run run(*m);
    run.con = std::fopen("/dev/null", "w");
    std::FILE* in = std::fopen(".stdin", "r");
    runToBase(run, in);
    std::fclose(in);
    std::fclose(run.con);
    std::fclose(run.res);
    closeInput(run.texts);
    return m;
}

void evaluation(benchmark::State& state, const char* example) {
    auto m = baseState(example);
    Run run(*m);
    run.con = std::fopen("/dev/null", "w");
    m->itrait = 1;
    m->zr = 2;
    for (auto _ : state) evaluateModel(run);
    state.SetItemsProcessed(state.iterations());
    std::fclose(run.con);
}

void loop(benchmark::State& state, const char* example) {
    const auto base = baseState(example);
    const ModelCopy m = newModel();
    int starts[weights::kMaxSlots];
    const int slots = weights::plan(*base, starts);
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(static_cast<void*>(m.get()), base.get(), sizeof(Model));
        state.ResumeTiming();
        Run run(*m);
        run.threads = 1;
        run.con = std::fopen("/dev/null", "w");
        economicWeights(run);
        std::fclose(run.con);
    }
    state.SetItemsProcessed(state.iterations() * 5 * slots);
}

void dump(benchmark::State& state, const char* example) {
    auto m = baseState(example);
    std::FILE* out = std::fopen("/dev/null", "w");
    for (auto _ : state) writeDump(*m, out);
    std::fclose(out);
}

const char* const kExamples[] = {"dairy", "meat", "extensive", "large"};

const int registered = [] {
    for (const char* e : kExamples) {
        const std::string name(e);
        benchmark::RegisterBenchmark(("FullRun/" + name).c_str(), fullRun, e, cores())
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("FullRunOneThread/" + name).c_str(), fullRun, e, 1)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("Evaluation/" + name).c_str(), evaluation, e)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Loop/" + name).c_str(), loop, e)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("Dump/" + name).c_str(), dump, e)->Unit(benchmark::kMillisecond);
    }
    return 0;
}();

}  // namespace

BENCHMARK_MAIN();
