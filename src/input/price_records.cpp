#include "input/price_records.h"

#include "input/reader.h"

void warnNegativePrice(InFile& in, Real price) {
    if (price < 0) warnOdd(in, "a negative price");
}

void readPrice(InFile& in, std::FILE* res, Real& price) {
    readfloat(res, in, price);
    warnNegativePrice(in, price);
}

void readPriceIf(InFile& in, std::FILE* res, bool present, Real& price) {
    if (present) readPrice(in, res, price);
    else readdes(in);
}

void warnNegativeClassPrices(InFile& in, const Real* first, int rows, int rowStride, int cols) {
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            if (first[r * rowStride + c] < 0) {
                warnOdd(in, "negative for at least one class");
                return;
            }
}
