#pragma once
// The pixels a PNG picture holds, read from a file or taken from a bitmap,
// with their transparency.
#include <cstdint>
#include <optional>
#include <vector>

#include "graphics/TBitmap.h"

namespace kobalto {

struct PngImage {
    // 1, 4 or 8 bits with a palette (palette and grey pictures; 2-bit data
    // kept as 4-bit), or 24-bit blue, green, red.
    TBitmap pixels;
    // 24-bit pixels only: one alpha byte per pixel, top row first; empty
    // when the picture has no alpha.
    std::vector<uint8_t> alpha;
    // Indexed pixels only: the alpha of the first palette entries, the
    // others being opaque; empty when all are.
    std::vector<uint8_t> entryAlpha;
    // 24-bit pixels only: pixels of this colour are transparent.
    std::optional<TColor> key;

    bool Indexed() const { return IsIndexed(pixels.PixelFormat()); }
    bool Opaque() const { return alpha.empty() && entryAlpha.empty() && !key; }
};

}  // namespace kobalto
