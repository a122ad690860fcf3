// Decoding only the rows and columns the nearest-neighbour stretch picks
// gives the very bytes of decoding the whole picture and stretching it, over
// the layouts files come in, orientations and target sizes, including ones
// that skip whole block rows and ones that repeat lines.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "codecs/jpeg/JpegDecoder.h"
#include "codecs/jpeg/JpegSampledDecoder.h"
#include "graphics/Draw.h"
#include "tests/codecs/JpegTestFiles.h"

namespace kobalto {
namespace {

// Every row and column differs from its neighbours, so a wrong pick shows.
TBitmap Grainy(int w, int h)
{
    TBitmap b(w, h, TPixelFormat::pf24bit);
    uint32_t seed = 12345;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            seed = seed * 1103515245 + 12345;
            const int grain = static_cast<int>(seed >> 26);  // 0..63
            b.SetPixel(x, y, TColor{static_cast<uint8_t>(x * 255 / w), static_cast<uint8_t>(y * 255 / h),
                                    static_cast<uint8_t>(128 + grain - 32)});
        }
    return b;
}

bool SameBytes(const TBitmap& a, const TBitmap& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.PixelFormat() != b.PixelFormat())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.ScanLine(y), b.ScanLine(y), static_cast<size_t>(a.Width()) * 3) != 0)
            return false;
    return true;
}

TEST(JpegStretchedDecode, PicksTheBytesOfTheWholeDecodeStretched)
{
    const struct {
        const char* name;
        test::TJpegLayout layout;
    } layouts[] = {
        {"4:4:4", {test::TJpegKind::ycc, 1, 1, false}},
        {"4:2:2", {test::TJpegKind::ycc, 2, 1, false}},
        {"4:2:0", {test::TJpegKind::ycc, 2, 2, false}},
        {"4:4:0", {test::TJpegKind::ycc, 1, 2, false}},
        {"4:2:0 progressive", {test::TJpegKind::ycc, 2, 2, true}},
        {"4:4:4 progressive", {test::TJpegKind::ycc, 1, 1, true}},
        {"CMYK", {test::TJpegKind::cmyk, 1, 1, false}},
        {"YCCK 4:2:0", {test::TJpegKind::ycck, 2, 2, false}},
    };
    // Odd sizes leave partial blocks at the right and bottom edges.
    const struct {
        int w, h;
    } pictures[] = {{123, 91}, {40, 200}};
    const int orientations[] = {1, 2, 3, 4};
    for (const auto& p : pictures) {
        const TBitmap source = Grainy(p.w, p.h);
        // Shrinks as the automatic and percentage modes make them, one that
        // skips whole block rows, unequal factors, 1:1 and enlargements.
        const struct {
            int w, h;
        } targets[] = {{p.w / 2, p.h / 2},   {p.w * 3 / 10, p.h * 3 / 10}, {p.w * 43 / 100, p.h * 43 / 100},
                       {p.w / 10, p.h / 10}, {p.w - 1, p.h / 3},           {1, 1},
                       {p.w, p.h},           {p.w * 3 / 2, p.h + 7}};
        for (const auto& l : layouts) {
            const std::vector<uint8_t> plain = test::EncodeLayout(source, l.layout);
            for (int orientation : orientations) {
                const std::vector<uint8_t> bytes =
                    orientation == 1 ? plain
                                     : test::WithSegment(plain, 0xE1, test::ExifOrientationBlock(orientation));
                TJpegDecodeOptions o;
                o.orientation = orientation;
                const TBitmap whole = DecodeJpeg(bytes, o);
                for (const auto& t : targets) {
                    const std::string what = std::string(l.name) + ", " + std::to_string(p.w) + "x" +
                                             std::to_string(p.h) + " to " + std::to_string(t.w) + "x" +
                                             std::to_string(t.h) + ", orientation " + std::to_string(orientation);
                    TBitmap expected(t.w, t.h, TPixelFormat::pf24bit);
                    StretchBitmap(expected, whole);
                    const std::optional<TBitmap> sampled = DecodeJpegStretched(bytes, o, t.w, t.h);
                    ASSERT_TRUE(sampled.has_value()) << what;
                    EXPECT_TRUE(SameBytes(*sampled, expected)) << what;
                }
            }
        }
    }
}

TEST(JpegStretchedDecode, LeavesToTheWholeDecodeWhatItCannotSample)
{
    const TBitmap source = Grainy(48, 32);
    const std::vector<uint8_t> colour = test::EncodeLayout(source, {});
    TJpegDecodeOptions eightBit;
    eightBit.eightBit = true;
    TJpegDecodeOptions half;
    half.scaleShift = 1;
    TJpegDecodeOptions scanByScan;
    scanByScan.progressiveDisplay = true;
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        TJpegDecodeOptions options;
        int orientation;
    } cases[] = {
        {"grey file (quantised by libjpeg)", test::EncodeLayout(source, {test::TJpegKind::grey, 1, 1, false}), {}, 1},
        {"8-bit output", colour, eightBit, 1},
        {"scaled output", colour, half, 1},
        {"progressive display", colour, scanByScan, 1},
        {"turned a quarter", test::WithSegment(colour, 0xE1, test::ExifOrientationBlock(6)), {}, 6},
        {"mirrored about a diagonal", test::WithSegment(colour, 0xE1, test::ExifOrientationBlock(5)), {}, 5},
    };
    for (const auto& c : cases) {
        TJpegDecodeOptions o = c.options;
        o.orientation = c.orientation;
        EXPECT_FALSE(DecodeJpegStretched(c.bytes, o, 20, 10).has_value()) << c.name;
    }
}

TEST(JpegStretchedDecode, RefusesWhatTheWholeDecodeRefuses)
{
    const std::vector<uint8_t> bytes = test::EncodeLayout(Grainy(64, 64), {});
    // No image data at all: the whole decode raises, and so must the sampled one.
    const size_t sos = [&] {
        for (size_t i = 0; i + 1 < bytes.size(); ++i)
            if (bytes[i] == 0xFF && bytes[i + 1] == 0xDA)
                return i;
        return bytes.size();
    }();
    const std::vector<uint8_t> headerOnly(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(sos));
    EXPECT_THROW(DecodeJpeg(headerOnly, {}), EJPEG);
    EXPECT_THROW(DecodeJpegStretched(headerOnly, {}, 8, 8), EJPEG);
}

}  // namespace
}  // namespace kobalto
