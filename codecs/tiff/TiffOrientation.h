#pragma once
// Turns and mirrors a decoded picture as a TIFF Orientation value (the EXIF
// one) says, so that it comes out upright.
#include "graphics/TBitmap.h"

namespace kobalto {

// 1 (or anything outside 2..8) leaves the bitmap as it is.
void ApplyOrientation(TBitmap& bitmap, int orientation);

}  // namespace kobalto
