#include "input/inputs.h"

void readInputs02(Run&, InFile&) {}
