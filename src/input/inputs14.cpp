#include "input/inputs.h"

void readInputs14(Run&, InFile&) {}
