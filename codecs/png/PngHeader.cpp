#include "codecs/png/PngHeader.h"

#include "base/Checked.h"
#include "base/Limits.h"
#include "base/TByteReader.h"
#include "codecs/png/PngErrors.h"

namespace kobalto {

namespace {

bool DepthFits(uint8_t colorType, uint8_t depth)
{
    switch (colorType) {
    case kPngGrey:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case kPngPalette:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case kPngRgb:
    case kPngGreyAlpha:
    case kPngRgbAlpha:
        return depth == 8 || depth == 16;
    default:
        return false;
    }
}

}  // namespace

int PngHeader::Channels() const
{
    switch (colorType) {
    case kPngRgb:
        return 3;
    case kPngGreyAlpha:
        return 2;
    case kPngRgbAlpha:
        return 4;
    default:
        return 1;
    }
}

size_t PngHeader::RowBytes(uint32_t count) const
{
    return (CheckedMul(count, static_cast<size_t>(BitsPerPixel())) + 7) / 8;
}

PngHeader ParseIhdr(std::span<const uint8_t> data)
{
    if (data.size() < 13)
        throw EPngInvalidIHDR();
    TByteReader r(data, "PNG", PngTruncated);
    PngHeader h;
    h.width = r.U32BE();
    h.height = r.U32BE();
    h.bitDepth = r.U8();
    h.colorType = r.U8();
    const uint8_t compression = r.U8();
    const uint8_t filter = r.U8();
    h.interlace = r.U8();
    if (h.width > kPngMaxSide || h.height > kPngMaxSide)
        throw EPNGSizeExceeds();
    if (compression != 0)
        throw EPNGUnknownCompression();
    if (h.interlace > 1)
        throw EPNGUnknownInterlace();
    if (h.width == 0 || h.height == 0 || !DepthFits(h.colorType, h.bitDepth) || filter != 0)
        throw EPngInvalidIHDR();
    CheckImageSize(h.width, h.height, "PNG");
    return h;
}

std::array<uint8_t, 13> IhdrBytes(const PngHeader& h)
{
    auto be = [](uint32_t v, uint8_t* p) {
        p[0] = static_cast<uint8_t>(v >> 24);
        p[1] = static_cast<uint8_t>(v >> 16);
        p[2] = static_cast<uint8_t>(v >> 8);
        p[3] = static_cast<uint8_t>(v);
    };
    std::array<uint8_t, 13> out{};
    be(h.width, out.data());
    be(h.height, out.data() + 4);
    out[8] = h.bitDepth;
    out[9] = h.colorType;
    out[10] = 0;
    out[11] = 0;
    out[12] = h.interlace;
    return out;
}

}  // namespace kobalto
