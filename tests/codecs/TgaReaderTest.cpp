// The TGA reader: row order, palettes, depths, run-length rows and the files
// it refuses, on hand-made files.
#include <gtest/gtest.h>

#include <vector>

#include "base/Exceptions.h"
#include "base/TMemoryStream.h"
#include "codecs/tga/TTargaGraphic.h"

namespace kobalto {
namespace {

using Bytes = std::vector<uint8_t>;

struct Tga {
    uint8_t idLength = 0, mapType = 0, type = 2;
    uint16_t mapFirst = 0, mapLength = 0;
    uint8_t mapBits = 0;
    uint16_t width = 2, height = 2;
    uint8_t depth = 24, descriptor = 0;
    Bytes rest;  // ID, map and pixels

    Bytes File() const
    {
        Bytes b{idLength, mapType, type, uint8_t(mapFirst), uint8_t(mapFirst >> 8), uint8_t(mapLength),
                uint8_t(mapLength >> 8), mapBits, 0, 0, 0, 0, uint8_t(width), uint8_t(width >> 8),
                uint8_t(height), uint8_t(height >> 8), depth, descriptor};
        for (uint8_t v : rest)
            b.push_back(v);
        return b;
    }
};

TTargaGraphic Load(const Bytes& file)
{
    TMemoryStream stream(file);
    TTargaGraphic tga;
    tga.LoadFromStream(stream);
    return tga;
}

std::string ErrorOf(const Bytes& file)
{
    try {
        Load(file);
    } catch (const Exception& e) {
        return e.what();
    }
    return "";
}

TEST(TgaReaderTest, RowOrderFollowsDescriptorBits)
{
    // Pixels blue, green, red: first stored (1,2,3) (4,5,6), then (7,8,9) (10,11,12).
    const Bytes pixels{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    struct C {
        uint8_t descriptor;
        TColor topLeft;
        TColor bottomRight;
    };
    const C cases[] = {
        {0x00, {9, 8, 7}, {6, 5, 4}},     // bottom-up: the first stored row is the bottom one
        {0x20, {3, 2, 1}, {12, 11, 10}},  // top-down
        {0x10, {12, 11, 10}, {3, 2, 1}},  // bottom-up, right to left
        {0x30, {6, 5, 4}, {9, 8, 7}},     // top-down, right to left
    };
    for (const C& c : cases) {
        Tga t;
        t.descriptor = c.descriptor;
        t.rest = pixels;
        const TTargaGraphic g = Load(t.File());
        ASSERT_EQ(g.PixelFormat(), TPixelFormat::pf24bit);
        EXPECT_EQ(g.Pixel(0, 0), c.topLeft) << int(c.descriptor);
        EXPECT_EQ(g.Pixel(1, 1), c.bottomRight) << int(c.descriptor);
    }
}

TEST(TgaReaderTest, PalettesAndDepths)
{
    struct C {
        const char* what;
        Tga tga;
        TPixelFormat format;
        TColor first;  // pixel (0, 0)
    };
    Tga mapped{.mapType = 1, .type = 1, .mapFirst = 10, .mapLength = 2, .mapBits = 24, .width = 1, .height = 1,
               .depth = 8, .rest = {0, 0, 200, 50, 60, 70, 11}};
    Tga mapped15{.mapType = 1, .type = 1, .mapLength = 1, .mapBits = 15, .width = 1, .height = 1, .depth = 8,
                 .rest = {0x1F, 0x7C, 0}};
    Tga grey{.mapType = 1, .type = 3, .mapLength = 2, .mapBits = 24, .width = 1, .height = 1, .depth = 8,
             .rest = {9, 9, 9, 9, 9, 9, 77}};
    Tga greyAlpha{.type = 3, .width = 1, .height = 1, .depth = 16, .rest = {120, 0}};
    Tga attribute{.type = 2, .width = 1, .height = 1, .depth = 16, .rest = {0x00, 0x80}};
    Tga red16{.type = 2, .width = 1, .height = 1, .depth = 16, .rest = {0x00, 0x7C}};
    Tga rgba{.type = 2, .width = 1, .height = 1, .depth = 32, .rest = {1, 2, 3, 4}};
    Tga withId{.idLength = 3, .type = 2, .width = 1, .height = 1, .rest = {'a', 'b', 'c', 30, 20, 10}};
    const C cases[] = {
        // The first-entry field is 10: the stored entries are indices 10 and 11.
        {"map from its first entry", mapped, TPixelFormat::pf8bit, {70, 60, 50}},
        // 15-bit map entries: 0x7C1F is red 31 and blue 31.
        {"15-bit map", mapped15, TPixelFormat::pf8bit, {248, 0, 248}},
        // A grey file's colour map is stepped over, not read as pixels.
        {"grey skips its map", grey, TPixelFormat::pf8bit, {77, 77, 77}},
        // 16-bit grey is grey and alpha; the alpha goes.
        {"grey and alpha", greyAlpha, TPixelFormat::pf8bit, {120, 120, 120}},
        // The attribute bit alone is black.
        {"attribute bit", attribute, TPixelFormat::pf15bit, {0, 0, 0}},
        {"16-bit red", red16, TPixelFormat::pf15bit, {255, 0, 0}},
        {"32-bit", rgba, TPixelFormat::pf32bit, {3, 2, 1}},
        {"image ID skipped", withId, TPixelFormat::pf24bit, {10, 20, 30}},
    };
    for (const C& c : cases) {
        SCOPED_TRACE(c.what);
        const TTargaGraphic g = Load(c.tga.File());
        EXPECT_EQ(g.PixelFormat(), c.format);
        const TColor p = g.Pixel(0, 0);
        // 5-bit channels widen by their top bits.
        EXPECT_NEAR(p.red, c.first.red, 7);
        EXPECT_NEAR(p.green, c.first.green, 7);
        EXPECT_NEAR(p.blue, c.first.blue, 7);
    }
}

TEST(TgaReaderTest, RunLengthRows)
{
    // 3 × 2 grey, top-down: a run of four 9s crosses into row two, then a
    // raw packet of one 5, then the file ends: the last pixel is zero.
    Tga t{.type = 11, .width = 3, .height = 2, .depth = 8, .descriptor = 0x20, .rest = {0x83, 9, 0x00, 5}};
    const TTargaGraphic g = Load(t.File());
    const int expected[2][3] = {{9, 9, 9}, {9, 5, 0}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(g.Pixel(x, y).red, expected[y][x]) << x << "," << y;
}

TEST(TgaReaderTest, RowsWithoutPixelsReadNothing)
{
    // Zero wide and three high, stored and run-length: nothing to read.
    for (uint8_t type : {uint8_t{2}, uint8_t{10}}) {
        Tga t{.type = type, .width = 0, .height = 3, .depth = 24, .descriptor = 0x20, .rest = {}};
        const TTargaGraphic g = Load(t.File());
        EXPECT_EQ(g.Width(), 0) << int{type};
    }
}

TEST(TgaReaderTest, RefusedFiles)
{
    const std::string invalid = "Cannot load image. Invalid or unexpected TGA image format.";
    struct C {
        const char* what;
        Bytes file;
        std::string message;
    };
    Tga type4{.type = 4, .rest = {}};
    Tga depth20{.type = 2, .depth = 20, .rest = {}};
    Tga mappedNoMap{.type = 1, .depth = 8, .rest = {}};
    Tga mappedBadEntry{.mapType = 1, .type = 1, .mapLength = 1, .mapBits = 8, .depth = 8, .rest = {0, 0, 0, 0, 0}};
    Tga greyDepth24{.type = 11, .depth = 24, .rest = {}};
    Tga shortRows{.type = 2, .rest = {1, 2, 3}};
    // One packet of 128 pixels for 3000 × 3000 of them (27 MB).
    Tga rleFarTooShort{.type = 10, .width = 3000, .height = 3000, .rest = {0xFF, 1, 2, 3}};
    Tga shortMap{.mapType = 1, .type = 1, .mapLength = 200, .mapBits = 24, .depth = 8, .rest = {1, 2}};
    const C cases[] = {
        {"image type 4", type4.File(), invalid},
        {"depth 20", depth20.File(), invalid},
        {"colour-mapped without a map", mappedNoMap.File(), invalid},
        {"8-bit map entries", mappedBadEntry.File(), invalid},
        {"24-bit grey", greyDepth24.File(), invalid},
        {"header cut", Bytes{0, 0, 2, 0, 0}, "ストリームからの読み込みエラー"},
        {"stored rows cut", shortRows.File(), "ストリームからの読み込みエラー"},
        {"map cut", shortMap.File(), "ストリームからの読み込みエラー"},
        {"run-length data far too short", rleFarTooShort.File(), invalid},
    };
    for (const C& c : cases)
        EXPECT_EQ(ErrorOf(c.file), c.message) << c.what;
}

TEST(TgaReaderTest, FailedLoadKeepsThePicture)
{
    Tga good{.type = 2, .width = 1, .height = 1, .rest = {1, 2, 3}};
    TMemoryStream ok(good.File());
    TTargaGraphic g;
    g.LoadFromStream(ok);
    Tga bad{.type = 7, .rest = {}};
    TMemoryStream broken(bad.File());
    EXPECT_THROW(g.LoadFromStream(broken), EInvalidGraphic);
    EXPECT_EQ(g.Width(), 1);
    EXPECT_EQ(g.Pixel(0, 0), (TColor{3, 2, 1}));
}

}  // namespace
}  // namespace kobalto
