#include "input/paras.h"

#include "context/run.h"
#include "input/reader.h"
#include "model/model.h"

namespace {

// A wrong value of PARAS.TXT, at `value`.
[[noreturn]] void parasError(Run& run, const int& value, const char* text) {
    failCheckAt(run, &value, "%sCorrect the error in the parameter file PARAS.TXT and restart the program.\n\n\n",
                text);
}

// Two values of PARAS.TXT that do not go together; `value` is the later.
[[noreturn]] void parasConflict(Run& run, const int& value, const char* text) {
    failCheckAt(run, &value, "%s  Correct the error in parameter file PARAS.TXT and restart the program.\n\n\n",
                text);
}

}  // namespace

void readParas(Run& run) {
    Model& m = run.m;

    // First pass: the echo.
    InFile in = openInput(run, "PARAS.TXT");
    outputrw(in, run.res);
    sysvar(in, run.res);
    closeInput(in);

    // Second pass: the values.
    in = openInput(run, "PARAS.TXT");
    std::fputs("\nI am working\nReading data from PARAS.TXT\n", run.con);
    outputr(in);
    readsyva(in, m.typew);
    readsyva(in, m.crossing);
    readsyva(in, m.lf[1]);
    readsyva(in, m.lf[2]);
    readsyva(in, m.lf[0]);
    readsyva(in, m.typeb);
    readsyva(in, m.feedcost);
    readsyva(in, m.femrep);
    readsyva(in, m.ewopt);
    closeInput(in);

    if (m.typew > 2 || m.typew <= 0) parasError(run, m.typew, "Type of weaning can be only 1 or 2.\n");
    if (m.crossing > 2 || m.crossing <= 0) parasError(run, m.crossing, "Type of crossing can be only 1 or 2.\n");
    if (m.lf[1] > 5 || m.lf[1] < 0)
        parasError(run, m.lf[1],
                   "The number of variants for fattening of surplus female progeny\n"
                   "must be an integer in the interval from 0 to 5.\n");
    if (m.lf[2] > 5 || m.lf[2] < 0)
        parasError(run, m.lf[2],
                   "The number of variants for fattening of surplus male progeny\n"
                   "must be an integer in the interval from 0 to 5.\n");
    if (m.lf[0] > 5 || m.lf[0] < 0)
        parasError(run, m.lf[0],
                   "The number of variants for fattening of castrates\n"
                   "must be an integer in the interval from 0 to 5.\n");
    if (m.typeb > 3 || m.typeb <= 0) parasError(run, m.typeb, "Type of breed can be only 1, 2 or 3.\n");
    if (m.feedcost > 2 || m.feedcost <= 0)
        parasError(run, m.feedcost, "Method for calculating the feed costs can be only 1 or 2.\n");
    if (m.femrep > 2 || m.femrep <= 0)
        parasError(run, m.femrep, "Parameter female replacement may take only values 1 or 2.\n");
    if (m.ewopt > 2 || m.ewopt < 0)
        parasError(run, m.ewopt, "The option for calculating economic weights may take only values 0, 1 or 2.\n");
    if (m.ewopt > 0 && m.crossing == 1)
        parasConflict(run, m.ewopt,
                      "The option for calculating economic weights must be 0 when there\n"
                      "  is only pure-bred progeny.\n");
    if (m.ewopt == 0 && m.crossing == 2)
        parasConflict(run, m.ewopt,
                      "The option for calculating economic weights cannot be 0 if there\n"
                      "  is crossing in the herd.\n");

    outputrw(run.texts, run.res);

    m.csp[0] = m.lf[0];
    m.csp[1] = m.lf[1] + 2;
    m.csp[2] = m.lf[2] + 3;
}
