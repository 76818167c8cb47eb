#include "input/inputs.h"

void readInputs11(Run&, InFile&) {}
void deriveAfterInputs11(Run&) {}
