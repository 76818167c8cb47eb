// The system variables of PARAS.TXT.
#pragma once

struct Run;

// Echoes PARAS.TXT into the results file, reads and checks the nine system
// variables, copies the next text fragment and derives csp.  Stops the run
// at the first failing check.
void readParas(Run& run);
