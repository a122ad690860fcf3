// Decoding only the rows and columns the nearest-neighbour stretch picks
// gives the very bytes of decoding the whole picture and stretching it, over
// the layouts files come in, orientations and target sizes, including ones
// that skip whole block rows and ones that repeat lines.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstring>
#include <string>
#include <vector>

#include "codecs/jpeg/JpegDecoder.h"
#include "codecs/jpeg/JpegSampledDecoder.h"
#include "graphics/Draw.h"
#include "platform/SpareCores.h"
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

// The sampled decode at w × h gives whole, the whole decode, stretched.
void ExpectSampledIsStretched(const std::vector<uint8_t>& bytes, const TJpegDecodeOptions& o, const TBitmap& whole,
                              int w, int h, const std::string& what)
{
    TBitmap expected(w, h, TPixelFormat::pf24bit);
    StretchBitmap(expected, whole);
    const std::optional<TBitmap> sampled = DecodeJpegStretched(bytes, o, w, h);
    ASSERT_TRUE(sampled.has_value()) << what;
    EXPECT_TRUE(test::SameBytes(*sampled, expected)) << what;
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
                    ExpectSampledIsStretched(bytes, o, whole, t.w, t.h, what);
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


// Large enough for a second decoder, with an odd width and a height that is
// no multiple of a block row.
constexpr int kSplitWidth = 1101, kSplitHeight = 1003;

// The sampled decode with one core and with a spare one: the bytes, or the
// text of what each raised.
struct TBothWays {
    std::string one, two;
};

// Freed and fresh blocks filled with a pattern while it lives, so a row no
// decoder wrote cannot hold the right bytes because an earlier decode of the
// same picture left them in a reused block.
class PoisonedHeap {
public:
    PoisonedHeap() { mallopt(M_PERTURB, 0xA5); }
    ~PoisonedHeap() { mallopt(M_PERTURB, 0); }
};

// w == 0 asks for the whole decode.
std::string Outcome(const std::vector<uint8_t>& bytes, const TJpegDecodeOptions& o, int w, int h, unsigned spare)
{
    const platform::ScopedSpareCores cores(spare);
    try {
        const std::optional<TBitmap> b = w == 0 ? DecodeJpeg(bytes, o) : DecodeJpegStretched(bytes, o, w, h);
        if (!b)
            return "not sampled";
        std::string rows;
        for (int y = 0; y < b->Height(); ++y)
            rows.append(reinterpret_cast<const char*>(b->ScanLine(y)), static_cast<size_t>(b->Width()) * 3);
        return rows;
    } catch (const std::exception& e) {
        return std::string("raised: ") + e.what();
    }
}

TBothWays BothWays(const std::vector<uint8_t>& bytes, const TJpegDecodeOptions& o, int w, int h)
{
    return {Outcome(bytes, o, w, h, 0), Outcome(bytes, o, w, h, 1)};
}

TEST(JpegStretchedDecode, TwoDecodersGiveTheBytesOfOne)
{
    const PoisonedHeap poisoned;
    const TBitmap source = Grainy(kSplitWidth, kSplitHeight);
    const struct {
        const char* name;
        test::TJpegLayout layout;
        bool split;
    } layouts[] = {
        {"4:2:0", {test::TJpegKind::ycc, 2, 2, false}, true},
        {"4:4:4", {test::TJpegKind::ycc, 1, 1, false}, true},
        {"4:2:2", {test::TJpegKind::ycc, 2, 1, false}, true},
        {"4:4:0", {test::TJpegKind::ycc, 1, 2, false}, true},
        {"CMYK", {test::TJpegKind::cmyk, 1, 1, false}, true},
        {"YCCK 4:2:0", {test::TJpegKind::ycck, 2, 2, false}, true},
        {"4:2:0 progressive (one decoder)", {test::TJpegKind::ycc, 2, 2, true}, false},
    };
    // The automatic mode's pick, one whose rows straddle the split, and 1:1.
    const struct {
        int w, h;
    } targets[] = {{kSplitWidth * 43 / 100, kSplitHeight * 43 / 100}, {kSplitWidth / 3, kSplitHeight / 7},
                   {kSplitWidth, kSplitHeight}};
    for (const auto& l : layouts) {
        const std::vector<uint8_t> plain = test::EncodeLayout(source, l.layout);
        // Orientation 3 takes the rows bottom up; 6 turns stored rows into
        // columns, which only the whole decode does.
        for (int orientation : {1, 3, 6}) {
            const std::vector<uint8_t> bytes =
                orientation == 1 ? plain : test::WithSegment(plain, 0xE1, test::ExifOrientationBlock(orientation));
            TJpegDecodeOptions o;
            o.orientation = orientation;
            const std::string named = std::string(l.name) + ", orientation " + std::to_string(orientation);
            const TBitmap whole = [&] {
                const platform::ScopedSpareCores one(0);
                return DecodeJpeg(bytes, o);
            }();
            const platform::ScopedSpareCores spare(1);
            EXPECT_EQ(JpegSampledSplitRow(bytes, o) > 0, l.split) << named;
            EXPECT_TRUE(test::SameBytes(DecodeJpeg(bytes, o), whole)) << named << ", whole decode";
            if (orientation == 6)
                continue;
            for (const auto& t : targets) {
                const std::string what = named + " to " + std::to_string(t.w) + "x" + std::to_string(t.h);
                ExpectSampledIsStretched(bytes, o, whole, t.w, t.h, what);
            }
        }
    }
}

TEST(JpegStretchedDecode, TwoDecodersMeetCutAndDamagedFilesAsOne)
{
    const PoisonedHeap poisoned;
    const std::vector<uint8_t> good = test::EncodeLayout(Grainy(kSplitWidth, kSplitHeight), {});
    {
        const platform::ScopedSpareCores spare(1);
        ASSERT_GT(JpegSampledSplitRow(good, {}), 0);
    }
    const size_t n = good.size();
    // Places in the data, as parts of the file: before the split's rows,
    // around them and after; the last one cuts only the end marker.
    const double places[] = {0.05, 0.4, 0.66, 0.7, 0.74, 0.95};
    for (double at : places) {
        const size_t p = static_cast<size_t>(static_cast<double>(n) * at);
        const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(p));
        // A run of bytes that are no valid codes, and a marker where none
        // belongs, which ends the scan's data early.
        std::vector<uint8_t> garbled = good;
        for (size_t i = p; i < p + 64 && i + 2 < n; ++i)
            garbled[i] = static_cast<uint8_t>(0x5A ^ (i & 0x7F));
        std::vector<uint8_t> marked = good;
        marked[p] = 0xFF;
        marked[p + 1] = 0xD9;
        const struct {
            const char* name;
            const std::vector<uint8_t>& bytes;
        } files[] = {{"cut", cut}, {"garbled", garbled}, {"end marker inside", marked}};
        for (const auto& f : files)
            for (int w : {0, kSplitWidth / 2}) {
                const TBothWays r = BothWays(f.bytes, {}, w, kSplitHeight / 2);
                EXPECT_TRUE(r.one == r.two) << f.name << " at " << at << (w ? ", sampled" : ", whole")
                                            << ": one decoder " << (r.one.starts_with("raised") ? r.one : "decoded")
                                            << ", two " << (r.two.starts_with("raised") ? r.two : "decoded");
            }
    }
    // Without image data both raise, before any thread starts.
    size_t sos = 0;
    while (sos + 1 < n && !(good[sos] == 0xFF && good[sos + 1] == 0xDA))
        ++sos;
    const std::vector<uint8_t> headerOnly(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(sos));
    const TBothWays r = BothWays(headerOnly, {}, 10, 10);
    EXPECT_TRUE(r.one.starts_with("raised")) << r.one.substr(0, 40);
    EXPECT_EQ(r.one, r.two);
}

}  // namespace
}  // namespace kobalto
