#pragma once
// Smooth resampling of a 24-bit bitmap to a new size. Each target pixel is
// mapped back to one source point (x × W ÷ newWidth, y × H ÷ newHeight, from
// the top-left corner, no half-pixel offset) and the source pixels around it
// are weighted with a kernel of fixed width. The kernel is not widened when
// reducing, so a strong reduction samples rather than averages.
#include <cstdint>
#include <memory>

#include "base/Extended.h"

namespace kobalto {

class TBitmap;

// Only the low byte counts; a value outside the six named ones writes no pixel.
enum class TResampleFilter : uint8_t { rfNearest, rfBilinear, rfCubic, rfLagrange, rfBSpline, rfMitchell };

// Replaces bitmap by a new bitmap of newWidth × newHeight and returns true;
// the old bitmap object is released. A source that is not 24 bits per pixel
// returns false and changes nothing. A zero newWidth or newHeight raises
// EZeroDivide (EInvalidOp when the source side is 0 as well) before anything
// is created. A negative size, an empty source or a missing bitmap raise
// EInvalidGraphicOperation, leaving the caller's bitmap as it was.
bool ResampleBitmap(std::unique_ptr<TBitmap>& bitmap, int newWidth, int newHeight, TResampleFilter filter);

// 0 below 0, 255 above 255, otherwise the nearest integer, ties to even.
uint8_t ClampToByte(Extended v);

// A new bitmap with the same pixels, format, palette and transparency switch.
std::unique_ptr<TBitmap> CloneBitmap(const TBitmap& bitmap);

}  // namespace kobalto
