#include <gtest/gtest.h>

#include <string>

#include "base/Exceptions.h"
#include "graphics/GraphicsMessages.h"
#include "tests/graphics/BmpTestBuilder.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using test::BmpSpec;
using test::BuildBmp;
using test::LoadBmp;
using test::PaddedRows;
using test::Quad;

constexpr TColor kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kGrey{128, 128, 128};

std::vector<TColor> AllPixels(const TBitmap& b)
{
    std::vector<TColor> out;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            out.push_back(b.Pixel(x, y));
    return out;
}

// The same 3 × 2 8-bit picture behind every header kind: top row red,
// green, blue; bottom row blue, green, red.
TEST(BmpReader, ReadsEveryHeaderKind)
{
    for (uint32_t size : {12u, 16u, 24u, 40u, 52u, 56u, 64u, 108u, 124u}) {
        SCOPED_TRACE("header size " + std::to_string(size));
        BmpSpec s;
        s.headerSize = size;
        s.width = 3;
        s.height = 2;
        s.bits = 8;
        s.colorsUsed = 3;
        s.palette = {Quad(255, 0, 0), Quad(0, 255, 0), Quad(0, 0, 255)};
        s.pixels = PaddedRows({{2, 1, 0}, {0, 1, 2}});
        TBitmap b = LoadBmp(BuildBmp(s));
        EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf8bit);
        ASSERT_EQ(b.Width(), 3);
        ASSERT_EQ(b.Height(), 2);
        EXPECT_EQ(b.Palette().size(), 3u);
        EXPECT_EQ(AllPixels(b), (std::vector<TColor>{kRed, kGreen, kBlue, kBlue, kGreen, kRed}));
    }
}

struct DepthCase {
    const char* name;
    BmpSpec spec;
    TPixelFormat format;
    std::vector<TColor> pixels;  // row by row from the top
};

TEST(BmpReader, KeepsEachDepthWithExactPixels)
{
    const std::vector<TRGBQuad> four = {Quad(255, 0, 0), Quad(0, 255, 0), Quad(0, 0, 255), Quad(128, 128, 128)};
    std::vector<TRGBQuad> sixteen(16, Quad(0, 0, 0));
    sixteen[1] = Quad(255, 0, 0);
    sixteen[7] = Quad(128, 128, 128);
    sixteen[15] = Quad(0, 0, 255);
    const DepthCase cases[] = {
        {"1 bit, odd width",
         {.width = 3, .height = 2, .bits = 1, .palette = {Quad(255, 0, 0), Quad(0, 0, 255)},
          .pixels = PaddedRows({{0b01000000}, {0b10100000}})},
         TPixelFormat::pf1bit, {kBlue, kRed, kBlue, kRed, kBlue, kRed}},
        {"2 bits widen to 4",
         {.width = 5, .height = 1, .bits = 2, .palette = four, .pixels = PaddedRows({{0b11001001, 0b10000000}})},
         TPixelFormat::pf4bit, {kGrey, kRed, kBlue, kGreen, kBlue}},
        {"4 bits, odd width",
         {.width = 3, .height = 1, .bits = 4, .palette = sixteen, .pixels = PaddedRows({{0x1F, 0x70}})},
         TPixelFormat::pf4bit, {kRed, kBlue, kGrey}},
        {"8 bits, 1 x 1",
         {.width = 1, .height = 1, .bits = 8, .palette = four, .pixels = PaddedRows({{3}})},
         TPixelFormat::pf8bit, {kGrey}},
        {"24 bits, odd width",
         {.width = 3, .height = 2, .bits = 24,
          .pixels = PaddedRows({{0, 0, 255, 0, 255, 0, 255, 0, 0}, {128, 128, 128, 1, 2, 3, 0, 0, 0}})},
         TPixelFormat::pf24bit, {kGrey, TColor{3, 2, 1}, kBlack, kRed, kGreen, kBlue}},
    };
    for (const DepthCase& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap b = LoadBmp(BuildBmp(c.spec));
        EXPECT_EQ(b.PixelFormat(), c.format);
        EXPECT_EQ(b.Width(), c.spec.width);
        EXPECT_EQ(AllPixels(b), c.pixels);
    }
}

// Negative height: rows run top-down, so the file's first row is the top.
TEST(BmpReader, NegativeHeightMeansTopDownRows)
{
    for (uint16_t bits : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE("bits " + std::to_string(bits));
        BmpSpec s{.width = 2, .height = 3, .bits = bits};
        if (bits <= 8)
            s.palette = {Quad(255, 0, 0), Quad(0, 255, 0)};
        const size_t rowBytes = (2 * bits + 31) / 32 * 4;
        // Row r of the file: pixel 0 has index 1 or the colour green only in
        // file row 0; everything else is zero.
        s.pixels.assign(rowBytes * 3, 0);
        s.pixels[0] = bits == 1 ? 0x80 : bits == 4 ? 0x10 : bits == 8 ? 1 : 0;
        if (bits > 8)
            s.pixels[1] = 255;
        TBitmap up = LoadBmp(BuildBmp(s));
        s.height = -3;
        TBitmap down = LoadBmp(BuildBmp(s));
        ASSERT_EQ(down.Height(), 3);
        EXPECT_EQ(up.Pixel(0, 2), kGreen);
        EXPECT_EQ(down.Pixel(0, 0), kGreen);
        for (int y = 0; y < 3; ++y)
            EXPECT_EQ(down.Pixel(0, y), up.Pixel(0, 2 - y)) << y;
    }
}

TEST(BmpReader, ColourTableSizeFollowsCountDepthAndOffset)
{
    struct Case {
        const char* name;
        BmpSpec spec;
        size_t entries;
        std::vector<TColor> pixels;
    };
    const std::vector<TRGBQuad> two = {Quad(255, 0, 0), Quad(0, 255, 0)};
    std::vector<TRGBQuad> full(256, Quad(0, 0, 255));
    const Case cases[] = {
        {"indices past a short table are black",
         {.width = 3, .bits = 8, .colorsUsed = 2, .palette = two, .pixels = PaddedRows({{0, 1, 5}})},
         2, {kRed, kGreen, kBlack}},
        {"count zero means 2^bits, cut at the pixel offset",
         {.width = 3, .bits = 8, .palette = two, .pixels = PaddedRows({{1, 0, 2}})},
         2, {kGreen, kRed, kBlack}},
        {"count above 2^bits",
         {.width = 2, .bits = 1, .colorsUsed = 300, .palette = two, .pixels = PaddedRows({{0b01000000}})},
         2, {kRed, kGreen}},
        {"count 300 on 8 bits keeps 256",
         {.width = 1, .bits = 8, .colorsUsed = 300, .palette = full, .pixels = PaddedRows({{255}})},
         256, {kBlue}},
        {"gap between table and pixels",
         {.width = 2, .bits = 4, .colorsUsed = 2, .palette = two, .pixels = PaddedRows({{0x10}}), .gap = 40},
         2, {kGreen, kRed}},
        {"one-entry table on 1 bit",
         {.width = 2, .bits = 1, .colorsUsed = 1, .palette = {Quad(0, 0, 255)}, .pixels = PaddedRows({{0x40}})},
         1, {kBlue, kBlack}},
        {"core header: three-byte entries",
         {.headerSize = 12, .width = 2, .bits = 4, .palette = two, .pixels = PaddedRows({{0x01}})},
         2, {kRed, kGreen}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap b = LoadBmp(BuildBmp(c.spec));
        EXPECT_EQ(b.Palette().size(), c.entries);
        EXPECT_EQ(AllPixels(b), c.pixels);
    }
}

TEST(BmpReader, RefusesBadHeaders)
{
    struct Case {
        const char* name;
        BmpSpec spec;
    };
    const std::vector<TRGBQuad> two = {Quad(0, 0, 0), Quad(255, 255, 255)};
    const std::vector<uint8_t> row = PaddedRows({{0, 0, 0}});
    const Case cases[] = {
        {"header size 0", {.headerSize = 0, .pixels = row}},
        {"header size 66", {.headerSize = 66, .pixels = row}},
        {"header size 200", {.headerSize = 200, .pixels = row}},
        {"zero planes", {.planes = 0, .pixels = row}},
        {"bit count 0", {.bits = 0, .pixels = row}},
        {"bit count 7", {.bits = 7, .pixels = row}},
        {"bit count 64", {.bits = 64, .pixels = row}},
        {"16 bits in a core header", {.headerSize = 12, .bits = 16, .pixels = row}},
        {"RLE8 on 4 bits", {.bits = 4, .compression = 1, .palette = two, .pixels = row}},
        {"RLE4 on 8 bits", {.bits = 8, .compression = 2, .palette = two, .pixels = row}},
        {"bit fields on 24 bits", {.bits = 24, .compression = 3, .masks = {0xFF0000, 0xFF00, 0xFF}, .pixels = row}},
        {"bit fields on 8 bits", {.bits = 8, .compression = 3, .masks = {0xE0, 0x1C, 0x3}, .pixels = row}},
        {"bit fields without any mask bit", {.bits = 16, .compression = 3, .masks = {0, 0, 0}, .pixels = row}},
        {"OS/2 Huffman code", {.headerSize = 64, .bits = 1, .compression = 3, .palette = two, .pixels = row}},
        {"embedded JPEG", {.bits = 24, .compression = 4, .pixels = row}},
        {"embedded PNG", {.bits = 24, .compression = 5, .pixels = row}},
        {"unknown compression", {.bits = 24, .compression = 0xFFFFFFFF, .pixels = row}},
        {"width 0", {.width = 0, .pixels = row}},
        {"negative width", {.width = -3, .pixels = row}},
        {"height 0", {.height = 0, .pixels = row}},
        {"offset past the end", {.pixels = row, .offset = 1000}},
        {"offset at the end: no pixels", {.pixels = {}}},
        {"offset inside the header", {.pixels = row, .offset = 20}},
        {"offset inside the masks", {.bits = 16, .compression = 3, .masks = {0xF800, 0x7E0, 0x1F}, .pixels = row,
                                     .offset = 58}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            LoadBmp(BuildBmp(c.spec));
            ADD_FAILURE() << "accepted";
        } catch (const EInvalidGraphic& e) {
            EXPECT_EQ(std::string(e.what()), msg::kInvalidBitmap);
        }
    }
}

TEST(BmpReader, RefusesBadSignaturesAndCutHeaders)
{
    std::vector<uint8_t> good = BuildBmp({.width = 2, .bits = 1, .palette = {Quad(0, 0, 0), Quad(9, 9, 9)},
                                          .pixels = PaddedRows({{0x40}})});
    std::vector<uint8_t> lower = good;
    lower[1] = 'm';
    EXPECT_THROW(LoadBmp(lower), EInvalidGraphic);
    std::vector<uint8_t> array = good;
    array[0] = 'B';
    array[1] = 'A';
    EXPECT_THROW(LoadBmp(array), EInvalidGraphic);
    // Cut anywhere before the first pixel byte: header or colour table incomplete.
    for (size_t n = 0; n < good.size() - 4; ++n) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(n));
        EXPECT_THROW(LoadBmp(cut), EInvalidGraphic) << n;
    }
}

TEST(BmpReader, SizesOverTheCapAreRefusedBeforeAllocating)
{
    for (auto [w, h] : {std::pair{100000, 100000}, std::pair{1 << 25, 1}, std::pair{1, INT32_MIN},
                        std::pair{INT32_MAX, 6}}) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        EXPECT_THROW(LoadBmp(BuildBmp({.width = w, .height = h, .bits = 24, .pixels = {1, 2, 3, 4}})),
                     EInvalidGraphic);
    }
}

TEST(BmpReader, StartsAtTheStreamPositionAndKeepsTheTransparencySwitch)
{
    std::vector<uint8_t> file = BuildBmp({.width = 1, .bits = 24, .pixels = PaddedRows({{1, 2, 3}})});
    std::vector<uint8_t> bytes = {'j', 'u', 'n', 'k', '!'};
    bytes.insert(bytes.end(), file.begin(), file.end());
    bytes.insert(bytes.end(), 100, 0x77);  // whatever follows the picture
    TMemoryStream stream(bytes);
    stream.SetPosition(5);
    TBitmap b(4, 4);
    b.SetTransparent(true);
    ReadBmp(stream, b);
    EXPECT_EQ(b.Width(), 1);
    EXPECT_EQ(b.Pixel(0, 0), (TColor{3, 2, 1}));
    EXPECT_TRUE(b.Transparent());
}

TEST(BmpReader, FailedReadLeavesTheBitmapAlone)
{
    TBitmap b = test::PatternBitmap(3, 2);
    const TBitmap before = b;
    TMemoryStream stream(BuildBmp({.planes = 0, .pixels = {0, 0, 0, 0}}));
    EXPECT_THROW(ReadBmp(stream, b), EInvalidGraphic);
    ASSERT_EQ(b.Width(), 3);
    EXPECT_EQ(AllPixels(b), AllPixels(before));
}

// What the writer stores in each format comes back in that format, byte for byte.
TEST(BmpReader, ReadsBackWhatTheWriterStoresInEveryFormat)
{
    for (TPixelFormat f : {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit, TPixelFormat::pf15bit,
                           TPixelFormat::pf16bit, TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
        SCOPED_TRACE("bits " + std::to_string(BitsPerPixel(f)));
        TBitmap source = test::PatternBitmap(7, 5);
        source.SetPixelFormat(f);
        TMemoryStream stream;
        source.SaveToStream(stream);
        stream.SetPosition(0);
        TBitmap back;
        back.LoadFromStream(stream);
        ASSERT_EQ(back.PixelFormat(), f);
        ASSERT_EQ(back.ImageSize(), source.ImageSize());
        // The pixels' bytes; row padding carries no picture.
        const size_t used = UsedRowBytes(7, f);
        for (int y = 0; y < 5; ++y)
            EXPECT_EQ(std::vector<uint8_t>(back.ScanLine(y), back.ScanLine(y) + used),
                      std::vector<uint8_t>(source.ScanLine(y), source.ScanLine(y) + used)) << "row " << y;
        EXPECT_EQ(back.Palette(), source.Palette());
    }
}

}  // namespace
}  // namespace kobalto
