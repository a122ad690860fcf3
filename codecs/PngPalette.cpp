#include "codecs/PngPalette.h"

#include "codecs/PngErrors.h"

namespace kobalto {

std::vector<TRGBQuad> ParsePlte(std::span<const uint8_t> data)
{
    if (data.empty() || data.size() % 3 != 0 || data.size() > 3 * 256)
        throw EPNGInvalidPalette();
    const size_t count = data.size() / 3;
    std::vector<TRGBQuad> palette(count);
    for (size_t i = 0; i < count; ++i)
        palette[i] = TRGBQuad{data[3 * i + 2], data[3 * i + 1], data[3 * i], 0};
    return palette;
}

PngTransparency ParseTrns(std::span<const uint8_t> data, const PngHeader& header)
{
    if (data.size() > 256)
        throw EPNGInvalidPalette();
    PngTransparency t;
    auto sample = [&](size_t i) { return static_cast<uint16_t>((data[2 * i] << 8) | data[2 * i + 1]); };
    switch (header.colorType) {
    case kPngPalette:
        t.entryAlpha.assign(data.begin(), data.end());
        break;
    case kPngGrey:
        if (data.size() >= 2) {
            t.hasKey = true;
            t.key[0] = sample(0);
        }
        break;
    case kPngRgb:
        if (data.size() >= 6) {
            t.hasKey = true;
            t.key = {sample(0), sample(1), sample(2)};
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
