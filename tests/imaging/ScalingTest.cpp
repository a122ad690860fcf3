#include <gtest/gtest.h>

#include <cstdlib>

#include <cstring>
#include <memory>
#include <string>

#include <zlib.h>

#include "base/Exceptions.h"
#include "base/TMemoryStream.h"
#include "codecs/jpeg/JpegEncoder.h"
#include "codecs/jpeg/TJPEGPicture.h"
#include "codecs/png/PngErrors.h"
#include "codecs/png/TPNGPicture.h"
#include "imaging/FitRule.h"
#include "imaging/Scaling.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

TEST(FitRule, TakesTheBoxWidthUnlessThePictureIsThenTooTall)
{
    const struct {
        int a, b, w, h, W, H;
    } cases[] = {
        {636, 480, 1000, 750, 636, 477}, {636, 480, 300, 900, 160, 480}, {100, 100, 3, 1, 100, 33},
        {699, 524, 1000, 750, 699, 524}, {10, 10, 10, 10, 10, 10},       {640, 480, 640, 480, 640, 480},
    };
    for (const auto& c : cases) {
        TFitSize f = FitToBox(c.a, c.b, c.w, c.h);
        EXPECT_EQ(f.width, c.W) << c.w << "x" << c.h;
        EXPECT_EQ(f.height, c.H) << c.w << "x" << c.h;
    }
    EXPECT_THROW(FitToBox(0, 0, 0, 0), EInvalidOp);
    EXPECT_THROW(FitToBox(5, 5, 0, 3), EZeroDivide);
}

// Loads a w × h BMP through the pipeline at a factor as the batch computes it.
TFitSize ShrinkBmp(int w, int h, float factor)
{
    test::TempDir dir;
    TBitmap(w, h).SaveToFile(dir.File("in.bmp"));
    PictureHolder holder;
    LoadAndScaleImage(holder, false, dir.File("in.bmp"), factor);
    EXPECT_EQ(holder.Bitmap().PixelFormat(), TPixelFormat::pf24bit);
    return {holder.Bitmap().Width(), holder.Bitmap().Height()};
}

TEST(LoadAndScaleImage, SizesAreTruncatedProductsOfTheSinglePrecisionFactor)
{
    const struct {
        int w, h;
        float factor;
        int W, H;
    } cases[] = {
        {1000, 10, 0.7f, 699, 6},  {640, 10, 0.7f, 447, 6},  {1000, 10, 0.3f, 300, 3},
        {640, 10, 0.3f, 192, 3},   {1000, 750, 0.5f, 500, 375}, {33, 33, 1.0f, 33, 33},
        // Never below one pixel: the writers must not get an empty bitmap.
        {100, 5, 0.1f, 10, 1},     {5, 5, 0.1f, 1, 1},
    };
    for (const auto& c : cases) {
        TFitSize s = ShrinkBmp(c.w, c.h, c.factor);
        EXPECT_EQ(s.width, c.W) << c.w << "x" << c.h << " at " << c.factor;
        EXPECT_EQ(s.height, c.H) << c.w << "x" << c.h << " at " << c.factor;
    }
}

TEST(LoadAndScaleImage, ShrinksHoldTheWholePicturesStretchedPixels)
{
    // Colour JPEG and PNG files shrink through the decode of the picked rows
    // only; grey JPEG files, and any in a holder that marks pictures
    // transparent (after an icon), through the whole picture. All must give
    // what stretching the whole working bitmap gives. The flat left part
    // holds the bottom-left colour, which a transparent stretch turns white.
    TBitmap picture(157, 103, TPixelFormat::pf24bit);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            picture.SetPixel(x, y, x < 64 ? TColor{40, 90, 160}
                                          : TColor{uint8_t(x * 7 + y), uint8_t(y * 5 ^ x), uint8_t((x * y) & 0xFF)});
    test::TempDir dir;
    const struct {
        const char* name;
        const char* file;
        bool grey, transparent;
    } cases[] = {{"colour", "in.jpg", false, false},
                 {"grey", "in.jpg", true, false},
                 {"colour, transparent", "in.jpg", false, true},
                 {"PNG", "in.png", false, false},
                 {"PNG, transparent", "in.png", false, true}};
    for (const auto& c : cases) {
        const std::string path = dir.File(c.file);
        std::unique_ptr<TGraphic> whole;
        if (std::string(c.file) == "in.png") {
            TPNGPicture png;
            png.AssignBitmap(picture);
            png.SaveToFile(path);
            whole = std::make_unique<TPNGPicture>();
        } else {
            test::WriteBytes(path, EncodeJpeg(picture, {90, c.grey, false}));
            whole = std::make_unique<TJPEGPicture>();
        }
        whole->LoadFromFile(path);
        const TBitmap wholeBitmap = std::move(*whole->TakeWorkingBitmap());
        for (const float factor : {0.7f, 0.5f, 0.43f, 0.1f}) {
            PictureHolder holder;
            holder.SetTransparentFlag(c.transparent);
            LoadAndScaleImage(holder, false, path, factor);
            const TBitmap& shrunk = holder.Bitmap();
            TBitmap expected = wholeBitmap;
            expected.SetTransparent(c.transparent);
            ScaleBitmap(expected, shrunk.Width(), shrunk.Height(), 0);
            ASSERT_EQ(shrunk.PixelFormat(), TPixelFormat::pf24bit);
            EXPECT_EQ(shrunk.Width(), static_cast<int>(157 * factor)) << factor;
            if (c.transparent) {
                EXPECT_EQ(shrunk.Pixel(0, shrunk.Height() - 1), kWhite) << factor;
            }
            for (int y = 0; y < shrunk.Height(); ++y)
                ASSERT_EQ(std::memcmp(shrunk.ScanLine(y), expected.ScanLine(y), size_t(shrunk.Width()) * 3), 0)
                    << c.name << " at " << factor << ", row " << y;
        }
    }
}

TEST(LoadAndScaleImage, UnreadableFilesRaiseAndLeaveNothingBehind)
{
    test::TempDir dir;
    TBitmap(4, 4).SaveToFile(dir.File("good.bmp"));
    test::WriteBytes(dir.File("bad.bmp"), {'B', 'M', 1, 2, 3});
    PictureHolder holder;
    LoadAndScaleImage(holder, false, dir.File("good.bmp"), 0.5);
    EXPECT_THROW(LoadAndScaleImage(holder, false, dir.File("bad.bmp"), 0.5), EInvalidGraphic);
    EXPECT_EQ(holder.Graphic(), nullptr);
    LoadAndScaleImage(holder, false, dir.File("good.bmp"), 0.5);
    try {
        LoadAndScaleImage(holder, false, dir.File("gone.bmp"), 0.5);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_NE(std::string(e.what()).find("gone.bmp"), std::string::npos);
    }
    EXPECT_EQ(holder.Graphic(), nullptr);
    test::WriteBytes(dir.File("a.tga"), {0, 0, 2});
    // A TGA cut inside its header.
    EXPECT_ANY_THROW(LoadAndScaleImage(holder, false, dir.File("a.tga"), 0.5));
    EXPECT_EQ(holder.Graphic(), nullptr);
    EXPECT_THROW(LoadAndScaleImage(holder, false, dir.File("a.tif"), 0.5), EFOpenError);
    // A PNG whose image data is damaged is read only up to it on loading;
    // taking its pixels raises, and nothing is left behind either.
    TPNGPicture png;
    png.AssignBitmap(TBitmap(40, 30));
    TMemoryStream bytes;
    png.SaveToStream(bytes);
    std::vector<uint8_t> damaged = bytes.TakeBytes();
    damaged[damaged.size() - 12 - 8] ^= 0x55;  // the image data's checksum, with its chunk's CRC made right
    const uLong crc = crc32(crc32(0, nullptr, 0), damaged.data() + 37, static_cast<uInt>(damaged.size() - 12 - 37 - 4));
    for (int i = 0; i < 4; ++i)
        damaged[damaged.size() - 12 - 4 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    test::WriteBytes(dir.File("bad.png"), damaged);
    LoadAndScaleImage(holder, false, dir.File("good.bmp"), 0.5);
    EXPECT_THROW(LoadAndScaleImage(holder, false, dir.File("bad.png"), 0.5), EPNGZLIBError);
    EXPECT_EQ(holder.Graphic(), nullptr);
}

TEST(ScaleBitmap, PlainStretchPicksWholePixels)
{
    // Columns 0..5 of distinct colours; halving keeps three of them exactly.
    TBitmap b = test::MakeBitmap(6, 1, [](int x, int) { return TColor{static_cast<uint8_t>(x * 40), 0, 0}; });
    ScaleBitmap(b, 3, 1, 0);
    ASSERT_EQ(b.Width(), 3);
    for (int x = 0; x < 3; ++x) {
        uint8_t r = b.Pixel(x, 0).red;
        EXPECT_EQ(r % 40, 0);
        EXPECT_TRUE(r / 40 == 2 * x || r / 40 == 2 * x + 1) << x;
    }
    TBitmap up = test::MakeBitmap(2, 1, [](int x, int) { return x ? kBlack : kWhite; });
    ScaleBitmap(up, 6, 2, 0);
    for (int x = 0; x < 6; ++x)
        EXPECT_EQ(up.Pixel(x, 1), x < 3 ? kWhite : kBlack) << x;
}

TEST(ScaleBitmap, OneBitSourcesKeepTheirBlackLinesWhenHalved)
{
    TBitmap lines(8, 8, TPixelFormat::pf1bit);
    for (int y = 0; y < 8; y += 2)
        for (int x = 0; x < 8; ++x)
            lines.SetPixel(x, y, kBlack);
    TBitmap as24 = lines;
    as24.SetPixelFormat(TPixelFormat::pf24bit);

    ScaleBitmap(lines, 8, 4, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(lines.Pixel(x, y), kBlack);
    // The same picture in 24 bits keeps whole rows: all black or all white.
    ScaleBitmap(as24, 8, 4, 0);
    const TColor first = as24.Pixel(0, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(as24.Pixel(x, y), first);
}

TEST(ScaleBitmap, TransparentSourcesLoseTheirKeyColourToWhite)
{
    const TColor red{255, 0, 0}, blue{0, 0, 255};
    TBitmap b = test::MakeBitmap(4, 4, [&](int x, int y) { return (x + y) % 2 ? blue : red; });
    b.SetPixel(0, 3, red);  // the key: 9 red pixels in all
    b.SetTransparent(true);
    ScaleBitmap(b, 4, 4, 0);
    int whites = 0;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            EXPECT_NE(b.Pixel(x, y), red);
            whites += b.Pixel(x, y) == kWhite;
        }
    EXPECT_EQ(whites, 9);
}

TEST(ScaleBitmap, SmoothModesScaleEveryDepthTo24Bits)
{
    const TColor olive{128, 128, 0};
    for (TPixelFormat format : {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit,
                                TPixelFormat::pf15bit, TPixelFormat::pf16bit, TPixelFormat::pf32bit}) {
        for (int mode : {1, 2}) {
            TBitmap b(6, 4, format);
            const bool twoColours = format == TPixelFormat::pf1bit;
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 6; ++x)
                    b.SetPixel(x, y, twoColours ? kBlack : olive);
            const TColor colour = b.Pixel(0, 0);  // as this depth holds it
            ScaleBitmap(b, 3, 2, mode);
            const int bits = BitsPerPixel(format);
            EXPECT_EQ(b.Width(), 3) << bits << " bits, mode " << mode;
            EXPECT_EQ(b.Height(), 2) << bits << " bits, mode " << mode;
            EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf24bit) << bits;
            const TColor got = b.Pixel(1, 1);
            EXPECT_LE(std::abs(got.red - colour.red) + std::abs(got.green - colour.green) + std::abs(got.blue - colour.blue), 3)
                << bits << " bits, mode " << mode;
        }
    }
    TBitmap c(5, 4);
    EXPECT_THROW(ScaleBitmap(c, 0, 2, 2), EZeroDivide);
    EXPECT_EQ(c.Width(), 5);
}

TEST(FitPictureToBox, CentresTheFittedPictureOnWhite)
{
    const TColor grey{50, 60, 70};
    const struct {
        int w, h, x0, y0, x1, y1;  // the picture covers [x0, x1) × [y0, y1)
    } cases[] = {{1000, 750, 0, 1, 636, 478}, {300, 900, 238, 0, 398, 480}};
    for (const auto& c : cases) {
        PictureHolder holder;
        auto b = std::make_unique<TBitmap>(c.w, c.h);
        b->Fill(grey);
        holder.SetGraphic(std::move(b));
        FitPictureToBox(holder, 636, 480, 0);
        const TBitmap& box = holder.Bitmap();
        ASSERT_EQ(box.Width(), 636);
        ASSERT_EQ(box.Height(), 480);
        for (int y : {0, c.y0, c.y1 - 1, c.y1, 479})
            for (int x : {0, c.x0 - 1, c.x0, c.x1 - 1, c.x1, 635}) {
                if (x < 0 || x >= 636 || y >= 480)
                    continue;
                bool inside = x >= c.x0 && x < c.x1 && y >= c.y0 && y < c.y1;
                EXPECT_EQ(box.Pixel(x, y), inside ? grey : kWhite) << c.w << " " << x << "," << y;
            }
    }
    PictureHolder small;
    small.SetGraphic(std::make_unique<TBitmap>(3, 1));
    FitPictureToBox(small, 100, 100);
    EXPECT_EQ(small.NominalWidth(), 100);
    EXPECT_EQ(small.NominalHeight(), 33);
    PictureHolder untouched;
    untouched.SetGraphic(std::make_unique<TBitmap>(3, 1));
    FitPictureToBox(untouched, 0, 100);
    EXPECT_EQ(untouched.Bitmap().Width(), 3);
}

}  // namespace
}  // namespace kobalto
