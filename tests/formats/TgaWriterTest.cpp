#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/Exceptions.h"
#include "formats/tga/LibTGA.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Tga(const TBitmap& bitmap)
{
    test::TempDir dir;
    SaveBitmapAsTga(bitmap, dir.File("out.tga"));
    return test::ReadBytes(dir.File("out.tga"));
}

size_t FilesIn(const std::string& folder)
{
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                             std::filesystem::directory_iterator()));
}

TEST(TgaWriter, OneByOneFileIsExact)
{
    TBitmap b = test::MakeBitmap(1, 1, [](int, int) { return TColor{255, 128, 7}; });
    const Bytes expected = {
        0, 0, 2,           // no ID, no colour map, uncompressed true colour
        0, 0, 0, 0, 0,     // colour map: first entry, length, entry size
        0, 0, 0, 0,        // origin
        1, 0, 1, 0,        // width, height
        16, 0,             // 16 bits, lower-left origin, no attribute bits
        0x00, 0x7E,        // red 31, green 16, blue 0
    };
    EXPECT_EQ(Tga(b), expected);
}

TEST(TgaWriter, RowsRunBottomFirstWithoutPadding)
{
    const TColor top[3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    const TColor bottom[3] = {{255, 255, 255}, {0, 0, 0}, {128, 64, 32}};
    TBitmap b = test::MakeBitmap(3, 2, [&](int x, int y) { return y == 0 ? top[x] : bottom[x]; });
    const Bytes expected = {
        0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 2, 0, 16, 0,
        0xFF, 0x7F, 0x00, 0x00, 0x04, 0x41,  // bottom row: white, black, 16/8/4
        0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00,  // top row: red, green, blue
    };
    EXPECT_EQ(Tga(b), expected);
}

// Only the top five bits of a component survive.
TEST(TgaWriter, ComponentsAreTruncatedToFiveBits)
{
    struct Case { uint8_t in, out; };
    const Case cases[] = {{0, 0}, {1, 0}, {7, 0}, {8, 1}, {127, 15}, {128, 16}, {247, 30}, {248, 31}, {255, 31}};
    for (int channel = 0; channel < 3; ++channel)
        for (Case c : cases) {
            SCOPED_TRACE("channel " + std::to_string(channel) + " value " + std::to_string(c.in));
            TColor color{};
            (channel == 0 ? color.red : channel == 1 ? color.green : color.blue) = c.in;
            Bytes f = Tga(test::MakeBitmap(1, 1, [&](int, int) { return color; }));
            ASSERT_EQ(f.size(), 20u);
            const unsigned word = f[18] | f[19] << 8;
            EXPECT_EQ(word, unsigned(c.out) << (10 - 5 * channel));
        }
}

TEST(TgaWriter, HeaderCarriesSizeAndLowerLeftOrigin)
{
    for (auto [w, h] : {std::pair{1, 1}, std::pair{300, 2}, std::pair{2, 300}, std::pair{65535, 1}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        Bytes f = Tga(TBitmap(w, h));
        ASSERT_EQ(f.size(), 18 + 2 * size_t(w) * h);
        EXPECT_EQ(Bytes(f.begin(), f.begin() + 12), (Bytes{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(f[12] | f[13] << 8, w);
        EXPECT_EQ(f[14] | f[15] << 8, h);
        EXPECT_EQ(f[16], 16);
        EXPECT_EQ(f[17], 0);
    }
}

// Any pixel format gives the file its 24-bit copy gives.
TEST(TgaWriter, OtherPixelFormatsMatchTheirTwentyFourBitCopy)
{
    TBitmap source = test::PatternBitmap(7, 5);
    for (TPixelFormat f : {TPixelFormat::pf32bit, TPixelFormat::pf16bit, TPixelFormat::pf15bit, TPixelFormat::pf8bit,
                           TPixelFormat::pf4bit, TPixelFormat::pf1bit}) {
        SCOPED_TRACE(BitsPerPixel(f));
        TBitmap b(source);
        b.SetPixelFormat(f);
        TBitmap wide(b);
        wide.SetPixelFormat(TPixelFormat::pf24bit);
        EXPECT_EQ(Tga(b), Tga(wide));
    }
}

TEST(TgaWriter, LeavesNoTemporaryFileAnywhere)
{
    test::TempDir dir;
    SaveBitmapAsTga(test::PatternBitmap(5, 4), dir.File("a.tga"));
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
    const std::string program = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
    for (const std::string& folder : {program, std::filesystem::current_path().string(), dir.Path()})
        EXPECT_FALSE(test::FileExists(folder + "/@temp.bmp")) << folder;
}

TEST(TgaWriter, RefusedPicturesCreateNothing)
{
    test::TempDir dir;
    const std::string existing = dir.File("old.tga");
    test::WriteBytes(existing, {1, 2, 3});
    for (const TBitmap& b : {TBitmap(0, 0), TBitmap(0, 2), TBitmap(2, 0), TBitmap(65536, 1), TBitmap(1, 65536)}) {
        SCOPED_TRACE(std::to_string(b.Width()) + "x" + std::to_string(b.Height()));
        EXPECT_THROW(SaveBitmapAsTga(b, dir.File("new.tga")), EInvalidGraphicOperation);
        EXPECT_THROW(SaveBitmapAsTga(b, existing), EInvalidGraphicOperation);
        EXPECT_EQ(test::ReadBytes(existing), (Bytes{1, 2, 3}));
        EXPECT_EQ(FilesIn(dir.Path()), 1u);
    }
}

}  // namespace
}  // namespace kobalto
