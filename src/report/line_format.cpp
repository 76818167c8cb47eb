#include "report/line_format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// Writes the converted text right-aligned in a field of the given width.
char* padded(char* out, const char* text, int length, int width) {
    for (int i = length; i < width; ++i) *out++ = ' ';
    std::memcpy(out, text, std::size_t(length));
    return out + length;
}

constexpr std::uint64_t kPow10[] = {1u,
                                    10u,
                                    100u,
                                    1000u,
                                    10000u,
                                    100000u,
                                    1000000u,
                                    10000000u,
                                    100000000u,
                                    1000000000u,
                                    10000000000u,
                                    100000000000u,
                                    1000000000000u,
                                    10000000000000u,
                                    100000000000000u,
                                    1000000000000000u,
                                    10000000000000000u};
constexpr int kMaxFastPrecision = 16;

// 128 bits hold the product of a 53-bit mantissa and 10^16.
__extension__ typedef unsigned __int128 Wide;

// v with `precision` decimals, rounded as printf rounds: the exact binary
// value to the nearest decimal, ties to even.  The magnitude times
// 10^precision must stay below 2^62, so that the decimal digits fit in 64
// bits; returns nullptr otherwise (and for values that are not finite).
// v = mant 2^-s exactly, so v 10^precision = mant 10^precision 2^-s, which
// is divided exactly in 128-bit arithmetic.
char* fixedFast(char* out, double v, int precision) {
    if (precision > kMaxFastPrecision || !std::isfinite(v)) return nullptr;
    const double a = std::fabs(v);
    if (!(a * double(kPow10[precision]) < 4e18)) return nullptr;
    std::uint64_t q = 0;
    if (a != 0) {
        int e = 0;
        const double f = std::frexp(a, &e);  // a = f 2^e, 0.5 <= f < 1
        const auto mant = std::uint64_t(std::ldexp(f, 53));
        const int s = 53 - e;                // a = mant 2^-s
        if (s <= 0) {
            q = (mant << -s) * kPow10[precision];
        } else if (s < 127) {
            const Wide P = Wide(mant) * kPow10[precision];
            const Wide whole = P >> s;
            const Wide rest = P - (whole << s);
            const Wide half = Wide(1) << (s - 1);
            q = std::uint64_t(whole);
            if (rest > half || (rest == half && (q & 1) != 0)) ++q;
        }  // else a < 2^-74 and a 10^precision < 2^-20: rounds to 0
    }
    if (std::signbit(v)) *out++ = '-';
    const std::uint64_t unit = kPow10[precision];
    out = std::to_chars(out, out + 24, q / unit).ptr;
    if (precision > 0) {
        *out++ = '.';
        std::uint64_t frac = q % unit;
        for (int i = precision - 1; i >= 0; --i) {
            out[i] = char('0' + frac % 10);
            frac /= 10;
        }
        out += precision;
    }
    return out;
}

}  // namespace

char* formatFixed(char* out, double v, int precision) {
    if (char* end = fixedFast(out, v, precision)) return end;
    return std::to_chars(out, out + 400, v, std::chars_format::fixed, precision).ptr;
}

namespace {

char* convert(char* out, const LineFormat::Piece& p, double v, bool isValue, int index) {
    // A double printed with %f has at most 309 digits before the point.
    char text[400];
    char* end;
    if (p.conversion == 'd')
        end = std::to_chars(text, text + sizeof text, isValue ? int(v) : index).ptr;
    else
        end = formatFixed(text, v, p.precision);
    return padded(out, text, int(end - text), p.width);
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
