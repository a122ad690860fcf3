#pragma once
// Putting PNG pixels over other pixels: opaque ones are copied, pixels of a
// transparent key colour leave the target alone, and partly transparent
// ones are mixed with what is under them.
#include "codecs/png/PngImage.h"

namespace kobalto {

// Draws image 1:1 with its top-left corner at (x, y) of target, clipped.
void DrawPngImage(const PngImage& image, TBitmap& target, int x, int y);

// Mixes 24-bit pixels with white in place, as drawing them on a white
// bitmap would; afterwards they are opaque. Indexed pixels are left alone.
void CompositeOnWhite(PngImage& image);

// How a pixel of alpha a and sample s covers a target sample t.
inline uint8_t MixSample(unsigned s, unsigned a, unsigned t)
{
    return static_cast<uint8_t>((s * a + (255 - a) * t + 255) >> 8);
}

}  // namespace kobalto
