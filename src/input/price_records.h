// Price records of the pricing files (milk, cheese, culled sheep, lambs).
// A price is never out of range: deductions, class payments and price
// shifts are negative by nature.  Where a price is normally positive (a
// base price, a price per kg, a reference price, the price of a class), a
// negative one is computed with and reported on the console, naming the
// file and the record.
#pragma once

#include <cstdio>

#include "model/real.h"

struct InFile;

// Warns when price, the value of the record just read, is negative.
void warnNegativePrice(InFile& in, Real price);

// A price record read with its echo (readfloat), then warnNegativePrice.
void readPrice(InFile& in, std::FILE* res, Real& price);

// readPrice when the record is present, otherwise the record is skipped.
void readPriceIf(InFile& in, std::FILE* res, bool present, Real& price);

// Warns once when one of the class prices (or price factors) of the record
// just read is negative: rows of cols values, row r from first[r * rowStride]
// (a vector is one row).
void warnNegativeClassPrices(InFile& in, const Real* first, int rows, int rowStride, int cols);
