// The run sequence of the program.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

struct Run;
class Overrides;

// Runs the whole program: start-up, reading of all inputs, the base
// evaluation, the economic-weight loop and the output files.  `input` is
// the stream from which the name of the results file is read.  Returns the
// exit status of a complete run (0); an error stop ends the program from
// inside with a non-zero status.
//
// The outputs are written under temporary names beside their own and take
// their names only when the run completes.  A stopped run leaves the files
// of an earlier run as they were and removes its temporary files, but keeps
// the results file it began as NAME.stopped and a complete CHECKS1 as
// CHECKS1.stopped, each named in a line after the error message.
int runProgram(Run& run, std::FILE* input);

// The two halves of runProgram: start-up, reading of all inputs, the base
// evaluation and CHECKS; then the economic-weight loop, CHECKS1, the results
// file, the renaming of the outputs and the farewell (returns the exit
// status).  After runToBase alone the results file is open and its
// temporary files are in run.pending.
void runToBase(Run& run, std::FILE* input);
int runFromBase(Run& run);

// The inputs and the base evaluation (which reads the carcass-class files)
// on run's model state, without output files, with the changes of ov made
// (located; ov may be null).  Returns false when the inputs stop the run
// (the message goes to run.msg, if set).  run.readPlaces holds where the
// numbers were read.
bool evaluateInputs(Run& run, Overrides* ov);

// evaluateInputs as a tracing reading: every number stored is noted in
// ov.trace.
bool traceInputs(Run& run, Overrides& ov);

// Finds where the numbers of the input values changed by name stand in the
// input files (run.overrides), tracing the reading of the inputs as often
// as needed.  A change that cannot be made (no number of an input file is
// stored into the element as it stands) returns false with the reason in
// error.  Inputs that stop the run end the search early; the run itself
// then shows why.
bool locateChanges(Run& run, std::string& error);

// The program's own file (an input file, TEXTS_OUT.TXT, CHECKS, CHECKS1)
// that name denotes in the working directory, or null.  Case is ignored.
const char* ownFileNamed(const char* name);

// Writes the output file `name` of the working directory with `write`
// (false: a write failed); a file that cannot be created, written or
// closed stops the run with a message naming it, and an earlier file of
// that name stays as it was.  Written while the outputs of a run wait for
// its end (run.pending), the file takes its name with them; otherwise as
// soon as it is complete.
void writeOutputFile(Run& run, const char* name, const std::function<bool(std::FILE*)>& write);

// Writes the file `name` with `write` outside a run, as an output of a run
// is written: under a temporary name that it takes only when complete, so
// that a failed write leaves an earlier file as it was.  On a fault returns
// false with the message in error.
bool writeWholeFile(const std::string& name, const std::function<bool(std::FILE*)>& write, std::string& error);
