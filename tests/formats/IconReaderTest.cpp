// The icon readers on built files: the 32-bit reader's fixed offsets and
// walk, the general reader's composition, entry checks and image order.
#include <gtest/gtest.h>

#include "base/TMemoryStream.h"
#include "codecs/png/TPNGPicture.h"
#include "formats/icon/TIcon32.h"
#include "formats/icon/TInternalIcon.h"
#include "tests/formats/IconTestBuilder.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using test::IconImageSpec;

bool LoadIcon32(TIcon32& icon, const std::vector<uint8_t>& bytes)
{
    TMemoryStream stream(bytes);
    return icon.LoadFromStream(stream);
}

TInternalIcon LoadInternal(const std::vector<uint8_t>& bytes)
{
    TInternalIcon icon;
    TMemoryStream stream(bytes);
    icon.LoadFromStream(stream);
    return icon;
}

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    ASSERT_LE(at + 4, b.size());
    const uint8_t bytes[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    std::copy(bytes, bytes + 4, b.begin() + static_cast<std::ptrdiff_t>(at));
}

uint32_t Rgb(int x, int y) { return 0x01000000u * 77 | static_cast<uint32_t>(x * 0x100 + y * 0x10000 + 5); }
TColor RgbColor(int x, int y) { return TColor{uint8_t(y), uint8_t(x), 5}; }

TEST(Icon32, ReadsTheColourBytesAndIgnoresAlphaAndMask)
{
    // 12 x 5: not square, read at its real height.
    IconImageSpec s{.width = 12, .height = 5, .bits = 32, .pixel = Rgb, .masked = [](int, int) { return true; },
                    .headerImageSize = 12 * 5 * 4};
    TIcon32 icon;
    ASSERT_TRUE(LoadIcon32(icon, test::BuildIcon({s})));
    EXPECT_EQ(icon.IconWidth(), 12);
    EXPECT_EQ(icon.IconHeight(), 5);
    ASSERT_EQ(icon.Bitmap().Height(), 5);
    EXPECT_EQ(icon.Bitmap().PixelFormat(), TPixelFormat::pf32bit);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(icon.Bitmap().Pixel(x, y), RgbColor(x, y)) << x << "," << y;
}

TEST(Icon32, AnImageSizeBelow100MeansTheByteCountLess104)
{
    // Entry byte count R = 40 + colour rows + mask rows; the walk takes
    // R - 104 bytes when the header's size is below 100, else the header's.
    const struct {
        int side;
        uint32_t headerImageSize;
        int rowsRead;  // from the bottom; the rest stays white
    } cases[] = {
        {16, 0, 16},      // 1128 - 104 = 1024: exactly the colour rows
        {16, 99, 16},
        {8, 0, 7},        // 328 - 104 = 224: seven rows of 32 bytes
        {8, 100, 3},      // 100 bytes: three rows and one pixel more
        {8, 64, 7},
        {32, 0, 32},      // more than the rows: the walk stops after the last row
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.side) + " " + std::to_string(c.headerImageSize));
        IconImageSpec s{.width = c.side, .height = c.side, .bits = 32, .pixel = Rgb,
                        .headerImageSize = c.headerImageSize};
        TIcon32 icon;
        ASSERT_TRUE(LoadIcon32(icon, test::BuildIcon({s})));
        for (int y = 0; y < c.side; ++y) {
            const bool read = y >= c.side - c.rowsRead;
            EXPECT_EQ(icon.Bitmap().Pixel(1, y), read ? RgbColor(1, y) : kWhite) << y;
        }
    }
}

TEST(Icon32, RefusesWhatItCannotRead)
{
    const IconImageSpec s32{.width = 16, .height = 16, .bits = 32, .pixel = Rgb};
    const std::vector<uint8_t> good = test::BuildIcon({s32});
    auto with = [&](size_t at, uint32_t v) {
        std::vector<uint8_t> b = good;
        Put32(b, at, v);
        return b;
    };
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"empty", {}},
        {"first image of 24 bits", test::BuildIcon({IconImageSpec{.bits = 24}})},
        {"width 0", with(26, 0)},
        {"negative width", with(26, 0xFFFFFFF0)},
        {"height 1 halves to 0", with(30, 1)},
        {"colour rows cut short", std::vector<uint8_t>(good.begin(), good.begin() + 62 + 1000)},
        {"too wide to allocate", with(26, 0x7FFFFFFF)},
        // A second entry's planes and depth sit where the width would be.
        {"two entries", test::BuildIcon({s32, s32})},
        {"a PNG entry", test::BuildIcon({IconImageSpec{.raw = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13},
                                                        .entryWidth = 16, .entryHeight = 16, .entryBits = 32}})},
    };
    for (const auto& c : cases) {
        TIcon32 icon;
        EXPECT_FALSE(LoadIcon32(icon, c.bytes)) << c.what;
    }
    for (size_t n = 0; n < good.size(); n += 7) {
        TIcon32 icon;
        LoadIcon32(icon, std::vector<uint8_t>(good.begin(), good.begin() + n));  // must not crash
    }
}

TEST(InternalIcon, ComposesMaskAndColourOverWhite)
{
    // Mask 1 and black: white. Mask 1 and a colour: the colour inverted.
    // Mask 0: the colour.
    const std::vector<uint32_t> palette{0x000000, 0x102030, 0xFFFFFF, 0x808080};
    IconImageSpec s{.width = 4, .height = 2, .bits = 4, .palette = palette,
                    .pixel = [](int x, int) { return static_cast<uint32_t>(x); },
                    .masked = [](int, int y) { return y == 0; }};
    const TInternalIcon icon = LoadInternal(test::BuildIcon({s}));
    int colorCount = -1;
    const TBitmap* b = icon.GetImage(0, &colorCount);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(colorCount, 16);
    EXPECT_EQ(b->PixelFormat(), TPixelFormat::pf24bit);
    const TColor top[] = {kWhite, TColor{0xEF, 0xDF, 0xCF}, kBlack, TColor{0x7F, 0x7F, 0x7F}};
    const TColor bottom[] = {kBlack, TColor{0x10, 0x20, 0x30}, kWhite, TColor{0x80, 0x80, 0x80}};
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(b->Pixel(x, 0), top[x]) << x;
        EXPECT_EQ(b->Pixel(x, 1), bottom[x]) << x;
    }
}

TEST(InternalIcon, DecodesEveryDepth)
{
    const struct {
        int bits;
        int colorCount;
    } cases[] = {{1, 2}, {4, 16}, {8, 256}, {16, 0}, {24, 0}, {32, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        // Odd width: padding in every row kind.
        IconImageSpec s{.width = 5, .height = 3, .bits = c.bits};
        std::vector<uint32_t> palette;
        if (c.bits <= 8) {
            for (int i = 0; i < (1 << c.bits); ++i)
                palette.push_back(static_cast<uint32_t>(i * 0x010203));
            s.palette = palette;
            s.pixel = [&c](int x, int y) { return static_cast<uint32_t>((x + 2 * y) % (1 << c.bits)); };
        } else if (c.bits == 16) {
            s.pixel = [](int x, int y) { return static_cast<uint32_t>((x << 10) | (y << 5) | 31); };
        } else {
            s.pixel = Rgb;
        }
        const TInternalIcon icon = LoadInternal(test::BuildIcon({s}));
        int colorCount = -1;
        const TBitmap* b = icon.GetImage(0, &colorCount);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(colorCount, c.colorCount);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) {
                TColor expected;
                if (c.bits <= 8) {
                    const uint32_t v = palette[s.pixel(x, y)];
                    expected = TColor{uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
                } else if (c.bits == 16) {
                    auto widen = [](int f) { return static_cast<uint8_t>((f << 3) | (f >> 2)); };
                    expected = TColor{widen(x), widen(y), 255};
                } else {
                    expected = RgbColor(x, y);
                }
                ASSERT_EQ(b->Pixel(x, y), expected) << x << "," << y;
            }
    }
}

TEST(InternalIcon, OneBitMaskStartsRightAfterTheColourRows)
{
    // 16 pixels at 1 bit: colour rows of 4 bytes, so the mask begins 64
    // bytes after the colour rows do. Only the mask's first stored row (the
    // bottom row) masks, and only its first pixel.
    IconImageSpec s{.width = 16, .height = 16, .bits = 1, .palette = {0x000000, 0xFF0000},
                    .pixel = [](int, int) { return 1u; },
                    .masked = [](int x, int y) { return x == 0 && y == 15; }};
    std::vector<uint8_t> file = test::BuildIcon({s});
    ASSERT_EQ(file.size(), 22u + 40 + 8 + 64 + 64);
    const TInternalIcon icon = LoadInternal(file);
    const TBitmap* b = icon.GetImage(0);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Pixel(0, 15), (TColor{0, 255, 255}));  // red inverted
    EXPECT_EQ(b->Pixel(1, 15), (TColor{255, 0, 0}));
    EXPECT_EQ(b->Pixel(0, 0), (TColor{255, 0, 0}));
}

TEST(InternalIcon, TheEntrySizeRulesAndAZeroByteMeans256)
{
    // The header says 8 x 8; the entry says 16 x 4: the image is stretched.
    IconImageSpec s{.width = 8, .height = 8, .bits = 24, .pixel = Rgb, .entryWidth = 16, .entryHeight = 4};
    const TInternalIcon stretched = LoadInternal(test::BuildIcon({s}));
    const TBitmap* b = stretched.GetImage(0);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Width(), 16);
    EXPECT_EQ(b->Height(), 4);

    IconImageSpec big{.width = 256, .height = 256, .bits = 1, .palette = {0, 0xFFFFFF}};
    const TInternalIcon icon = LoadInternal(test::BuildIcon({big}));
    ASSERT_NE(icon.GetImage(0), nullptr);
    EXPECT_EQ(icon.GetImage(0)->Width(), 256);
    EXPECT_EQ(icon.GetImage(0)->Height(), 256);
}

TEST(InternalIcon, BrokenImagesAreSkippedAndTheFirstDecodableWins)
{
    const IconImageSpec small{.width = 16, .height = 16, .bits = 8, .pixel = [](int, int) { return 3u; }};
    const IconImageSpec large{.width = 48, .height = 48, .bits = 32, .pixel = Rgb};
    std::vector<uint8_t> file = test::BuildIcon({small, large, small});
    const size_t second = 6 + 16;
    // The first entry points past the end of the file.
    Put32(file, 6 + 12, static_cast<uint32_t>(file.size()));
    TInternalIcon icon = LoadInternal(file);
    EXPECT_EQ(icon.EntryCount(), 3);
    ASSERT_EQ(icon.ImageCount(), 2);
    EXPECT_EQ(icon.GetImage(0)->Width(), 48) << "no size is preferred";
    EXPECT_EQ(icon.GetImage(2), nullptr);

    // A byte count reaching past the end skips the image too.
    Put32(file, second + 8, 0xFFFFFFF0);
    EXPECT_EQ(LoadInternal(file).ImageCount(), 1);

    // A depth of 2, a compressed image and a negative height are not read.
    for (auto [at, value] : {std::pair<size_t, uint32_t>{14, 2}, {16, 1}, {8, 0xFFFFFFE0}}) {
        std::vector<uint8_t> one = test::BuildIcon({small});
        if (at == 14)
            one[22 + 14] = static_cast<uint8_t>(value);
        else
            Put32(one, 22 + at, value);
        EXPECT_EQ(LoadInternal(one).ImageCount(), 0) << at;
    }
}

TEST(InternalIcon, AtMostAHundredImages)
{
    std::vector<IconImageSpec> images(101, IconImageSpec{.width = 1, .height = 1, .bits = 24});
    images[100].width = 2;  // the one that would be 101st
    const TInternalIcon icon = LoadInternal(test::BuildIcon(images));
    EXPECT_EQ(icon.EntryCount(), 101);
    EXPECT_EQ(icon.ImageCount(), 100);
    EXPECT_EQ(icon.GetImage(99)->Width(), 1);
}

TEST(InternalIcon, PngEntriesAreDrawnOnWhiteByTheirAlpha)
{
    // A 3 x 1 PNG whose blue is its transparent colour: red, blue, blue.
    TPNGPicture png;
    TBitmap source = test::MakeBitmap(3, 1, [](int x, int) { return x == 0 ? TColor{255, 0, 0} : TColor{0, 0, 255}; });
    png.AssignBitmap(source, true, TColor{0, 0, 255});
    TMemoryStream encoded;
    png.SaveToStream(encoded);
    const TInternalIcon icon =
        LoadInternal(test::BuildIcon({IconImageSpec{.raw = encoded.Bytes(), .entryWidth = 0, .entryHeight = 0}}));
    const TBitmap* b = icon.GetImage(0);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Width(), 3) << "a PNG keeps its own size";
    EXPECT_EQ(b->Pixel(0, 0), (TColor{255, 0, 0}));
    EXPECT_EQ(b->Pixel(2, 0), kWhite);
}

TEST(InternalIcon, TruncatedFilesNeverCrash)
{
    const std::vector<uint8_t> file = test::BuildIcon(
        {IconImageSpec{.width = 9, .height = 7, .bits = 4, .palette = {0xFF}}, IconImageSpec{.bits = 32, .pixel = Rgb}});
    for (size_t n = 0; n <= file.size(); ++n) {
        const TInternalIcon icon = LoadInternal(std::vector<uint8_t>(file.begin(), file.begin() + n));
        EXPECT_LE(icon.ImageCount(), n == file.size() ? 2 : 1) << n;
    }
    EXPECT_FALSE(TInternalIcon().LoadFromFile("/nonexistent/x.ico"));
}

}  // namespace
}  // namespace kobalto
