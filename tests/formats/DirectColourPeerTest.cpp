// The written Photoshop, PPM and PCX files as ImageMagick and Pillow see them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/pcx/PcxWriter.h"
#include "formats/pnm/PpmWriter.h"
#include "formats/psd/PsdWriter.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using Bytes = std::vector<uint8_t>;
using Save = void (*)(const TBitmap&, const std::string&);

const struct {
    const char* extension;
    Save save;
} kWriters[] = {{".psd", SaveBitmapAsPsd}, {".ppm", SaveBitmapAsPpm}, {".pcx", SaveBitmapAsPcx}};

// Runs cut at both coders' limits: red holds literal stretches of 128 and
// 129 bytes between repeats of 128, 129 and 63 bytes of a value with the
// PCX count bits set; green is flat; blue changes every pixel.
TBitmap RunLimits(int width, int height)
{
    return test::MakeBitmap(width, height, [](int x, int y) {
        const int period = x % 600;
        const uint8_t red = period < 128   ? static_cast<uint8_t>(period * 2 + y)
                            : period < 256 ? 0xC8
                            : period < 385 ? static_cast<uint8_t>(period + y)
                            : period < 514 ? 0xFF
                                           : static_cast<uint8_t>(period < 577 ? 0xC0 : x);
        return TColor{red, 0xC3, static_cast<uint8_t>(x * 31 + y)};
    });
}

// Samples of the bitmap as red, green, blue, row by row from the top.
Bytes Rgb(const TBitmap& b)
{
    Bytes out;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) {
            TColor c = b.Pixel(x, y);
            out.insert(out.end(), {c.red, c.green, c.blue});
        }
    return out;
}

struct Picture {
    const char* name;
    TBitmap bitmap;
    bool psdPacked;  // the Photoshop file's pixels are PackBits rows, not raw
};

std::vector<Picture> Pictures()
{
    return {{"1x1", test::PatternBitmap(1, 1), false},
            {"2x1", test::PatternBitmap(2, 1), false},
            {"1x3", test::PatternBitmap(1, 3), false},
            {"odd 37x23", test::PatternBitmap(37, 23), false},
            {"run limits 1201x3", RunLimits(1201, 3), true},
            {"run limits 600x2", RunLimits(600, 2), true},
            {"flat 9x5", test::MakeBitmap(9, 5, [](int, int) { return TColor{0xC9, 0, 0xFF}; }), true}};
}

TEST(DirectColourPeers, ImageMagickReadsTheSamePixels)
{
    if (test::ImageMagickConvert().empty())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    test::TempDir dir;
    for (const auto& w : kWriters)
        for (const Picture& p : Pictures()) {
            SCOPED_TRACE(std::string(w.extension) + " " + p.name);
            const std::string path = dir.File(std::string("p") + w.extension);
            w.save(p.bitmap, path);
            if (w.save == SaveBitmapAsPsd) {
                EXPECT_EQ(test::ReadBytes(path).at(67), p.psdPacked ? 1 : 0);
            }
            TBitmap decoded;
            ASSERT_TRUE(test::DecodeWithPeer(path, decoded));
            ASSERT_EQ(decoded.Width(), p.bitmap.Width());
            ASSERT_EQ(decoded.Height(), p.bitmap.Height());
            EXPECT_EQ(Rgb(decoded), Rgb(p.bitmap));
        }
}

TEST(DirectColourPeers, PillowReadsTheSamePixels)
{
    const std::string python = "/usr/bin/python3";
    if (test::RunCommand(python + " -c 'import PIL' 2>/dev/null") != 0)
        GTEST_SKIP() << "Pillow (python3-pil) is not installed";
    test::TempDir dir;
    for (const auto& w : kWriters)
        for (const Picture& p : Pictures()) {
            SCOPED_TRACE(std::string(w.extension) + " " + p.name);
            // This Pillow misreads one-column PCX files, its own too (its
            // writer drops the blue plane there); ImageMagick covers them.
            if (w.save == SaveBitmapAsPcx && p.bitmap.Width() == 1)
                continue;
            const std::string path = dir.File(std::string("p") + w.extension);
            const std::string raw = dir.File("p.rgb");
            w.save(p.bitmap, path);
            std::string size;
            ASSERT_EQ(test::RunCommand(python + " -c 'import sys; from PIL import Image; i = Image.open(sys.argv[1]); "
                                                "print(i.format, i.mode, *i.size, end=\"\"); "
                                                "open(sys.argv[2], \"wb\").write(i.convert(\"RGB\").tobytes())' '" +
                                           path + "' '" + raw + "'",
                                       &size),
                      0);
            const char* format = w.save == SaveBitmapAsPsd ? "PSD" : w.save == SaveBitmapAsPpm ? "PPM" : "PCX";
            EXPECT_EQ(size, std::string(format) + " RGB " + std::to_string(p.bitmap.Width()) + " " +
                                std::to_string(p.bitmap.Height()));
            EXPECT_EQ(test::ReadBytes(raw), Rgb(p.bitmap));
        }
}

}  // namespace
}  // namespace kobalto
