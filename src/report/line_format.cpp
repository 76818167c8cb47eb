#include "report/line_format.h"

#include <charconv>
#include <cstring>

namespace {

// Writes the converted text right-aligned in a field of the given width.
char* padded(char* out, const char* text, int length, int width) {
    for (int i = length; i < width; ++i) *out++ = ' ';
    std::memcpy(out, text, std::size_t(length));
    return out + length;
}

char* convert(char* out, const LineFormat::Piece& p, double v, bool isValue, int index) {
    // A double printed with %f has at most 309 digits before the point.
    char text[400];
    std::to_chars_result r;
    if (p.conversion == 'd')
        r = std::to_chars(text, text + sizeof text, isValue ? int(v) : index);
    else
        r = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, p.precision);
    return padded(out, text, int(r.ptr - text), p.width);
}

}  // namespace

bool parseLineFormat(const char* fmt, LineFormat& out) {
    out.count = 0;
    const char* lit = fmt;
    for (const char* c = fmt;; ++c) {
        if (*c != '%' && *c != '\0') continue;
        if (out.count == LineFormat::kMaxPieces) return false;
        LineFormat::Piece& p = out.pieces[out.count++];
        p.text = lit;
        p.length = int(c - lit);
        p.conversion = 0;
        p.width = 0;
        p.precision = 6;
        if (*c == '\0') return true;
        ++c;
        while (*c >= '0' && *c <= '9') p.width = p.width * 10 + (*c++ - '0');
        if (*c == '.') {
            p.precision = 0;
            ++c;
            while (*c >= '0' && *c <= '9') p.precision = p.precision * 10 + (*c++ - '0');
        }
        if (*c != 'd' && *c != 'f') return false;
        p.conversion = *c;
        lit = c + 1;
    }
}

char* formatLine(char* out, const LineFormat& f, const int* idx, double v) {
    const int last = f.count - 2;  // the value's conversion
    for (int i = 0; i < f.count; ++i) {
        const LineFormat::Piece& p = f.pieces[i];
        std::memcpy(out, p.text, std::size_t(p.length));
        out += p.length;
        if (p.conversion) out = convert(out, p, v, i == last, i == last ? 0 : idx[i]);
    }
    return out;
}
