// Bilinear and B-spline pixels against ImageMagick evaluating the same source
// points (target pixel × ratio, pixel centres at whole coordinates) with its
// own interpolators.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "graphics/TBitmap.h"
#include "resample/ResampleBitmap.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

// ImageMagick rounds through 16-bit samples, so its bytes may be one off.
constexpr int kTolerance = 1;

TEST(ResamplerPeer, MatchesImageMagickInterpolation)
{
    const std::string convert = test::ImageMagickConvert();
    if (convert.empty())
        GTEST_SKIP() << "ImageMagick is not installed";
    const struct {
        TResampleFilter filter;
        const char* peerMethod;
        // The peer clamps neighbours to the edge; ours reads the base pixel
        // instead, which differs only where a 4 × 4 window crosses the far
        // edge, so those pixels are left out.
        bool skipFarEdge;
    } filters[] = {{TResampleFilter::rfBilinear, "Bilinear", false}, {TResampleFilter::rfBSpline, "Spline", true}};
    const struct {
        int w, h;
    } targets[] = {{8, 17}, {5, 4}, {13, 11}, {26, 3}};
    const int W = 13, H = 11;

    test::TempDir dir;
    const TBitmap source = test::PatternBitmap(W, H);
    source.SaveToFile(dir.File("source.bmp"));
    for (const auto& f : filters) {
        for (const auto& t : targets) {
            SCOPED_TRACE(std::string(f.peerMethod) + " to " + std::to_string(t.w) + "x" + std::to_string(t.h));
            const std::string out = dir.File("peer.ppm");
            const std::string fx = "v.p{i*" + std::to_string(W) + "/" + std::to_string(t.w) + ",j*" +
                                   std::to_string(H) + "/" + std::to_string(t.h) + "}";
            const std::string cmd = convert + " -size " + std::to_string(t.w) + "x" + std::to_string(t.h) +
                                    " xc:black '" + dir.File("source.bmp") + "' -interpolate " + f.peerMethod +
                                    " -fx '" + fx + "' -depth 8 '" + out + "' 2>/dev/null";
            ASSERT_EQ(test::RunCommand(cmd), 0) << cmd;
            TBitmap peer;
            ASSERT_TRUE(test::DecodeWithPeer(out, peer));
            ASSERT_EQ(peer.Width(), t.w);
            ASSERT_EQ(peer.Height(), t.h);

            auto ours = std::make_unique<TBitmap>(source);
            ASSERT_TRUE(ResampleBitmap(ours, t.w, t.h, f.filter));
            int compared = 0;
            for (int y = 0; y < t.h; ++y) {
                for (int x = 0; x < t.w; ++x) {
                    // Base pixel of the window, the same integer division the
                    // ratios imply for these small sizes.
                    const int n = x * W / t.w;
                    const int p = y * H / t.h;
                    if (f.skipFarEdge && (n == W - 2 || p == H - 2))
                        continue;
                    const TColor a = ours->Pixel(x, y);
                    const TColor b = peer.Pixel(x, y);
                    EXPECT_LE(std::abs(a.red - b.red), kTolerance) << "red at " << x << "," << y;
                    EXPECT_LE(std::abs(a.green - b.green), kTolerance) << "green at " << x << "," << y;
                    EXPECT_LE(std::abs(a.blue - b.blue), kTolerance) << "blue at " << x << "," << y;
                    ++compared;
                }
            }
            EXPECT_GT(compared, t.w * t.h / 2);
        }
    }
}

}  // namespace
}  // namespace kobalto
