#include <gtest/gtest.h>

#include <string>

#include "tests/graphics/BmpTestBuilder.h"

namespace kobalto {
namespace {

using test::BmpSpec;
using test::BuildBmp;
using test::LoadBmp;
using test::PaddedRows;

constexpr uint32_t kBiRgb = 0, kBiBitfields = 3, kBiAlphaBitfields = 6;

std::vector<uint8_t> Words16(std::initializer_list<uint16_t> words)
{
    std::vector<uint8_t> out;
    for (uint16_t w : words) {
        out.push_back(static_cast<uint8_t>(w));
        out.push_back(static_cast<uint8_t>(w >> 8));
    }
    return out;
}

std::vector<uint8_t> Words32(std::initializer_list<uint32_t> words)
{
    std::vector<uint8_t> out;
    for (uint32_t w : words)
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<uint8_t>(w >> (8 * i)));
    return out;
}

struct MaskCase {
    const char* name;
    uint32_t headerSize;
    uint16_t bits;
    uint32_t compression;
    std::vector<uint32_t> masks;
    std::vector<uint8_t> row;  // one file row of three pixels
    TPixelFormat format;
    TColor pixels[3];
};

// Each field is scaled from its own width to 8 bits, rounding; the masks sit
// after a 40-byte header and inside the longer ones.
TEST(BmpBitfields, DecodesEachMaskLayout)
{
    const MaskCase cases[] = {
        {"5-5-5 without masks", 40, 16, kBiRgb, {}, Words16({0x7C00, 0x03E0, 0x8421}),
         TPixelFormat::pf15bit, {{255, 0, 0}, {0, 255, 0}, {8, 8, 8}}},
        {"5-5-5 masks", 40, 16, kBiBitfields, {0x7C00, 0x03E0, 0x001F}, Words16({0x001F, 0x7FFF, 0}),
         TPixelFormat::pf15bit, {{0, 0, 255}, {255, 255, 255}, {0, 0, 0}}},
        {"5-6-5 masks", 40, 16, kBiBitfields, {0xF800, 0x07E0, 0x001F}, Words16({0xF800, 0x07E0, 0x0020}),
         TPixelFormat::pf16bit, {{255, 0, 0}, {0, 255, 0}, {0, 4, 0}}},
        {"4-4-4-4 in a V3 header", 56, 16, kBiBitfields, {0x0F00, 0x00F0, 0x000F, 0xF000},
         Words16({0xFF00, 0x08F0, 0x1234}), TPixelFormat::pf24bit, {{255, 0, 0}, {136, 255, 0}, {34, 51, 68}}},
        {"2-3-1 odd widths", 40, 16, kBiBitfields, {0x30, 0x0E, 0x01}, Words16({0x30, 0x0A, 0x01}),
         TPixelFormat::pf24bit, {{255, 0, 0}, {0, 182, 0}, {0, 0, 255}}},
        {"8-8-0: no blue bits", 40, 16, kBiBitfields, {0xFF00, 0x00FF, 0}, Words16({0x1234, 0xFFFF, 0}),
         TPixelFormat::pf24bit, {{0x12, 0x34, 0}, {255, 255, 0}, {0, 0, 0}}},
        {"32 bits without masks", 40, 32, kBiRgb, {}, Words32({0xFF102030, 0x00FFFFFF, 0x80000000}),
         TPixelFormat::pf32bit, {{0x10, 0x20, 0x30}, {255, 255, 255}, {0, 0, 0}}},
        {"32-bit plain masks in a V4 header", 108, 32, kBiBitfields, {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
         Words32({0x7F010203, 0, 0xFF0000}), TPixelFormat::pf32bit, {{1, 2, 3}, {0, 0, 0}, {255, 0, 0}}},
        {"R, G, B, A bytes in a V5 header", 124, 32, kBiBitfields, {0xFF000000, 0xFF0000, 0xFF00, 0xFF},
         Words32({0x112233FF, 0xFF000000, 0x000000FF}), TPixelFormat::pf32bit,
         {{0x11, 0x22, 0x33}, {255, 0, 0}, {0, 0, 0}}},
        {"10-10-10 masks in a V2 header", 52, 32, kBiBitfields, {0x3FF00000, 0x000FFC00, 0x000003FF},
         Words32({0x3FF00000, 0x00000200, 0x00000001}), TPixelFormat::pf32bit, {{255, 0, 0}, {0, 0, 128}, {0, 0, 0}}},
        {"alpha bit fields after a 40-byte header", 40, 32, kBiAlphaBitfields, {0xFF, 0xFF00, 0xFF0000, 0xFF000000},
         Words32({0xAA0000FF, 0x00FF0000, 0x00123456}), TPixelFormat::pf32bit,
         {{255, 0, 0}, {0, 0, 255}, {0x56, 0x34, 0x12}}},
    };
    for (const MaskCase& c : cases) {
        SCOPED_TRACE(c.name);
        BmpSpec s{.headerSize = c.headerSize, .width = 3, .bits = c.bits, .compression = c.compression,
                  .masks = c.masks, .pixels = c.row};
        s.pixels.resize((s.pixels.size() + 3) / 4 * 4, 0);
        TBitmap b = LoadBmp(BuildBmp(s));
        EXPECT_EQ(b.PixelFormat(), c.format);
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(b.Pixel(x, 0), c.pixels[x]) << "x = " << x;
    }
}

TEST(BmpBitfields, TopDownMaskedRows)
{
    for (uint32_t redMask : {0xF800u, 0x0F00u}) {
        SCOPED_TRACE(redMask);
        const uint32_t greenMask = redMask == 0xF800 ? 0x07E0 : 0x00F0;
        BmpSpec s{.width = 1, .height = -2, .bits = 16, .compression = kBiBitfields,
                  .masks = {redMask, greenMask, 0x000F}, .pixels = PaddedRows({Words16({static_cast<uint16_t>(redMask)}),
                                                                                Words16({0})})};
        TBitmap b = LoadBmp(BuildBmp(s));
        EXPECT_EQ(b.Pixel(0, 0), (TColor{255, 0, 0}));
        EXPECT_EQ(b.Pixel(0, 1), (TColor{0, 0, 0}));
    }
}

// Copied rows keep the bitmap's invariants: zero row padding and a zero
// fourth byte, whatever the file held there.
TEST(BmpBitfields, CopiedRowsDropFilePaddingAndAlpha)
{
    BmpSpec s32{.width = 2, .bits = 32, .pixels = Words32({0xFF0000FF, 0x80FF0000})};
    TBitmap b = LoadBmp(BuildBmp(s32));
    EXPECT_EQ(b.Bits()[3], 0);
    EXPECT_EQ(b.Bits()[7], 0);
    EXPECT_EQ(b.Pixel(1, 0), (TColor{255, 0, 0}));

    BmpSpec s24{.width = 1, .height = 2, .bits = 24, .pixels = {1, 2, 3, 0xAA, 4, 5, 6, 0xBB}};
    TBitmap c = LoadBmp(BuildBmp(s24));
    EXPECT_EQ(c.Bits()[3], 0);
    EXPECT_EQ(c.Bits()[7], 0);
    EXPECT_EQ(c.Pixel(0, 0), (TColor{6, 5, 4}));
}

}  // namespace
}  // namespace kobalto
