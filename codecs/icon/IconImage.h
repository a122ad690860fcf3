#pragma once
// One image of an icon file, composed as the desktop shows it over white:
// the AND mask first (bit 1 keeps white, bit 0 clears to black), then the
// colour image XORed over it. Entries stored as PNG are drawn over white by
// their alpha instead.
#include <cstdint>
#include <span>

#include "graphics/TBitmap.h"

namespace kobalto {

struct TIconImage {
    TBitmap bitmap;      // 24 bits per pixel
    int colorCount = 0;  // 2, 16 or 256 for 1-, 4- and 8-bit images, else 0
};

// Decodes the image whose bytes start at data (and may run to the file's
// end). A bitmap image is stretched to width × height, the entry's size, when
// its header says otherwise; a PNG image keeps its own size. Raises
// EInvalidGraphic (or a PNG exception) for anything it cannot read: a header
// other than the 40-byte one or its later versions, a depth other than 1, 4,
// 8, 16, 24 or 32, compressed rows, or rows and mask beyond the data.
TIconImage DecodeIconImage(std::span<const uint8_t> data, int width, int height);

}  // namespace kobalto
