#include <gtest/gtest.h>

#include <string>

#include "tests/graphics/BmpTestBuilder.h"

namespace kobalto {
namespace {

using test::BmpSpec;
using test::BuildBmp;
using test::LoadBmp;
using test::Quad;

constexpr uint32_t kBiRle8 = 1, kBiRle4 = 2;

// Palette indices of image row y, left to right.
std::vector<int> Indices(const TBitmap& b, int y)
{
    std::vector<int> out;
    const uint8_t* row = b.ScanLine(y);
    for (int x = 0; x < b.Width(); ++x) {
        if (b.PixelFormat() == TPixelFormat::pf8bit)
            out.push_back(row[x]);
        else
            out.push_back((x & 1) ? (row[x >> 1] & 0x0F) : (row[x >> 1] >> 4));
    }
    return out;
}

TBitmap LoadRle(uint32_t compression, int width, int height, std::vector<uint8_t> data)
{
    std::vector<TRGBQuad> palette(compression == kBiRle8 ? 256 : 16);
    for (size_t i = 0; i < palette.size(); ++i)
        palette[i] = Quad(static_cast<uint8_t>(i), 0, 0);
    return LoadBmp(BuildBmp({.width = width, .height = height, .bits = static_cast<uint16_t>(compression == kBiRle8 ? 8 : 4),
                             .compression = compression, .palette = palette, .pixels = std::move(data)}));
}

struct RleCase {
    const char* name;
    uint32_t compression;
    int width, height;
    std::vector<uint8_t> data;
    std::vector<std::vector<int>> rows;  // expected indices, top row first
};

TEST(BmpRle, DecodesRunsEscapesAndDefects)
{
    const RleCase cases[] = {
        // RLE8
        {"encoded runs and end of line", kBiRle8, 4, 2, {3, 7, 1, 9, 0, 0, 2, 5, 0, 1},
         {{5, 5, 0, 0}, {7, 7, 7, 9}}},
        {"absolute run, odd length padded", kBiRle8, 4, 2, {0, 3, 1, 2, 3, 0xEE, 1, 4, 0, 0, 0, 4, 5, 6, 7, 8, 0, 1},
         {{5, 6, 7, 8}, {1, 2, 3, 4}}},
        {"delta skips pixels, which stay 0", kBiRle8, 4, 3, {1, 9, 0, 2, 2, 1, 1, 8, 0, 1},
         {{0, 0, 0, 0}, {0, 0, 0, 8}, {9, 0, 0, 0}}},
        {"early end of bitmap", kBiRle8, 3, 2, {2, 4, 0, 1, 3, 3}, {{0, 0, 0}, {4, 4, 0}}},
        {"no end-of-bitmap code", kBiRle8, 2, 2, {2, 4, 0, 0, 1, 5}, {{5, 0}, {4, 4}}},
        {"run clipped at the row's end", kBiRle8, 3, 2, {200, 1, 0, 0, 2, 2, 0, 1}, {{2, 2, 0}, {1, 1, 1}}},
        {"absolute run clipped at the row's end", kBiRle8, 2, 1, {0, 4, 1, 2, 3, 4, 0, 1}, {{1, 2}}},
        {"rows past the top are dropped", kBiRle8, 1, 1, {1, 3, 0, 0, 1, 4, 0, 0, 1, 5}, {{3}}},
        {"delta beyond the picture ends it", kBiRle8, 2, 2, {0, 2, 0, 9, 1, 1}, {{0, 0}, {0, 0}}},
        {"data ends inside an absolute run", kBiRle8, 4, 1, {0, 4, 6, 7}, {{6, 7, 0, 0}}},
        {"data ends inside a delta", kBiRle8, 2, 1, {1, 3, 0, 2, 1}, {{3, 0}}},
        {"odd trailing byte", kBiRle8, 2, 1, {2, 3, 0}, {{3, 3}}},
        {"zero-length delta repeated", kBiRle8, 2, 1, {0, 2, 0, 0, 0, 2, 0, 0, 2, 1}, {{1, 1}}},
        // RLE4: two pixels a byte, high nibble first, alternating in runs.
        {"RLE4 encoded runs alternate nibbles", kBiRle4, 5, 1, {5, 0x12, 0, 1}, {{1, 2, 1, 2, 1}}},
        {"RLE4 absolute run of 3 pads to a word", kBiRle4, 4, 2,
         {0, 3, 0x34, 0x50, 0, 0, 0, 4, 0xAB, 0xCD, 0, 1}, {{10, 11, 12, 13}, {3, 4, 5, 0}}},
        {"RLE4 absolute run of 5 takes 3 bytes and a pad", kBiRle4, 6, 1,
         {0, 5, 0x12, 0x34, 0x50, 0x00, 1, 0xF0, 0, 1}, {{1, 2, 3, 4, 5, 15}}},
        {"RLE4 delta and clipping", kBiRle4, 3, 2, {0, 2, 1, 1, 9, 0x78, 0, 1}, {{0, 7, 8}, {0, 0, 0}}},
    };
    for (const RleCase& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap b = LoadRle(c.compression, c.width, c.height, c.data);
        EXPECT_EQ(b.PixelFormat(), c.compression == kBiRle8 ? TPixelFormat::pf8bit : TPixelFormat::pf4bit);
        ASSERT_EQ(b.Height(), static_cast<int>(c.rows.size()));
        for (int y = 0; y < b.Height(); ++y)
            EXPECT_EQ(Indices(b, y), c.rows[static_cast<size_t>(y)]) << "row " << y;
    }
}

TEST(BmpRle, TopDownRunsFillFromTheTop)
{
    for (uint32_t compression : {kBiRle8, kBiRle4}) {
        SCOPED_TRACE(compression);
        const uint8_t three = compression == kBiRle8 ? 3 : 0x33, one = compression == kBiRle8 ? 1 : 0x11;
        TBitmap b = LoadRle(compression, 2, -2, {2, three, 0, 0, 2, one, 0, 1});
        EXPECT_EQ(Indices(b, 0), (std::vector<int>{3, 3}));
        EXPECT_EQ(Indices(b, 1), (std::vector<int>{1, 1}));
    }
}

TEST(BmpRle, SkippedPixelsShowPaletteEntryZero)
{
    std::vector<TRGBQuad> palette = {Quad(10, 20, 30), Quad(200, 0, 0)};
    TBitmap b = LoadBmp(BuildBmp({.width = 3, .height = 1, .bits = 8, .compression = kBiRle8, .colorsUsed = 2,
                                  .palette = palette, .pixels = {1, 1, 0, 1}}));
    EXPECT_EQ(b.Pixel(0, 0), (TColor{200, 0, 0}));
    EXPECT_EQ(b.Pixel(1, 0), (TColor{10, 20, 30}));
    EXPECT_EQ(b.Pixel(2, 0), (TColor{10, 20, 30}));
}

}  // namespace
}  // namespace kobalto
