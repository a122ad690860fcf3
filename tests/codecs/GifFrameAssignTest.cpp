// A bitmap becoming a GIF frame: palettes and indices taken as they are,
// deeper bitmaps reduced, and a transparent bitmap's sorted, cut map with
// its black transparent entry.
#include <gtest/gtest.h>

#include <vector>

#include "codecs/gif/GifError.h"
#include "codecs/gif/GifFrameAssign.h"
#include "codecs/gif/TGIFPicture.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

const TColor kA{0, 0, 255};
const TColor kB{255, 0, 0};
const TColor kC{0, 255, 0};
const TColor kD{10, 20, 30};

// An 8-bit bitmap with the given palette and rows of indices.
TBitmap Indexed(const std::vector<TColor>& palette, const std::vector<std::vector<int>>& rows)
{
    TBitmap b(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), TPixelFormat::pf8bit);
    b.Palette().clear();
    for (const TColor& c : palette)
        b.Palette().push_back(TRGBQuad{c.blue, c.green, c.red, 0});
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            b.ScanLine(static_cast<int>(y))[x] = static_cast<uint8_t>(rows[y][x]);
    return b;
}

std::vector<std::vector<int>> Rows(const TGIFFrame& f)
{
    std::vector<std::vector<int>> rows(f.height);
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x)
            rows[static_cast<size_t>(y)].push_back(f.Pixel(x, y));
    return rows;
}

TEST(GifFrameAssign, TakesIndexedBitmapsAsTheyAre)
{
    TBitmap eight = Indexed({kA, kB, kC}, {{0, 1}, {2, 2}});
    TBitmap one(3, 1, TPixelFormat::pf1bit);
    one.SetPixel(1, 0, kBlack);
    TBitmap four(2, 1, TPixelFormat::pf4bit);
    four.SetPixel(0, 0, TColor{255, 0, 0});
    struct Case {
        const char* name;
        const TBitmap& bitmap;
        int mapCount;
        std::vector<std::vector<int>> rows;
    };
    for (const Case& c : {Case{"8 bits", eight, 3, {{0, 1}, {2, 2}}}, Case{"1 bit", one, 2, {{1, 0, 1}}},
                          Case{"4 bits", four, 16, {{9, 15}}}}) {
        SCOPED_TRACE(c.name);
        auto frame = FrameFromBitmap(c.bitmap, TGIFConversion{});
        EXPECT_EQ(frame->width, c.bitmap.Width());
        EXPECT_EQ(frame->height, c.bitmap.Height());
        EXPECT_EQ(frame->colorMap.Count(), c.mapCount);
        EXPECT_EQ(frame->colorMap.ToPalette(), c.bitmap.Palette());
        EXPECT_EQ(Rows(*frame), c.rows);
        EXPECT_TRUE(frame->extensions.empty());
        EXPECT_EQ(frame->Version(), TGIFVersion::gv87a);
    }
}

TEST(GifFrameAssign, ReducesDeeperBitmapsToAPalette)
{
    const TBitmap b = test::PatternBitmap(30, 20);
    auto frame = FrameFromBitmap(b, TGIFConversion{TColorReduction::kOptimized, TDitherMode::kNearest, 4});
    EXPECT_EQ(frame->colorMap.Count(), 16);
    for (uint8_t index : frame->data)
        EXPECT_LT(index, 16);
}

TEST(GifFrameAssign, GivesATransparentBitmapASortedCutMapAndABlackEntry)
{
    struct Case {
        const char* name;
        std::vector<TColor> palette;
        std::vector<std::vector<int>> rows;
        std::vector<TColor> map;
        std::vector<std::vector<int>> frameRows;
        int transparentIndex;
    };
    const Case cases[] = {
        // A 5 times, C twice, B once, D never: sorted A, C, B and cut
        // before D. The key colour is the bottom-left pixel's (C).
        {"sorted and cut",
         {kB, kA, kC, kD},
         {{1, 1, 1, 0}, {2, 1, 1, 2}},
         {kA, kC, kB, kBlack},
         {{0, 0, 0, 2}, {3, 0, 0, 3}},
         3},
        // Equal counts end up in the order the quicksort leaves them:
        // entries 2, 3, 0, 1.
        {"equal counts", {kA, kB, kC, kD}, {{0, 1}, {2, 3}}, {kC, kD, kA, kB, kBlack}, {{2, 3}, {4, 1}}, 4},
        // Already in order of use: the map keeps its unused entry.
        {"order unchanged", {kA, kB, kC, kD}, {{0, 0, 0}, {1, 1, 2}}, {kA, kB, kC, kD, kBlack}, {{0, 0, 0}, {4, 4, 2}}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TBitmap b = Indexed(c.palette, c.rows);
        b.SetTransparent(true);
        auto frame = FrameFromBitmap(b, TGIFConversion{});
        EXPECT_EQ(frame->colorMap.Colors(), c.map);
        EXPECT_FALSE(frame->colorMap.Optimized()) << "the black entry clears the sorted mark";
        EXPECT_EQ(Rows(*frame), c.frameRows);
        EXPECT_EQ(frame->TransparentIndex(), c.transparentIndex);
        EXPECT_EQ(frame->extensions.size(), 1u);
        EXPECT_EQ(frame->Version(), TGIFVersion::gv89a);
    }
}

TEST(GifFrameAssign, KeepsAFullSortedMapWithoutTransparency)
{
    std::vector<TColor> palette;
    std::vector<std::vector<int>> rows(16);
    for (int i = 0; i < 256; ++i) {
        palette.push_back(TColor{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 7});
        rows[static_cast<size_t>(i / 16)].push_back(i);
    }
    TBitmap b = Indexed(palette, rows);
    b.SetTransparent(true);
    auto frame = FrameFromBitmap(b, TGIFConversion{});
    EXPECT_EQ(frame->colorMap.Count(), 256);
    EXPECT_TRUE(frame->colorMap.Optimized());
    EXPECT_EQ(frame->TransparentIndex(), -1);
    EXPECT_TRUE(frame->extensions.empty());
    EXPECT_EQ(frame->Version(), TGIFVersion::gv89a);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(frame->colorMap[frame->Pixel(x, y)], b.Pixel(x, y));
}

TEST(GifPictureAssign, GrowsTheLogicalScreenToTheFrame)
{
    TGIFPicture gif;
    gif.AssignBitmap(Indexed({kA, kB}, {{0, 1, 0}, {1, 1, 0}}));
    EXPECT_EQ(gif.Width(), 3);
    EXPECT_EQ(gif.Height(), 2);
    ASSERT_EQ(gif.Frames().Count(), 1);
    gif.AssignBitmap(Indexed({kA}, {{0}}));
    EXPECT_EQ(gif.Frames().Count(), 1) << "the picture is cleared first";
    EXPECT_EQ(gif.Width(), 1);
}

}  // namespace
}  // namespace kobalto
