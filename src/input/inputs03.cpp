#include "input/inputs.h"

void readInputs03(Run&, InFile&) {}
void deriveAfterInputs03(Run&) {}
