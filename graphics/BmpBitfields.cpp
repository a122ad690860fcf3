#include "graphics/BmpBitfields.h"

#include <bit>

namespace kobalto {

namespace {

constexpr uint32_t kMaxTableField = 4095;  // fields up to 12 bits go through a table

uint8_t ScaleField(uint32_t value, uint32_t max)
{
    return static_cast<uint8_t>((uint64_t{value} * 255 + max / 2) / max);
}

}  // namespace

TBmpMaskPlan PlanMaskedPixels(int bitCount, const TBmpMasks& m)
{
    if (bitCount == 16) {
        if (m.red == 0x7C00 && m.green == 0x03E0 && m.blue == 0x001F)
            return {TPixelFormat::pf15bit, true};
        if (m.red == 0xF800 && m.green == 0x07E0 && m.blue == 0x001F)
            return {TPixelFormat::pf16bit, true};
        return {TPixelFormat::pf24bit, false};
    }
    const bool plain = m.red == 0x00FF0000 && m.green == 0x0000FF00 && m.blue == 0x000000FF;
    return {TPixelFormat::pf32bit, plain};
}

TBmpMaskDecoder::Channel TBmpMaskDecoder::MakeChannel(uint32_t mask)
{
    Channel c;
    if (mask == 0)
        return c;
    c.mask = mask;
    c.shift = std::countr_zero(mask);
    c.max = mask >> c.shift;
    if (c.max <= kMaxTableField) {
        c.table.resize(c.max + 1);
        for (uint32_t v = 0; v <= c.max; ++v)
            c.table[v] = ScaleField(v, c.max);
    }
    return c;
}

uint8_t TBmpMaskDecoder::Channel::operator()(uint32_t pixel) const
{
    if (mask == 0)
        return 0;
    const uint32_t v = (pixel & mask) >> shift;
    return table.empty() ? ScaleField(v, max) : table[v];
}

TBmpMaskDecoder::TBmpMaskDecoder(const TBmpMasks& masks)
    : red_(MakeChannel(masks.red)), green_(MakeChannel(masks.green)), blue_(MakeChannel(masks.blue))
{
}

void TBmpMaskDecoder::DecodeRow(const uint8_t* src, int width, int bitCount, uint8_t* out, int outBytes) const
{
    for (int x = 0; x < width; ++x) {
        uint32_t p;
        if (bitCount == 16) {
            p = uint32_t{src[0]} | (uint32_t{src[1]} << 8);
            src += 2;
        } else {
            p = uint32_t{src[0]} | (uint32_t{src[1]} << 8) | (uint32_t{src[2]} << 16) | (uint32_t{src[3]} << 24);
            src += 4;
        }
        out[0] = blue_(p);
        out[1] = green_(p);
        out[2] = red_(p);
        if (outBytes == 4)
            out[3] = 0;
        out += outBytes;
    }
}

}  // namespace kobalto
