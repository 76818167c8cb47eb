#include "input/inputs.h"

void readInputs10(Run&, InFile&) {}
