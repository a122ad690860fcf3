#pragma once
// The palette (PLTE) and transparency (tRNS) chunks: their checks and what
// they say about the picture.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "codecs/png/PngHeader.h"
#include "graphics/TColor.h"

namespace kobalto {

// PLTE entries. A length that is not a whole number of entries, no entry or
// more than 256 raise EPNGInvalidPalette.
std::vector<TRGBQuad> ParsePlte(std::span<const uint8_t> data);

struct PngTransparency {
    // Palette pictures: the alpha of the first entries; the others are opaque.
    std::vector<uint8_t> entryAlpha;
    // Grey and RGB pictures: the one sample value (grey in key[0]) that is
    // transparent, at the picture's full bit depth.
    bool hasKey = false;
    std::array<uint16_t, 3> key{};
};

// tRNS data. More than 256 bytes raise EPNGInvalidPalette. A chunk too short
// for a grey or RGB key, or one in a picture that has an alpha channel,
// says nothing.
PngTransparency ParseTrns(std::span<const uint8_t> data, const PngHeader& header);

// A palette picture needs its palette, and may not give alpha to entries the
// palette does not have; both raise EPNGInvalidPalette.
void CheckPaletteImage(const std::vector<TRGBQuad>& palette, const PngTransparency& transparency);

}  // namespace kobalto
