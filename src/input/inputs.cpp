#include "input/inputs.h"

#include "context/run.h"
#include "input/reader.h"
#include "model/model.h"

void readInputFile(Run& run, int fileNo, void (*reader)(Run&, InFile&)) {
    char name[16];
    std::snprintf(name, sizeof name, "INPUTS%02d.TXT", fileNo);
    std::fprintf(run.con, "Reading data from %s\n", name);
    run.fileNo = fileNo;
    ++run.sectionNo;
    inp00(run.res, run.fileNo, run.sectionNo);
    InFile in = openInput(run, name);
    reader(run, in);
    closeInput(in);
    std::fputs("\n\n\n", run.res);
}

void readAllInputs(Run& run) {
    const Model& m = run.m;
    readInputFile(run, 1, readInputs01);
    readInputFile(run, 2, readInputs02);
    readInputFile(run, 3, readInputs03);
    deriveAfterInputs03(run);
    readInputFile(run, 5, readInputs05);
    readInputFile(run, 4, readInputs04);
    if (m.typeb <= 2) readInputFile(run, 6, readInputs06);
    else readInputFile(run, 7, readInputs07);
    readInputFile(run, 8, readInputs08);
    readInputFile(run, 9, readInputs09);
    readInputFile(run, 10, readInputs10);
    if (m.typeb == 1) readInputFile(run, 11, readInputs11);
    deriveAfterInputs11(run);
    readInputFile(run, 12, readInputs12);
    deriveAfterInputs12(run);
}
