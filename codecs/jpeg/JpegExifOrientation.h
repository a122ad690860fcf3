#pragma once
// The orientation a camera recorded in a JPEG's EXIF block (APP1).
#include <cstdint>
#include <span>

namespace kobalto {

// 1..8 as the EXIF Orientation tag says. 1 (as stored) when the segment is
// not EXIF, has no such tag, holds a value outside 1..8, or is broken.
int ExifOrientation(std::span<const uint8_t> app1);

// Orientations 5 to 8 turn the picture by a quarter: width and height swap.
inline bool OrientationSwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

}  // namespace kobalto
