#include "driver/run.h"

#include <cstdarg>

void printElapsed(Run& run) {
    const auto end = std::chrono::steady_clock::now();
    const long long ms = std::chrono::duration_cast<std::chrono::milliseconds>(end - run.start).count();
    std::fprintf(run.con, "The program needed %6.2f seconds.\n\n\n", double(ms) / 1000.0);
}

std::string printable(const char* text) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c < 32 || c == 127) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += char(c);
        }
    }
    return out;
}

std::FILE* discardStream() {
    static std::FILE* const f = std::fopen("/dev/null", "w");
    return f;
}

void stopRun(Run&) { throw RunStopped{}; }

void failCheck(Run& run, const char* fmt, ...) {
    std::FILE* out = run.messages();
    std::fputs("\n\n\nError message:\n", out);
    va_list ap;
    va_start(ap, fmt);
    std::vfprintf(out, fmt, ap);
    va_end(ap);
    stopRun(run);
}
