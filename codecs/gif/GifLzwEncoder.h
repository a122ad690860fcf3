#pragma once
// Encodes the pixels of one GIF image with variable-width LZW codes of at
// most 12 bits, packed into data sub-blocks.
#include <cstdint>
#include <span>

#include "base/TByteWriter.h"

namespace kobalto {

// Writes the minimum code size byte (bits, raised to 2 when smaller), the
// sub-blocks and the block terminator. pixels holds width × height indices,
// rows in image order; an interlaced image is written in its four passes.
// An index not below colorCount raises EGIFException "Color not in color
// table".
void EncodeGifLzw(std::span<const uint8_t> pixels, int width, int height, bool interlaced, int bits, int colorCount,
                  TByteWriter& out);

}  // namespace kobalto
