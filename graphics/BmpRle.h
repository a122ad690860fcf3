#pragma once
// Run-length coded BMP pixels (RLE8 and RLE4).
#include <cstdint>
#include <span>

#include "graphics/BmpHeader.h"

namespace kobalto {

class TBitmap;

// Decodes data, the RLE8 or RLE4 stream of header, into bitmap, an indexed
// bitmap of the header's size (8 or 4 bits). The bitmap is cleared to index 0
// first: pixels the stream skips with delta, end-of-line or end-of-bitmap
// codes, or never reaches because it ends early, keep index 0. Runs are
// clipped at the row's end; nothing here reads past data.
void DecodeBmpRle(std::span<const uint8_t> data, const TBmpHeader& header, TBitmap& bitmap);

}  // namespace kobalto
