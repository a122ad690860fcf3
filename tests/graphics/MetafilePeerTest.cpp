// Our written metafiles as a peer (Inkscape) reads them: the bitmap at its
// size. The peer rounds a placeable box up by a pixel and resamples, so the
// shared area is compared with a small mean difference allowed.
#include <gtest/gtest.h>

#include <cstdlib>

#include "graphics/metafile/MetafileWriter.h"
#include "platform/DisplayMetrics.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

TEST(MetafilePeer, InkscapeShowsTheWrittenBitmapAtItsSize)
{
    if (!test::HaveTool("inkscape"))
        GTEST_SKIP() << "inkscape is missing";
    test::TempDir dir;
    // Smooth colours, so a resampling peer is not punished for it.
    const TBitmap b = test::MakeBitmap(60, 41, [](int x, int y) {
        return TColor{static_cast<uint8_t>(x * 4), static_cast<uint8_t>(y * 6), static_cast<uint8_t>(200 - x)};
    });
    for (const char* name : {"a.emf", "a.wmf"}) {
        const std::string path = dir.File(name), png = dir.File(std::string(name) + ".png");
        const bool wmf = std::string(name).ends_with(".wmf");
        test::WriteBytes(path, wmf ? EncodeWmf(b, platform::DisplayMetrics()) : EncodeEmf(b, platform::DisplayMetrics()));
        ASSERT_EQ(test::RunCommand("inkscape '" + path + "' --export-type=png --export-filename='" + png +
                                   "' --export-background=white --export-background-opacity=1 >/dev/null 2>&1"),
                  0);
        TBitmap peer;
        ASSERT_TRUE(test::DecodeWithPeer(png, peer)) << name;
        EXPECT_NEAR(peer.Width(), 60, wmf ? 1 : 0) << name;
        EXPECT_NEAR(peer.Height(), 41, wmf ? 1 : 0) << name;
        double sum = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 59; ++x) {
                const TColor p = peer.Pixel(x, y), q = b.Pixel(x, y);
                sum += std::abs(p.red - q.red) + std::abs(p.green - q.green) + std::abs(p.blue - q.blue);
            }
        EXPECT_LT(sum / (3.0 * 59 * 40), 4.0) << name;
    }
}

}  // namespace
}  // namespace kobalto
