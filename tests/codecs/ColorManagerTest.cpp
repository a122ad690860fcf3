// The colour converter of the extended readers: each scheme's arithmetic on
// chosen samples, and the descriptions it refuses with their texts.
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <vector>

#include "codecs/color/ColorConversions.h"
#include "codecs/color/TColorManager.h"
#include "codecs/extended/ExtendedError.h"
#include "tests/support/ExtendedReaderKit.h"

namespace kobalto {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Convert(TColorFormat source, TColorFormat target, const Bytes& row, int width, TColorOptions options = {})
{
    TColorManager m;
    m.Setup(source, target, options);
    Bytes out(static_cast<size_t>(width) * 4 + 4, 0xEE);
    m.ConvertRow(row.data(), out.data(), width);
    return out;
}

TEST(ColorManagerTest, SchemesToBlueGreenRed)
{
    const TColorFormat bgr{TColorScheme::BGR, 8, 3};
    struct C {
        const char* what;
        TColorFormat source;
        Bytes row;
        Bytes bgr;  // blue, green, red
    };
    const C cases[] = {
        {"RGB swaps", {TColorScheme::RGB, 8, 3}, {1, 2, 3}, {3, 2, 1}},
        // 16-bit samples: v × 255 div 65535, truncating (little-endian here).
        {"16-bit RGB", {TColorScheme::RGB, 16, 3}, {0xFF, 0xFF, 0x00, 0x80, 0x01, 0x01}, {1, 127, 255}},
        // 4-bit samples stretch to the byte range: 0xF and 0x8 are 255 and 136.
        {"4-bit RGB", {TColorScheme::RGB, 4, 3}, {0xF8, 0x00}, {0, 136, 255}},
        // R = 255 - C - K + C × K div 255, clamped.
        {"CMYK white", {TColorScheme::CMYK, 8, 4}, {0, 0, 0, 0}, {255, 255, 255}},
        {"CMYK cyan", {TColorScheme::CMYK, 8, 4}, {255, 0, 0, 0}, {255, 255, 0}},
        {"CMYK half and half", {TColorScheme::CMYK, 8, 4}, {128, 0, 0, 128}, {127, 127, 63}},
        // YCbCr with the default coefficients: R = Y + Round((Cr - 128) × 1.402).
        {"YCbCr grey", {TColorScheme::YCbCr, 8, 3}, {128, 128, 128}, {128, 128, 128}},
        {"YCbCr red", {TColorScheme::YCbCr, 8, 3}, {0, 128, 255}, {0, 0, 178}},
        {"YCbCr clamps", {TColorScheme::YCbCr, 8, 3}, {255, 128, 255}, {255, 164, 255}},
        // L* stored 0..255: 255 is white, 0 black.
        {"Lab white", {TColorScheme::CIELab, 8, 3}, {255, 0, 0}, {255, 255, 255}},
        {"Lab black", {TColorScheme::CIELab, 8, 3}, {0, 0, 0}, {0, 0, 0}},
    };
    TColorOptions options;
    options.labL255 = true;
    for (const C& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes out = Convert(c.source, bgr, c.row, 1, options);
        EXPECT_EQ(Bytes(out.begin(), out.begin() + 3), c.bgr);
        EXPECT_EQ(out[3], 0xEE);
    }
}

TEST(ColorManagerTest, SubsampledYCbCrBlocks)
{
    // 2 × 2 blocks: four luma samples, then Cb and Cr for all four.
    TColorOptions options;
    options.subsamplingH = 2;
    options.subsamplingV = 2;
    TColorManager m;
    m.Setup({TColorScheme::YCbCr, 8, 3}, {TColorScheme::BGR, 8, 3}, options);
    EXPECT_EQ(m.SourceRowBytes(3), 12u);  // two blocks of six
    const Bytes block{10, 20, 30, 40, 128, 128, 50, 60, 70, 80, 128, 128};
    Bytes top(9), bottom(9);
    uint8_t* rows[] = {top.data(), bottom.data()};
    m.ConvertBlockRow(block.data(), rows, 2, 3);
    EXPECT_EQ(top, (Bytes{10, 10, 10, 20, 20, 20, 50, 50, 50}));
    EXPECT_EQ(bottom, (Bytes{30, 30, 30, 40, 40, 40, 70, 70, 70}));
}

TEST(ColorManagerTest, IndicesPackIntoTheBitmapFormat)
{
    // 2-bit grey widens to 4-bit pixels; grey with alpha drops the alpha.
    EXPECT_EQ(Convert({TColorScheme::Grey, 2, 1}, {TColorScheme::Grey, 2, 1}, {0x1B}, 4)[0], 0x01);
    EXPECT_EQ(Convert({TColorScheme::Grey, 2, 1}, {TColorScheme::Grey, 2, 1}, {0x1B}, 4)[1], 0x23);
    EXPECT_EQ(Convert({TColorScheme::Grey, 8, 2}, {TColorScheme::Grey, 8, 2}, {7, 255, 9, 0}, 2)[1], 9);
    EXPECT_EQ(GreyPalette(1, true)[0].red, 255);
    EXPECT_EQ(GreyPalette(2, false)[2].red, 170);
}

TEST(ColorManagerTest, RefusedDescriptions)
{
    const TColorFormat bgr{TColorScheme::BGR, 8, 3};
    TColorOptions sub3;
    sub3.subsamplingH = 3;
    TColorOptions tall;
    tall.subsamplingH = 1;
    tall.subsamplingV = 2;
    const struct {
        TColorFormat source;
        TColorFormat target;
        TColorOptions options;
        std::string message;
    } cases[] = {
        {{TColorScheme::RGB, 3, 3}, bgr, {}, "Color depth is invalid. Bits per sample must be 1, 2, 4, 8 or 16."},
        {{TColorScheme::RGB, 8, 5}, bgr, {}, "Sample count per pixel does not correspond to the given color scheme."},
        {{TColorScheme::CMYK, 8, 3}, bgr, {}, "Sample count per pixel does not correspond to the given color scheme."},
        {{TColorScheme::Indexed, 8, 1}, bgr, {},
         "Conversion between indexed and non-indexed pixel formats is not supported."},
        {{TColorScheme::Unknown, 8, 3}, bgr, {}, "Color conversion failed. Could not find a proper method."},
        {{TColorScheme::YCbCr, 8, 3}, bgr, sub3, "Subsampling value is invalid. Allowed are 1, 2 and 4."},
        {{TColorScheme::YCbCr, 8, 3}, bgr, tall, "Vertical subsampling value must be <= horizontal subsampling value."},
    };
    for (const auto& c : cases) {
        TColorManager m;
        EXPECT_EQ(test::ErrorText([&] { m.Setup(c.source, c.target, c.options); }), c.message);
        EXPECT_THROW(m.Setup(c.source, c.target, c.options), EColorConversionError);
    }
}

}  // namespace
}  // namespace kobalto

// Coefficients come from the file: absurd or undefined ones give bounded
// table entries (so wrong colours), never an overflowing conversion.
TEST(ColorManagerTest, AbsurdYCbCrCoefficientsGiveBoundedTables)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::array<double, 3> cases[] = {{1e30, 1e-30, -1e30}, {nan, nan, nan}, {0.299, 1e-300, 0.114}};
    for (const auto& k : cases)
        for (const auto& table : kobalto::YCbCrTables(k))
            for (int entry : table) {
                EXPECT_LE(entry, 1 << 20) << k[0];
                EXPECT_GE(entry, -(1 << 20)) << k[0];
            }
}
