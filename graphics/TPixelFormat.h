#pragma once
#include <cstddef>

namespace kobalto {

// pf15bit is 5-5-5 and pf16bit 5-6-5, both little-endian words; pf32bit is
// blue, green, red and one unused byte.
enum class TPixelFormat { pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

int BitsPerPixel(TPixelFormat format);
// The bits a pixel takes in a row: 15-bit pixels are stored in 16.
int StorageBitsPerPixel(TPixelFormat format);
// The bytes of a row of width pixels that hold pixel bits, padding left out.
size_t UsedRowBytes(int width, TPixelFormat format);
bool IsIndexed(TPixelFormat format);

}  // namespace kobalto
