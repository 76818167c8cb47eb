#include "input/inputs.h"

void readInputs07(Run&, InFile&) {}
