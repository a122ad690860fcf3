// The octree palette, the cached nearest-colour lookup and the serpentine
// Floyd–Steinberg ditherer, on pictures small enough to follow by hand.
#include <gtest/gtest.h>

#include <vector>

#include "codecs/gif/GifColorQuantizer.h"
#include "codecs/gif/GifColorReduction.h"
#include "codecs/gif/GifError.h"
#include "codecs/gif/GifFastColorLookup.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

TRGBQuad Quad(int r, int g, int b)
{
    return TRGBQuad{static_cast<uint8_t>(b), static_cast<uint8_t>(g), static_cast<uint8_t>(r), 0};
}

TRGBQuad Grey(int v) { return Quad(v, v, v); }

std::vector<TRGBQuad> Palette(const TBitmap& bitmap)
{
    const TBitmap* list[] = {&bitmap};
    return CreateOptimizedPaletteFromManyBitmaps(list, 256, 8, false);
}

TEST(GifOctreePalette, FoldsTheDeepestNewestNodeFirst)
{
    // 256 greys fill the tree; red makes a 257th leaf. Its own level-7 node
    // is the newest, so it is folded first (still 257 leaves); then the node
    // made for greys 254 and 255, whose mean is 509 / 2 = 254.
    TBitmap b = test::MakeBitmap(257, 1, [](int x, int) {
        return x < 256 ? TColor{static_cast<uint8_t>(x), static_cast<uint8_t>(x), static_cast<uint8_t>(x)}
                       : TColor{255, 0, 0};
    });
    const std::vector<TRGBQuad> palette = Palette(b);
    ASSERT_EQ(palette.size(), 256u);
    // Depth first, children by (red, green, blue) bit: dark greys, red,
    // light greys.
    for (int i = 0; i < 128; ++i)
        EXPECT_EQ(palette[static_cast<size_t>(i)], Grey(i)) << i;
    EXPECT_EQ(palette[128], Quad(255, 0, 0));
    for (int i = 128; i < 254; ++i)
        EXPECT_EQ(palette[static_cast<size_t>(i + 1)], Grey(i)) << i;
    EXPECT_EQ(palette[255], Grey(254));
}

TEST(GifOctreePalette, FillsUnusedEntriesWithBlackAndRefusesAnEmptyList)
{
    TBitmap b = test::MakeBitmap(3, 2, [](int x, int y) {
        return x == 2 ? TColor{200, 100, 50} : (y == 0 ? TColor{0, 0, 255} : TColor{0, 255, 0});
    });
    const std::vector<TRGBQuad> palette = Palette(b);
    ASSERT_EQ(palette.size(), 256u);
    EXPECT_EQ(palette[0], Quad(0, 0, 255));
    EXPECT_EQ(palette[1], Quad(0, 255, 0));
    EXPECT_EQ(palette[2], Quad(200, 100, 50));
    for (size_t i = 3; i < 256; ++i)
        EXPECT_EQ(palette[i], Quad(0, 0, 0));

    try {
        CreateOptimizedPaletteFromManyBitmaps({}, 256, 8, false);
        FAIL() << "no error";
    } catch (const EGIFException& e) {
        EXPECT_STREQ(e.what(), "Invalid bitmap list");
    }
}

TEST(GifOctreePalette, RefusesAColourCountNoPaletteHas)
{
    TBitmap b = test::PatternBitmap(4, 4);
    const TBitmap* list[] = {&b};
    for (int count : {0, -1, 257})
        for (bool reserve : {false, true})
            EXPECT_THROW(CreateOptimizedPaletteFromManyBitmaps(list, count, 8, reserve), EGIFException)
                << count << (reserve ? " with" : " without") << " the static colours";
    EXPECT_EQ(CreateOptimizedPaletteFromManyBitmaps(list, 1, 8, true).size(), 1u);
}

TEST(GifOctreePalette, KeepsTheStaticColoursWhenAskedTo)
{
    TBitmap b = test::PatternBitmap(40, 30);
    const TBitmap* list[] = {&b};
    const std::vector<TRGBQuad> palette = CreateOptimizedPaletteFromManyBitmaps(list, 256, 8, true);
    ASSERT_EQ(palette.size(), 256u);
    EXPECT_EQ(palette[0], Quad(0, 0, 0));
    EXPECT_EQ(palette[7], Quad(192, 192, 192));
    EXPECT_EQ(palette[246], Quad(255, 251, 240));
    EXPECT_EQ(palette[255], Quad(255, 255, 255));
}

TEST(GifFastColorLookup, AnswersOncePerCell)
{
    struct Query {
        int r, g, b, expected;
        const char* why;
    };
    struct Case {
        std::vector<TRGBQuad> palette;
        std::vector<Query> queries;
    };
    const Case cases[] = {
        {{Quad(0, 0, 0), Quad(255, 255, 255), Quad(3, 3, 3)},
         {{3, 3, 3, 0, "entry 2 shares entry 0's cell, and the first entry of a cell wins"},
          {100, 100, 100, 2, "searched: smallest sum of absolute differences (291 against 300)"},
          {103, 96, 101, 2, "same 5-5-5 cell: the stored answer"}}},
        {{Quad(10, 0, 0), Quad(0, 10, 0)},
         {{5, 5, 8, 0, "searched: both entries at 18, the first wins"},
          {0, 7, 15, 0, "same cell: the stored answer although entry 1 is nearer"}}},
    };
    for (const Case& c : cases) {
        TFastColorLookup lookup(c.palette);
        for (const Query& q : c.queries)
            EXPECT_EQ(lookup.Lookup(static_cast<uint8_t>(q.r), static_cast<uint8_t>(q.g), static_cast<uint8_t>(q.b)),
                      q.expected)
                << q.why;
    }
}

std::vector<std::vector<int>> Indices(const TBitmap& b)
{
    std::vector<std::vector<int>> rows;
    for (int y = 0; y < b.Height(); ++y) {
        rows.emplace_back();
        for (int x = 0; x < b.Width(); ++x)
            rows.back().push_back(b.ScanLine(y)[x]);
    }
    return rows;
}

TBitmap Greys(const std::vector<std::vector<int>>& rows)
{
    return test::MakeBitmap(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), [&](int x, int y) {
        const auto v = static_cast<uint8_t>(rows[static_cast<size_t>(y)][static_cast<size_t>(x)]);
        return TColor{v, v, v};
    });
}

TEST(GifFloydSteinberg, DithersTheSecondRowRightToLeft)
{
    // Black and white only. Row 0, left to right, entries 0, 1, 2:
    //   100 → black, err 100: E0 = 300, carry 700
    //   100 + (0 + 700 + 8) / 16 = 144 → white, err −111: E1 = 500 − 333 = 167
    //   100 + (0 − 777 + 8) / 16 = 100 − 48 = 52 → black: E2 = −455 + 156 = −299
    //   end of row: E3 = −111 + 260 = 149.
    // Row 1, right to left, column x on entry x + 2:
    //   x 2: 200 + (0 + 8) / 16 = 200 → white, err −55, carry −385
    //   x 1: 120 + (149 − 385 + 8) / 16 = 120 − 14 = 106 → black, err 106, carry 742
    //   x 0: 60 + (−299 + 742 + 8) / 16 = 60 + 28 = 88 → black.
    // Walked left to right instead, the row would read black, white, white.
    const std::vector<TRGBQuad> palette{Grey(0), Grey(255)};
    const TBitmap result =
        ReduceColorsToPalette(Greys({{100, 100, 100}, {60, 120, 200}}), palette, TDitherMode::kFloydSteinberg);
    ASSERT_EQ(result.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(result.Palette(), palette);
    EXPECT_EQ(Indices(result), (std::vector<std::vector<int>>{{0, 1, 0}, {0, 0, 1}}));
}

TEST(GifFloydSteinberg, LeavesTheRowBelowAloneWhereAPixelIsMetExactly)
{
    // Row 0: 30 → black (E0 = 90, carry 210); 100 + 218 / 16 = 113 → black,
    // err 113 (E1 = 150 + 339, carry 791); 255 + 49 → 255, white exactly:
    // err 0 leaves E2 at 0 and the terms for the row below as they were, so
    // the row ends with E3 = 30 + 5 · 113 = 595.
    // Row 1, right to left: x 2: 255, white exactly; x 1: 100 + (595 + 8) /
    // 16 = 137 → white, err −118, carry −826; x 0: 128 + (0 − 826 + 8) / 16
    // = 128 − 51 = 77 → black. Had the exact pixel passed its zero error on
    // like any other, the row would read white, black, white.
    const std::vector<TRGBQuad> palette{Grey(0), Grey(255)};
    const TBitmap result =
        ReduceColorsToPalette(Greys({{30, 100, 255}, {128, 100, 255}}), palette, TDitherMode::kFloydSteinberg);
    EXPECT_EQ(Indices(result), (std::vector<std::vector<int>>{{0, 0, 1}, {0, 1, 1}}));
}

TEST(GifColorReduction, NearestModeDiffusesNothingAndAnEmptyPaletteGivesNothing)
{
    const std::vector<TRGBQuad> palette{Grey(0), Grey(255)};
    const TBitmap result = ReduceColorsToPalette(Greys({{100, 100, 100}, {200, 120, 60}}), palette,
                                                 TDitherMode::kNearest);
    EXPECT_EQ(Indices(result), (std::vector<std::vector<int>>{{0, 0, 0}, {1, 0, 0}}));
    EXPECT_TRUE(ReduceColorsToPalette(Greys({{1}}), {}, TDitherMode::kNearest).Empty());
}

}  // namespace
}  // namespace kobalto
