#include "driver/driver.h"

#include <cctype>

#include "driver/evaluate.h"
#include "driver/run.h"
#include "driver/weights_run.h"
#include "herd/herd.h"
#include "input/inputs.h"
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

// Reads one white-space-delimited word, the name of the results file.
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
}

void writeDumpFile(Run& run, const char* name) {
    std::FILE* f = std::fopen(name, "w");
    if (!f)
        failCheck(run,
                  "The file %s cannot be written in the working directory.\n"
                  "  Make the directory writable and restart the program.\n",
                  name);
    writeDump(run.m, f);
    std::fclose(f);
}

}  // namespace

void runToBase(Run& run, std::FILE* input) {
    resetModel(run.m);
    printBanner(run);

    run.texts = openInput(run, "TEXTS_OUT.TXT");
    run.texts.fragments = true;

    std::fputs("Please enter the name of the file for writing results\n", run.con);
    std::fflush(run.con);
    readResultsName(run, input);
    run.res = std::fopen(run.resName, "w");
    if (!run.res)
        failCheck(run,
                  "The results file %s cannot be created.\n"
                  "  Check the name and the working directory and restart the program.\n",
                  run.resName);

    outputrw(run.texts, run.res);
    readParas(run);

    readAllInputs(run);

    growthConstants(run);
    evaluateModel(run);

    std::fputs("Writing results from loop 1 to file CHECKS\n", run.con);
    writeDumpFile(run, "CHECKS");
}

int runFromBase(Run& run) {
    economicWeights(run);

    std::fprintf(run.con, "Writing results from loop %d to file CHECKS1\n", run.m.zr);
    writeDumpFile(run, "CHECKS1");
    run.checks1Written = true;

    writeResults(run);

    outputrw(run.texts, run.res);
    closeInput(run.texts);
    std::fclose(run.res);
    run.res = nullptr;

    std::fputs("\nThank you for using the program KARVEL1.\n", run.con);
    std::fprintf(run.con, "The results are given in the file %s.\n", run.resName);
    std::fputs("The values of all variables are given in the file CHECKS1.\n", run.con);
    printElapsed(run);
    return 0;
}

int runProgram(Run& run, std::FILE* input) {
    runToBase(run, input);
    return runFromBase(run);
}
