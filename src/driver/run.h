// The run context: the model state, the open files and the counters that the
// driver owns for the whole run, and the common error stop.
#pragma once

#include <chrono>
#include <cstdio>

#include "input/reader.h"

struct Model;

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
    bool checks1Written = false;  // CHECKS1 is complete (said when a later stop ends the run)
    bool worker = false;          // a helper run of the economic weights (see stopRun)

    explicit Run(Model& model) : m(model) {}
};

// Writes the elapsed-time line that ends every run.
void printElapsed(Run& run);

// The common error stop: writes the elapsed-time line and ends the program
// with a non-zero exit status.  Nothing after the failing check runs; the
// results file keeps what has been written so far.
//
// In a helper run that evaluates slots of the economic weights on its own
// copy of the model, the stop instead throws StopRequest: the message is
// already on the helper's console, and the driver ends the program when it
// replays that console in the order of the evaluations.
[[noreturn]] void stopRun(Run& run);
struct StopRequest {};

// Prints "\n\n\nError message:\n" followed by the formatted text on the
// console, then stops the run.
[[noreturn]] void failCheck(Run& run, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
