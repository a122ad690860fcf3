// JPEG data inside TIFF: the checks against the TIFF fields, the tables
// field, and a stream that ends early (a warning, then the rows it gave).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Warnings.h"
#include "codecs/decompress/TiffJpegDecoder.h"
#include "codecs/extended/ExtendedError.h"
#include "codecs/jpeg/JpegEncoder.h"
#include "tests/support/ExtendedReaderKit.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using Bytes = std::vector<uint8_t>;

// A 16 × 16 JPEG as libjpeg writes it by default: YCbCr, 2 × 2 subsampling.
Bytes Jpeg16()
{
    return EncodeJpeg(test::PatternBitmap(16, 16), {90, false, false});
}

TTiffJpegParams Params()
{
    TTiffJpegParams p;
    p.width = 16;
    p.samplesPerPixel = 3;
    p.bitsPerSample = 8;
    p.color = TTiffJpegColor::YCbCr;
    p.subsamplingH = 2;
    p.subsamplingV = 2;
    return p;
}

TEST(TiffJpegTest, MismatchesWithTheTiffFields)
{
    const Bytes jpeg = Jpeg16();
    struct C {
        const char* what;
        void (*change)(TTiffJpegParams&, const Bytes&);
        size_t rows;
        std::string message;
    };
    const C cases[] = {
        {"width", [](TTiffJpegParams& p, const Bytes&) { p.width = 8; }, 16, "Improper JPEG strip/tile size."},
        {"more rows than the stream", [](TTiffJpegParams&, const Bytes&) {}, 17, "Improper JPEG strip/tile size."},
        {"components", [](TTiffJpegParams& p, const Bytes&) { p.samplesPerPixel = 4; }, 16, "Improper JPEG component count."},
        {"precision", [](TTiffJpegParams& p, const Bytes&) { p.bitsPerSample = 12; }, 16, "Improper JPEG data precision."},
        {"sampling", [](TTiffJpegParams& p, const Bytes&) { p.subsamplingH = 1, p.subsamplingV = 1; }, 16,
         "Improper JPEG sampling factors."},
        // A whole picture where only tables belong.
        {"tables", [](TTiffJpegParams& p, const Bytes& j) { p.tables = j; }, 16,
         "Bogus JPEG tables field."},
    };
    for (const C& c : cases) {
        TTiffJpegParams p = Params();
        c.change(p, jpeg);
        TTiffJpegDecoder d(p);
        Bytes out(c.rows * 16 * 3);
        EXPECT_EQ(test::ErrorText([&] { d.Decode(jpeg, out); }), c.message) << c.what;
    }
    TTiffJpegDecoder d(Params());
    Bytes fractional(16 * 3 * 2 + 1);
    EXPECT_EQ(test::ErrorText([&] { d.Decode(jpeg, fractional); }), "Fractional JPEG scanline unsupported.");
}

TEST(TiffJpegTest, StreamEndingEarlyWarnsAndGoesOn)
{
    const Bytes jpeg = Jpeg16();
    // Cut inside the entropy-coded data, well after the headers.
    const Bytes cut(jpeg.begin(), jpeg.end() - 60);
    std::vector<std::string> warnings;
    const ScopedWarningSink sink([&](std::string_view title, std::string_view text) {
        warnings.push_back(std::string(title) + ": " + std::string(text));
    });
    TTiffJpegDecoder d(Params());
    Bytes out(16 * 16 * 3);
    EXPECT_EQ(d.Decode(cut, out).produced, out.size());
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "Warning: JPEG decompression error. Unexpected end of input.");
    // The whole stream gives no warning and the picture's first pixel.
    warnings.clear();
    EXPECT_EQ(d.Decode(jpeg, out).produced, out.size());
    EXPECT_TRUE(warnings.empty());
    const TColor first = test::PatternBitmap(16, 16).Pixel(0, 0);
    EXPECT_NEAR(out[2], first.red, 12);
    EXPECT_NEAR(out[1], first.green, 12);
    EXPECT_NEAR(out[0], first.blue, 12);
}

}  // namespace
}  // namespace kobalto
