// A mutation of packed working directories (fuzz/unpack.h) that keeps the
// record syntax intact: one number of one input file is replaced by an edge
// value, a multiple of itself or a near neighbour.  Byte-level mutations
// mostly break the syntax of the records and stop the run in the reader;
// this one reaches the checks of the values and the model behind them.
#pragma once

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace packed {

struct Span {
    std::size_t at, len;
};

inline bool space(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// The numbers of a packed directory, as the reader would take them: a run
// of characters up to white space, a double quote or a slash, beginning
// with a digit, a sign or a point after white space (or at the start of a
// file), outside quoted texts, comments and the section header lines.
inline std::vector<Span> numberTokens(std::string_view d) {
    std::vector<Span> out;
    bool quote = false, comment = false;
    std::size_t i = 0;
    while (i < d.size()) {
        const char c = d[i];
        const bool lineStart = i == 0 || d[i - 1] == '\n';
        if (lineStart && d.substr(i, 3) == "@@ ") {  // a new file starts
            quote = comment = false;
            const std::size_t eol = d.find('\n', i);
            i = eol == std::string_view::npos ? d.size() : eol + 1;
            continue;
        }
        if (quote || comment) {
            if (c == (quote ? '"' : '/')) quote = comment = false;
            ++i;
            continue;
        }
        if (c == '"' || c == '/') {
            (c == '"' ? quote : comment) = true;
            ++i;
            continue;
        }
        const bool starts = (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.') &&
                            (lineStart || space(d[i - 1]));
        if (!starts) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < d.size() && !space(d[j]) && d[j] != '"' && d[j] != '/') ++j;
        out.push_back({i, j - i});
        i = j;
    }
    return out;
}

// Replaces one number of data (size bytes, room for maxSize) chosen by
// seed; returns the new size, or 0 when there is no number or no room.
inline std::size_t mutateNumber(std::uint8_t* data, std::size_t size, std::size_t maxSize, std::uint32_t seed) {
    const std::string_view d(reinterpret_cast<const char*>(data), size);
    const std::vector<Span> tokens = numberTokens(d);
    if (tokens.empty()) return 0;
    std::minstd_rand rng(seed);
    const Span t = tokens[rng() % tokens.size()];
    const double old = std::strtod(std::string(d.substr(t.at, t.len)).c_str(), nullptr);

    // Bounds of the checks (0, 1, 1e-06, the sums of fractions), the type
    // limits of the reader, day counts and dates, and sizes far beyond any
    // sheep.
    static constexpr const char* kEdges[] = {
        "0",     "-0",     "1",          "-1",          "2",        "5",           "6",         "15",
        "16",    "100",    "365",        "366",         "0.5",      "1e-06",       "1.1e-06",   "0.999999",
        "1.000001", "1e-30", "1e6",      "-1e6",        "1e9",      "3e9",         "1e38",      "-1e38",
        "3.4e38", "2147483647", "-2147483648", "2147483648", "65536", "99",       "0.0001",    "-0.5"};
    char text[40];
    switch (rng() % 3) {
        case 0:
            std::snprintf(text, sizeof text, "%s", kEdges[rng() % (sizeof kEdges / sizeof kEdges[0])]);
            break;
        case 1: {  // a multiple: scaled by a power of ten, possibly negated
            const int k = int(rng() % 13) - 3;
            const double sign = rng() % 4 == 0 ? -1 : 1;
            std::snprintf(text, sizeof text, "%.9g", sign * old * std::pow(10.0, k));
            break;
        }
        default: {  // a near neighbour
            const int step = int(rng() % 7) - 3;
            std::snprintf(text, sizeof text, "%.9g", old + (step == 0 ? 0.001 : step));
            break;
        }
    }
    const std::size_t n = std::strlen(text);
    if (size - t.len + n > maxSize) return 0;
    std::memmove(data + t.at + n, data + t.at + t.len, size - t.at - t.len);
    std::memcpy(data + t.at, text, n);
    return size - t.len + n;
}

}  // namespace packed
