#include "driver/evaluate.h"

#include <cmath>

#include "context/run.h"
#include "economics/economics.h"
#include "feeding/phases.h"
#include "herd/herd.h"
#include "model/model.h"

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
    // In the loop a changed trait that makes the profit infinite or
    // undefined stops the run; the base evaluation is checked whole by the
    // driver.
    const Model& m = run.m;
    if (m.itrait != 0 && !std::isfinite(double(m.Tprof)))
        failCheck(run,
                  "The evaluation of trait %d (loop %d) gives a profit that is not a finite number.\n"
                  "  Look for inputs of extreme size (prices, costs, labour, weights, rates)\n"
                  "  in INPUTS01.TXT to INPUTS14.TXT, correct them and restart the program.\n",
                  m.itrait, m.zr);
}
