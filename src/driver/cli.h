// The command line of the program: options for scripts (a working
// directory, the results-file name, quiet runs, machine-readable weights,
// changed input values, sweeps and the relative emphasis of the traits).
// Without arguments the program asks for the results-file name as always.
#pragma once

struct Model;

// Exit status: 0 after a complete run, 1 after an error stop (an input or
// output fault), 2 after wrong usage of the command line.
int runCommandLine(int argc, char** argv, Model& model);
