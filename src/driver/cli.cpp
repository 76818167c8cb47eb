#include "driver/cli.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "driver/driver.h"
#include "driver/input_list.h"
#include "driver/system_run.h"
#include "context/run.h"
#include "init/new_system.h"
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
    std::string csv, json, sd, chart;
    std::vector<std::string> sets, scales, sweeps;
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
    // The table of standard deviations is an input of the run.
    if (!o.sd.empty()) seen.insert(std::filesystem::path(o.sd).lexically_normal().string());
    for (const auto& [opt, name] : outs) {
        if (name->empty()) continue;
        if (const char* own = ownFileNamed(name->c_str())) {
            error = std::string(opt) + " " + *name + ": that is the program's file " + own +
                    ", which would be overwritten";
            return false;
        }
        const std::string key = std::filesystem::path(*name).lexically_normal().string();
        if (!seen.insert(key).second) {
            error = std::string(opt) + " " + *name +
                    (!o.sd.empty() && key == std::filesystem::path(o.sd).lexically_normal().string()
                         ? ": that is the table of standard deviations (--sd), which would be overwritten"
                         : ": the same file is named for two outputs");
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

// The files written after the whole computation (--csv, --json, --chart)
// can be created in their directories: found before the computation, not
// after it.  A probe file is created there and removed again.
bool checkOutputDirectories(const Options& o, std::string& error) {
    for (const std::string* name : {&o.csv, &o.json, &o.chart}) {
        if (name->empty()) continue;
        const std::filesystem::path dir = std::filesystem::path(*name).parent_path();
        std::string probe = ((dir.empty() ? std::filesystem::path(".") : dir) / ".karvel1-probe-XXXXXX").string();
        const int fd = mkstemp(probe.data());
        if (fd < 0) {
            error = "the file " + printable(name->c_str()) + " cannot be created (" + std::strerror(errno) + ")";
            return false;
        }
        close(fd);
        std::remove(probe.c_str());
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


// A sweep runs at most this many computations in all (the product of the
// numbers of values of its --sweep options): a bound on the time and on the
// table, which is kept in memory until every run has ended.
constexpr long kMaxSweepRuns = 10000;

// A swept quantity: the change (option "--sweep", for the messages) and the
// value texts of its runs.
struct Swept {
    Override change;
    std::vector<std::string> values;
};

// The sweep NAME=FROM:TO:STEPS as the value texts of its runs.
bool sweepValues(const std::string& text, Swept& out, std::string& error) {
    const std::size_t eq = text.find('=');
    const std::size_t c1 = text.find(':', eq == std::string::npos ? 0 : eq);
    const std::size_t c2 = c1 == std::string::npos ? c1 : text.find(':', c1 + 1);
    if (eq == std::string::npos || c1 == std::string::npos || c2 == std::string::npos) {
        error = "--sweep " + text + ": expected NAME=FROM:TO:STEPS, for example conrateE[1]=0.8:0.9:5";
        return false;
    }
    // The ends are parsed as changes NAME=FROM and NAME=TO; their messages
    // name the whole option.
    const auto parseEnd = [&](const std::string& part, Override& o) {
        if (parseOverride(part, false, o, error)) return true;
        const std::string asSet = "--set " + part;
        if (error.compare(0, asSet.size(), asSet) == 0) error = "--sweep " + text + error.substr(asSet.size());
        return false;
    };
    Override from, to;
    if (!parseEnd(text.substr(0, c1), from)) return false;
    if (!parseEnd(text.substr(0, eq + 1) + text.substr(c1 + 1, c2 - c1 - 1), to)) return false;
    const std::string stepsText = text.substr(c2 + 1);
    int steps = 0;
    const auto [end, ec] = std::from_chars(stepsText.data(), stepsText.data() + stepsText.size(), steps);
    if (ec != std::errc() || end != stepsText.data() + stepsText.size() || steps < 1 || steps > kMaxSweepRuns) {
        error = "--sweep " + text + ": STEPS, the number of values, must be a whole number from 1 to " +
                std::to_string(kMaxSweepRuns);
        return false;
    }
    out.change = from;
    out.change.option = "--sweep";
    out.values = sweepSteps(from.number, to.number, steps);
    return true;
}

// Every --sweep option; the quantities must differ from each other and
// from those of --set and --scale, and the grid must stay within its bound.
bool parseSweeps(const Options& o, const std::vector<Override>& changes, std::vector<Swept>& out,
                 std::string& error) {
    long runs = 1;
    for (const std::string& text : o.sweeps) {
        Swept sw;
        if (!sweepValues(text, sw, error)) return false;
        for (const Override& c : changes)
            if (c.name == sw.change.name) {
                error = sw.change.name + " is both changed and swept";
                return false;
            }
        for (const Swept& other : out)
            if (other.change.name == sw.change.name) {
                error = sw.change.name + " is swept twice";
                return false;
            }
        runs *= long(sw.values.size());
        if (runs > kMaxSweepRuns) {
            error = "--sweep: the grid of the sweeps has more than " + std::to_string(kMaxSweepRuns) +
                    " runs; take fewer values";
            return false;
        }
        out.push_back(sw);
    }
    return true;
}

// The value texts of run i of the grid: the last sweep varies fastest.
std::vector<std::string> gridValues(const std::vector<Swept>& sweeps, std::size_t i) {
    std::vector<std::string> values(sweeps.size());
    for (std::size_t s = sweeps.size(); s-- > 0;) {
        values[s] = sweeps[s].values[i % sweeps[s].values.size()];
        i /= sweeps[s].values.size();
    }
    return values;
}

// One run of a sweep: the complete computation without output files.  A
// change that cannot be made gives status "not made", inputs that stop the
// run give "stopped", each with its message.
void sweepRun(const std::vector<Override>& changes, const std::vector<Swept>& sweeps, const exporting::SdTable* sd,
              exporting::SweepRow& out) {
    std::vector<Override> all = changes;
    for (std::size_t s = 0; s < sweeps.size(); ++s) {
        Override o = sweeps[s].change;
        o.valueText = out.values[s];
        o.number = std::strtod(o.valueText.c_str(), nullptr);
        all.push_back(o);
    }
    const SystemRun run = runSystem(all);
    out.complete = run.status == SystemRun::Status::Complete;
    out.status = out.complete ? "ok" : run.status == SystemRun::Status::NotMade ? "not made" : "stopped";
    // A complete run's message holds its warnings (a negative price, ...).
    out.message = oneLine(run.messages);
    if (out.complete) out.numbers = exporting::sweepNumbers(*run.model, sd);
}

// Says on standard error which runs of a sweep failed (the values of at
// most ten of them) and returns the exit status: 1 if any did.
int reportFailedRuns(const std::vector<Swept>& sweeps, const std::vector<exporting::SweepRow>& rows) {
    constexpr std::size_t kNamed = 10;
    std::size_t failed = 0;
    std::string list;
    for (const exporting::SweepRow& r : rows) {
        if (r.complete || ++failed > kNamed) continue;
        list += failed == 1 ? ": " : "; ";
        for (std::size_t s = 0; s < sweeps.size(); ++s)
            list += (s ? ", " : "") + sweeps[s].change.name + " = " + r.values[s];
        list += " (" + r.status + ")";
    }
    if (failed == 0) return 0;
    if (failed > kNamed) list += "; and " + std::to_string(failed - kNamed) + " more";
    std::fprintf(stderr, "karvel1: %zu of %zu runs of the sweep failed, their rows give the messages%s\n", failed,
                 rows.size(), list.c_str());
    return 1;
}

// The sweep: every run of the grid on the processor's cores, then the
// table (to --csv or standard output); a failed run is a row with its
// message and the sweep goes on.  Exit status 1 if a run failed or the
// table cannot be written.
int runSweep(const Options& o, const std::vector<Override>& changes) {
    std::vector<Swept> sweeps;
    std::string error;
    if (!parseSweeps(o, changes, sweeps, error)) return usage(error);
    exporting::SdTable sdTable;
    if (!o.sd.empty() && !exporting::readSdTable(o.sd, sdTable, error)) {
        std::fprintf(stderr, "karvel1: %s\n", error.c_str());
        return 1;
    }
    const exporting::SdTable* sd = o.sd.empty() ? nullptr : &sdTable;

    std::size_t runs = 1;
    for (const Swept& sw : sweeps) runs *= sw.values.size();
    std::vector<exporting::SweepRow> rows(runs);
    for (std::size_t i = 0; i < runs; ++i) rows[i].values = gridValues(sweeps, i);
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i; (i = next.fetch_add(1)) < runs;) sweepRun(changes, sweeps, sd, rows[i]);
    };
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < cores && t < runs; ++t) threads.emplace_back(work);
    work();
    for (auto& t : threads) t.join();
    // A sweep of which no run could make its changes (a quantity the
    // system does not read, a change asked for twice, a whole number
    // given fractions) is wrong usage: said as such, without a table.
    if (std::all_of(rows.begin(), rows.end(), [](const exporting::SweepRow& r) { return r.status == "not made"; }))
        return usage(rows[0].message);

    std::vector<std::string> notes, names;
    for (const Override& c : changes) notes.push_back(c.option + " " + c.name + "=" + c.valueText);
    for (const Swept& sw : sweeps) names.push_back(sw.change.name);
    const auto write = [&](std::FILE* f) { return exporting::writeSweep(notes, names, sd != nullptr, rows, f); };
    if (o.csv.empty()) {
        if (!write(stdout)) {
            std::fprintf(stderr, "karvel1: the sweep table cannot be written (%s).\n", std::strerror(errno));
            return 1;
        }
    } else if (!writeWholeFile(o.csv, write, error)) {
        std::fprintf(stderr, "karvel1: %s.\n", error.c_str());
        return 1;
    }
    return reportFailedRuns(sweeps, rows);
}

// karvel1 --list: the changeable numbers of the inputs, without a run.
int listInputs(const Options& o, Model& model) {
    Overrides ov;
    Run run(model);
    run.msg = stderr;
    if (!traceInputs(run, ov)) {
        std::fputs("karvel1: --list: the input files stop the reading (the message above says where);\n"
                   "  the list is made once they can be read.\n",
                   stderr);
        return 1;
    }
    if (o.json.empty()) return writeInputList(ov, stdout) ? 0 : 1;
    run.con = stdout;
    writeOutput(run, o.json, "list of the input numbers",
                [&](std::FILE* f) { return writeInputListJson(ov, f); });
    return 0;
}

// karvel1 serve: the server of the web page is the program karvel1-serve,
// beside karvel1 in the build and in libexec/karvel1 where installed; it
// takes the arguments after "serve".
int startServer(int argc, char** argv) {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec)
        for (const std::filesystem::path& server :
             {self.parent_path() / "karvel1-serve",
              self.parent_path().parent_path() / "libexec" / "karvel1" / "karvel1-serve"}) {
            if (access(server.c_str(), X_OK) != 0) continue;
            std::vector<char*> args{const_cast<char*>(server.c_str())};
            for (int i = 2; i < argc; ++i) args.push_back(argv[i]);
            args.push_back(nullptr);
            execv(server.c_str(), args.data());
            std::fprintf(stderr, "karvel1 serve: %s cannot be started (%s).\n", server.c_str(), std::strerror(errno));
            return 1;
        }
    std::fputs("karvel1 serve: the server program karvel1-serve is neither beside karvel1 nor in\n"
               "  ../libexec/karvel1; install it with karvel1 (cmake --install).\n",
               stderr);
    return 1;
}

// "dairy|meat|extensive": the bundled examples, init's default first.
std::string exampleChoices() {
    std::string choices;
    for (std::string_view name : bundledExampleNames()) choices += (choices.empty() ? "" : "|") + std::string(name);
    return choices;
}

// A first run is often made in a directory that holds no system at all:
// after its error stop, say how to get one.
void hintWhenNoSystem() {
    std::error_code ec;
    if (std::filesystem::exists("PARAS.TXT", ec) || std::filesystem::exists("TEXTS_OUT.TXT", ec)) return;
    const std::string here = std::filesystem::current_path(ec).string();
    std::fflush(stdout);
    std::fprintf(stderr,
                 "karvel1: the working directory %s holds no system (no PARAS.TXT, no TEXTS_OUT.TXT).\n"
                 "  Give the directory of a system (karvel1 DIR ...), or write a new one from an example:\n"
                 "  karvel1 init DIR --from %s\n",
                 here.c_str(), exampleChoices().c_str());
}

// A directory name as the shell and karvel1 take it back in the printed
// commands: a name that karvel1 would read as an option or as a command of
// its own gets "./" before it.
std::string shellWord(std::string word) {
    if (!word.empty() && word[0] != '/' && (word[0] == '-' || word == "init" || word == "serve")) word = "./" + word;
    const bool plain = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || std::strchr("_./-+,:@%=", c) != nullptr;
    });
    if (plain) return word;
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// karvel1 init DIR [--from EXAMPLE]: a new working directory from one of the
// example systems built into the program, and what to do next.
int initSystem(int argc, char** argv) {
    const std::vector<std::string_view> examples = bundledExampleNames();
    std::string dir;
    std::string from(examples.front());
    CLI::App app{"Writes a new working directory DIR (created when missing) from an example system built into\n"
                 "the program: PARAS.TXT, the input files the system reads, TEXTS_OUT.TXT, and SD.TXT where the\n"
                 "example has one.  Nothing is overwritten: a directory that already holds any of these files\n"
                 "(or other input files) is refused.  A directory named init or serve is given as ./init.",
                 "karvel1 init"};
    app.add_option("DIR", dir, "The new working directory")->required();
    app.add_option("--from", from, "The example to start from (default: " + from + ")")
        ->type_name("EXAMPLE")
        ->check(CLI::IsMember(std::vector<std::string>(examples.begin(), examples.end())));
    try {
        app.parse(argc - 1, argv + 1);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? 0 : kUsage;
    }

    if (dir.empty()) {
        std::fputs("karvel1 init: DIR is empty: name the new working directory.\n", stderr);
        return kUsage;
    }
    std::vector<std::string> written;
    std::string error;
    if (!writeExampleSystem(from, dir, written, error)) {
        std::fprintf(stderr, "karvel1 init: %s.\n", error.c_str());
        return 1;
    }
    std::printf("Wrote the %s example system into %s:\n", from.c_str(), dir.c_str());
    std::string line;
    for (const std::string& name : written) {
        if (!line.empty() && line.size() + 1 + name.size() > 90) {
            std::printf("%s\n", line.c_str());
            line.clear();
        }
        line += (line.empty() ? "  " : " ") + name;
    }
    std::printf("%s\n", line.c_str());
    const std::string d = shellWord(dir);
    const std::pair<std::string, const char*> steps[] = {
        {"karvel1 " + d + " --list", "the numbers you can change, by name"},
        {"karvel1 " + d + " -o RESULTS.TXT", "run it (results in RESULTS.TXT)"},
        {"karvel1 serve " + d, "the same on a web page"}};
    size_t width = 0;
    for (const auto& [command, what] : steps) width = std::max(width, command.size());
    std::printf("Next:\n");
    for (const auto& [command, what] : steps) std::printf("  %-*s  %s\n", int(width), command.c_str(), what);
    std::printf("Make it your own system by changing the numbers in the files (each is followed\n"
                "by its label and unit), or for one run with --set NAME=VALUE (karvel1 --help).\n");
    return 0;
}

}  // namespace

int runCommandLine(int argc, char** argv, Model& model) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    if (argc >= 2 && std::strcmp(argv[1], "serve") == 0) return startServer(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "init") == 0) return initSystem(argc, argv);
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
                 "file, line, record, label, unit, and the range: min, max; with --json FILE as JSON), without a run");
    app.add_option("--csv", o.csv, "Economic weights as a CSV table (with --sweep: the sweep table)")
        ->type_name("FILE");
    app.add_option("--json", o.json, "Weights, totals, flock figures and system variables as JSON")
        ->type_name("FILE");
    app.add_option("--set", o.sets, "Change an input number by the name --list shows, e.g. --set mwE[1]=75; an index * stands for "
                   "every element the system reads (repeatable)")
        ->type_name("NAME=VALUE")
        ->allow_extra_args(false);
    app.add_option("--scale", o.scales, "Multiply an input number, e.g. --scale conrateE[1]=1.02 or --scale 'prfE[*][1]=1.2' (repeatable)")
        ->type_name("NAME=FACTOR")
        ->allow_extra_args(false);
    app.add_option("--sweep", o.sweeps,
                   "Whole computation for STEPS values of an input from FROM to TO; one CSV row per value "
                   "(to --csv FILE or standard output); repeated: every combination of the values")
        ->type_name("NAME=FROM:TO:STEPS")
        ->allow_extra_args(false);
    app.add_option("--sd", o.sd, "Table of genetic standard deviations (trait number, sd) for the relative emphasis")
        ->type_name("FILE");
    app.add_option("--chart", o.chart, "Relative emphasis as an SVG bar chart (needs --sd)")->type_name("FILE.svg");
    app.footer("karvel1 init DIR [--from " + exampleChoices() +
               "] writes a new working directory from an example\n"
               "system (karvel1 init --help).\n"
               "karvel1 serve [DIR] [--port N] serves a web page for the working directory on 127.0.0.1\n"
               "(karvel1 serve --help).\n"
               "File names are taken in the working directory, as the name typed at the prompt.\n"
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
    if (!o.sweeps.empty() && (!o.results.empty() || !o.json.empty() || !o.chart.empty()))
        return usage("--sweep writes only its table (to --csv FILE or standard output); -o, --json and "
                     "--chart cannot go with it");
    std::string error;
    if (!checkOutputNames(o, error)) return usage(error);
    if (o.list) {
        if (!o.results.empty() || !o.csv.empty() || !o.sd.empty() || !o.chart.empty() || !o.sweeps.empty() ||
            !o.sets.empty() || !o.scales.empty())
            return usage("--list goes only with --json FILE (the list as JSON)");
        const int status = listInputs(o, model);
        if (status != 0) hintWhenNoSystem();
        return status;
    }
    std::vector<Override> changes;
    if (!parseChanges(o, changes, error)) return usage(error);
    if (!checkOutputDirectories(o, error)) {
        std::fprintf(stderr, "karvel1: %s.\n", error.c_str());
        return 1;
    }

    if (!o.sweeps.empty()) return runSweep(o, changes);

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
    run.afterResults = [&](Run& r) {
        const exporting::SdTable* table = o.sd.empty() ? nullptr : &sd;
        if (!o.csv.empty())
            writeOutput(r, o.csv, "table of the economic weights",
                        [&](std::FILE* f) { return exporting::writeCsv(r.m, table, f); });
        if (!o.json.empty()) {
            const auto changed = changedValues(r.overrides ? r.overrides->items : std::vector<Override>{});
            writeOutput(r, o.json, "JSON document of the economic weights",
                        [&](std::FILE* f) { return exporting::writeJson(r.m, table, changed, f); });
        }
        if (!o.chart.empty())
            writeOutput(r, o.chart, "chart of the relative emphasis",
                        [&](std::FILE* f) { return exporting::writeChart(r.m, sd, f); });
    };
    Overrides overrides;
    overrides.items = changes;
    const SystemRun::Status status = runWithChanges(run, overrides, true, stdin, error);
    if (status == SystemRun::Status::NotMade) return usage(error);
    if (status != SystemRun::Status::Complete) hintWhenNoSystem();
    return status == SystemRun::Status::Complete ? 0 : 1;
}
