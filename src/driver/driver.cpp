#include "driver/driver.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "driver/evaluate.h"
#include "context/run.h"
#include "context/system_files.h"
#include "driver/weights_run.h"
#include "herd/herd.h"
#include "input/inputs.h"
#include "input/overrides.h"
#include "input/paras.h"
#include "input/reader.h"
#include "model/model.h"
#include "report/dump.h"
#include "report/results.h"

namespace {

void printBanner(Run& run) {
    std::fputs("\n\n\nRunning KARVEL1 Version 1.1.6, 2010\n", run.con);
    std::fputs("Authors: the KARVEL1 development group\n", run.con);
    std::fputs("         Bio-economic model of a sheep production system\n", run.con);
    std::fputs("         and economic weights of its traits\n", run.con);
    std::fputs("         Reports of faults: see the README of the program\n\n\n", run.con);
}

// Reads the name of the results file: the first word typed.  Whatever else
// stands on the line is not used, and the user is told so.
void readResultsName(Run& run, std::FILE* input) {
    const int maxLen = int(sizeof run.resName) - 1;
    int c;
    do c = std::fgetc(input);
    while (c != EOF && std::isspace(c));
    int n = 0;
    while (c != EOF && !std::isspace(c)) {
        if (n == maxLen)
            failCheck(run,
                      "The name of the file for writing results is too long.\n"
                      "  Use a name of at most %d characters and restart the program.\n",
                      maxLen);
        run.resName[n++] = char(c);
        c = std::fgetc(input);
    }
    run.resName[n] = '\0';
    if (n == 0)
        failCheck(run,
                  "No name of the file for writing results was given.\n"
                  "  Restart the program and type the name of the file.\n");
    bool more = false;
    while (c != EOF && c != '\n') {
        if (!std::isspace(c)) more = true;
        c = std::fgetc(input);
    }
    if (more)
        std::fprintf(run.con, "Only the first word, %s, is used as the name of the results file.\n",
                     printable(run.resName).c_str());
    for (int i = 0; i < n; ++i)
        if (std::iscntrl(static_cast<unsigned char>(run.resName[i])))
            failCheck(run,
                      "The name of the file for writing results, %s, holds a control character.\n"
                      "  Restart the program and type a name of letters, digits and punctuation.\n",
                      printable(run.resName).c_str());
}

// The files that the program reads or writes itself.
constexpr const char* kDumpFiles[] = {"CHECKS", "CHECKS1"};

bool sameName(const std::string& a, const char* b) {
    if (a.size() != std::strlen(b)) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

const char* ownFileNamed(const char* name) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path p = fs::path(name).lexically_normal();
    const fs::path dir = p.parent_path();
    const bool here = dir.empty() || fs::equivalent(dir, ".", ec);
    const auto clashes = [&](const char* own) {
        return (here && sameName(p.filename().string(), own)) ||
               (fs::exists(p, ec) && fs::exists(own, ec) && fs::equivalent(p, own, ec));
    };
    for (const char* own : kSystemFiles)
        if (clashes(own)) return own;
    for (const char* own : kDumpFiles)
        if (clashes(own)) return own;
    return nullptr;
}

namespace {

// The results file may not be one of the program's own files: writing it
// would destroy an input or mix the results into a dump.  Compared without
// regard to case (the files may come from a system that ignores case), in
// the working directory, and also through links.
void checkResultsName(Run& run) {
    if (const char* own = ownFileNamed(run.resName))
        failCheck(run,
                  "The results file cannot be named %s: that is the program's file %s,\n"
                  "  which would be overwritten. Restart the program and type another name.\n",
                  printable(run.resName).c_str(), own);
}

// An output file that cannot be opened, written or closed stops the run.
[[noreturn]] void outputFailed(Run& run, const char* name, int err) {
    failCheck(run,
              "The file %s cannot be written in the working directory%s%s%s.\n"
              "  Make room on the disk or make the file and the directory writable,\n"
              "  and restart the program.\n",
              printable(name).c_str(), err ? " (" : "", err ? std::strerror(err) : "", err ? ")" : "");
}

// A write error of an output file that is still open.
void checkWritten(Run& run, std::FILE* f, const char* name) {
    if (std::fflush(f) != 0 || std::ferror(f)) outputFailed(run, name, errno);
}

void closeOutput(Run& run, std::FILE*& f, const char* name) {
    errno = 0;
    const bool failed = std::ferror(f) != 0;
    const int err = errno;
    std::FILE* g = f;
    f = nullptr;
    errno = 0;
    if (std::fclose(g) != 0 || failed) outputFailed(run, name, err ? err : errno);
}

// Every output of a run (the results file, the dumps, the files written
// after the results) is written under a unique temporary name in the
// directory of its final name and renamed to that name, which is atomic
// within a directory, only when the run completes: a run that stops leaves
// the files of an earlier run as they were.  A name that is taken by
// something other than a plain file (a device such as /dev/null, a pipe, a
// symbolic link) is written in place, as before: a rename would replace
// the device or the link by a plain file.

// The mode fopen gives a new file, 0666 less the umask (mkstemp gives 0600).
mode_t newFileMode() {
    static const mode_t mode = [] {
        const mode_t mask = umask(0);
        umask(mask);
        return mode_t(0666 & ~mask);
    }();
    return mode;
}

// The template of the temporary name of output `name`: its directory, its
// file name (shortened to leave room in the 255 bytes of a file name) and
// ".tmp-XXXXXX".
std::string tempTemplate(const std::string& name) {
    constexpr char kSuffix[] = ".tmp-XXXXXX";
    constexpr std::size_t kMaxBase = 255 - (sizeof kSuffix - 1);
    const std::size_t slash = name.rfind('/');
    const std::size_t base = slash == std::string::npos ? 0 : slash + 1;
    return name.substr(0, base) + name.substr(base, kMaxBase) + kSuffix;
}

// Opens the output `name` for writing: a plain file, or a name not taken
// yet, under a temporary name returned in temp; anything else (and a file
// whose directory takes no new file) in place, temp empty.  Returns null
// with errno set where the output cannot be created (a missing or
// read-only directory, a directory or a read-only file of that name); then
// nothing has been created.
std::FILE* openOutput(const std::string& name, std::string& temp) {
    temp.clear();
    struct stat st;
    mode_t mode = newFileMode();
    bool exists = false;
    if (lstat(name.c_str(), &st) != 0) {
        if (errno != ENOENT) return std::fopen(name.c_str(), "w");
    } else if (!S_ISREG(st.st_mode)) {
        return std::fopen(name.c_str(), "w");
    } else {
        // The file the run will replace must be writable, as it had to be
        // when it was written in place; nothing is changed by the test.
        const int fd = open(name.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) return nullptr;
        close(fd);
        mode = st.st_mode & 07777;
        exists = true;
    }
    std::string t = tempTemplate(name);
    const int fd = mkostemp(t.data(), O_CLOEXEC);
    // A writable file in a directory that takes no new file is written in
    // place, as it always could be.
    if (fd < 0) return exists ? std::fopen(name.c_str(), "w") : nullptr;
    std::FILE* f = fchmod(fd, mode) == 0 ? fdopen(fd, "w") : nullptr;
    if (!f) {
        const int err = errno;
        close(fd);
        unlink(t.c_str());
        errno = err;
        return nullptr;
    }
    temp = t;
    return f;
}

// openOutput for an output of the run, whose temporary name run.pending
// records until the run ends.
std::FILE* createOutput(Run& run, const std::string& name) {
    std::string temp;
    std::FILE* f = openOutput(name, temp);
    if (f && !temp.empty()) run.pending.push_back({temp, name, "", nullptr});
    return f;
}

// A stopped run keeps the output `name` as `kept` instead of removing it,
// and names it in a line: `note` followed by that name.
void keepIfStopped(Run& run, const std::string& name, const std::string& kept, const char* note) {
    for (Run::PendingFile& p : run.pending)
        if (p.name == name) {
            p.kept = kept;
            p.keptNote = note;
        }
}

// The run is complete: every output takes its name.
void commitOutputs(Run& run) {
    for (Run::PendingFile& p : run.pending) {
        if (std::rename(p.temp.c_str(), p.name.c_str()) != 0) outputFailed(run, p.name.c_str(), errno);
        p.temp.clear();
    }
    run.pending.clear();
}

// The run stopped: the outputs that it keeps take their kept names and are
// named after the error message; the other temporary files are removed.
void keepStoppedOutputs(Run& run) {
    for (const Run::PendingFile& p : run.pending) {
        if (p.temp.empty()) continue;
        if (!p.kept.empty() && std::rename(p.temp.c_str(), p.kept.c_str()) == 0)
            std::fprintf(run.messages(), "%s%s.\n", p.keptNote, printable(p.kept.c_str()).c_str());
        else
            std::remove(p.temp.c_str());
    }
    run.pending.clear();
}

// Writes the output with `write` into f, opened for it, and closes f.
void writeAndClose(Run& run, const char* name, std::FILE* f, const std::function<bool(std::FILE*)>& write) {
    struct Closer {
        std::FILE*& f;
        ~Closer() {
            if (f) std::fclose(f);
        }
    } closer{f};
    errno = 0;
    if (!write(f)) outputFailed(run, name, errno);
    closeOutput(run, f, name);
}

}  // namespace

void writeOutputFile(Run& run, const char* name, const std::function<bool(std::FILE*)>& write) {
    // Written within a run whose outputs wait for its end, the file waits
    // with them; otherwise it takes its name as soon as it is complete.
    const bool withRun = !run.pending.empty();
    errno = 0;
    std::FILE* f = createOutput(run, name);
    if (!f) outputFailed(run, name, errno);
    if (withRun) {
        writeAndClose(run, name, f, write);
        return;
    }
    try {
        writeAndClose(run, name, f, write);
    } catch (const RunStopped&) {
        keepStoppedOutputs(run);
        throw;
    }
    commitOutputs(run);
}

bool writeWholeFile(const std::string& name, const std::function<bool(std::FILE*)>& write, std::string& error) {
    std::string temp;
    errno = 0;
    std::FILE* f = openOutput(name, temp);
    const auto fail = [&](const char* what, int err) {
        if (!temp.empty()) std::remove(temp.c_str());
        error = "the file " + printable(name.c_str()) + " cannot be " + what + " (" + std::strerror(err ? err : EIO) + ")";
        return false;
    };
    if (!f) return fail("created", errno);
    errno = 0;
    bool ok = write(f) && std::fflush(f) == 0 && !std::ferror(f);
    const int err = errno;
    ok = std::fclose(f) == 0 && ok;
    if (!ok) return fail("written", err ? err : errno);
    if (!temp.empty() && std::rename(temp.c_str(), name.c_str()) != 0) return fail("written", errno);
    return true;
}

namespace {

void writeDumpFile(Run& run, const char* name) {
    writeOutputFile(run, name, [&](std::FILE* f) {
        writeDump(run.m, f, run.threads);
        return true;
    });
}

// A quantity that is not a finite number must not reach a dump or the
// results file: inputs of extreme size (or a combination that divides by
// zero) stop the run here.
void checkFinite(Run& run, const char* what) {
    char name[128];
    if (!findNonFinite(run.m, name, sizeof name)) return;
    failCheck(run,
              "%s gives a value that is not a finite number for %s.\n"
              "  Look for inputs of extreme size (prices, costs, labour, weights, rates)\n"
              "  in INPUTS01.TXT to INPUTS14.TXT, correct them and restart the program.\n",
              what, name);
}

// The note of the results file on the input values changed from the
// command line.
void writeChangeNote(Run& run) {
    if (!run.overrides || run.overrides->items.empty()) return;
    std::fputs("Input values changed from the command line (the echo of the input files shows them):\n", run.res);
    for (const Override& o : run.overrides->items)
        if (o.at.token < 0)
            std::fprintf(run.res, "  %s (%s %s): not made, the inputs stop the run before its number\n", o.name.c_str(),
                         o.option.c_str(), o.valueText.c_str());
        else
            std::fprintf(run.res, "  %s = %s (%s %s; %s holds %s in line %d, record %d)\n", o.name.c_str(),
                         o.usedText.c_str(), o.option.c_str(), o.valueText.c_str(), o.at.file.c_str(),
                         o.at.text.c_str(), o.at.line, o.at.record);
    std::fputs("\n", run.res);
}

// Every change of an input value asked for was made in this run.
void checkChangesMade(Run& run) {
    if (!run.overrides) return;
    for (const Override& o : run.overrides->items)
        if (!o.applied)
            failCheck(run,
                      "The change of %s could not be made: its number was not read from %s\n"
                      "  in this run. Check the input files and restart the program.\n",
                      o.name.c_str(), o.at.file.empty() ? "an input file" : o.at.file.c_str());
}

// The start of a run up to the reading of the inputs.
void openRun(Run& run, std::FILE* input) {
    resetModel(run.m);
    printBanner(run);

    run.texts = openInput(run, "TEXTS_OUT.TXT", false);
    run.texts.fragments = true;

    if (!run.outputs) {
        run.res = run.resultsTo ? run.resultsTo : discardStream();
    } else {
        if (run.askName) {
            std::fputs("Please enter the name of the file for writing results\n", run.con);
            std::fflush(run.con);
            readResultsName(run, input);
        }
        checkResultsName(run);
        errno = 0;
        run.res = createOutput(run, run.resName);
        if (!run.res)
            failCheck(run,
                      "The results file %s cannot be created%s%s%s.\n"
                      "  Check the name and the working directory and restart the program.\n",
                      printable(run.resName).c_str(), errno ? " (" : "", errno ? std::strerror(errno) : "",
                      errno ? ")" : "");
        keepIfStopped(run, run.resName, std::string(run.resName) + ".stopped",
                      "The results written up to the error are in the file ");
    }

    writeChangeNote(run);
    outputrw(run.texts, run.res);
}

}  // namespace

void runToBase(Run& run, std::FILE* input) {
    openRun(run, input);
    readParas(run);

    readAllInputs(run);
    checkWritten(run, run.res, run.resName);

    growthConstants(run);
    evaluateModel(run);
    checkChangesMade(run);
    checkFinite(run, "The base evaluation");

    if (!run.outputs) return;
    std::fputs("Writing results from loop 1 to file CHECKS\n", run.con);
    writeDumpFile(run, "CHECKS");
}

int runFromBase(Run& run) {
    economicWeights(run);
    checkFinite(run, "The computation of the economic weights");
    if (!run.outputs) {
        if (run.resultsTo) {
            writeResults(run);
            outputrw(run.texts, run.res);
        }
        return 0;
    }

    std::fprintf(run.con, "Writing results from loop %d to file CHECKS1\n", run.m.zr);
    writeDumpFile(run, "CHECKS1");
    keepIfStopped(run, "CHECKS1", "CHECKS1.stopped", "The values of all variables are complete in the file ");

    writeResults(run);
    checkWritten(run, run.res, run.resName);

    outputrw(run.texts, run.res);
    closeInput(run.texts);
    closeOutput(run, run.res, run.resName);
    if (run.afterResults) run.afterResults(run);
    commitOutputs(run);

    std::fputs("\nThank you for using the program KARVEL1.\n", run.con);
    std::fprintf(run.con, "The results are given in the file %s.\n", run.resName);
    std::fputs("The values of all variables are given in the file CHECKS1.\n", run.con);
    printElapsed(run);
    return 0;
}

bool evaluateInputs(Run& run, Overrides* ov) {
    Run probe(run.m);
    probe.con = discardStream();
    probe.msg = run.msg ? run.msg : discardStream();
    probe.outputs = false;
    probe.overrides = ov;
    bool complete = true;
    try {
        openRun(probe, nullptr);
        readParas(probe);
        readAllInputs(probe);
        // The carcass-class files are read in the base evaluation.
        growthConstants(probe);
        evaluateModel(probe);
    } catch (const RunStopped&) {
        complete = false;
    }
    closeInput(probe.texts);
    // The caller's run learns where the numbers were read.
    run.readPlaces = std::move(probe.readPlaces);
    run.placesLabelled = probe.placesLabelled;
    return complete;
}

bool traceInputs(Run& run, Overrides& ov) {
    ov.startTracing();
    ov.tracing = true;
    const bool complete = evaluateInputs(run, &ov);
    ov.tracing = false;
    return complete;
}

bool locateChanges(Run& run, std::string& error) {
    Overrides& ov = *run.overrides;
    // Each reading finds the numbers with the changes found before made, so
    // that a change that alters the layout of later records (a count of
    // cycles or classes) moves the places of the changes after it.  The
    // places settle after at most one reading per change.
    for (std::size_t pass = 0; pass <= ov.items.size() + 1; ++pass) {
        Run quiet(run.m);
        // A reading that stops early leaves the changes it did not reach
        // unplaced, so that a place found by an earlier reading, which may
        // now hold another number, is not used.  Once the places settle,
        // the run stops where the reading stopped, and shows why.
        const bool complete = traceInputs(quiet, ov);
        bool same = true;
        if (!ov.locate(complete, error, same)) return false;
        if (!ov.prepare(error)) return false;
        if (same && pass > 0) return true;
    }
    return true;
}

int runProgram(Run& run, std::FILE* input) {
    try {
        runToBase(run, input);
        return runFromBase(run);
    } catch (const RunStopped&) {
        // The error message is on the console; the files are closed as
        // they are, the outputs of earlier runs stay, and the run ends with
        // the elapsed time.
        closeInput(run.texts);
        if (run.res && run.res != discardStream() && run.res != run.resultsTo) std::fclose(run.res);
        run.res = nullptr;
        keepStoppedOutputs(run);
        printElapsed(run);
        std::fflush(run.con);
        return 1;
    }
}
