#include <gtest/gtest.h>

#include <cstdlib>

#include "graphics/Draw.h"
#include "graphics/TBitmap.h"
#include "tests/support/PeerTool.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

int Cli(const std::string& args) { return test::RunCommand(std::string(KOBALTO_CLI_PATH) + " " + args + " >/dev/null"); }

// The peer's decode of the source, shrunk the way the batch does.
TBitmap Expected(const std::string& source, int width, int height)
{
    TBitmap peer;
    EXPECT_TRUE(test::DecodeWithPeer(source, peer));
    TBitmap shrunk(width, height);
    StretchBitmap(shrunk, peer);
    return shrunk;
}

TEST(PngCli, ShrinkingPhotoLikeAndTransparentPngsGivesFilesPeersRead)
{
    const std::string convert = test::ImageMagickConvert();
    if (convert.empty())
        GTEST_SKIP() << "ImageMagick is not installed";
    test::TempDir dir;
    struct Case {
        const char* name;
        std::string make;
        const char* format;
        int tolerance;  // mixing with white rounds a little differently
    };
    const Case cases[] = {
        {"photo.png",
         "-size 640x480 gradient:'#2060a0-#e0c080' \\( -size 640x480 xc: +noise Random -channel RGB -evaluate "
         "multiply 0.15 \\) -compose plus -composite",
         "PNG24", 0},
        {"alpha.png", "-size 320x240 gradient:'#ff0000-#0000ff' \\( -size 320x240 gradient: \\) -alpha off -compose "
                      "copy_opacity -composite",
         "PNG32", 1},
        {"key.png", "-size 320x240 gradient:'#ff0000-#0000ff' \\( -size 320x240 gradient: \\) -alpha off -compose "
                    "copy_opacity -composite",
         "PNG8", 1},
        {"palette.png", "-size 200x100 plasma:fractal -seed 3 -colors 16 -type Palette", "PNG8", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string in = dir.File(c.name);
        ASSERT_EQ(test::RunCommand(convert + " -seed 1 " + c.make + " " + c.format + ":'" + in + "' 2>/dev/null"), 0);
        ASSERT_EQ(Cli("shrink --percent 50 --out " + dir.File("out") + " " + in), 0);
        const std::string out = dir.File("out/") + c.name;
        std::string report;
        EXPECT_TRUE(test::PeerToolAccepts("pngcheck -q", out, &report)) << report;
        std::string size;
        ASSERT_EQ(test::RunCommand("/usr/bin/identify -format '%w %h' '" + out + "'", &size), 0);
        int w = 0, h = 0;
        ASSERT_EQ(std::sscanf(size.c_str(), "%d %d", &w, &h), 2);
        TBitmap source;
        ASSERT_TRUE(test::DecodeWithPeer(in, source));
        EXPECT_EQ(w, source.Width() / 2);
        EXPECT_EQ(h, source.Height() / 2);
        const TBitmap want = Expected(in, w, h);
        TBitmap got;
        ASSERT_TRUE(test::DecodeWithPeer(out, got));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const TColor a = got.Pixel(x, y), b = want.Pixel(x, y);
                ASSERT_LE(std::abs(a.red - b.red), c.tolerance) << x << "," << y;
                ASSERT_LE(std::abs(a.green - b.green), c.tolerance) << x << "," << y;
                ASSERT_LE(std::abs(a.blue - b.blue), c.tolerance) << x << "," << y;
            }
    }
}

}  // namespace
}  // namespace kobalto
