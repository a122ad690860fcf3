#pragma once
// What every fuzz target shares: the input size cap, the picture size beyond
// which a target stops (the time would go into pixels, not parsing), and a
// read of the corners that touches the first and last rows a decoder filled.
#include <cstddef>
#include <cstdint>

#include "graphics/TBitmap.h"

namespace kobalto::fuzz {

// Larger inputs add time, not coverage.
inline constexpr size_t kMaxInputBytes = size_t{1} << 20;
inline constexpr int64_t kMaxFuzzPixels = int64_t{1} << 22;

inline bool TooLarge(int64_t width, int64_t height)
{
    // Each side first, so the product cannot overflow.
    return width > kMaxFuzzPixels || height > kMaxFuzzPixels || width * height > kMaxFuzzPixels;
}

inline void TouchCorners(const TBitmap& bitmap)
{
    if (bitmap.Empty())
        return;
    volatile uint8_t sink = bitmap.Pixel(0, 0).red;
    sink = bitmap.Pixel(bitmap.Width() - 1, bitmap.Height() - 1).blue;
    (void)sink;
}

}  // namespace kobalto::fuzz
