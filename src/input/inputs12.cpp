#include "input/inputs.h"

void readInputs12(Run&, InFile&) {}
void deriveAfterInputs12(Run&) {}
