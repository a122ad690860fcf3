// The single-image icon writer: where a picture goes in the square, the
// exact bytes of the file, and the file as our reader and a peer see it.
#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "base/TMemoryStream.h"
#include "formats/icon/IconPlacement.h"
#include "formats/icon/IconWriter.h"
#include "formats/icon/SaveBitmapAsIcon.h"
#include "formats/icon/TInternalIcon.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

uint32_t U32At(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t{b[at + 3]} << 24);
}
uint16_t U16At(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

TEST(IconPlacement, SidesFittedSizesAndOffsets)
{
    const struct {
        int w, h;
        TIconPlacement expected;
    } cases[] = {
        {32, 32, {32, 32, 32, 0, 0, true}},     // a standard square is taken as it is
        {16, 16, {16, 16, 16, 0, 0, true}},
        {64, 64, {64, 64, 64, 0, 0, true}},
        {24, 24, {32, 32, 32, 0, 0, false}},    // 24 is not in the as-is list
        {10, 10, {16, 16, 16, 0, 0, false}},    // enlarged
        {16, 15, {24, 24, 22, 0, 1, false}},    // 16 is not below 16; 22.5 rounds to the even 22
        {15, 16, {24, 22, 24, 1, 0, false}},
        {100, 50, {64, 64, 32, 0, 16, false}},
        {30, 47, {48, 31, 48, 8, 0, false}},    // 30.6 rounds to 31; (48 - 31) div 2 = 8
        {64, 33, {64, 64, 33, 0, 15, false}},   // exactly 33
        {47, 47, {48, 48, 48, 0, 0, false}},
        {48, 47, {64, 64, 63, 0, 0, false}},    // 62.67 rounds up; (64 - 63) div 2 = 0
        {65, 65, {64, 64, 64, 0, 0, false}},    // reduced
        {1000, 1, {64, 64, 1, 0, 31, false}},   // 0.064 would round to nothing
    };
    for (const auto& c : cases) {
        const TIconPlacement p = PlaceInIcon(c.w, c.h);
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        EXPECT_EQ(p.side, c.expected.side);
        EXPECT_EQ(p.width, c.expected.width);
        EXPECT_EQ(p.height, c.expected.height);
        EXPECT_EQ(p.left, c.expected.left);
        EXPECT_EQ(p.top, c.expected.top);
        EXPECT_EQ(p.asIs, c.expected.asIs);
    }
    EXPECT_THROW(PlaceInIcon(0, 0), EZeroDivide);
}

TEST(IconWriter, SixteenPixelFileByteForByte)
{
    TBitmap b = test::MakeBitmap(16, 16, [](int x, int y) { return TColor{uint8_t(x * 16), uint8_t(y * 16), 7}; });
    const std::vector<uint8_t> f = EncodeIcon(b);
    ASSERT_EQ(f.size(), 894u);
    const std::vector<uint8_t> directory{
        0, 0, 1, 0, 1, 0,                       // reserved, icon, one image
        16, 16, 0, 0, 1, 0, 24, 0,              // 16 x 16, no colour count, 1 plane, 24 bits
        0x68, 0x03, 0, 0, 22, 0, 0, 0,          // 872 bytes at offset 22
        40, 0, 0, 0, 16, 0, 0, 0, 32, 0, 0, 0,  // header: size, width, doubled height
        1, 0, 24, 0, 0, 0, 0, 0,                // planes, bits, no compression
        0x00, 0x03, 0, 0,                       // image size 768
    };
    EXPECT_EQ(std::vector<uint8_t>(f.begin(), f.begin() + 46), directory);
    for (size_t i = 46; i < 62; ++i)
        EXPECT_EQ(f[i], 0) << i;  // resolutions and colour counts
    // Rows bottom-up: the first stored pixel is the bottom-left one, which
    // is the key colour and so black; its neighbour keeps its colour.
    EXPECT_EQ(std::vector<uint8_t>(f.begin() + 62, f.begin() + 68), (std::vector<uint8_t>{0, 0, 0, 7, 240, 16}));
    // Mask: only the bottom-left pixel (x 0, y 15) has the key colour.
    EXPECT_EQ(f[62 + 768], 0x80);
    for (size_t i = 62 + 768 + 1; i < f.size(); ++i)
        EXPECT_EQ(f[i], 0) << i;
}

TEST(IconWriter, EveryPixelOfTheKeyColourIsBlackAndMasked)
{
    // 3 x 2, bottom-left red; a second red pixel at the top right.
    const TColor red{255, 0, 0}, blue{0, 0, 255};
    TBitmap b = test::MakeBitmap(3, 2, [&](int x, int y) { return (x == 0 && y == 1) || (x == 2 && y == 0) ? red : blue; });
    const std::vector<uint8_t> f = EncodeIcon(b);
    // Colour rows of 9 bytes padded to 12, bottom row first; mask rows of 4.
    ASSERT_EQ(f.size(), 62u + 24 + 8);
    const std::vector<uint8_t> colours{
        0, 0, 0, 255, 0, 0, 255, 0, 0, 0, 0, 0,  // bottom: key, blue, blue
        255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0, 0,  // top: blue, blue, key
    };
    EXPECT_EQ(std::vector<uint8_t>(f.begin() + 62, f.begin() + 86), colours);
    EXPECT_EQ(std::vector<uint8_t>(f.begin() + 86, f.end()), (std::vector<uint8_t>{0x80, 0, 0, 0, 0x20, 0, 0, 0}));
    EXPECT_EQ(b.Pixel(0, 1), red) << "the caller's bitmap is not blackened";
}

TEST(IconWriter, OtherDepthsCarryTheirTableAndColourCount)
{
    const struct {
        TPixelFormat format;
        int bits;
        int colorCount;
        uint32_t table;
        uint32_t compression;
    } cases[] = {
        {TPixelFormat::pf1bit, 1, 2, 8, 0},      {TPixelFormat::pf4bit, 4, 16, 64, 0},
        {TPixelFormat::pf8bit, 8, 0, 1024, 0},   // 256 colours do not fit the byte
        {TPixelFormat::pf15bit, 16, 0, 0, 0},    {TPixelFormat::pf16bit, 16, 0, 12, 3},
        {TPixelFormat::pf32bit, 32, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        TBitmap b = test::PatternBitmap(5, 3);
        b.SetPixelFormat(c.format);
        const std::vector<uint8_t> f = EncodeIcon(b);
        const uint32_t colorBytes = static_cast<uint32_t>((5 * c.bits + 31) / 32 * 4 * 3);
        EXPECT_EQ(f[8], c.colorCount);
        EXPECT_EQ(U16At(f, 12), c.bits);
        EXPECT_EQ(U32At(f, 14), 40 + c.table + colorBytes + 4 * 3);
        EXPECT_EQ(U32At(f, 22 + 16), c.compression);
        EXPECT_EQ(f.size(), 22 + 40 + c.table + colorBytes + 4 * 3);
    }
}

TEST(SaveBitmapAsIcon, FileSizesForTheFiveSides)
{
    test::TempDir dir;
    const struct {
        int w, h;
        size_t bytes;
    } cases[] = {{10, 10, 894}, {20, 20, 1886}, {24, 24, 3262}, {40, 30, 7358}, {100, 50, 12862}};
    for (const auto& c : cases) {
        TBitmap b = test::PatternBitmap(c.w, c.h);
        const std::string path = dir.File("out.ico");
        EXPECT_FALSE(SaveBitmapAsIcon(b, path));
        const std::vector<uint8_t> f = test::ReadBytes(path);
        EXPECT_EQ(f.size(), c.bytes) << c.w << "x" << c.h;
        EXPECT_EQ(f[6], f[7]);
        EXPECT_EQ(U32At(f, 30), 2u * f[7]) << "the header's height is doubled";
    }
}

TEST(SaveBitmapAsIcon, FitsOnTheBottomLeftColourAndResizesTheCallersBitmap)
{
    test::TempDir dir;
    const TColor green{0, 200, 0};
    // 100 x 50: green at the bottom-left, elsewhere a pattern that never is green.
    TBitmap b = test::MakeBitmap(100, 50, [&](int x, int y) {
        return y == 49 && x < 10 ? green : TColor{uint8_t(100 + x), 50, uint8_t(y)};
    });
    const std::string path = dir.File("wide.ICO");
    SaveBitmapAsIcon(b, path);
    EXPECT_EQ(b.Width(), 64);
    EXPECT_EQ(b.Height(), 32);

    TInternalIcon reader;
    ASSERT_TRUE(reader.LoadFromFile(path));
    const TBitmap* icon = reader.GetImage(0);
    ASSERT_NE(icon, nullptr);
    ASSERT_EQ(icon->Width(), 64);
    // The background bands (rows 0-15 and 48-63) have the key colour: masked,
    // so white over white; the picture's middle row keeps its colours.
    for (int y : {0, 15, 48, 63})
        EXPECT_EQ(icon->Pixel(10, y), kWhite) << y;
    EXPECT_NE(icon->Pixel(32, 32), kWhite);
    EXPECT_EQ(icon->Pixel(32, 32), b.Pixel(32, 16));
}

TEST(SaveBitmapAsIcon, OnlyIcoPathsAreWritten)
{
    test::TempDir dir;
    TBitmap b = test::PatternBitmap(8, 8);
    SaveBitmapAsIcon(b, dir.File("a.png"));
    SaveBitmapAsIcon(b, dir.File("a.ico.bak"));
    EXPECT_FALSE(test::FileExists(dir.File("a.png")));
    EXPECT_FALSE(test::FileExists(dir.File("a.ico.bak")));
    EXPECT_EQ(b.Width(), 8) << "nothing was resized";
}

TEST(SaveBitmapAsIcon, APeerReadsTheSquareAndItsMask)
{
    const std::string convert = test::ImageMagickConvert();
    if (convert.empty())
        GTEST_SKIP() << "no ImageMagick convert";
    test::TempDir dir;
    // 32 x 32 as it is; the bottom-left colour also appears as a cross.
    const TColor key{10, 20, 30};
    TBitmap b = test::MakeBitmap(32, 32, [&](int x, int y) {
        return (x == 0 && y == 31) || x == 16 || y == 8 ? key : TColor{uint8_t(8 * x), uint8_t(8 * y), 99};
    });
    const std::string path = dir.File("peer.ico");
    SaveBitmapAsIcon(b, path);
    const std::string raw = dir.File("peer.rgba");
    ASSERT_EQ(test::RunCommand(convert + " '" + path + "' -depth 8 rgba:'" + raw + "'"), 0);
    const std::vector<uint8_t> rgba = test::ReadBytes(raw);
    ASSERT_EQ(rgba.size(), 32u * 32 * 4);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const uint8_t* p = rgba.data() + (y * 32 + x) * 4;
            const TColor c = b.Pixel(x, y);
            if (c == key) {
                ASSERT_EQ(p[3], 0) << x << "," << y;
            } else {
                ASSERT_EQ(p[3], 255) << x << "," << y;
                ASSERT_EQ(TColor(p[0], p[1], p[2]), c) << x << "," << y;
            }
        }
}

}  // namespace
}  // namespace kobalto
