#include "input/inputs.h"

void readInputs04(Run&, InFile&) {}
