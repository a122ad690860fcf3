#include "graphics/BmpHeader.h"

#include <algorithm>
#include <string_view>

#include "base/Exceptions.h"
#include "base/Limits.h"
#include "base/TByteReader.h"
#include "graphics/GraphicsMessages.h"

namespace kobalto {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreSize = 12;
constexpr uint32_t kInfoSize = 40;
constexpr uint32_t kV2Size = 52;
constexpr uint32_t kV3Size = 56;
constexpr uint32_t kV4Size = 108;
constexpr uint32_t kV5Size = 124;
constexpr uint32_t kOs2MinSize = 16;
constexpr uint32_t kOs2MaxSize = 64;

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;  // Huffman 1D in OS/2 2.x headers
constexpr uint32_t kBiAlphaBitfields = 6;

void OnTruncated(std::string_view) { ThrowInvalidBmp(); }

// The second-generation OS/2 header may be cut after any whole field; the
// sizes taken by the Windows headers are not OS/2 ones.
bool IsOs2Size(uint32_t size)
{
    return size >= kOs2MinSize && size <= kOs2MaxSize && size % 2 == 0 && size != kInfoSize &&
           size != kV2Size && size != kV3Size;
}

bool IsKnownSize(uint32_t size)
{
    return size == kCoreSize || size == kInfoSize || size == kV2Size || size == kV3Size || size == kV4Size ||
           size == kV5Size || IsOs2Size(size);
}

bool IsSupportedDepth(unsigned bits, bool core)
{
    switch (bits) {
    case 1: case 2: case 4: case 8: case 24: return true;
    case 16: case 32: return !core;
    default: return false;
    }
}

TBmpCompression CheckCompression(uint32_t raw, unsigned bits, bool os2)
{
    switch (raw) {
    case kBiRgb:
        return TBmpCompression::Rgb;
    case kBiRle8:
        if (bits != 8)
            ThrowInvalidBmp();
        return TBmpCompression::Rle8;
    case kBiRle4:
        if (bits != 4)
            ThrowInvalidBmp();
        return TBmpCompression::Rle4;
    case kBiBitfields:
    case kBiAlphaBitfields:
        // OS/2's value 3 is its one-dimensional Huffman code, which we do not read.
        if (os2 || (bits != 16 && bits != 32))
            ThrowInvalidBmp();
        return TBmpCompression::Bitfields;
    default:
        // JPEG, PNG and the rest embed other formats.
        ThrowInvalidBmp();
    }
}

TBmpMasks DefaultMasks(unsigned bits)
{
    if (bits == 16)
        return {0x7C00, 0x03E0, 0x001F};
    return {0x00FF0000, 0x0000FF00, 0x000000FF};
}

TBmpMasks ReadMasks(TByteReader& r)
{
    TBmpMasks m;
    m.red = r.U32LE();
    m.green = r.U32LE();
    m.blue = r.U32LE();
    return m;
}

}  // namespace

void ThrowInvalidBmp() { throw EInvalidGraphic(msg::kInvalidBitmap); }

TBmpHeader ParseBmpHeader(std::span<const uint8_t> head, uint64_t fileSize)
{
    TByteReader r(head, "BMP", OnTruncated);
    if (r.U8() != 'B' || r.U8() != 'M')
        ThrowInvalidBmp();
    r.Skip(8);  // file size and reserved words: often wrong, never needed
    const uint32_t offset = r.U32LE();
    const uint32_t size = r.U32LE();
    if (!IsKnownSize(size))
        ThrowInvalidBmp();
    TByteReader h = r.Sub(size - 4);

    const bool core = size == kCoreSize;
    const bool os2 = IsOs2Size(size);
    int64_t width, height;
    if (core) {
        width = h.U16LE();
        height = h.U16LE();
    } else {
        width = h.I32LE();
        height = h.I32LE();
    }
    const unsigned planes = h.U16LE();
    const unsigned bits = h.U16LE();
    // Short OS/2 headers end after any field; what they leave out is zero.
    auto optional32 = [&h]() -> uint32_t { return h.Remaining() >= 4 ? h.U32LE() : 0; };
    const uint32_t rawCompression = optional32();
    optional32();  // image size: often zero or wrong, the data's end is the file's
    optional32();  // horizontal resolution
    optional32();  // vertical resolution
    const uint32_t colorsUsed = optional32();

    if (planes == 0 || !IsSupportedDepth(bits, core))
        ThrowInvalidBmp();
    if (width <= 0 || height == 0)
        ThrowInvalidBmp();

    TBmpHeader out;
    out.topDown = height < 0;
    height = height < 0 ? -height : height;
    CheckImageSize(width, height, "BMP");
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.bitCount = static_cast<int>(bits);
    out.compression = CheckCompression(rawCompression, bits, os2);
    out.rowBytes = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;

    if (out.compression == TBmpCompression::Bitfields) {
        if (size == kInfoSize) {
            // The masks follow the 40-byte header; the alpha mask is ignored.
            out.masks = ReadMasks(r);
            if (rawCompression == kBiAlphaBitfields)
                r.Skip(4);
        } else {
            h.Seek(kInfoSize - 4);
            out.masks = ReadMasks(h);
        }
        if ((out.masks.red | out.masks.green | out.masks.blue) == 0)
            ThrowInvalidBmp();
    } else if (bits == 16 || bits == 32) {
        out.masks = DefaultMasks(bits);
    }

    const size_t paletteStart = r.Position();
    if (offset < paletteStart || offset >= fileSize)
        ThrowInvalidBmp();
    if (bits <= 8) {
        const size_t entrySize = core ? 3 : 4;
        const size_t maxColors = size_t{1} << bits;
        size_t colors = (core || colorsUsed == 0) ? maxColors : std::min<size_t>(colorsUsed, maxColors);
        // Pixels start at the offset, so a table that claims more stops there.
        colors = std::min(colors, (offset - paletteStart) / entrySize);
        out.palette.resize(colors);
        for (TRGBQuad& q : out.palette) {
            auto e = r.Take(entrySize);
            q.blue = e[0];
            q.green = e[1];
            q.red = e[2];
        }
    }
    out.dataOffset = offset;
    return out;
}

}  // namespace kobalto
