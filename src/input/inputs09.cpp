#include "input/inputs.h"

void readInputs09(Run&, InFile&) {}
