// Pixel values of the six filters on small pictures whose results are known.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/TBitmap.h"
#include "resample/ResampleBitmap.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using F = TResampleFilter;

const char* FilterName(F f)
{
    switch (f) {
    case F::rfNearest: return "rfNearest";
    case F::rfBilinear: return "rfBilinear";
    case F::rfCubic: return "rfCubic";
    case F::rfLagrange: return "rfLagrange";
    case F::rfBSpline: return "rfBSpline";
    case F::rfMitchell: return "rfMitchell";
    }
    return "?";
}

const F kAllFilters[] = {F::rfNearest, F::rfBilinear, F::rfCubic, F::rfLagrange, F::rfBSpline, F::rfMitchell};

uint8_t Channel(TColor c, int channel)
{
    return channel == 0 ? c.blue : channel == 1 ? c.green : c.red;
}

// The channels not under test hold this; a uniform channel must come through
// untouched, so any leak between channels shows.
constexpr uint8_t kOther = 77;

TColor WithChannel(int channel, uint8_t v)
{
    TColor c{kOther, kOther, kOther};
    (channel == 0 ? c.blue : channel == 1 ? c.green : c.red) = v;
    return c;
}

struct LineCase {
    F filter;
    std::vector<uint8_t> in;
    int newLength;
    std::vector<uint8_t> expected;
    // Where a column comes out otherwise; empty when it matches the row.
    std::vector<uint8_t> expectedVertical = {};
};

// One line of pixels stretched or narrowed along its length.
const LineCase kLineCases[] = {
    // Positions 1.5 and 2.5 both round to 2.
    {F::rfNearest, {10, 20, 30}, 6, {10, 10, 20, 30, 30, 30}},
    {F::rfNearest, {10, 20, 30, 40}, 2, {10, 30}},
    {F::rfBilinear, {0, 255}, 4, {0, 128, 255, 255}},
    {F::rfBilinear, {0, 0, 255, 255}, 8, {0, 0, 0, 128, 255, 255, 255, 255}},
    // Positions 1.5 and 2 are exact ties (127.5 and 212.5). The column weights
    // round them down, the row weights, built from other differences, up.
    {F::rfBSpline, {0, 0, 255, 255}, 8, {0, 5, 43, 127, 212, 250, 255, 255}, {0, 5, 43, 128, 213, 250, 255, 255}},
    {F::rfMitchell, {0, 0, 255, 255}, 8, {0, 0, 14, 128, 241, 255, 255, 255}},
    // The neighbour past the last pixel reads the base column, not the edge
    // (edge clamping would give 159 for the B-spline).
    {F::rfBilinear, {0, 0, 0, 255}, 3, {0, 0, 170}},
    {F::rfCubic, {0, 0, 0, 255}, 3, {0, 0, 208}},
    {F::rfLagrange, {0, 0, 0, 255}, 3, {0, 0, 189}},
    {F::rfBSpline, {0, 0, 0, 255}, 3, {0, 2, 146}},
    {F::rfMitchell, {0, 0, 0, 255}, 3, {0, 0, 181}},
};

TEST(ResamplerFilters, LinesAlongBothAxesAndEveryChannel)
{
    for (const LineCase& lc : kLineCases) {
        const int n = static_cast<int>(lc.in.size());
        for (bool vertical : {false, true}) {
            for (int channel = 0; channel < 3; ++channel) {
                SCOPED_TRACE(std::string(FilterName(lc.filter)) + " to " + std::to_string(lc.newLength) +
                             (vertical ? " vertical" : " horizontal") + " channel " + std::to_string(channel));
                auto at = [&](int x, int y) { return vertical ? y : x; };
                auto bitmap = std::make_unique<TBitmap>(test::MakeBitmap(
                    vertical ? 1 : n, vertical ? n : 1,
                    [&](int x, int y) { return WithChannel(channel, lc.in[static_cast<size_t>(at(x, y))]); }));
                const int w = vertical ? 1 : lc.newLength;
                const int h = vertical ? lc.newLength : 1;
                ASSERT_TRUE(ResampleBitmap(bitmap, w, h, lc.filter));
                ASSERT_EQ(bitmap->Width(), w);
                ASSERT_EQ(bitmap->Height(), h);
                std::vector<uint8_t> got, others;
                for (int k = 0; k < lc.newLength; ++k) {
                    const TColor c = vertical ? bitmap->Pixel(0, k) : bitmap->Pixel(k, 0);
                    got.push_back(Channel(c, channel));
                    others.push_back(Channel(c, (channel + 1) % 3));
                    others.push_back(Channel(c, (channel + 2) % 3));
                }
                EXPECT_EQ(got, vertical && !lc.expectedVertical.empty() ? lc.expectedVertical : lc.expected);
                EXPECT_EQ(others, std::vector<uint8_t>(others.size(), kOther));
            }
        }
    }
}

// A 5 × 4 picture to 3 × 7, narrowing one axis and widening the other. The
// values come from a separate model in exact fractions that rounds every
// operation to a 64-bit significand.
TEST(ResamplerFilters, PictureNarrowedAndWidenedAtOnce)
{
    const struct {
        F filter;
        std::vector<uint8_t> expected;  // 3 × 7, row by row
    } cases[] = {
        {F::rfNearest, {0, 122, 183, 97, 245, 63, 97, 245, 63, 194, 112, 199, 194, 112, 199, 35, 235, 79, 35, 235, 79}},
        {F::rfBilinear,
         {0, 102, 203, 55, 169, 137, 111, 201, 96, 166, 122, 127, 149, 117, 134, 58, 185, 117, 35, 202, 112}},
        {F::rfCubic, {0, 97, 217, 42, 213, 120, 124, 238, 62, 195, 97, 119, 153, 89, 138, 43, 222, 100, 13, 255, 90}},
        {F::rfLagrange,
         {0, 102, 209, 50, 190, 130, 117, 217, 83, 181, 113, 121, 150, 107, 134, 52, 200, 111, 25, 227, 104}},
        {F::rfBSpline,
         {27, 119, 185, 67, 157, 146, 113, 166, 118, 139, 133, 121, 124, 127, 127, 92, 152, 127, 55, 186, 124}},
        {F::rfMitchell,
         {9, 109, 199, 57, 181, 133, 114, 205, 92, 167, 117, 125, 145, 112, 135, 62, 189, 114, 35, 215, 107}},
    };
    const TBitmap source = test::MakeBitmap(5, 4, [](int x, int y) {
        const auto v = static_cast<uint8_t>((x * 61 + y * 97 + x * y * 13) % 256);
        return TColor{v, v, v};
    });
    for (const auto& c : cases) {
        SCOPED_TRACE(FilterName(c.filter));
        auto bitmap = std::make_unique<TBitmap>(source);
        ASSERT_TRUE(ResampleBitmap(bitmap, 3, 7, c.filter));
        std::vector<uint8_t> got;
        for (int y = 0; y < bitmap->Height(); ++y)
            for (int x = 0; x < bitmap->Width(); ++x)
                got.push_back(bitmap->Pixel(x, y).green);
        EXPECT_EQ(got, c.expected);
    }
}

TEST(ResamplerFilters, UniformPictureKeepsItsColour)
{
    const TColor colours[] = {{100, 100, 100}, {0, 255, 1}, {254, 3, 128}};
    for (F filter : kAllFilters) {
        for (TColor colour : colours) {
            SCOPED_TRACE(FilterName(filter));
            auto bitmap = std::make_unique<TBitmap>(test::MakeBitmap(5, 5, [&](int, int) { return colour; }));
            ASSERT_TRUE(ResampleBitmap(bitmap, 3, 3, filter));
            ASSERT_EQ(bitmap->Width(), 3);
            ASSERT_EQ(bitmap->Height(), 3);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 3; ++x)
                    EXPECT_EQ(bitmap->Pixel(x, y), colour) << "at " << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace kobalto
