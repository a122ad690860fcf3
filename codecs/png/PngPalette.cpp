#include "codecs/png/PngPalette.h"

#include "base/TByteReader.h"
#include "codecs/png/PngErrors.h"

namespace kobalto {

std::vector<TRGBQuad> ParsePlte(std::span<const uint8_t> data)
{
    if (data.empty() || data.size() % 3 != 0 || data.size() > 3 * 256)
        throw EPNGInvalidPalette();
    TByteReader r(data, "PNG", PngTruncated);
    std::vector<TRGBQuad> palette(data.size() / 3);
    for (TRGBQuad& q : palette) {
        q.red = r.U8();
        q.green = r.U8();
        q.blue = r.U8();
    }
    return palette;
}

PngTransparency ParseTrns(std::span<const uint8_t> data, const PngHeader& header)
{
    if (data.size() > 256)
        throw EPNGInvalidPalette();
    PngTransparency t;
    TByteReader r(data, "PNG", PngTruncated);
    switch (header.colorType) {
    case kPngPalette: {
        const auto alpha = r.Take(data.size());
        t.entryAlpha.assign(alpha.begin(), alpha.end());
        break;
    }
    case kPngGrey:
        if (data.size() >= 2) {
            t.hasKey = true;
            t.key[0] = r.U16BE();
        }
        break;
    case kPngRgb:
        if (data.size() >= 6) {
            t.hasKey = true;
            for (uint16_t& k : t.key)
                k = r.U16BE();
        }
        break;
    default:
        break;
    }
    return t;
}

void CheckPaletteImage(const std::vector<TRGBQuad>& palette, const PngTransparency& transparency)
{
    if (palette.empty() || transparency.entryAlpha.size() > palette.size())
        throw EPNGInvalidPalette();
}

}  // namespace kobalto
