#pragma once
// The checked header of a Netpbm file.
#include <cstddef>

#include "base/TByteReader.h"

namespace kobalto {

struct TPnmHeader {
    int kind = 0;        // 1 to 6, the digit of the magic "P1".."P6"
    bool binary = false; // P4, P5, P6
    int width = 0;       // at least 1
    int height = 0;
    int samples = 1;     // 3 for P3 and P6
    int maxValue = 1;    // 1 to 65535; 1 for bitmaps
    size_t rasterOffset = 0;  // the first byte after the header
};

// Reads the magic, width, height and (but for bitmaps) the maximum sample
// value, skipping white space and "#" comments. Raises "Cannot load image.
// Invalid or unexpected PBM, PGM or PPM image format." for anything else.
TPnmHeader ParsePnmHeader(TByteReader& file);

// Text rasters: the next number, skipping white space and comments; -1 at
// the end of the data. Bitmaps (P1) take one digit at a time, as their
// samples need not be apart.
class TPnmTextReader {
public:
    explicit TPnmTextReader(TByteReader& file) : file_(file) {}
    long Next(bool singleDigit);

private:
    TByteReader& file_;
};

}  // namespace kobalto
