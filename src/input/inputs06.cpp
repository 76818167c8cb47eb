#include "input/inputs.h"

void readInputs06(Run&, InFile&) {}
