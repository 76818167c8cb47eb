#include "herd/herd.h"

void carcassClasses(Run&) {}
