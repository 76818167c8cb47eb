#include "feeding/phases.h"

void feedCostsRamsEwes(Run&) {}
