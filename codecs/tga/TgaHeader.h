#pragma once
// The checked description of a TGA file: everything the pixel code needs,
// from the 18-byte header and the colour map. Nothing is allocated for pixels.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/TByteReader.h"
#include "codecs/color/TColorScheme.h"
#include "graphics/TColor.h"

namespace kobalto {

struct TTgaHeader {
    int imageType = 0;    // 1, 2, 3, 9, 10 or 11
    bool rle = false;     // types 9 to 11
    int width = 0;        // 0 .. 65535
    int height = 0;
    int depth = 0;        // 8, 15, 16, 24 or 32
    int pixelBytes = 0;   // 1 to 4
    bool topDown = false;      // descriptor bit 5
    bool rightToLeft = false;  // descriptor bit 4
    TColorScheme scheme = TColorScheme::Unknown;  // Indexed, Grey, BGR or BGRA
    int samplesPerPixel = 1;
    int bitsPerSample = 8;
    std::vector<TRGBQuad> palette;  // indexed images: 1 to 256 entries
    size_t dataOffset = 0;          // where the pixel data starts
};

// Reads the header, skips the image ID and reads (or steps over) the colour
// map. Raises "Cannot load image. Invalid or unexpected TGA image format."
// for an unknown image type, a pixel depth the type cannot have, or a colour
// map of an unknown entry size, and "Stream read error in TGA file." when the
// file ends inside them.
TTgaHeader ParseTgaHeader(TByteReader& file);

}  // namespace kobalto
