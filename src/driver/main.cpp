#include <cstdio>
#include <thread>

#include "driver/driver.h"
#include "driver/run.h"
#include "model/model.h"

int main() {
    // The model state is large (several MB); it lives in static storage for
    // the whole run.
    static Model model;
    Run run(model);
    // The economic weights are shared out among the processor's cores; the
    // results do not depend on their number.
    run.threads = int(std::thread::hardware_concurrency());
    return runProgram(run, stdin);
}
