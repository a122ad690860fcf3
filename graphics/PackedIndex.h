#pragma once
// Palette indices packed 1, 2 or 4 to a byte, the first pixel in the most
// significant bits; 8 bits are one index a byte.
#include <cstdint>

namespace kobalto {

inline uint8_t ReadPackedIndex(const uint8_t* row, int x, int bits)
{
    if (bits == 8)
        return row[x];
    const int perByte = 8 / bits;
    const int shift = 8 - bits * (x % perByte + 1);
    return static_cast<uint8_t>((row[x / perByte] >> shift) & ((1u << bits) - 1));
}

inline void WritePackedIndex(uint8_t* row, int x, int bits, uint8_t value)
{
    if (bits == 8) {
        row[x] = value;
        return;
    }
    const int perByte = 8 / bits;
    const int shift = 8 - bits * (x % perByte + 1);
    const unsigned mask = ((1u << bits) - 1) << shift;
    uint8_t& b = row[x / perByte];
    b = static_cast<uint8_t>((b & ~mask) | ((static_cast<unsigned>(value) << shift) & mask));
}

}  // namespace kobalto
