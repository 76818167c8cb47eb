#include "context/run.h"

#include <cstdarg>
#include <vector>

#include "model/quantities.h"

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

std::string placeOf(const Run& run, const void* element) {
    std::size_t offset = 0;
    if (!quantities::offsetIn(run.m, element, offset)) return "";
    for (auto p = run.readPlaces.rbegin(); p != run.readPlaces.rend(); ++p) {
        if (p->offset != offset) continue;
        std::string s = p->file + ", record " + std::to_string(p->record) + " (line " +
                        std::to_string(p->line);
        if (!p->label.empty()) s += ", " + printable(p->label.c_str());
        return s + ")";
    }
    return "";
}

void failCheckAt(Run& run, const void* element, const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    va_list copy;
    va_copy(copy, ap);
    const int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::vector<char> text(std::size_t(n > 0 ? n : 0) + 1);
    std::vsnprintf(text.data(), text.size(), fmt, ap);
    va_end(ap);
    // The place goes after the message's last line, before the blank lines
    // that end some messages.
    std::string message(text.data());
    std::size_t end = message.size();
    while (end > 0 && message[end - 1] == '\n') --end;
    const std::string place = placeOf(run, element);
    if (!place.empty()) message.insert(end, "\n  Where: " + place + ".");
    failCheck(run, "%s", message.c_str());
}
