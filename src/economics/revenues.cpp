#include "economics/economics.h"

void revenues(Run&) {}
