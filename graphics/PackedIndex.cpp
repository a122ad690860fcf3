#include "graphics/PackedIndex.h"

namespace kobalto {

namespace {

// Pixel x's byte, and the shift that brings its bits to the bottom.
struct Place {
    int byte;
    int shift;
};

Place PlaceOf(int x, int bits)
{
    const unsigned bit = static_cast<unsigned>(x) * static_cast<unsigned>(bits);
    return {static_cast<int>(bit >> 3), 8 - bits - static_cast<int>(bit & 7)};
}

}  // namespace

uint8_t ReadPackedIndex(const uint8_t* row, int x, int bits)
{
    if (bits == 8)
        return row[x];
    const Place p = PlaceOf(x, bits);
    return static_cast<uint8_t>((row[p.byte] >> p.shift) & ((1u << bits) - 1));
}

void WritePackedIndex(uint8_t* row, int x, int bits, uint8_t value)
{
    if (bits == 8) {
        row[x] = value;
        return;
    }
    const Place p = PlaceOf(x, bits);
    const unsigned mask = ((1u << bits) - 1) << p.shift;
    row[p.byte] = static_cast<uint8_t>((row[p.byte] & ~mask) | ((static_cast<unsigned>(value) << p.shift) & mask));
}

}  // namespace kobalto
