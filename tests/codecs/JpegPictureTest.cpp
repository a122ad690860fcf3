#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "base/Exceptions.h"
#include "codecs/jpeg/TJPEGPicture.h"
#include "codecs/registry/TPicture.h"
#include "tests/codecs/JpegTestFiles.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

// Smooth enough for JPEG to keep it close: a gradient in each channel.
TBitmap Gradient(int width, int height)
{
    return test::MakeBitmap(width, height, [&](int x, int y) {
        return TColor{static_cast<uint8_t>(x * 255 / std::max(width - 1, 1)),
                      static_cast<uint8_t>(y * 255 / std::max(height - 1, 1)), 128};
    });
}

// Flat 16 × 16 blocks of pure colours, so chroma subsampling keeps them.
TBitmap ColourBlocks()
{
    const TColor colours[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
    return test::MakeBitmap(64, 16, [&](int x, int) { return colours[x / 16]; });
}

TEST(JpegPicture, LoadingReadsTheHeaderAndDecodesNothing)
{
    const struct {
        int width, height;
        bool grayscale, progressive;
    } cases[] = {{33, 17, false, false}, {1, 1, false, true}, {20, 300, true, false}, {16, 16, true, true}};
    for (const auto& c : cases) {
        const auto bytes = EncodeJpeg(Gradient(c.width, c.height), {90, c.grayscale, c.progressive});
        TJPEGPicture picture = test::LoadJpeg(bytes);
        EXPECT_FALSE(picture.HasBitmap());
        EXPECT_EQ(picture.Width(), c.width);
        EXPECT_EQ(picture.Height(), c.height);
        EXPECT_EQ(picture.GrayscaleFile(), c.grayscale);
        EXPECT_EQ(picture.Settings().progressiveEncoding, c.progressive);
        EXPECT_EQ(picture.Bitmap().Width(), c.width);
        EXPECT_EQ(picture.Bitmap().Height(), c.height);
    }
}

TEST(JpegPicture, AnUnmodifiedPictureIsSavedByteForByte)
{
    // An EXIF block and bytes after the end marker must survive too.
    auto bytes = test::WithSegment(test::EncodeForTest(Gradient(40, 24), 30), 0xE1, test::ExifOrientationBlock(6));
    bytes.insert(bytes.end(), {'t', 'a', 'i', 'l'});
    TJPEGPicture picture = test::LoadJpeg(bytes);
    EXPECT_EQ(test::SaveJpeg(picture), bytes);
    picture.Bitmap();
    picture.SetScale(TJPEGScale::jsQuarter);
    picture.SetCompressionQuality(80);
    EXPECT_EQ(test::SaveJpeg(picture), bytes);
    EXPECT_EQ(test::SaveJpeg(TJPEGPicture(picture)), bytes);
}

TEST(JpegPicture, GrayAndEightBitOutputGoThroughTheQuantiser)
{
    const TBitmap grey = test::MakeBitmap(64, 32, [](int x, int y) {
        const auto v = static_cast<uint8_t>((x * 4 + y) & 255);
        return TColor{v, v, v};
    });
    const struct {
        const char* name;
        TBitmap source;
        bool grayscaleFile, grayscaleSetting, eightBit;
        double tolerance;  // mean difference per channel to the source
    } cases[] = {
        {"grayscale file", grey, true, false, false, 2.0},
        {"grayscale setting", Gradient(48, 32), false, true, false, 60.0},
        {"8-bit colour", Gradient(48, 32), false, false, true, 8.0},
    };
    for (const auto& c : cases) {
        TJPEGPicture picture = test::LoadJpeg(EncodeJpeg(c.source, {95, c.grayscaleFile, false}));
        picture.SetGrayscale(c.grayscaleSetting);
        picture.SetPixelFormat(c.eightBit ? TJPEGPixelFormat::jf8Bit : TJPEGPixelFormat::jf24Bit);
        const TBitmap& b = picture.Bitmap();
        ASSERT_EQ(b.PixelFormat(), TPixelFormat::pf8bit) << c.name;
        EXPECT_LE(b.Palette().size(), 236u) << c.name;
        EXPECT_GT(b.Palette().size(), 16u) << c.name;
        if (c.grayscaleFile || c.grayscaleSetting) {
            for (const TRGBQuad& e : b.Palette())
                EXPECT_TRUE(e.red == e.green && e.green == e.blue) << c.name;
        }
        EXPECT_LT(test::MeanAbsDiff(b, c.source), c.tolerance) << c.name;
    }
}

TEST(JpegPicture, PerformancePixelFormatAndScaleChangesDropTheDecodedBitmap)
{
    const struct {
        const char* name;
        std::function<void(TJPEGPicture&)> change;
        bool drops;
    } cases[] = {
        {"same scale", [](TJPEGPicture& p) { p.SetScale(TJPEGScale::jsFullSize); }, false},
        {"other scale", [](TJPEGPicture& p) { p.SetScale(TJPEGScale::jsHalf); }, true},
        {"same performance", [](TJPEGPicture& p) { p.SetPerformance(TJPEGPerformance::jpBestQuality); }, false},
        {"other performance", [](TJPEGPicture& p) { p.SetPerformance(TJPEGPerformance::jpBestSpeed); }, true},
        {"same pixel format", [](TJPEGPicture& p) { p.SetPixelFormat(TJPEGPixelFormat::jf24Bit); }, false},
        {"other pixel format", [](TJPEGPicture& p) { p.SetPixelFormat(TJPEGPixelFormat::jf8Bit); }, true},
        {"grayscale", [](TJPEGPicture& p) { p.SetGrayscale(true); }, false},
        {"smoothing", [](TJPEGPicture& p) { p.SetSmoothing(false); }, false},
        {"quality", [](TJPEGPicture& p) { p.SetCompressionQuality(10); }, false},
    };
    const auto bytes = test::EncodeForTest(Gradient(32, 32));
    for (const auto& c : cases) {
        TJPEGPicture picture = test::LoadJpeg(bytes);
        picture.Bitmap();
        c.change(picture);
        EXPECT_EQ(picture.HasBitmap(), !c.drops) << c.name;
        EXPECT_EQ(picture.Bitmap().Width(), c.name == std::string("other scale") ? 16 : 32) << c.name;

        // An assigned bitmap has no file to come back from: it stays.
        TJPEGPicture assigned;
        assigned.AssignBitmap(Gradient(8, 8));
        c.change(assigned);
        EXPECT_TRUE(assigned.HasBitmap()) << c.name;
        EXPECT_EQ(assigned.Width(), 8) << c.name;
    }
}

TEST(JpegPicture, ScaledSizesRoundUp)
{
    const auto bytes = test::EncodeForTest(Gradient(33, 17));
    const struct {
        TJPEGScale scale;
        int width, height;
    } cases[] = {{TJPEGScale::jsFullSize, 33, 17},
                 {TJPEGScale::jsHalf, 17, 9},
                 {TJPEGScale::jsQuarter, 9, 5},
                 {TJPEGScale::jsEighth, 5, 3}};
    for (const auto& c : cases) {
        TJPEGPicture picture = test::LoadJpeg(bytes);
        picture.SetScale(c.scale);
        EXPECT_EQ(picture.Width(), c.width);
        EXPECT_EQ(picture.Height(), c.height);
        EXPECT_EQ(picture.Bitmap().Width(), c.width);
        EXPECT_EQ(picture.Bitmap().Height(), c.height);
    }
}

TEST(JpegPicture, ItsSizeCannotBeSet)
{
    TJPEGPicture picture = test::LoadJpeg(test::EncodeForTest(Gradient(8, 8)));
    for (auto set : {&TJPEGPicture::SetWidth, &TJPEGPicture::SetHeight}) {
        try {
            (picture.*set)(4);
            ADD_FAILURE();
        } catch (const EInvalidGraphicOperation& e) {
            EXPECT_STREQ(e.what(), "JPEG イメージのサイズは変更できません");
        }
    }
    EXPECT_EQ(picture.Width(), 8);
}

TEST(JpegPicture, RedStaysRedWhateverTheBitmapsPixelFormat)
{
    const TBitmap blocks = ColourBlocks();
    for (TPixelFormat format : {TPixelFormat::pf24bit, TPixelFormat::pf32bit, TPixelFormat::pf8bit}) {
        TBitmap source = blocks;
        source.SetPixelFormat(format);
        TJPEGPicture writer;
        writer.AssignBitmap(source);
        const auto bytes = test::SaveJpeg(writer);
        const TBitmap decoded = test::LoadJpeg(bytes).Bitmap();
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(test::Near(decoded.Pixel(i * 16 + 8, 8), blocks.Pixel(i * 16 + 8, 8), 8))
                << BitsPerPixel(format) << " bits, block " << i;

        TBitmap peer;
        if (!test::DecodeBytesWithPeer(bytes, peer))
            continue;
        for (int i = 0; i < 4; ++i)
            EXPECT_TRUE(test::Near(peer.Pixel(i * 16 + 8, 8), blocks.Pixel(i * 16 + 8, 8), 8))
                << "peer, " << BitsPerPixel(format) << " bits, block " << i;
    }
}

TEST(JpegPicture, ProgressiveDisplayEndsWithTheOrdinaryDecode)
{
    const auto bytes = test::EncodeForTest(Gradient(45, 37), 75, true);
    for (TJPEGPixelFormat format : {TJPEGPixelFormat::jf24Bit, TJPEGPixelFormat::jf8Bit}) {
        TJPEGPicture plain = test::LoadJpeg(bytes), scanByScan = test::LoadJpeg(bytes);
        plain.SetPixelFormat(format);
        scanByScan.SetPixelFormat(format);
        scanByScan.SetProgressiveDisplay(true);
        const TBitmap& a = plain.Bitmap();
        const TBitmap& b = scanByScan.Bitmap();
        ASSERT_EQ(a.PixelFormat(), b.PixelFormat());
        EXPECT_EQ(a.Palette(), b.Palette());
        EXPECT_EQ(0, std::memcmp(a.Bits(), b.Bits(), a.ImageSize()));
    }
}

TEST(JpegPicture, DrawingPutsTheDecodedPictureOnTheTarget)
{
    TJPEGPicture picture = test::LoadJpeg(test::EncodeForTest(ColourBlocks()));
    TBitmap target(70, 20);
    picture.Draw(target, 3, 2);
    EXPECT_EQ(target.Pixel(1, 1), kWhite);
    EXPECT_TRUE(test::Near(target.Pixel(3 + 8, 2 + 8), TColor{255, 0, 0}, 8));
    EXPECT_TRUE(test::Near(target.Pixel(3 + 40, 2 + 8), TColor{0, 0, 255}, 8));
}

TEST(JpegPicture, JpegExtensionsResolveToTheJpegPictureInTheirRegistrationOrder)
{
    for (const char* ext : {"jpg", "JPG", "jpeg", "Jpeg", "jfif", "jpe"}) {
        const TGraphicClass* c = TPicture::FileFormats().FindExt(ext);
        ASSERT_NE(c, nullptr) << ext;
        EXPECT_EQ(c->name, "TJPEGPicture") << ext;
    }
    // The JPEG codec's own two, then the extended list's four between its
    // bitmap rows.
    std::vector<std::string> seen;
    for (const auto& e : TPicture::FileFormats().Entries())
        for (const char* ext : {"bmp", "jfif", "jpg", "jpe", "jpeg", "rle", "dib"})
            if (e.extension == ext)
                seen.push_back(e.extension + ":" + e.description);
    const std::vector<std::string> expected{
        "bmp:ビットマップ",        "jpeg:JPEG イメージファイル", "jpg:JPEG イメージファイル",
        "bmp:Windows bitmaps",     "jfif:JFIF images",          "jpg:JPG images",
        "jpe:JPE images",          "jpeg:JPEG images",          "rle:Run length encoded Windows bitmaps",
        "dib:Device independant Windows bitmaps"};
    EXPECT_EQ(seen, expected);
    const auto* record = TPicture::ExtendedFormats().FindExtension("jpe");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->kinds, fkRaster);
    EXPECT_EQ(record->classRecord->description, "JPG images");
    EXPECT_EQ(record->classRecord->count, 4);
}

}  // namespace
}  // namespace kobalto
