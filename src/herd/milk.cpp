#include "herd/herd.h"

void milkProduction(Run&) {}
