#include "driver/cli.h"

#include <CLI/CLI.hpp>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "driver/driver.h"
#include "driver/input_list.h"
#include "driver/run.h"
#include "input/overrides.h"
#include "model/model.h"
#include "report/export.h"

namespace {

constexpr int kUsage = 2;

struct Options {
    std::string dir;
    std::string results;
    bool quiet = false;
    bool list = false;
    std::string csv, json, sd, chart, sweep;
    std::vector<std::string> sets, scales;
};

int usage(const std::string& text) {
    std::fprintf(stderr, "karvel1: %s\n", text.c_str());
    std::fprintf(stderr, "Run 'karvel1 --help' for the options.\n");
    return kUsage;
}

// An output file named on the command line may not be one of the program's
// own files, nor the same as another output.
bool checkOutputNames(const Options& o, std::string& error) {
    const std::pair<const char*, const std::string*> outs[] = {
        {"-o", &o.results}, {"--csv", &o.csv}, {"--json", &o.json}, {"--chart", &o.chart}};
    std::set<std::string> seen;
    for (const auto& [opt, name] : outs) {
        if (name->empty()) continue;
        if (const char* own = ownFileNamed(name->c_str())) {
            error = std::string(opt) + " " + *name + ": that is the program's file " + own +
                    ", which would be overwritten";
            return false;
        }
        const std::string key = std::filesystem::path(*name).lexically_normal().string();
        if (!seen.insert(key).second) {
            error = std::string(opt) + " " + *name + ": the same file is named for two outputs";
            return false;
        }
    }
    if (o.results.size() >= sizeof(Run::resName)) {
        error = "-o: the name of the results file is longer than " + std::to_string(sizeof(Run::resName) - 1) +
                " characters";
        return false;
    }
    for (char c : o.results)
        if (std::iscntrl(static_cast<unsigned char>(c))) {
            error = "-o: the name of the results file holds a control character";
            return false;
        }
    return true;
}

bool parseChanges(const Options& o, std::vector<Override>& out, std::string& error) {
    std::set<std::string> names;
    for (int scale = 0; scale < 2; ++scale)
        for (const std::string& text : scale ? o.scales : o.sets) {
            Override ov;
            if (!parseOverride(text, scale != 0, ov, error)) return false;
            if (!names.insert(ov.name).second) {
                error = ov.name + " is changed twice on the command line";
                return false;
            }
            out.push_back(ov);
        }
    return true;
}

// Writes one output file with fn (a fault stops the run) and says so.
template <class F> void writeOutput(Run& run, const std::string& name, const char* what, F fn) {
    writeOutputFile(run, name.c_str(), fn);
    std::fprintf(run.con, "The %s is in the file %s.\n", what, printable(name.c_str()).c_str());
}

std::vector<exporting::ChangedValue> changedValues(const Run& run) {
    std::vector<exporting::ChangedValue> out;
    if (run.overrides)
        for (const Override& o : run.overrides->items)
            out.push_back({o.name, o.at.file, o.at.record, o.at.text, o.usedText});
    return out;
}

// The sweep NAME=FROM:TO:STEPS as the value texts of its runs.
bool sweepValues(const std::string& text, Override& ov, std::vector<std::string>& values, std::string& error) {
    const std::size_t eq = text.find('=');
    const std::size_t c1 = text.find(':', eq == std::string::npos ? 0 : eq);
    const std::size_t c2 = c1 == std::string::npos ? c1 : text.find(':', c1 + 1);
    if (eq == std::string::npos || c1 == std::string::npos || c2 == std::string::npos) {
        error = "--sweep " + text + ": expected NAME=FROM:TO:STEPS, for example conrateE[1]=0.8:0.9:5";
        return false;
    }
    Override from, to;
    if (!parseOverride(text.substr(0, c1), false, from, error)) return false;
    if (!parseOverride(text.substr(0, eq + 1) + text.substr(c1 + 1, c2 - c1 - 1), false, to, error)) return false;
    const std::string stepsText = text.substr(c2 + 1);
    int steps = 0;
    const auto [end, ec] = std::from_chars(stepsText.data(), stepsText.data() + stepsText.size(), steps);
    if (ec != std::errc() || end != stepsText.data() + stepsText.size() || steps < 1 || steps > 1001) {
        error = "--sweep " + text + ": STEPS, the number of values, must be a whole number from 1 to 1001";
        return false;
    }
    ov = from;
    for (int i = 0; i < steps; ++i) {
        const double v = steps == 1 ? from.number : from.number + i * ((to.number - from.number) / (steps - 1));
        // The shortest text that the reader takes as the same stored value;
        // a whole number is written as such.
        char buf[64];
        if (v == std::floor(v) && std::fabs(v) < 1e15) {
            std::snprintf(buf, sizeof buf, "%.0f", v);
        } else {
            const auto r = std::to_chars(buf, buf + sizeof buf - 1, RealStored(v));
            *r.ptr = '\0';
        }
        values.push_back(buf);
    }
    return true;
}

struct SweepResult {
    int status = 0;
    std::string row, header, message;
};

// What fn writes, as a string.
template <class F> std::string text(F fn) {
    char* buf = nullptr;
    std::size_t len = 0;
    std::FILE* f = open_memstream(&buf, &len);
    if (!f) throw std::bad_alloc();
    fn(f);
    std::fclose(f);
    std::string s(buf, len);
    std::free(buf);
    return s;
}

// One run of a sweep: the complete computation without output files.
void sweepRun(const std::vector<Override>& changes, const Override& swept, const std::string& value,
              const std::string& quantity, bool wantHeader, SweepResult& out) {
    const ModelCopy model = newModel();
    char* buf = nullptr;
    std::size_t len = 0;
    std::FILE* msg = open_memstream(&buf, &len);
    Overrides ov;
    ov.items = changes;
    Override o = swept;
    o.valueText = value;
    o.number = std::strtod(value.c_str(), nullptr);
    ov.items.push_back(o);
    Run run(*model);
    run.con = discardStream();
    run.msg = msg ? msg : discardStream();
    run.outputs = false;
    run.threads = 1;
    run.overrides = &ov;
    std::string error;
    if (!locateChanges(run, error)) {
        out.status = kUsage;
        out.message = "\n" + error + "\n";
    } else if (runProgram(run, nullptr) != 0) {
        out.status = 1;
        if (msg) {
            std::fflush(msg);
            out.message.assign(buf ? buf : "", len);
        }
    } else {
        out.header = wantHeader ? text([&](std::FILE* f) { return exporting::writeSweepHeader(*model, quantity, f); })
                                : std::string();
        out.row = text([&](std::FILE* f) { return exporting::writeSweepRow(*model, value, f); });
    }
    if (msg) std::fclose(msg);
    std::free(buf);
}

int runSweep(const Options& o, const std::vector<Override>& changes) {
    Override swept;
    std::vector<std::string> values;
    std::string error;
    if (!sweepValues(o.sweep, swept, values, error)) return usage(error);
    for (const Override& c : changes)
        if (c.name == swept.name) return usage(swept.name + " is both changed and swept");

    std::vector<SweepResult> results(values.size());
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i; (i = next.fetch_add(1)) < values.size();)
            sweepRun(changes, swept, values[i], swept.name, i == 0, results[i]);
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < cores && t < values.size(); ++t) threads.emplace_back(work);
    work();
    for (auto& t : threads) t.join();

    for (std::size_t i = 0; i < values.size(); ++i)
        if (results[i].status != 0) {
            std::fprintf(stderr, "karvel1: the sweep stops at %s = %s:%s", swept.name.c_str(), values[i].c_str(),
                         results[i].message.c_str());
            return results[i].status;
        }

    std::FILE* out = stdout;
    if (!o.csv.empty()) {
        errno = 0;
        out = std::fopen(o.csv.c_str(), "w");
        if (!out) {
            std::fprintf(stderr, "karvel1: the file %s cannot be created (%s).\n", o.csv.c_str(), std::strerror(errno));
            return 1;
        }
    }
    std::fputs(results[0].header.c_str(), out);
    for (const SweepResult& r : results) std::fputs(r.row.c_str(), out);
    bool ok = std::fflush(out) == 0 && !std::ferror(out);
    if (out != stdout) ok = std::fclose(out) == 0 && ok;
    if (!ok) {
        std::fprintf(stderr, "karvel1: the sweep table cannot be written (%s).\n", std::strerror(errno));
        return 1;
    }
    return 0;
}

// karvel1 --list: the changeable numbers of the inputs, without a run.
int listInputs(const Options& o, Model& model) {
    Overrides ov;
    Run run(model);
    run.msg = stderr;
    if (!traceInputs(run, ov)) return 1;
    if (o.json.empty()) return writeInputList(ov, model, stdout) ? 0 : 1;
    run.con = stdout;
    writeOutput(run, o.json, "list of the input numbers",
                [&](std::FILE* f) { return writeInputListJson(ov, model, f); });
    return 0;
}

}  // namespace

int runCommandLine(int argc, char** argv, Model& model) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    if (argc <= 1) {
        // The interactive program: the prompt for the results-file name.
        Run run(model);
        run.threads = int(cores);
        return runProgram(run, stdin);
    }

    Options o;
    CLI::App app{"Bio-economic model of a sheep production system and the economic weights of its traits.\n"
                 "Without options the program asks for the name of the results file.",
                 "karvel1"};
    app.set_version_flag("--version", std::string("karvel1 ") + exporting::kProgramVersion);
    app.add_option("directory", o.dir, "Working directory with the input files (default: the current one)")
        ->check(CLI::ExistingDirectory);
    app.add_option("-o,--results", o.results, "Name of the results file (no prompt)")->type_name("NAME");
    app.add_flag("-q,--quiet", o.quiet, "No progress lines; errors and warnings go to standard error");
    app.add_flag("--list", o.list,
                 "List every number of the input files that --set, --scale and --sweep can change (name, value, "
                 "file, line, record, label, unit; with --json FILE as JSON), without a run");
    app.add_option("--csv", o.csv, "Economic weights as a CSV table (with --sweep: the sweep table)")
        ->type_name("FILE");
    app.add_option("--json", o.json, "Weights, totals, flock figures and system variables as JSON")
        ->type_name("FILE");
    app.add_option("--set", o.sets, "Change an input value, e.g. --set mwE[1]=75 (repeatable)")
        ->type_name("NAME=VALUE")
        ->allow_extra_args(false);
    app.add_option("--scale", o.scales, "Multiply an input value, e.g. --scale conrateE[1]=1.02 (repeatable)")
        ->type_name("NAME=FACTOR")
        ->allow_extra_args(false);
    app.add_option("--sweep", o.sweep,
                   "Whole computation for STEPS values of an input from FROM to TO; one CSV row per value "
                   "(to --csv FILE or standard output)")
        ->type_name("NAME=FROM:TO:STEPS");
    app.add_option("--sd", o.sd, "Table of genetic standard deviations (trait number, sd) for the relative emphasis")
        ->type_name("FILE");
    app.add_option("--chart", o.chart, "Relative emphasis as an SVG bar chart (needs --sd)")->type_name("FILE.svg");
    app.footer("File names are taken in the working directory, as the name typed at the prompt.\n"
               "Exit status: 0 after a complete run, 1 after an error in the inputs or outputs, 2 after wrong usage.");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? 0 : kUsage;
    }

    if (!o.dir.empty()) {
        std::error_code ec;
        std::filesystem::current_path(o.dir, ec);
        if (ec) return usage("the working directory " + o.dir + " cannot be entered (" + ec.message() + ")");
    }
    if (!o.chart.empty() && o.sd.empty()) return usage("--chart needs --sd FILE, the standard deviations of the traits");
    if (!o.sweep.empty() && (!o.results.empty() || !o.json.empty() || !o.chart.empty() || !o.sd.empty()))
        return usage("--sweep writes only its table (to --csv FILE or standard output); -o, --json, --sd and "
                     "--chart cannot go with it");
    std::string error;
    if (!checkOutputNames(o, error)) return usage(error);
    if (o.list) {
        if (!o.results.empty() || !o.csv.empty() || !o.sd.empty() || !o.chart.empty() || !o.sweep.empty() ||
            !o.sets.empty() || !o.scales.empty())
            return usage("--list goes only with --json FILE (the list as JSON)");
        return listInputs(o, model);
    }
    std::vector<Override> changes;
    if (!parseChanges(o, changes, error)) return usage(error);

    if (!o.sweep.empty()) return runSweep(o, changes);

    exporting::SdTable sd;
    if (!o.sd.empty() && !exporting::readSdTable(o.sd, sd, error)) {
        std::fprintf(stderr, "karvel1: %s\n", error.c_str());
        return 1;
    }

    Run run(model);
    run.threads = int(cores);
    if (o.quiet) {
        run.con = discardStream();
        run.msg = stderr;
    }
    if (!o.results.empty()) {
        std::snprintf(run.resName, sizeof run.resName, "%s", o.results.c_str());
        run.askName = false;
    }
    Overrides overrides;
    overrides.items = changes;
    if (!changes.empty()) {
        run.overrides = &overrides;
        if (!locateChanges(run, error)) return usage(error);
    }
    run.afterResults = [&](Run& r) {
        const exporting::SdTable* table = o.sd.empty() ? nullptr : &sd;
        if (!o.csv.empty())
            writeOutput(r, o.csv, "table of the economic weights",
                        [&](std::FILE* f) { return exporting::writeCsv(r.m, table, f); });
        if (!o.json.empty()) {
            const auto changed = changedValues(r);
            writeOutput(r, o.json, "JSON document of the economic weights",
                        [&](std::FILE* f) { return exporting::writeJson(r.m, table, changed, f); });
        }
        if (!o.chart.empty())
            writeOutput(r, o.chart, "chart of the relative emphasis",
                        [&](std::FILE* f) { return exporting::writeChart(r.m, sd, f); });
    };
    return runProgram(run, stdin);
}
