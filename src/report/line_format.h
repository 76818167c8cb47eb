// The line formats of the dumps, written without printf.
//
// A dump line format is literal text with conversions %d, %Wd, %f and
// %W.Pf (W a field width, P a precision), for instance
// "pclfcS[%d][%d][%d] = %9.4f\n": every conversion but the last takes an
// index, the last the value.  The format is parsed once; a line is then
// written with std::to_chars, which rounds correctly as printf does and is
// many times faster, so the dumps are the same bytes as with printf.
#pragma once

struct LineFormat {
    static constexpr int kMaxPieces = 8;
    // Literal text before conversion i (and after the last one in the last
    // piece, whose conversion is 0).
    struct Piece {
        const char* text;
        int length;
        char conversion;  // 'd', 'f' or 0 (no conversion)
        int width;
        int precision;
    };
    Piece pieces[kMaxPieces];
    int count = 0;
};

// Parses fmt, which must stay alive as long as the LineFormat.  Returns false
// for a format outside the forms above.
bool parseLineFormat(const char* fmt, LineFormat& out);

// Writes one line to out (at least 512 bytes free per conversion): the
// indices idx[0..] for all conversions but the last, the value v for the
// last one (converted to int for %d).  Returns the end of the line.
char* formatLine(char* out, const LineFormat& f, const int* idx, double v);

// Writes v with `precision` decimals (at least 400 bytes free) as printf's
// "%.*f" writes it: the nearest decimal to the exact binary value, ties to
// even, a minus sign for every negative value and -0.  Returns the end.
char* formatFixed(char* out, double v, int precision);
