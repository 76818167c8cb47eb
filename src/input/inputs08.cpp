#include "input/inputs.h"

void readInputs08(Run&, InFile&) {}
