#pragma once
// The checked 128-byte header of a ZSoft Paintbrush file and the palette
// its layout takes.
#include <cstddef>
#include <vector>

#include "base/TByteReader.h"
#include "graphics/TColor.h"
#include "graphics/TPixelFormat.h"

namespace kobalto {

struct TPcxHeader {
    int version = 0;
    bool rle = false;       // encoding byte 1
    int bitsPerPixel = 0;   // per plane: 1, 2, 4 or 8
    int planes = 0;         // 1 to 4
    int width = 0;          // at least 1
    int height = 0;
    size_t bytesPerLine = 0;  // one plane of a row, at least width × bits
    TPixelFormat format = TPixelFormat::pf8bit;
    std::vector<TRGBQuad> palette;  // indexed layouts
};

// Raises "Cannot load image. Invalid or unexpected PCX image format." for a
// bad manufacturer byte or window, and "Invalid color format in PCX file."
// for a plane layout no pixel format holds.
TPcxHeader ParsePcxHeader(std::span<const uint8_t> bytes);

}  // namespace kobalto
