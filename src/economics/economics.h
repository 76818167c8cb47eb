// Revenues and profit of one model evaluation.
#pragma once

struct Run;

// The milk price, every revenue item, the totals Trev, Tcosts, Tsub and the
// profit Tprof per ewe and year.
void revenues(Run& run);
