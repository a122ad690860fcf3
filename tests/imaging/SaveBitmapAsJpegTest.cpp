#include <gtest/gtest.h>

#include <filesystem>

#include "base/Exceptions.h"
#include "codecs/jpeg/TJPEGPicture.h"
#include "imaging/LoadImageFile.h"
#include "imaging/SaveBitmapAsJpeg.h"
#include "imaging/SaveImageFile.h"
#include "tests/codecs/JpegTestFiles.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

// The example tables of the JPEG standard (ITU T.81, Annex K), row by row.
constexpr int kLuminance[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr int kChrominance[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
    24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// The table a file holds for quality q: the example table scaled by the
// IJG rule (5000 / q below 50, 200 - 2q from 50 on, in percent), kept
// between 1 and 255 for baseline files, in zigzag order.
std::array<int, 64> Expected(const int (&table)[64], int quality)
{
    quality = std::clamp(quality, 1, 100);
    const int percent = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    std::array<int, 64> out{};
    size_t k = 0;
    for (int sum = 0; sum <= 14; ++sum) {
        // Odd diagonals run down-left, even ones up-right.
        const int first = std::max(0, sum - 7), last = std::min(sum, 7);
        for (int i = 0; i <= last - first; ++i) {
            const int row = sum % 2 ? first + i : last - i;
            const int v = (table[row * 8 + (sum - row)] * percent + 50) / 100;
            out[k++] = std::clamp(v, 1, 255);
        }
    }
    return out;
}

TBitmap Photo(int width, int height)
{
    return test::MakeBitmap(width, height, [](int x, int y) {
        return TColor{static_cast<uint8_t>(x * 3 + y), static_cast<uint8_t>(128 + (x ^ y) % 60), static_cast<uint8_t>(y * 2)};
    });
}

TEST(SaveBitmapAsJpeg, WritesBaselineYCbCr420WithTheTablesOfItsQuality)
{
    test::TempDir dir;
    for (int quality : {80, 1, 50, 100, 0, 250}) {
        const std::string path = dir.File("q" + std::to_string(quality) + ".jpg");
        ASSERT_TRUE(SaveBitmapAsJpeg(Photo(40, 30), path, quality));
        const auto bytes = test::ReadBytes(path);
        const auto tables = test::QuantTables(bytes);
        ASSERT_EQ(tables.size(), 2u) << quality;
        EXPECT_EQ(tables.at(0), Expected(kLuminance, quality)) << quality;
        EXPECT_EQ(tables.at(1), Expected(kChrominance, quality)) << quality;

        const auto segments = test::Segments(bytes);
        ASSERT_EQ(segments.count(0xC0), 1u) << "baseline frame";
        const std::vector<uint8_t>& sof = segments.find(0xC0)->second;
        const std::vector<uint8_t> frame{8, 0, 30, 0, 40, 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1};
        EXPECT_EQ(sof, frame) << "precision, size, Y 2x2, Cb and Cr 1x1";
        ASSERT_EQ(segments.count(0xE0), 1u);
        EXPECT_EQ(std::string(segments.find(0xE0)->second.begin(), segments.find(0xE0)->second.begin() + 5),
                  std::string("JFIF\0", 5));
    }
    // A picture left at the defaults encodes at quality 90.
    TJPEGPicture picture;
    picture.AssignBitmap(Photo(8, 8));
    EXPECT_EQ(test::QuantTables(test::SaveJpeg(picture)).at(0), Expected(kLuminance, 90));
}

TEST(SaveBitmapAsJpeg, TheSavedQualityIs80WhateverTheSourcesAndTheNameIsCaseBlind)
{
    if (test::ImageMagickConvert().empty())
        GTEST_SKIP() << "ImageMagick is not installed";
    test::TempDir dir;
    test::WriteBytes(dir.File("in.jpg"), test::EncodeForTest(Photo(64, 48), 30));
    PictureHolder holder;
    ASSERT_TRUE(LoadImageFile(holder, dir.File("in.jpg"), true));
    ASSERT_TRUE(SaveImageFile(holder.Bitmap(), dir.File("OUT.JPG"), false, 0));
    const auto bytes = test::ReadBytes(dir.File("OUT.JPG"));
    EXPECT_EQ(test::QuantTables(bytes).at(0), Expected(kLuminance, 80));
    std::string info;
    ASSERT_EQ(test::RunCommand("/usr/bin/identify -format '%m %w %h %Q' " + dir.File("OUT.JPG"), &info), 0);
    EXPECT_EQ(info, "JPEG 64 48 80");
}

TEST(SaveBitmapAsJpeg, APictureWithoutPixelsRaisesTheCodecsError)
{
    // libjpeg refuses it; that the old file stays is a property of every
    // writer (WriterTableTest.cpp).
    test::TempDir dir;
    EXPECT_THROW(SaveBitmapAsJpeg(TBitmap(), dir.File("o.jpg"), 80), EJPEG);
    EXPECT_FALSE(test::FileExists(dir.File("o.jpg")));
}

TEST(LoadImageFile, AJpegBecomesAFullSizeUpright24BitBitmapWhateverTheDefaults)
{
    test::TempDir dir;
    const TBitmap colour = Photo(40, 24);
    const TBitmap grey = test::MakeBitmap(40, 24, [](int x, int) {
        const auto v = static_cast<uint8_t>(x * 6);
        return TColor{v, v, v};
    });
    test::WriteBytes(dir.File("colour.jpg"), test::EncodeForTest(colour));
    test::WriteBytes(dir.File("grey.JPEG"), EncodeJpeg(grey, {95, true, false}));
    test::WriteBytes(dir.File("turned.jpg"),
                     test::WithSegment(test::EncodeForTest(colour), 0xE1, test::ExifOrientationBlock(8)));
    const TJPEGSettings saved = JPEGDefaults();
    JPEGDefaults().scale = TJPEGScale::jsEighth;
    JPEGDefaults().pixelFormat = TJPEGPixelFormat::jf8Bit;
    JPEGDefaults().performance = TJPEGPerformance::jpBestSpeed;
    const struct {
        const char* name;
        const TBitmap* source;
        int width, height;
    } cases[] = {{"colour.jpg", &colour, 40, 24}, {"grey.JPEG", &grey, 40, 24}, {"turned.jpg", nullptr, 24, 40}};
    for (const auto& c : cases) {
        PictureHolder holder;
        ASSERT_TRUE(LoadImageFile(holder, dir.File(c.name), true)) << c.name;
        const TBitmap& b = holder.Bitmap();
        EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf24bit) << c.name;
        EXPECT_EQ(b.Width(), c.width) << c.name;
        EXPECT_EQ(b.Height(), c.height) << c.name;
        if (c.source) {
            EXPECT_LT(test::MeanAbsDiff(b, *c.source), 2.5) << c.name;
        }
    }
    JPEGDefaults() = saved;
}

}  // namespace
}  // namespace kobalto
