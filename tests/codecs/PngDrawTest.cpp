#include <gtest/gtest.h>

#include "codecs/png/PngComposite.h"
#include "tests/codecs/PngTestFiles.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using namespace pngtest;

// A 3 x 2 RGBA picture: opaque, half and fully transparent pixels.
TPNGPicture Rgba()
{
    const Bytes rows = {0, 200, 100, 50, 255, 200, 100, 50, 128, 200, 100, 50, 0,
                        0, 1, 2, 3, 255, 4, 5, 6, 1, 7, 8, 9, 254};
    return Load(File(Ihdr(3, 2, 8, 6), rows));
}

TEST(PngDraw, PartialTransparencyMixesWithTheTarget)
{
    TBitmap target(3, 2);
    target.Fill(TColor{10, 20, 30});
    Rgba().Draw(target, 0, 0);
    EXPECT_EQ(target.Pixel(0, 0), (TColor{200, 100, 50}));
    // (s * a + (255 - a) * t + 255) >> 8, worked out by hand.
    EXPECT_EQ(target.Pixel(1, 0), (TColor{105, 60, 40}));
    EXPECT_EQ(target.Pixel(2, 0), (TColor{10, 20, 30}));
    EXPECT_EQ(target.Pixel(0, 1), (TColor{1, 2, 3}));
    EXPECT_EQ(target.Pixel(1, 1), (TColor{10, 20, 30}));
    // Alpha 254: the rounding term lifts some samples by one.
    EXPECT_EQ(target.Pixel(2, 1), (TColor{7, 9, 10}));
}

TEST(PngDraw, DrawingIsClippedToTheTarget)
{
    const TPNGPicture png = Rgba();
    struct Case {
        int x, y;
        TColor at00;
    };
    for (const Case& c : {Case{-2, -1, {8, 9, 10}}, Case{1, 1, kWhite}, Case{3, 0, kWhite}, Case{0, -2, kWhite}}) {
        TBitmap target(2, 2);
        png.Draw(target, c.x, c.y);
        EXPECT_EQ(target.Pixel(0, 0), c.at00) << c.x << "," << c.y;
    }
    TBitmap target(2, 2);
    png.Draw(target, 1, 1);
    EXPECT_EQ(target.Pixel(1, 1), (TColor{200, 100, 50}));
}

TEST(PngDraw, TakingThePixelsOnWhiteEqualsDrawingOnWhite)
{
    const std::vector<Bytes> files = {
        File(Ihdr(3, 2, 8, 6), {0, 200, 100, 50, 255, 200, 100, 50, 128, 200, 100, 50, 0,
                                0, 1, 2, 3, 255, 4, 5, 6, 1, 7, 8, 9, 254}),
        File(Ihdr(2, 1, 8, 2), {0, 1, 2, 3, 4, 5, 6}, {Chunk("tRNS", {0, 1, 0, 2, 0, 3})}),
        File(Ihdr(2, 1, 8, 2), {0, 1, 2, 3, 4, 5, 6}),
    };
    for (const Bytes& file : files) {
        TPNGPicture png = Load(file);
        TBitmap drawn(png.Width(), png.Height());
        png.Draw(drawn, 0, 0);
        const std::unique_ptr<TBitmap> taken = png.TakeBitmapOnWhite();
        ASSERT_TRUE(taken);
        EXPECT_EQ(taken->PixelFormat(), TPixelFormat::pf24bit);
        for (int y = 0; y < drawn.Height(); ++y)
            for (int x = 0; x < drawn.Width(); ++x)
                EXPECT_EQ(taken->Pixel(x, y), drawn.Pixel(x, y));
        EXPECT_TRUE(png.Empty());
    }
    // Indexed pixels are drawn instead.
    TPNGPicture palette = Load(File(Ihdr(1, 1, 8, 3), {0, 0}, {Chunk("PLTE", {1, 2, 3})}));
    EXPECT_FALSE(palette.TakeBitmapOnWhite());
    EXPECT_FALSE(palette.Empty());
}

TEST(PngDraw, AnAssignedTransparentBitmapLeavesItsKeyColourOut)
{
    TBitmap b = test::PatternBitmap(4, 3);
    b.SetPixel(0, 2, TColor{1, 2, 3});
    b.SetPixel(3, 0, TColor{1, 2, 3});
    b.SetTransparent(true);
    TPNGPicture png;
    png.AssignBitmap(b);
    for (const TPNGPicture& p : {png, Load(Save(png))}) {
        TBitmap target(4, 3);
        target.Fill(TColor{9, 9, 9});
        p.Draw(target, 0, 0);
        EXPECT_EQ(target.Pixel(0, 2), (TColor{9, 9, 9}));
        EXPECT_EQ(target.Pixel(3, 0), (TColor{9, 9, 9}));
        EXPECT_EQ(target.Pixel(1, 1), b.Pixel(1, 1));
    }
}

}  // namespace
}  // namespace kobalto
