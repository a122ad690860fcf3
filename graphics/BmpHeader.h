#pragma once
// The checked description of a BMP file: everything the pixel code needs,
// taken from the file header, one of the information headers, the colour
// masks and the colour table. Pixel code trusts nothing else.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "graphics/TColor.h"

namespace kobalto {

enum class TBmpCompression { Rgb, Rle8, Rle4, Bitfields };

struct TBmpMasks {
    uint32_t red = 0;
    uint32_t green = 0;
    uint32_t blue = 0;
};

struct TBmpHeader {
    int width = 0;          // 1 .. kMaxDimension
    int height = 0;         // 1 .. kMaxDimension, rows counted from the top
    bool topDown = false;   // negative height in the file
    int bitCount = 0;       // 1, 2, 4, 8, 16, 24 or 32
    TBmpCompression compression = TBmpCompression::Rgb;
    TBmpMasks masks;        // 16 and 32 bits only; defaults filled in for Rgb
    std::vector<TRGBQuad> palette;  // indexed depths only, at most 2^bitCount
    size_t dataOffset = 0;  // from the start of the BMP; inside the file
    size_t rowBytes = 0;    // bytes of one uncompressed row, padded to 4
};

// Large enough for the biggest header, masks and a full colour table, so the
// caller can hand over this many leading bytes (or the whole file when it is
// shorter) and never more.
inline constexpr size_t kBmpMaxHeadBytes = 14 + 124 + 16 + 256 * 4;

// Parses the leading bytes of a BMP (head) whose total length, counted from
// its first byte, is fileSize. Raises EInvalidGraphic with the invalid-bitmap
// text for a bad signature, an unknown header size, zero planes, a bit count
// or compression the reader does not support, a bad width or height, a colour
// table or pixel offset outside the file, and for headers cut short.
TBmpHeader ParseBmpHeader(std::span<const uint8_t> head, uint64_t fileSize);

// The invalid-bitmap failure every part of the reader raises.
[[noreturn]] void ThrowInvalidBmp();

}  // namespace kobalto
