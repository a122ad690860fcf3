// kobalto-cli on the extended formats: TIFF, TGA and EPS files made by a
// peer in several variants are shrunk, and the peer reads what was written.
#include <gtest/gtest.h>

#include <cstdlib>

#include "graphics/TBitmap.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

TEST(ExtendedCli, ShrinksTiffAndTgaVariantsThatPeersMake)
{
    const std::string convert = test::ImageMagickConvert();
    if (convert.empty())
        GTEST_SKIP() << "ImageMagick is not installed";
    test::TempDir dir;
    // A vertical gradient of about 4 levels a row: a nearest-neighbour halving
    // takes row 2y or 2y + 1, so colours stay within 5 of row 2y.
    ASSERT_EQ(test::RunCommand(convert + " -size 64x48 gradient:'#204080-#e0a060' -depth 8 ppm:" +
                               dir.File("src.ppm")), 0);
    struct V {
        const char* name;
        const char* options;  // for the peer writing the input
        int tolerance;        // JPEG data is lossy
    };
    const V variants[] = {
        {"none.tif", "-compress none", 5},
        {"packbits.tif", "-compress rle", 5},
        {"deflate.tif", "-compress zip", 5},
        {"jpeg.tif", "-compress jpeg -quality 95", 10},
        {"tiled.tif", "-compress none -define tiff:tile-geometry=16x16", 5},
        {"planar.tif", "-compress none -interlace plane", 5},
        {"big-endian.tif", "-compress none -endian MSB", 5},
        {"16bit.tif", "-compress none -depth 16", 5},
        {"cmyk.tif", "-compress none -colorspace CMYK", 14},
        {"grey.tif", "-compress none -colorspace Gray", 255},
        {"top-down.tga", "-compress none -orient TopLeft", 5},
        {"bottom-up.tga", "-compress none", 5},
        {"rle.tga", "-compress RLE", 5},
    };
    for (const V& v : variants) {
        SCOPED_TRACE(v.name);
        const std::string in = dir.File(v.name);
        ASSERT_EQ(test::RunCommand(convert + " " + dir.File("src.ppm") + " " + v.options + " " + in), 0);
        TBitmap original;
        ASSERT_TRUE(test::DecodeWithPeer(in, original));
        ASSERT_EQ(test::RunCommand(std::string(KOBALTO_CLI_PATH) + " shrink --percent 50 --out " + dir.File("out") +
                                   " " + in + " >/dev/null"),
                  0);
        TBitmap shrunk;
        ASSERT_TRUE(test::DecodeWithPeer(dir.File("out/") + v.name, shrunk));
        ASSERT_EQ(shrunk.Width(), 32);
        ASSERT_EQ(shrunk.Height(), 24);
        // Each output pixel is one of the input's (the plain stretch), so the
        // corners and the middle keep their colours; 16-bit TGA output keeps 5 bits.
        const int tolerance = std::string(v.name).ends_with(".tga") ? 12 : v.tolerance;
        for (auto [x, y] : {std::pair{0, 0}, {31, 23}, {16, 12}}) {
            const TColor a = shrunk.Pixel(x, y);
            const TColor b = original.Pixel(2 * x, 2 * y);
            if (v.tolerance == 255) {  // grey: the picture's brightness order must hold
                EXPECT_EQ(a.red, a.green);
                continue;
            }
            EXPECT_NEAR(a.red, b.red, tolerance) << x << "," << y;
            EXPECT_NEAR(a.green, b.green, tolerance) << x << "," << y;
            EXPECT_NEAR(a.blue, b.blue, tolerance) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace kobalto
