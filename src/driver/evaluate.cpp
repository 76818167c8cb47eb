#include "driver/evaluate.h"

#include "driver/run.h"
#include "economics/economics.h"
#include "feeding/phases.h"
#include "herd/herd.h"

void evaluateModel(Run& run) {
    rebuildAtReentry(run);
    eweFlock(run);
    ramPopulation(run);
    progenyUntilWeaning(run);
    growth(run);
    progenyAfterWeaning(run);
    milkProduction(run);
    stayDurations(run);
    nutritionCosts(run);
    nonFeedCosts(run);
    revenues(run);
}
