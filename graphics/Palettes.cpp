#include "graphics/Palettes.h"

#include <cstddef>

namespace kobalto {

namespace {

constexpr TRGBQuad kVga[16] = {
    {0, 0, 0, 0},       {0, 0, 128, 0},     {0, 128, 0, 0},     {0, 128, 128, 0},
    {128, 0, 0, 0},     {128, 0, 128, 0},   {128, 128, 0, 0},   {192, 192, 192, 0},
    {128, 128, 128, 0}, {0, 0, 255, 0},     {0, 255, 0, 0},     {0, 255, 255, 0},
    {255, 0, 0, 0},     {255, 0, 255, 0},   {255, 255, 0, 0},   {255, 255, 255, 0},
};

}  // namespace

std::vector<TRGBQuad> GreyPalette(int bits)
{
    const int count = 1 << bits;
    std::vector<TRGBQuad> ramp(static_cast<size_t>(count));
    for (int v = 0; v < count; ++v) {
        const auto g = static_cast<uint8_t>(v * 255 / (count - 1));
        ramp[static_cast<size_t>(v)] = TRGBQuad{g, g, g, 0};
    }
    return ramp;
}

std::vector<TRGBQuad> StandardPalette(TPixelFormat format)
{
    switch (format) {
    case TPixelFormat::pf1bit:
        return {{0, 0, 0, 0}, {255, 255, 255, 0}};
    case TPixelFormat::pf4bit:
        return std::vector<TRGBQuad>(std::begin(kVga), std::end(kVga));
    case TPixelFormat::pf8bit: {
        std::vector<TRGBQuad> p(std::begin(kVga), std::end(kVga));
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    p.push_back({static_cast<uint8_t>(b * 51), static_cast<uint8_t>(g * 51),
                                 static_cast<uint8_t>(r * 51), 0});
        for (int i = 0; i < 24; ++i) {
            auto v = static_cast<uint8_t>(8 + i * 10);
            p.push_back({v, v, v, 0});
        }
        return p;
    }
    default:
        return {};
    }
}

int NearestPaletteIndex(const std::vector<TRGBQuad>& palette, TColor color)
{
    int best = 0;
    int bestDistance = 1 << 30;
    for (size_t i = 0; i < palette.size(); ++i) {
        int dr = palette[i].red - color.red;
        int dg = palette[i].green - color.green;
        int db = palette[i].blue - color.blue;
        int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
            if (d == 0)
                break;
        }
    }
    return best;
}

}  // namespace kobalto
