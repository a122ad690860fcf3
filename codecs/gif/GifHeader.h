#pragma once
// The logical screen of a GIF: its size, the global colour table and the
// background and aspect bytes.
#include <cstdint>

#include "codecs/gif/GifColorMap.h"

namespace kobalto {

struct TGIFHeader {
    uint16_t width = 0;
    uint16_t height = 0;
    TGIFGlobalColorMap colorMap;
    uint8_t backgroundIndex = 0;
    uint8_t aspect = 0;
    // The colour resolution the file stated (bits per primary − 1).
    uint8_t colorResolution = 0;
};

}  // namespace kobalto
