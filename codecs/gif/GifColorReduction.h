#pragma once
// Turning a picture of any pixel format into an 8-bit picture over a
// palette: with a palette given, or with one quantised from the picture.
#include <vector>

#include "graphics/TBitmap.h"

namespace kobalto {

// How a picture of more than 8 bits per pixel gets its palette.
enum class TColorReduction {
    kOptimized = 7,                  // quantised from the picture alone
    kOptimizedWithSystemColors = 8,  // quantised, beside the platform's 20 static colours
};

enum class TDitherMode {
    kNearest = 0,         // each pixel its nearest entry, nothing diffuses
    kFloydSteinberg = 1,  // serpentine error diffusion
};

// An 8-bit picture of the source's size over palette (at most 256 entries
// are used). Rows go top to bottom through the dither engine. An empty
// palette gives an empty picture.
TBitmap ReduceColorsToPalette(const TBitmap& source, const std::vector<TRGBQuad>& palette, TDitherMode dither);

// An 8-bit picture over an optimised palette of 2^bits entries (bits from 1
// to 8; other values mean 8).
TBitmap ReduceColors(const TBitmap& source, TColorReduction mode, TDitherMode dither, int bits);

}  // namespace kobalto
