#include "input/inputs.h"

void readInputs13(Run&, InFile&) {}
