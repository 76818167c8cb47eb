#include "driver/run.h"

#include <cstdarg>
#include <cstdlib>

void printElapsed(Run& run) {
    const auto end = std::chrono::steady_clock::now();
    const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(end - run.start).count();
    std::fprintf(run.con, "The program needed %6.2f seconds.\n\n\n", double(ms) / 1000.0);
}

void stopRun(Run& run) {
    if (run.worker) throw StopRequest{};
    printElapsed(run);
    std::fflush(nullptr);
    std::exit(EXIT_FAILURE);
}

void failCheck(Run& run, const char* fmt, ...) {
    std::fputs("\n\n\nError message:\n", run.con);
    va_list ap;
    va_start(ap, fmt);
    std::vfprintf(run.con, fmt, ap);
    va_end(ap);
    stopRun(run);
}
