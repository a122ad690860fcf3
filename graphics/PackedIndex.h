#pragma once
// Palette indices packed into bytes, leftmost pixel in the high bits: the
// layout of 1-, 2-, 4- and 8-bit rows in bitmaps and in most files.
#include <cstdint>

namespace kobalto {

// The index of pixel x in a row of bits (1, 2, 4 or 8) per pixel.
uint8_t ReadPackedIndex(const uint8_t* row, int x, int bits);
// Stores value (only its low bits) as pixel x, leaving the other pixels of
// its byte as they were.
void WritePackedIndex(uint8_t* row, int x, int bits, uint8_t value);

}  // namespace kobalto
