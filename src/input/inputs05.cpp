#include "input/inputs.h"

void readInputs05(Run&, InFile&) {}
