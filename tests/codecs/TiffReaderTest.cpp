// The TIFF reader on hand-made files: fields and their defaults, byte order,
// strips, tiles and planes, the refusals with their texts, and files whose
// counts and offsets point past the data.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/TMemoryStream.h"
#include "codecs/tiff/TTIFFGraphic.h"
#include "codecs/tiff/TiffPredictor.h"
#include "tests/support/ExtendedReaderKit.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using Bytes = std::vector<uint8_t>;
using test::MakeTiff;
using test::TiffField;

constexpr uint32_t kHere = 0xFFFFFFFF;  // MakeTiff puts the strip's offset there
const std::string kInvalid = "Cannot load image. Invalid or unexpected TIF/TIFF image format.";
const std::string kCompression = "Cannot load image. The compression scheme is not supported for TIF/TIFF files.";

TTIFFGraphic Load(const Bytes& file)
{
    TMemoryStream stream(file);
    TTIFFGraphic tiff;
    tiff.LoadFromStream(stream);
    return tiff;
}

std::string ErrorOf(const Bytes& file)
{
    return test::ErrorText([&] { Load(file); });
}

// An 8-bit RGB image of w × h in one strip, with extra fields.
std::vector<TiffField> Rgb(uint32_t w, uint32_t h, uint32_t stripBytes, std::vector<TiffField> more = {})
{
    std::vector<TiffField> f{{256, 3, {w}}, {257, 3, {h}}, {258, 3, {8, 8, 8}}, {262, 3, {2}},
                             {273, 4, {kHere}}, {277, 3, {3}}, {279, 4, {stripBytes}}};
    f.insert(f.end(), more.begin(), more.end());
    std::sort(f.begin(), f.end(), [](const TiffField& a, const TiffField& b) { return a.tag < b.tag; });
    return f;
}

TEST(TiffReaderTest, BigEndianSixteenBitSamples)
{
    // 0xFFFF, 0x8000 and 0x0101, high byte first: v × 255 div 65535.
    const Bytes pixel{0xFF, 0xFF, 0x80, 0x00, 0x01, 0x01};
    auto f = Rgb(1, 1, 6);
    f[2].values = {16, 16, 16};
    const TTIFFGraphic t = Load(MakeTiff(true, f, {pixel}));
    EXPECT_EQ(t.Pixel(0, 0), (TColor{255, 127, 1}));
}

TEST(TiffReaderTest, StripsAndRowsPerStrip)
{
    // Two rows of one pixel: without RowsPerStrip one strip holds both; with
    // RowsPerStrip 1 the second strip holds the second row.
    const TTIFFGraphic one = Load(MakeTiff(false, Rgb(1, 2, 6), {{1, 2, 3, 4, 5, 6}}));
    EXPECT_EQ(one.Pixel(0, 1), (TColor{4, 5, 6}));
    auto f = Rgb(1, 2, 3, {{278, 3, {1}}});
    f[4].values = {kHere, kHere};
    f.back().values = {3, 3};  // 279 sorts last
    const TTIFFGraphic two = Load(MakeTiff(false, f, {{1, 2, 3}, {7, 8, 9}}));
    EXPECT_EQ(two.Pixel(0, 1), (TColor{7, 8, 9}));
}

TEST(TiffReaderTest, GreyPalettesAndIndexedImages)
{
    // Photometric 0, bilevel: 0 bits are white.
    const Bytes bits{0x50};  // 0 1 0 1 ...
    std::vector<TiffField> bw{{256, 3, {4}}, {257, 3, {1}}, {262, 3, {0}}, {273, 4, {kHere}}, {279, 4, {1}}};
    const TTIFFGraphic b = Load(MakeTiff(false, bw, {bits}));
    EXPECT_EQ(b.Pixel(0, 0), (TColor{255, 255, 255}));
    EXPECT_EQ(b.Pixel(1, 0), (TColor{0, 0, 0}));
    // 2-bit palette image: colour map of 3 × 4 16-bit values.
    std::vector<TiffField> pal{{256, 3, {4}}, {257, 3, {1}}, {258, 3, {2}}, {262, 3, {3}},
                               {273, 4, {kHere}}, {279, 4, {1}},
                               {320, 3, {0, 65535, 0, 0, 0, 0, 65535, 0, 0, 0, 0, 32768}}};
    const TTIFFGraphic p = Load(MakeTiff(false, pal, {{0x1B}}));  // indices 0 1 2 3
    EXPECT_EQ(p.Pixel(1, 0), (TColor{255, 0, 0}));
    EXPECT_EQ(p.Pixel(2, 0), (TColor{0, 255, 0}));
    EXPECT_EQ(p.Pixel(3, 0), (TColor{0, 0, 127}));
}

TEST(TiffReaderTest, TilesAndPlanes)
{
    // 3 × 1 RGB in two tiles of 2 × 1 (the second half empty).
    std::vector<TiffField> tiles{{256, 3, {3}}, {257, 3, {1}}, {258, 3, {8, 8, 8}}, {262, 3, {2}},
                                 {277, 3, {3}}, {322, 3, {2}}, {323, 3, {1}}, {324, 4, {kHere, kHere}},
                                 {325, 4, {6, 6}}};
    const TTIFFGraphic t = Load(MakeTiff(false, tiles, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 0, 0, 0}}));
    EXPECT_EQ(t.Pixel(1, 0), (TColor{4, 5, 6}));
    EXPECT_EQ(t.Pixel(2, 0), (TColor{7, 8, 9}));
    // 2 × 1 RGB in three planes.
    std::vector<TiffField> planes{{256, 3, {2}}, {257, 3, {1}}, {258, 3, {8, 8, 8}}, {262, 3, {2}},
                                  {273, 4, {kHere, kHere, kHere}}, {277, 3, {3}}, {279, 4, {2, 2, 2}},
                                  {284, 3, {2}}};
    const TTIFFGraphic p = Load(MakeTiff(false, planes, {{10, 11}, {20, 21}, {30, 31}}));
    EXPECT_EQ(p.Pixel(0, 0), (TColor{10, 20, 30}));
    EXPECT_EQ(p.Pixel(1, 0), (TColor{11, 21, 31}));
}

TEST(TiffReaderTest, OrientationTurnsThePictureUpright)
{
    // Stored 3 × 2: A B C / D E F (red 1 to 6), and the same as 1-bit
    // pixels (1 0 0 / 0 1 1, white for 1). Each orientation shows it as
    // written below, row by row.
    const Bytes rgb{1, 0, 0, 2, 0, 0, 3, 0, 0, 4, 0, 0, 5, 0, 0, 6, 0, 0};
    const Bytes bilevel{0x80, 0x60};
    const uint8_t bit[] = {1, 0, 0, 0, 1, 1};  // A to F
    struct C {
        uint32_t orientation;
        int width;
        const char* shown;
    };
    const C cases[] = {{1, 3, "ABCDEF"}, {2, 3, "CBAFED"}, {3, 3, "FEDCBA"}, {4, 3, "DEFABC"},
                       {5, 2, "ADBECF"}, {6, 2, "DAEBFC"}, {7, 2, "FCEBDA"}, {8, 2, "CFBEAD"}};
    for (const C& c : cases) {
        SCOPED_TRACE(c.orientation);
        const TTIFFGraphic t = Load(MakeTiff(false, Rgb(3, 2, 18, {{274, 3, {c.orientation}}}), {rgb}));
        const TTIFFGraphic b = Load(MakeTiff(false,
                                             {{256, 3, {3}}, {257, 3, {2}}, {258, 3, {1}}, {262, 3, {1}},
                                              {273, 4, {kHere}}, {274, 3, {c.orientation}}, {277, 3, {1}},
                                              {279, 4, {2}}},
                                             {bilevel}));
        for (const TTIFFGraphic* g : {&t, &b}) {
            ASSERT_EQ(g->Width(), c.width);
            ASSERT_EQ(g->Height(), 6 / c.width);
        }
        for (int i = 0; i < 6; ++i) {
            const int x = i % c.width, y = i / c.width;
            const int stored = c.shown[i] - 'A';
            EXPECT_EQ(t.Pixel(x, y).red, stored + 1) << x << "," << y;
            EXPECT_EQ(b.Pixel(x, y).red, bit[stored] * 255) << x << "," << y;
        }
    }
}

TEST(TiffReaderTest, PredictorOnDeflateData)
{
    // Horizontal differencing per sample: 10 20 30 | +1 +2 +3.
    const Bytes packed = test::ZlibCompress({10, 20, 30, 1, 2, 3});
    const auto size = static_cast<uint32_t>(packed.size());
    const TTIFFGraphic t = Load(MakeTiff(false, Rgb(2, 1, size, {{259, 3, {8}}, {317, 3, {2}}}), {packed}));
    EXPECT_EQ(t.Pixel(1, 0), (TColor{11, 22, 33}));
}

TEST(TiffReaderTest, LargeStripsGiveBackTheirRowsAndTheNextStripStillDecodes)
{
    // Strips of 3 MB decoded whole, whose converted rows are given back as
    // the conversion passes: every pixel of both strips, and of the last
    // shorter one, must still arrive.
    constexpr uint32_t kWidth = 1024, kRows = 1024, kHeight = 2 * kRows + 7;
    auto sample = [](uint32_t x, uint32_t y, uint32_t s) { return static_cast<uint8_t>(x * 7 + y * 13 + s * 101); };
    std::vector<Bytes> strips;
    std::vector<uint32_t> counts, offsets;
    for (uint32_t y0 = 0; y0 < kHeight; y0 += kRows) {
        Bytes raw;
        for (uint32_t y = y0; y < std::min(y0 + kRows, kHeight); ++y)
            for (uint32_t x = 0; x < kWidth; ++x)
                for (uint32_t s = 0; s < 3; ++s)
                    raw.push_back(sample(x, y, s));
        strips.push_back(test::ZlibCompress(raw));
        counts.push_back(static_cast<uint32_t>(strips.back().size()));
        offsets.push_back(kHere);
    }
    const TTIFFGraphic t = Load(MakeTiff(false,
                                         {{256, 4, {kWidth}}, {257, 4, {kHeight}}, {258, 3, {8, 8, 8}},
                                          {259, 3, {8}}, {262, 3, {2}}, {273, 4, offsets}, {277, 3, {3}},
                                          {278, 4, {kRows}}, {279, 4, counts}},
                                         strips));
    ASSERT_EQ(t.Height(), static_cast<int>(kHeight));
    int64_t wrong = 0;
    for (uint32_t y = 0; y < kHeight; ++y) {
        const uint8_t* row = t.ScanLine(static_cast<int>(y));
        for (uint32_t x = 0; x < kWidth; ++x)
            wrong += row[3 * x] != sample(x, y, 2) || row[3 * x + 1] != sample(x, y, 1) ||
                     row[3 * x + 2] != sample(x, y, 0);
    }
    EXPECT_EQ(wrong, 0);
}

TEST(TiffReaderTest, PredictorSumsEachSampleAlongTheRow)
{
    // Differences as stored, the row they stand for: every sample count
    // (with its own loop or the general one), both byte orders of 16-bit
    // samples, and sums that wrap.
    struct C {
        int bits, samples, width;
        bool bigEndian;
        Bytes stored, row;
    };
    const C cases[] = {
        {8, 1, 4, false, {250, 3, 4, 5}, {250, 253, 1, 6}},
        {8, 2, 3, false, {1, 2, 10, 20, 255, 1}, {1, 2, 11, 22, 10, 23}},
        {8, 3, 2, false, {10, 20, 30, 1, 2, 3}, {10, 20, 30, 11, 22, 33}},
        {8, 4, 2, false, {1, 2, 3, 4, 1, 1, 1, 255}, {1, 2, 3, 4, 2, 3, 4, 3}},
        {8, 5, 2, false, {1, 2, 3, 4, 5, 1, 1, 1, 1, 1}, {1, 2, 3, 4, 5, 2, 3, 4, 5, 6}},
        {16, 1, 3, true, {0x12, 0x34, 0x00, 0x01, 0xFF, 0xFF}, {0x12, 0x34, 0x12, 0x35, 0x12, 0x34}},
        {16, 1, 3, false, {0x34, 0x12, 0x01, 0x00, 0xFF, 0xFF}, {0x34, 0x12, 0x35, 0x12, 0x34, 0x12}},
        {16, 3, 2, true, {0, 1, 0, 2, 0, 3, 0, 0xFF, 1, 0, 0xFF, 0xFF}, {0, 1, 0, 2, 0, 3, 1, 0, 1, 2, 0, 2}},
        {16, 4, 2, false, {1, 0, 2, 0, 3, 0, 4, 0, 0xFF, 0xFF, 1, 0, 0, 1, 0, 0},
         {1, 0, 2, 0, 3, 0, 4, 0, 0, 0, 3, 0, 3, 1, 4, 0}},
        {16, 2, 2, true, {0, 5, 0, 6, 0, 1, 0xFF, 0xFF}, {0, 5, 0, 6, 0, 6, 0, 5}},
    };
    for (const C& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits, " + std::to_string(c.samples) + " samples");
        Bytes row = c.stored;
        UndoHorizontalPredictor(row.data(), c.width, c.samples, c.bits, c.bigEndian);
        EXPECT_EQ(row, c.row);
    }
}

TEST(TiffReaderTest, OnlyTheFirstImageIsRead)
{
    const Bytes file = MakeTiff(false, Rgb(1, 1, 3), {{9, 8, 7}}, Rgb(5, 5, 75));
    const TTIFFGraphic t = Load(file);
    EXPECT_EQ(t.Width(), 1);
    EXPECT_EQ(t.Pixel(0, 0), (TColor{9, 8, 7}));
}

TEST(TiffReaderTest, RefusedFiles)
{
    Bytes not42 = MakeTiff(false, Rgb(1, 1, 3), {{1, 2, 3}});
    not42[2] = 43;
    auto noWidth = Rgb(1, 1, 3);
    noWidth[0].values = {0};
    const struct {
        const char* what;
        Bytes file;
        std::string message;
    } cases[] = {
        {"magic 43", not42, kInvalid},
        {"width 0", MakeTiff(false, noWidth, {{1, 2, 3}}), kInvalid},
        {"LZW", MakeTiff(false, Rgb(1, 1, 3, {{259, 3, {5}}}), {{1, 2, 3}}), kCompression},
        {"group 4 fax", MakeTiff(false, Rgb(1, 1, 3, {{259, 3, {4}}}), {{1, 2, 3}}), kCompression},
        {"old-style JPEG", MakeTiff(false, Rgb(1, 1, 3, {{259, 3, {6}}}), {{1, 2, 3}}), kCompression},
        {"photometric 4", [] {
             auto f = Rgb(1, 1, 3);
             f[3].values = {4};
             return MakeTiff(false, f, {{1, 2, 3}});
         }(), "Color conversion failed. Could not find a proper method."},
        {"12-bit samples", [] {
             auto f = Rgb(1, 1, 3);
             f[2].values = {12, 12, 12};
             return MakeTiff(false, f, {{1, 2, 3, 4, 5}});
         }(), "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16."},
        {"short colour map", MakeTiff(false, {{256, 3, {1}}, {257, 3, {1}}, {258, 3, {8}}, {262, 3, {3}},
                                              {273, 4, {kHere}}, {279, 4, {1}}, {320, 3, {1, 2, 3}}},
                                      {{0}}),
         "Cannot load image. Palette in TIF/TIFF file is invalid."},
        {"directory past the end", Bytes{'I', 'I', 42, 0, 0xFF, 0, 0, 0}, "Stream read error in TIF/TIFF file."},
        // 64 bytes of deflate data cannot make 1000 × 1000 pixels.
        {"deflate claiming too much", MakeTiff(false, Rgb(1000, 1000, 64, {{259, 3, {8}}}), {Bytes(64, 0)}),
         "Cannot load image. Compression error found in TIF/TIFF file."},
        // 2000 × 2000 stored pixels (12 MB) in a strip of 10 bytes, or in
        // a thousand strips that all point at the same 10 bytes.
        {"stored strip far too short", MakeTiff(false, Rgb(2000, 2000, 10), {Bytes(10, 7)}), kInvalid},
        {"stored strips sharing their bytes", [] {
             auto f = Rgb(2000, 2000, 10, {{278, 3, {2}}});
             f[4].values.assign(1000, kHere);
             f.back().values.assign(1000, 10);
             return MakeTiff(false, f, {Bytes(10, 7)});
         }(), kInvalid},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf(c.file), c.message) << c.what;
}

TEST(TiffReaderTest, StripsOutsideTheDataGiveZeroRows)
{
    // The second strip's offset is past the end, the first one's count too.
    auto f = Rgb(1, 2, 3, {{278, 3, {1}}});
    f[4].values = {kHere, 100000};
    f.back().values = {1000, 3};
    const TTIFFGraphic t = Load(MakeTiff(false, f, {{1, 2, 3}}));
    EXPECT_EQ(t.Pixel(0, 0), (TColor{1, 2, 3}));
    EXPECT_EQ(t.Pixel(0, 1), (TColor{0, 0, 0}));
}

}  // namespace
}  // namespace kobalto
