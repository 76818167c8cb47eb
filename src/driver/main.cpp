#include "driver/cli.h"
#include "model/model.h"

int main(int argc, char** argv) {
    // The model state (several MB) lives in memory of its own for the whole
    // run.
    const ModelCopy model = newModel();
    return runCommandLine(argc, argv, *model);
}
