#include "driver/cli.h"
#include "model/model.h"

int main(int argc, char** argv) {
    // The model state is large (several MB); it lives in static storage for
    // the whole run.
    static Model model;
    return runCommandLine(argc, argv, model);
}
