#include <cstdio>

#include "driver/driver.h"
#include "driver/run.h"
#include "model/model.h"

int main() {
    // The model state is large (several MB); it lives in static storage for
    // the whole run.
    static Model model;
    Run run(model);
    return runProgram(run, stdin);
}
