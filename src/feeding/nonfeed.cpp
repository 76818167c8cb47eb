#include "feeding/phases.h"

void nonFeedCosts(Run&) {}
