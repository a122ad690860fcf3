#pragma once
// Undoing the per-row filters of PNG image data.
#include <cstddef>
#include <cstdint>

namespace kobalto {

// Restores row (length bytes, without its filter-type byte) in place. prev is
// the restored row above, all zero for the first row of an image or pass; bpp
// the bytes per complete pixel (at least 1). A filter type above 4 raises
// EPNGZLIBError.
void UnfilterRow(uint8_t filterType, uint8_t* row, const uint8_t* prev, size_t length, int bpp);

// The Paeth predictor: of a (left), b (above) and c (above left), the one
// nearest to a + b - c, preferring a, then b.
inline uint8_t PaethPredictor(int a, int b, int c)
{
    const int pa = b > c ? b - c : c - b;
    const int pb = a > c ? a - c : c - a;
    const int pc = (a + b - 2 * c) < 0 ? -(a + b - 2 * c) : (a + b - 2 * c);
    if (pa <= pb && pa <= pc)
        return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

}  // namespace kobalto
