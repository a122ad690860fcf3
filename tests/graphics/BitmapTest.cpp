#include <gtest/gtest.h>

#include "base/TMemoryStream.h"
#include "graphics/Draw.h"
#include "graphics/TBitmap.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

const TColor kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255};

TEST(Bitmap, RowsAreBottomUpAndPaddedToFourBytes)
{
    const struct {
        TPixelFormat format;
        int width;
        size_t stride;
    } cases[] = {{TPixelFormat::pf1bit, 33, 8},  {TPixelFormat::pf4bit, 9, 8},   {TPixelFormat::pf8bit, 5, 8},
                 {TPixelFormat::pf15bit, 3, 8},  {TPixelFormat::pf16bit, 2, 4},  {TPixelFormat::pf24bit, 3, 12},
                 {TPixelFormat::pf24bit, 4, 12}, {TPixelFormat::pf32bit, 3, 12}};
    for (const auto& c : cases) {
        TBitmap b(c.width, 3, c.format);
        EXPECT_EQ(b.Stride(), c.stride) << BitsPerPixel(c.format);
        EXPECT_EQ(b.ScanLine(2), b.Bits());  // the bottom row comes first
        EXPECT_EQ(b.ScanLine(0), b.Bits() + 2 * c.stride);
        for (int x = 0; x < c.width; ++x)
            EXPECT_EQ(b.Pixel(x, 1), kWhite) << BitsPerPixel(c.format) << " " << x;
    }
}

TEST(Bitmap, EveryFormatKeepsTheColoursItCanHold)
{
    const TColor colours[] = {kBlack, kWhite, kRed, kGreen, kBlue};
    for (TPixelFormat f : {TPixelFormat::pf4bit, TPixelFormat::pf8bit, TPixelFormat::pf15bit,
                           TPixelFormat::pf16bit, TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
        TBitmap b(5, 2, f);
        for (int x = 0; x < 5; ++x)
            b.SetPixel(x, 1, colours[x]);
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(b.Pixel(x, 1), colours[x]) << BitsPerPixel(f) << " " << x;
        b.SetPixelFormat(TPixelFormat::pf24bit);
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(b.Pixel(x, 1), colours[x]) << BitsPerPixel(f) << " " << x;
    }
}

TEST(Bitmap, ResizingKeepsTheTopLeftAndPaintsNewAreaWhite)
{
    for (TPixelFormat f : {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf24bit}) {
        TBitmap b(3, 2, f);
        b.Fill(kBlack);
        b.SetSize(10, 4);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 10; ++x)
                EXPECT_EQ(b.Pixel(x, y), (x < 3 && y < 2) ? kBlack : kWhite)
                    << BitsPerPixel(f) << " " << x << "," << y;
        b.SetSize(2, 1);
        EXPECT_EQ(b.Pixel(1, 0), kBlack);
    }
}

TEST(Bitmap, TheKeyColourIsTheBottomLeftPixel)
{
    TBitmap b = test::MakeBitmap(2, 3, [](int x, int y) { return y == 2 && x == 0 ? kRed : kBlue; });
    EXPECT_EQ(b.TransparentColor(), kRed);
    b.SetPixel(0, 2, kGreen);
    EXPECT_EQ(b.TransparentColor(), kGreen);  // looked up anew
    EXPECT_EQ(TBitmap().TransparentColor(), kWhite);
}

TEST(Bitmap, WrittenBmpReadsBackInItsOwnFormat)
{
    for (TPixelFormat f : {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit, TPixelFormat::pf15bit,
                           TPixelFormat::pf16bit, TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
        TBitmap b(7, 3, f);
        b.SetPixel(0, 0, kBlack);
        b.SetPixel(6, 2, kBlack);
        if (BitsPerPixel(f) > 1)
            b.SetPixel(3, 1, kRed);
        TMemoryStream s;
        b.SaveToStream(s);
        s.SetPosition(0);
        TBitmap back;
        back.LoadFromStream(s);
        EXPECT_EQ(back.PixelFormat(), f) << BitsPerPixel(f);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x)
                EXPECT_EQ(back.Pixel(x, y), b.Pixel(x, y)) << BitsPerPixel(f) << " " << x << "," << y;
    }
}

TEST(Draw, CopiesOneToOneClippedAndSkipsTheKeyColour)
{
    TBitmap target(4, 4);
    TBitmap source = test::MakeBitmap(3, 3, [](int x, int) { return x == 0 ? kRed : kBlue; });
    DrawBitmap(target, 2, -1, source);
    EXPECT_EQ(target.Pixel(2, 0), kRed);
    EXPECT_EQ(target.Pixel(3, 1), kBlue);
    EXPECT_EQ(target.Pixel(1, 0), kWhite);
    EXPECT_EQ(target.Pixel(2, 2), kWhite);

    TBitmap clear(4, 4);
    source.SetTransparent(true);  // key: red, the bottom-left pixel
    DrawBitmap(clear, 0, 0, source);
    EXPECT_EQ(clear.Pixel(0, 0), kWhite);
    EXPECT_EQ(clear.Pixel(1, 0), kBlue);
    const std::vector<uint8_t> before(clear.Bits(), clear.Bits() + clear.ImageSize());
    DrawBitmap(clear, 10, 10, source);
    DrawBitmap(clear, -3, 0, source);
    EXPECT_EQ(std::vector<uint8_t>(clear.Bits(), clear.Bits() + clear.ImageSize()), before) << "drawn wholly outside";
}

TEST(Draw, StretchSpreadsDroppedAndRepeatedLinesEvenly)
{
    // Each source column has its own red value; every kept column must be
    // one of those, in order, and enlarging repeats each column 3 times.
    TBitmap source = test::MakeBitmap(9, 1, [](int x, int) { return TColor{static_cast<uint8_t>(x), 0, 0}; });
    TBitmap third(3, 1);
    StretchBitmap(third, source);
    EXPECT_EQ(third.Pixel(0, 0).red, 1);
    EXPECT_EQ(third.Pixel(1, 0).red, 4);
    EXPECT_EQ(third.Pixel(2, 0).red, 7);
    TBitmap big(27, 2);
    StretchBitmap(big, source);
    for (int x = 0; x < 27; ++x)
        EXPECT_EQ(big.Pixel(x, 1).red, x / 3) << x;
    for (TPixelFormat f : {TPixelFormat::pf8bit, TPixelFormat::pf32bit}) {
        TBitmap other = source;
        other.SetPixelFormat(f);
        TBitmap t(3, 1);
        StretchBitmap(t, other);
        EXPECT_EQ(t.Pixel(1, 0), other.Pixel(4, 0)) << BitsPerPixel(f);
    }
}

TEST(Draw, OneBitSourcesAndTheirPixelsWhenReducing)
{
    // Columns alternate black and white: halved, every pixel meets a black one.
    TBitmap stripes(8, 2, TPixelFormat::pf1bit);
    for (int x = 0; x < 8; x += 2)
        for (int y = 0; y < 2; ++y)
            stripes.SetPixel(x, y, kBlack);
    TBitmap half(4, 1);
    StretchBitmap(half, stripes);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(half.Pixel(x, 0), kBlack) << x;
    // The same with the palette the other way round still keeps black.
    TBitmap inverted(8, 1, TPixelFormat::pf1bit);
    inverted.Palette() = {{255, 255, 255, 0}, {0, 0, 0, 0}};
    inverted.Fill(kWhite);
    inverted.SetPixel(5, 0, kBlack);
    TBitmap quarter(2, 1);
    StretchBitmap(quarter, inverted);
    EXPECT_EQ(quarter.Pixel(0, 0), kWhite);
    EXPECT_EQ(quarter.Pixel(1, 0), kBlack);
}

}  // namespace
}  // namespace kobalto
