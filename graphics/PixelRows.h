#pragma once
// Row conversion between any pixel format and 24-bit blue-green-red, the
// workhorse of format changes and drawing.
#include <cstdint>

namespace kobalto {

class TBitmap;

// Image row y of bitmap as width × 3 bytes blue, green, red.
void RowToBgr24(const TBitmap& bitmap, int y, uint8_t* out);
// Stores width × 3 bytes blue, green, red into image row y; indexed formats
// take the nearest palette entry.
void Bgr24ToRow(TBitmap& bitmap, int y, const uint8_t* in);

// 5-bit and 6-bit components widened to 8 bits by repeating their top bits,
// so that full intensity stays 255.
inline uint8_t Expand5(unsigned v) { return static_cast<uint8_t>((v << 3) | (v >> 2)); }
inline uint8_t Expand6(unsigned v) { return static_cast<uint8_t>((v << 2) | (v >> 4)); }

}  // namespace kobalto
