// The written TIFF and TGA files as other programs see them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "formats/tiff/Bmp2Tiff.h"
#include "formats/tga/LibTGA.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

bool HaveConvert() { return !test::ImageMagickConvert().empty(); }

TBitmap Converted(const TBitmap& source, TPixelFormat format)
{
    TBitmap b(source);
    b.SetPixelFormat(format);
    return b;
}

// tolerance: how far a peer's 8-bit sample may be from ours.
void ExpectSamePixels(const TBitmap& decoded, const TBitmap& expected, int tolerance)
{
    ASSERT_EQ(decoded.Width(), expected.Width());
    ASSERT_EQ(decoded.Height(), expected.Height());
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x) {
            TColor d = decoded.Pixel(x, y), e = expected.Pixel(x, y);
            ASSERT_LE(std::abs(d.red - e.red), tolerance) << x << "," << y;
            ASSERT_LE(std::abs(d.green - e.green), tolerance) << x << "," << y;
            ASSERT_LE(std::abs(d.blue - e.blue), tolerance) << x << "," << y;
        }
}

TEST(WriterPeers, TiffinfoAcceptsEveryDepth)
{
    if (!test::HaveTool("tiffinfo"))
        GTEST_SKIP() << "tiffinfo is not installed";
    test::TempDir dir;
    TBitmap source = test::PatternBitmap(9, 5);
    for (TPixelFormat f : {TPixelFormat::pf24bit, TPixelFormat::pf32bit, TPixelFormat::pf16bit,
                           TPixelFormat::pf8bit, TPixelFormat::pf4bit, TPixelFormat::pf1bit}) {
        SCOPED_TRACE(BitsPerPixel(f));
        std::string path = dir.File("d" + std::to_string(BitsPerPixel(f)) + ".tif");
        BitmapToTiffFile(path, Converted(source, f));
        std::string out;
        EXPECT_EQ(test::RunCommand("tiffinfo '" + path + "' 2>&1", &out), 0) << out;
        // The one remark allowed: the Software text has no terminating zero
        // byte, by design of the layout (pixels follow it directly).
        const std::string software = "ASCII value for tag \"Software\" does not end in null byte.\n";
        if (size_t at = out.find(software); at != std::string::npos) {
            size_t line = out.rfind('\n', at);
            line = line == std::string::npos ? 0 : line + 1;
            out.erase(line, at + software.size() - line);
        }
        EXPECT_EQ(out.find("rror"), std::string::npos) << out;
        EXPECT_EQ(out.find("arning"), std::string::npos) << out;
        EXPECT_NE(out.find("Merovantis"), std::string::npos) << out;
    }
}

TEST(WriterPeers, ImageMagickReadsTheTiffPixels)
{
    if (!HaveConvert())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    test::TempDir dir;
    TBitmap source = test::PatternBitmap(9, 5);
    struct Case { TPixelFormat format; int tolerance; };
    // The colour map holds each component in the high byte only, so 255
    // comes back as 65280 / 65535 of full scale: one step lower at 8 bits.
    for (Case c : {Case{TPixelFormat::pf24bit, 0}, Case{TPixelFormat::pf32bit, 0}, Case{TPixelFormat::pf15bit, 0},
                   Case{TPixelFormat::pf8bit, 1}, Case{TPixelFormat::pf4bit, 1}, Case{TPixelFormat::pf1bit, 0}}) {
        SCOPED_TRACE(BitsPerPixel(c.format));
        TBitmap b = Converted(source, c.format);
        if (c.format == TPixelFormat::pf4bit)
            b.SetWidth(8);  // the writer keeps whole groups of four columns
        std::string path = dir.File("p.tif");
        BitmapToTiffFile(path, b);
        TBitmap decoded;
        ASSERT_TRUE(test::DecodeWithPeer(path, decoded));
        ExpectSamePixels(decoded, Converted(b, TPixelFormat::pf24bit), c.tolerance);
    }
}

TEST(WriterPeers, ImageMagickReadsTheTgaAsFiveBitColours)
{
    if (!HaveConvert())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    test::TempDir dir;
    for (auto [w, h] : {std::pair{1, 1}, std::pair{3, 2}, std::pair{17, 9}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        TBitmap b = test::PatternBitmap(w, h);
        std::string path = dir.File("p.tga");
        SaveBitmapAsTga(b, path);
        // The file's origin is the lower left; ImageMagick keeps the rows
        // in file order and records that, so it is asked to turn them.
        std::string orientation;
        test::RunCommand("/usr/bin/identify -format '%[orientation]' '" + path + "'", &orientation);
        EXPECT_EQ(orientation, "BottomLeft");
        std::string upright = dir.File("upright.ppm");
        ASSERT_EQ(test::RunCommand(test::ImageMagickConvert() + " '" + path + "' -auto-orient -depth 8 '" + upright + "'"), 0);
        TBitmap decoded;
        ASSERT_TRUE(test::DecodeWithPeer(upright, decoded));
        ASSERT_EQ(decoded.Width(), w);
        ASSERT_EQ(decoded.Height(), h);
        // Whatever way a reader widens 5 bits, the top five stay ours.
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                TColor d = decoded.Pixel(x, y), e = b.Pixel(x, y);
                ASSERT_EQ((TColor{uint8_t(d.red >> 3), uint8_t(d.green >> 3), uint8_t(d.blue >> 3)}),
                          (TColor{uint8_t(e.red >> 3), uint8_t(e.green >> 3), uint8_t(e.blue >> 3)}))
                    << x << "," << y;
            }
    }
}

}  // namespace
}  // namespace kobalto
