#include "herd/herd.h"

void stayDurations(Run&) {}
