#include "context/run.h"
#include "feeding/feeding.h"
#include "feeding/phases.h"
#include "model/model.h"

void nutritionCosts(Run& run) {
    Model& m = run.m;
    if (m.itrait == 0) std::fputs("Calculating nutrition costs\n", run.con);
    extendCalendar(m);
    setSexConstants(m);
    litterBirthWeights(m);
    for (int j = 1; j <= m.crossing; ++j) m.dwoolptR[j] = m.woolptR[j] / m.lengthrc;
    m.dwoolptE = m.woolptE / m.lengthrc;
    feedCostsRamsEwes(run);
    feedCostsLambs(run);
}
