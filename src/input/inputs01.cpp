#include "input/inputs.h"

void readInputs01(Run&, InFile&) {}
