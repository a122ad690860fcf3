#pragma once
// Turning a bitmap into one GIF frame.
#include <memory>

#include "codecs/gif/GifColorReduction.h"
#include "codecs/gif/GifFrame.h"

namespace kobalto {

class TBitmap;

// How a bitmap of more than 8 bits per pixel is brought down to a palette.
struct TGIFConversion {
    TColorReduction reduction = TColorReduction::kOptimized;
    TDitherMode dither = TDitherMode::kFloydSteinberg;
    int bits = 8;
};

// A frame of the bitmap's size at (0, 0): a bitmap of 1, 4 or 8 bits per
// pixel keeps its palette and indices, any other is reduced first. A bitmap
// marked transparent gets its colour map sorted by use and, while the map
// has room, a black entry that every pixel of its key colour (the
// bottom-left pixel's) takes, named by a graphic control extension.
std::unique_ptr<TGIFFrame> FrameFromBitmap(const TBitmap& bitmap, const TGIFConversion& conversion);

}  // namespace kobalto
