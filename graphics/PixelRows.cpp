#include "graphics/PixelRows.h"

#include <array>
#include <cstring>
#include <unordered_map>

#include "graphics/PackedIndex.h"
#include "graphics/Palettes.h"
#include "graphics/TBitmap.h"

namespace kobalto {

namespace {

void PutEntry(const std::vector<TRGBQuad>& palette, unsigned index, uint8_t* out)
{
    if (index < palette.size()) {
        out[0] = palette[index].blue;
        out[1] = palette[index].green;
        out[2] = palette[index].red;
    } else {
        out[0] = out[1] = out[2] = 0;
    }
}

}  // namespace

void RowToBgr24(const TBitmap& bitmap, int y, uint8_t* out)
{
    const uint8_t* row = bitmap.ScanLine(y);
    const int w = bitmap.Width();
    const auto& pal = bitmap.Palette();
    switch (bitmap.PixelFormat()) {
    case TPixelFormat::pf1bit:
    case TPixelFormat::pf4bit: {
        const int bits = BitsPerPixel(bitmap.PixelFormat());
        for (int x = 0; x < w; ++x)
            PutEntry(pal, ReadPackedIndex(row, x, bits), out + 3 * x);
        break;
    }
    case TPixelFormat::pf8bit:
        for (int x = 0; x < w; ++x)
            PutEntry(pal, row[x], out + 3 * x);
        break;
    case TPixelFormat::pf15bit:
        for (int x = 0; x < w; ++x) {
            unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
            out[3 * x] = Expand5(v & 31);
            out[3 * x + 1] = Expand5((v >> 5) & 31);
            out[3 * x + 2] = Expand5((v >> 10) & 31);
        }
        break;
    case TPixelFormat::pf16bit:
        for (int x = 0; x < w; ++x) {
            unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
            out[3 * x] = Expand5(v & 31);
            out[3 * x + 1] = Expand6((v >> 5) & 63);
            out[3 * x + 2] = Expand5((v >> 11) & 31);
        }
        break;
    case TPixelFormat::pf24bit:
        std::memcpy(out, row, static_cast<size_t>(w) * 3);
        break;
    case TPixelFormat::pf32bit:
        for (int x = 0; x < w; ++x) {
            out[3 * x] = row[4 * x];
            out[3 * x + 1] = row[4 * x + 1];
            out[3 * x + 2] = row[4 * x + 2];
        }
        break;
    }
}

void Bgr24ToRow(TBitmap& bitmap, int y, const uint8_t* in)
{
    uint8_t* row = bitmap.ScanLine(y);
    const int w = bitmap.Width();
    const auto format = bitmap.PixelFormat();
    if (IsIndexed(format)) {
        // Pictures rarely have many colours per row; remember the answers.
        std::unordered_map<uint32_t, uint8_t> cache;
        auto index = [&](const uint8_t* p) {
            uint32_t key = p[0] | (p[1] << 8) | (p[2] << 16);
            auto it = cache.find(key);
            if (it != cache.end())
                return it->second;
            auto i = static_cast<uint8_t>(NearestPaletteIndex(bitmap.Palette(), TColor{p[2], p[1], p[0]}));
            cache.emplace(key, i);
            return i;
        };
        const int bits = BitsPerPixel(format);
        for (int x = 0; x < w; ++x)
            WritePackedIndex(row, x, bits, index(in + 3 * x));
        return;
    }
    switch (format) {
    case TPixelFormat::pf15bit:
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = in + 3 * x;
            unsigned v = (p[0] >> 3) | ((p[1] >> 3) << 5) | ((p[2] >> 3) << 10);
            row[2 * x] = static_cast<uint8_t>(v);
            row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
        }
        break;
    case TPixelFormat::pf16bit:
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = in + 3 * x;
            unsigned v = (p[0] >> 3) | ((p[1] >> 2) << 5) | ((p[2] >> 3) << 11);
            row[2 * x] = static_cast<uint8_t>(v);
            row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
        }
        break;
    case TPixelFormat::pf24bit:
        std::memcpy(row, in, static_cast<size_t>(w) * 3);
        break;
    case TPixelFormat::pf32bit:
        for (int x = 0; x < w; ++x) {
            row[4 * x] = in[3 * x];
            row[4 * x + 1] = in[3 * x + 1];
            row[4 * x + 2] = in[3 * x + 2];
            row[4 * x + 3] = 0;
        }
        break;
    default:
        break;
    }
}

}  // namespace kobalto
