#pragma once
// Device-independent bitmaps inside metafile records, read through the BMP
// reader. A DIB the records cannot hold, or one too large for its bytes,
// gives null: the record is skipped, as the platform would refuse it.
#include <cstdint>
#include <memory>
#include <span>

#include "graphics/TBitmap.h"

namespace kobalto::mf {

struct TDib {
    std::shared_ptr<const TBitmap> bitmap;  // top row first, as TBitmap holds it
    bool bottomUp = true;
};

// The header with its masks and colour table, and the pixel bits apart.
TDib ReadDib(std::span<const uint8_t> info, std::span<const uint8_t> bits);
// A packed DIB: header, masks, colour table and bits in one block.
TDib ReadPackedDib(std::span<const uint8_t> packed);

}  // namespace kobalto::mf
