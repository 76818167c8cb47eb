#include "feeding/phases.h"

void feedCostsLambs(Run&) {}
