// The run sequence of the program.
#pragma once

#include <cstdio>

struct Run;

// Runs the whole program: start-up, reading of all inputs, the base
// evaluation, the economic-weight loop and the output files.  `input` is
// the stream from which the name of the results file is read.  Returns the
// exit status of a complete run (0); an error stop ends the program from
// inside with a non-zero status.
int runProgram(Run& run, std::FILE* input);

// The two halves of runProgram: start-up, reading of all inputs, the base
// evaluation and CHECKS; then the economic-weight loop, CHECKS1, the results
// file and the farewell (returns the exit status).
void runToBase(Run& run, std::FILE* input);
int runFromBase(Run& run);
