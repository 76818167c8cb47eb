// One evaluation of the model, from the re-entry point to the profit.
#pragma once

struct Run;

// Runs the model phases of one evaluation in their fixed order, starting at
// the re-entry point after the run-once growth constants.  In the base
// evaluation (itrait = 0) the phases print their progress lines.
void evaluateModel(Run& run);
