#pragma once

namespace kobalto {

// pf15bit is 5-5-5 and pf16bit 5-6-5, both little-endian words; pf32bit is
// blue, green, red and one unused byte.
enum class TPixelFormat { pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

int BitsPerPixel(TPixelFormat format);
bool IsIndexed(TPixelFormat format);

}  // namespace kobalto
