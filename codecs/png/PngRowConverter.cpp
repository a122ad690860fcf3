#include "codecs/png/PngRowConverter.h"

#include <cstring>

#include "graphics/PackedIndex.h"

namespace kobalto {

namespace {

inline uint16_t Sample16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

// The common case on its own: 8-bit RGB, every column, no key.
void Rgb8ToBgr(const uint8_t* raw, uint32_t count, uint8_t* bgr, const PngGamma& gamma)
{
    if (gamma.Identity()) {
        for (uint32_t i = 0; i < count; ++i, raw += 3, bgr += 3) {
            const uint8_t r = raw[0];
            bgr[0] = raw[2];
            bgr[1] = raw[1];
            bgr[2] = r;
        }
        return;
    }
    const uint8_t* g = gamma.Forward().data();
    for (uint32_t i = 0; i < count; ++i, raw += 3, bgr += 3) {
        const uint8_t r = raw[0];
        bgr[0] = g[raw[2]];
        bgr[1] = g[raw[1]];
        bgr[2] = g[r];
    }
}

}  // namespace

void StoreIndexedRow(const uint8_t* raw, uint32_t count, int depth, uint8_t* out, int bits, uint32_t x0, uint32_t dx)
{
    if (depth == bits && x0 == 0 && dx == 1) {
        std::memcpy(out, raw, (static_cast<size_t>(count) * depth + 7) / 8);
        return;
    }
    if (depth == 8) {
        for (uint32_t i = 0; i < count; ++i)
            WritePackedIndex(out, static_cast<int>(x0 + i * dx), bits, raw[i]);
        return;
    }
    for (uint32_t i = 0; i < count; ++i)
        WritePackedIndex(out, static_cast<int>(x0 + i * dx), bits, ReadPackedIndex(raw, static_cast<int>(i), depth));
}

void ConvertDirectRow(const PngHeader& header, const uint8_t* raw, uint32_t count, uint8_t* bgr, uint8_t* alpha,
                      uint32_t x0, uint32_t dx, const PngTransparency& transparency, const PngGamma& gamma)
{
    const bool wide = header.bitDepth == 16;
    if (header.colorType == kPngRgb && !wide && dx == 1 && !alpha) {
        Rgb8ToBgr(raw, count, bgr + 3 * static_cast<size_t>(x0), gamma);
        return;
    }
    const uint8_t* g = gamma.Forward().data();
    const int channels = header.Channels();
    const size_t step = wide ? 2 : 1;
    const bool keyed = transparency.hasKey && alpha;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* p = raw + static_cast<size_t>(i) * channels * step;
        uint16_t s[4];
        for (int c = 0; c < channels; ++c)
            s[c] = wide ? Sample16(p + c * 2) : p[c];
        const int shift = wide ? 8 : 0;
        const size_t x = x0 + static_cast<size_t>(i) * dx;
        uint8_t* out = bgr + 3 * x;
        uint8_t a = 255;
        switch (header.colorType) {
        case kPngGrey:
        case kPngGreyAlpha:
            out[0] = out[1] = out[2] = g[s[0] >> shift];
            if (header.colorType == kPngGreyAlpha)
                a = static_cast<uint8_t>(s[1] >> shift);
            else if (keyed && s[0] == transparency.key[0])
                a = 0;
            break;
        default:
            out[0] = g[s[2] >> shift];
            out[1] = g[s[1] >> shift];
            out[2] = g[s[0] >> shift];
            if (header.colorType == kPngRgbAlpha)
                a = static_cast<uint8_t>(s[3] >> shift);
            else if (keyed && s[0] == transparency.key[0] && s[1] == transparency.key[1] && s[2] == transparency.key[2])
                a = 0;
            break;
        }
        if (alpha)
            alpha[x] = a;
    }
}

}  // namespace kobalto
