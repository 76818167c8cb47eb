// The run context: the model state, the open files and the counters that the
// driver owns for the whole run, and the common error stop.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "context/in_file.h"

struct Model;
class Overrides;

struct Run {
    Model& m;
    std::FILE* con = stdout;      // console: progress lines, warnings, errors
    InFile texts;                 // TEXTS_OUT.TXT, open for reading for the whole run
    std::FILE* res = nullptr;     // the results file
    char resName[256] = {};       // name of the results file, as typed
    int fileNo = 0;               // number of the input file being echoed
    int sectionNo = 0;            // section number of its echo (2.sectionNo)
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    int threads = 1;              // threads that share the evaluations of the economic weights
    // An output file written under a temporary name beside its final one
    // until the run completes (driver.cpp: createOutput).
    struct PendingFile {
        std::string temp;          // the temporary name (unique, made by mkstemp)
        std::string name;          // the name it takes when the run completes
        std::string kept;          // the name a stopped run keeps it under ("": removed)
        const char* keptNote = nullptr;  // the line that names `kept` after the error message (%s)
    };
    std::vector<PendingFile> pending;  // in the order written; empty after the run

    // Set from the command line:
    std::FILE* msg = nullptr;        // error messages and warnings (null: the console)
    bool askName = true;             // ask for the results-file name (else resName is given)
    bool outputs = true;             // write the results file and the dumps
    std::FILE* resultsTo = nullptr;  // without outputs: the stream that takes the results file (else none)
    Overrides* overrides = nullptr;  // input values changed by name
    std::function<void(Run&)> afterResults;  // more output files, written after the results file

    // Where the numbers of the input files stored into the model state were
    // read, in reading order (for an element stored twice the later place
    // counts), for the messages of checks that find a fault in values read
    // earlier.  The label is that of the record, once its texts are read.
    struct ReadPlace {
        std::size_t offset;  // of the element in Model
        std::string file;
        int line, record;
        std::string label;
    };
    std::vector<ReadPlace> readPlaces;
    std::size_t placesLabelled = 0;  // readPlaces before this one have their label

    std::FILE* messages() const { return msg ? msg : con; }

    explicit Run(Model& model) : m(model) {}
};

// The text with every control character written as \xNN, for messages
// that repeat what a user typed or what a file holds.
std::string printable(const char* text);

// A stream that discards what is written to it (the console of runs that
// show nothing).
std::FILE* discardStream();

// Writes the elapsed-time line that ends every run.
void printElapsed(Run& run);

// The common error stop: throws RunStopped, which unwinds the run to the
// driver (runProgram), where the files are closed, the elapsed-time line is
// written and the exit status becomes non-zero.  Nothing after the failing
// check runs; the results file keeps what has been written so far.
struct RunStopped {};
[[noreturn]] void stopRun(Run& run);

// Prints "\n\n\nError message:\n" followed by the formatted text on the
// console, then stops the run.
[[noreturn]] void failCheck(Run& run, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

// Where the element of the model state at `element` was read from an input
// file: "INPUTS03.TXT, record 5 (line 12, <label>)"; "" for an element that
// no input file holds.
std::string placeOf(const Run& run, const void* element);

// failCheck for a fault in values read from the input files: the message is
// followed by the line "  Where: <placeOf(element)>." that names the file,
// record and line of the element (not where no input file holds it).
[[noreturn]] void failCheckAt(Run& run, const void* element, const char* fmt, ...)
    __attribute__((format(printf, 3, 4)));
