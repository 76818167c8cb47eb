// One run of a system with a list of changes of its input values, without
// output files in the working directory: the front ends that run a system
// many times (the sweep of the command line, the server of the web page)
// run it through this function, each run on its own model state.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "input/overrides.h"
#include "model/model.h"
#include "report/export.h"

struct Run;

struct SystemRunOptions {
    bool weights = true;   // the economic-weight loop after the base evaluation (else only the inputs and the base)
    bool results = false;  // keep the text of the results file (with the weights)
};

struct SystemRun {
    enum class Status {
        Complete,  // the run went to its end
        NotMade,   // a change cannot be made (no number of the inputs is stored into it as it stands)
        Stopped,   // the inputs stop the run
    };
    Status status = Status::Stopped;
    // What the run says: its warnings, and the error message of a stop;
    // for NotMade the reason.
    std::string messages;
    ModelCopy model;                // the model state after the run
    std::vector<Override> changes;  // the changes, located and made
    std::string results;            // the results file, where asked for and complete
};

SystemRun runSystem(const std::vector<Override>& changes, const SystemRunOptions& options = {});

// The run of every front end: runs the system on `run`, as the front end
// prepared it (model state, console, output files, threads), with the
// changes of ov.items.  Finds where their numbers stand (NotMade, with the
// reason in error, where a change cannot be made), then runs the whole
// program (runProgram, which reads the results-file name from input where
// it asks for one) or, without weights, the inputs and the base evaluation.
SystemRun::Status runWithChanges(Run& run, Overrides& ov, bool weights, std::FILE* input, std::string& error);

// The values of a sweep from `from` to `to` in `steps` equal steps (1:
// `from` alone), as the texts of their changes.
std::vector<std::string> sweepSteps(double from, double to, int steps);

// The message of a stop as one line: the text after the last "Error
// message:" heading (not the warnings before it), its lines trimmed and
// joined by blanks.
std::string oneLine(const std::string& text);

// The message of a stop as its lines: the text after the last "Error
// message:" heading, without the blank lines around it.
std::string stopMessage(const std::string& text);

// The changes of a run as the JSON document notes them.
std::vector<exporting::ChangedValue> changedValues(const std::vector<Override>& changes);
