// The GIF step of saving, byte for byte on pictures small enough to follow
// by hand, and what it leaves in the bitmap it was given.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "codecs/gif/GifError.h"
#include "codecs/gif/TGIFPicture.h"
#include "imaging/ReduceToOptimalPalette.h"
#include "imaging/SaveBitmapAsGif.h"
#include "imaging/SaveImageFile.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

std::vector<uint8_t> Bytes(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

std::vector<uint8_t> Text(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }

TEST(SaveBitmapAsGif, WritesA1x1PictureByteForByte)
{
    test::TempDir dir;
    TBitmap b = test::MakeBitmap(1, 1, [](int, int) { return TColor{10, 20, 30}; });
    ASSERT_TRUE(SaveBitmapAsGif(b, dir.File("one.gif"), false));
    std::vector<uint8_t> table(768, 0);
    table[0] = 10, table[1] = 20, table[2] = 30;
    const auto expected = Bytes({
        Text("GIF87a"),
        {1, 0, 1, 0, 0x77, 0, 0},                 // screen 1 x 1; resolution and size 7; no global table
        {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0x87},     // descriptor: local table of 256 entries
        table,                                    // the colour, then 255 black entries
        {8, 4, 0x00, 0x01, 0x04, 0x04, 0},        // code size 8; clear, 0, end in 9 bits
        {0x3B},
    });
    EXPECT_EQ(test::ReadBytes(dir.File("one.gif")), expected);
}

TEST(SaveBitmapAsGif, GivesATransparentBitmapA89aStreamWithACutMapAndABlackEntry)
{
    // Blue five times, red twice (the bottom-left pixel, so the key), green
    // once. The map is sorted by use and cut to the three colours, black is
    // appended for the red pixels.
    const TColor blue{0, 0, 255}, red{255, 0, 0}, green{0, 255, 0};
    TBitmap b = test::MakeBitmap(4, 2, [&](int x, int y) {
        if (y == 0)
            return x == 3 ? red : blue;
        return x == 0 ? red : (x == 3 ? green : blue);
    });
    b.SetTransparent(true);
    test::TempDir dir;
    ASSERT_TRUE(SaveBitmapAsGif(b, dir.File("t.gif"), false));
    const auto expected = Bytes({
        Text("GIF89a"),
        {4, 0, 2, 0, 0x11, 0, 0},                          // 4 x 2; 2 bits
        {0x21, 0xF9, 4, 0x01, 0, 0, 3, 0},                 // transparent index 3
        {0x2C, 0, 0, 0, 0, 4, 0, 2, 0, 0x81},              // local table of 4 entries
        {0, 0, 255, 255, 0, 0, 0, 255, 0, 0, 0, 0},        // blue, red, green, black
        {2, 4, 0x84, 0x37, 0x26, 0x05, 0},                 // indices 0 0 0 3 / 3 0 0 2
        {0x3B},
    });
    EXPECT_EQ(test::ReadBytes(dir.File("t.gif")), expected);
    EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_TRUE(b.Transparent());
}

TEST(SaveBitmapAsGif, TransparencyRequestNamesTheBottomLeftIndexOnce)
{
    const TColor blue{0, 0, 255}, red{255, 0, 0};
    for (bool marked : {false, true}) {
        SCOPED_TRACE(marked ? "bitmap marked transparent" : "plain bitmap");
        TBitmap b = test::MakeBitmap(3, 2, [&](int x, int y) { return x == 0 && y == 1 ? red : blue; });
        b.SetTransparent(marked);
        test::TempDir dir;
        ASSERT_TRUE(SaveBitmapAsGif(b, dir.File("t.gif"), true));
        TGIFPicture gif;
        gif.LoadFromFile(dir.File("t.gif"));
        const TGIFFrame& frame = gif.Frames()[0];
        EXPECT_EQ(frame.extensions.size(), 1u);
        EXPECT_EQ(frame.TransparentIndex(), frame.Pixel(0, 1));
        EXPECT_NE(frame.Pixel(0, 1), frame.Pixel(1, 1));
    }
}

TEST(SaveBitmapAsGif, LeavesAn8BitPictureOfAtMost256ColoursInTheBitmap)
{
    // 501 x 1000 lies above the 500000 pixels where the reduction sizes its
    // result differently, 500 x 1000 does not; both give 8 bits.
    for (int width : {500, 501}) {
        SCOPED_TRACE(width);
        TBitmap b = test::MakeBitmap(width, 1000, [](int x, int y) {
            return TColor{static_cast<uint8_t>(x / 2), static_cast<uint8_t>(y / 4), static_cast<uint8_t>((x + y) / 6)};
        });
        const TBitmap source = b;
        test::TempDir dir;
        ASSERT_TRUE(SaveBitmapAsGif(b, dir.File("big.gif"), false));
        ASSERT_EQ(b.PixelFormat(), TPixelFormat::pf8bit);
        EXPECT_EQ(b.Width(), width);
        EXPECT_EQ(b.Height(), 1000);
        EXPECT_EQ(b.Palette().size(), 256u);
        // Dithered, every pixel stays near its colour.
        long total = 0;
        for (int y = 0; y < 1000; y += 7)
            for (int x = 0; x < width; x += 3) {
                const TColor s = source.Pixel(x, y), r = b.Pixel(x, y);
                total += std::abs(s.red - r.red) + std::abs(s.green - r.green) + std::abs(s.blue - r.blue);
            }
        EXPECT_LT(total / ((1000 / 7 + 1) * (width / 3 + 1)), 24);
        TGIFPicture gif;
        gif.LoadFromFile(dir.File("big.gif"));
        EXPECT_EQ(gif.Frames()[0].colorMap.Count(), 256);
    }
}

TEST(SaveBitmapAsGif, RefusesAPictureWithoutPixelsAndWritesNothing)
{
    test::TempDir dir;
    TBitmap empty(0, 0);
    try {
        SaveBitmapAsGif(empty, dir.File("e.gif"), false);
        FAIL() << "no error";
    } catch (const EGIFException& e) {
        EXPECT_STREQ(e.what(), "Cannot write a GIF image without pixels");
    }
    EXPECT_FALSE(test::FileExists(dir.File("e.gif")));
}

TEST(ReduceToOptimalPalette, KeepsAPictureOfFewColoursExact)
{
    const TColor colours[] = {{12, 34, 56}, {200, 10, 10}, {0, 0, 0}, {255, 255, 255}, {128, 128, 0}};
    TBitmap b = test::MakeBitmap(23, 17, [&](int x, int y) { return colours[(x * 3 + y) % 5]; });
    const TBitmap source = b;
    ReduceToOptimalPalette(b);
    ASSERT_EQ(b.PixelFormat(), TPixelFormat::pf8bit);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 23; ++x)
            ASSERT_EQ(b.Pixel(x, y), source.Pixel(x, y)) << x << "," << y;
}

}  // namespace
}  // namespace kobalto
