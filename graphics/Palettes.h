#pragma once
// Standard palettes for bitmaps that become indexed, and nearest-colour search.
#include <vector>

#include "graphics/TColor.h"
#include "graphics/TPixelFormat.h"

namespace kobalto {

// 1 bit: black, white. 4 bits: the 16 VGA colours. 8 bits: those 16, a
// 6 × 6 × 6 colour cube and a 24-step grey ramp.
std::vector<TRGBQuad> StandardPalette(TPixelFormat format);

// 2^bits greys (bits 1 to 8) evenly from black to white: entry v is
// v × 255 / (2^bits − 1).
std::vector<TRGBQuad> GreyPalette(int bits);

// Index of the palette entry nearest to color (squared RGB distance, the
// lowest index among equals). An empty palette gives 0.
int NearestPaletteIndex(const std::vector<TRGBQuad>& palette, TColor color);

}  // namespace kobalto
