// kobalto-cli writing Photoshop, PPM and PCX files.
#include <gtest/gtest.h>

#include <string>

#include "graphics/TBitmap.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

int Cli(const std::string& args) { return test::RunCommand(std::string(KOBALTO_CLI_PATH) + " " + args + " 2>&1"); }

TEST(Cli, ConvertWritesPhotoshopPpmAndPcxThatPeersRead)
{
    if (test::ImageMagickConvert().empty())
        GTEST_SKIP() << "ImageMagick is not installed";
    test::TempDir dir;
    TBitmap source = test::PatternBitmap(40, 26);
    source.SaveToFile(dir.File("in.bmp"));
    for (const char* out : {"o.psd", "o.pdd", "o.ppm", "o.pcx"}) {
        SCOPED_TRACE(out);
        ASSERT_EQ(Cli("convert " + dir.File("in.bmp") + " " + dir.File(out)), 0);
        TBitmap peer;
        ASSERT_TRUE(test::DecodeWithPeer(dir.File(out), peer));
        ASSERT_EQ(peer.Width(), 40);
        ASSERT_EQ(peer.Height(), 26);
        for (int y = 0; y < 26; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(peer.Pixel(x, y), source.Pixel(x, y)) << x << "," << y;
        // Halved: ImageMagick sees the smaller picture.
        ASSERT_EQ(Cli("convert --factor 0.5 " + dir.File("in.bmp") + " " + dir.File(out)), 0);
        ASSERT_TRUE(test::DecodeWithPeer(dir.File(out), peer));
        EXPECT_EQ(peer.Width(), 20);
        EXPECT_EQ(peer.Height(), 13);
    }
}

}  // namespace
}  // namespace kobalto
