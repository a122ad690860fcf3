#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/Exceptions.h"
#include "base/TMemoryStream.h"
#include "formats/tiff/Bmp2Tiff.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using Bytes = std::vector<uint8_t>;

struct Entry {
    uint16_t tag, type;
    uint32_t count, value;
    friend bool operator==(const Entry&, const Entry&) = default;
};

uint16_t U16(const Bytes& b, size_t at) { return static_cast<uint16_t>(b.at(at) | b.at(at + 1) << 8); }
uint32_t U32(const Bytes& b, size_t at) { return U16(b, at) | static_cast<uint32_t>(U16(b, at + 2)) << 16; }

std::vector<Entry> Directory(const Bytes& b, size_t at)
{
    std::vector<Entry> entries(U16(b, at));
    for (size_t i = 0; i < entries.size(); ++i) {
        size_t e = at + 2 + 12 * i;
        entries[i] = {U16(b, e), U16(b, e + 2), U32(b, e + 4), U32(b, e + 8)};
    }
    EXPECT_EQ(U32(b, at + 2 + 12 * entries.size()), 0u) << "next directory";
    return entries;
}

uint32_t Field(const std::vector<Entry>& dir, uint16_t tag)
{
    for (const Entry& e : dir)
        if (e.tag == tag)
            return e.value;
    ADD_FAILURE() << "no tag " << tag;
    return 0;
}

std::vector<uint16_t> Tags(const std::vector<Entry>& dir)
{
    std::vector<uint16_t> tags;
    for (const Entry& e : dir)
        tags.push_back(e.tag);
    return tags;
}

Bytes Tiff(const TBitmap& bitmap)
{
    TMemoryStream stream;
    BitmapToTiffStream(stream, bitmap);
    return stream.TakeBytes();
}

TBitmap Converted(const TBitmap& source, TPixelFormat format)
{
    TBitmap b(source);
    b.SetPixelFormat(format);
    return b;
}

// Indexed bitmap with a given palette and pixel (x, y) = index(x, y).
template <typename F>
TBitmap Indexed(TPixelFormat format, int w, int h, std::vector<TRGBQuad> palette, F index)
{
    TBitmap b(w, h, format);
    b.Palette() = std::move(palette);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            TRGBQuad q = b.Palette()[index(x, y)];
            b.SetPixel(x, y, TColor{q.red, q.green, q.blue});
        }
    return b;
}

const std::vector<uint16_t> kRgbTags = {254, 256, 257, 258, 259, 262, 273, 277, 278, 279, 282, 283, 284, 296, 305};
const std::vector<uint16_t> kPaletteTags = {254, 256, 257, 258, 259, 262, 273, 277, 278, 279, 282, 283, 296, 305, 320};
const std::vector<uint16_t> kBilevelTags = {254, 256, 257, 258, 259, 262, 273, 277, 278, 279, 282, 283, 296, 305};

TEST(TiffWriter, OneByOneRgbFileIsExact)
{
    TBitmap b = test::MakeBitmap(1, 1, [](int, int) { return TColor{200, 100, 50}; });
    const Bytes expected = {
        0x49, 0x49, 0x2A, 0x00, 0x2B, 0x00, 0x00, 0x00,  // "II", 42, directory at 43 (odd)
        0x6D, 0x03, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00,  // XResolution 877/10
        0x6D, 0x03, 0x00, 0x00, 0x0A, 0x00, 0x00, 0x00,  // YResolution 877/10
        0x08, 0x00, 0x08, 0x00, 0x08, 0x00,              // BitsPerSample 8, 8, 8
        'M', 'e', 'r', 'o', 'v', 'a', 'n', 't', 'i', 's',  // Software, no zero byte
        200, 100, 50,                                    // the pixel: red, green, blue
        0x0F, 0x00,                                      // 15 entries
        0xFE, 0x00, 0x04, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // NewSubfileType 0
        0x00, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,  // ImageWidth 1
        0x01, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,  // ImageLength 1
        0x02, 0x01, 0x03, 0x00, 0x03, 0x00, 0x00, 0x00, 0x18, 0x00, 0x00, 0x00,  // BitsPerSample @24
        0x03, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,  // Compression none
        0x06, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,  // Photometric RGB
        0x11, 0x01, 0x04, 0x00, 0x01, 0x00, 0x00, 0x00, 0x28, 0x00, 0x00, 0x00,  // StripOffsets 40
        0x15, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00,  // SamplesPerPixel 3
        0x16, 0x01, 0x04, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,  // RowsPerStrip 1
        0x17, 0x01, 0x04, 0x00, 0x01, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00,  // StripByteCounts 3
        0x1A, 0x01, 0x05, 0x00, 0x01, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00,  // XResolution @8
        0x1B, 0x01, 0x05, 0x00, 0x01, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00,  // YResolution @16
        0x1C, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,  // PlanarConfiguration 1
        0x28, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,  // ResolutionUnit inch
        0x31, 0x01, 0x02, 0x00, 0x0A, 0x00, 0x00, 0x00, 0x1E, 0x00, 0x00, 0x00,  // Software 10 @30
        0x00, 0x00, 0x00, 0x00,                                                  // no next directory
    };
    ASSERT_EQ(expected.size(), 229u);
    EXPECT_EQ(Tiff(b), expected);
}

// Sizes where row padding, odd directory offsets and row order show.
TEST(TiffWriter, RgbStripIsTopRowFirstWithoutPadding)
{
    struct Case { int w, h; uint32_t directory; };
    for (Case c : {Case{5, 1, 55}, Case{5, 3, 85}, Case{2, 2, 52}, Case{3, 7, 103}, Case{1, 4, 52}}) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        TBitmap b = test::PatternBitmap(c.w, c.h);
        Bytes f = Tiff(b);
        ASSERT_EQ(f.size(), c.directory + 186u);
        EXPECT_EQ(U32(f, 4), c.directory);
        auto dir = Directory(f, c.directory);
        EXPECT_EQ(Tags(dir), kRgbTags);
        EXPECT_EQ(Field(dir, 256), uint32_t(c.w));
        EXPECT_EQ(Field(dir, 257), uint32_t(c.h));
        EXPECT_EQ(Field(dir, 278), uint32_t(c.h));
        EXPECT_EQ(Field(dir, 273), 40u);
        EXPECT_EQ(Field(dir, 279), c.directory - 40);
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x) {
                size_t at = 40 + 3 * (size_t(y) * c.w + x);
                TColor p = b.Pixel(x, y);
                ASSERT_EQ((TColor{f[at], f[at + 1], f[at + 2]}), p) << x << "," << y;
            }
    }
}

// 32 bits drop the fourth byte; 15 and 16 bits are widened to the same RGB
// file their 24-bit copy gives.
TEST(TiffWriter, OtherDirectDepthsMatchTheirTwentyFourBitCopy)
{
    TBitmap source = test::PatternBitmap(7, 3);
    for (TPixelFormat f : {TPixelFormat::pf32bit, TPixelFormat::pf15bit, TPixelFormat::pf16bit}) {
        SCOPED_TRACE(BitsPerPixel(f));
        TBitmap b = Converted(source, f);
        EXPECT_EQ(Tiff(b), Tiff(Converted(b, TPixelFormat::pf24bit)));
    }
    TBitmap wide = Converted(source, TPixelFormat::pf32bit);
    wide.Bits()[3] = 0xAB;  // the unused byte never shows
    EXPECT_EQ(Tiff(wide), Tiff(source));
}

TEST(TiffWriter, PaletteFilesCarryColourMapAndLeadingBytesOfRows)
{
    struct Case { TPixelFormat format; int bits, w, h, writtenWidth, rowBytes; uint32_t strip; };
    for (Case c : {Case{TPixelFormat::pf8bit, 8, 3, 2, 3, 3, 1570}, Case{TPixelFormat::pf4bit, 4, 7, 3, 4, 2, 130},
                   Case{TPixelFormat::pf4bit, 4, 8, 1, 8, 4, 130}, Case{TPixelFormat::pf4bit, 4, 4, 2, 4, 2, 130}}) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits, width " + std::to_string(c.w));
        const size_t n = size_t{1} << c.bits;
        std::vector<TRGBQuad> palette(n);
        for (size_t i = 0; i < n; ++i)
            palette[i] = {uint8_t(i * 3), uint8_t(255 - i), uint8_t(i * 7 + 1), 0};
        TBitmap b = Indexed(c.format, c.w, c.h, palette, [&](int x, int y) { return (x * 5 + y * 3 + 1) % n; });
        Bytes f = Tiff(b);
        const uint32_t stripBytes = uint32_t(c.rowBytes * c.h);
        ASSERT_EQ(f.size(), c.strip + stripBytes + 186u);
        auto dir = Directory(f, U32(f, 4));
        EXPECT_EQ(U32(f, 4), c.strip + stripBytes);
        EXPECT_EQ(Tags(dir), kPaletteTags);
        EXPECT_EQ(Field(dir, 256), uint32_t(c.writtenWidth));
        EXPECT_EQ(Field(dir, 258), uint32_t(c.bits));
        EXPECT_EQ(Field(dir, 262), 3u);
        EXPECT_EQ(Field(dir, 273), c.strip);
        EXPECT_EQ(Field(dir, 279), stripBytes);
        EXPECT_EQ(dir.back(), (Entry{320, 3, uint32_t(3 * n), 8}));
        EXPECT_EQ(Field(dir, 282), c.strip - 26);
        EXPECT_EQ(Field(dir, 283), c.strip - 18);
        EXPECT_EQ(Field(dir, 305), c.strip - 10);
        for (size_t i = 0; i < n; ++i) {
            EXPECT_EQ(U16(f, 8 + 2 * i), palette[i].red * 256);
            EXPECT_EQ(U16(f, 8 + 2 * (n + i)), palette[i].green * 256);
            EXPECT_EQ(U16(f, 8 + 2 * (2 * n + i)), palette[i].blue * 256);
        }
        for (int y = 0; y < c.h; ++y)
            EXPECT_EQ(0, std::memcmp(f.data() + c.strip + size_t(y) * c.rowBytes, b.ScanLine(y), c.rowBytes));
    }
}

TEST(TiffWriter, BilevelFileHasPixelsFirstAndBlackAsZero)
{
    const std::vector<TRGBQuad> blackWhite = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    const std::vector<TRGBQuad> whiteBlack = {{255, 255, 255, 0}, {0, 0, 0, 0}};
    auto white = [](int x, int y) { return (x + y) % 3 == 0; };
    struct Case { int w, h; std::vector<TRGBQuad> palette; };
    for (const Case& c : {Case{10, 3, blackWhite}, Case{8, 2, blackWhite}, Case{13, 2, whiteBlack}}) {
        SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h));
        bool inverted = c.palette[0].red != 0;
        TBitmap b = Indexed(TPixelFormat::pf1bit, c.w, c.h, c.palette,
                            [&](int x, int y) { return white(x, y) != inverted ? 1 : 0; });
        Bytes f = Tiff(b);
        const uint32_t rowBytes = uint32_t(c.w + 7) / 8, pixels = rowBytes * c.h;
        auto dir = Directory(f, U32(f, 4));
        EXPECT_EQ(U32(f, 4), 8 + pixels + 26);
        EXPECT_EQ(Tags(dir), kBilevelTags);
        EXPECT_EQ(Field(dir, 262), 1u);
        EXPECT_EQ(Field(dir, 258), 1u);
        EXPECT_EQ(Field(dir, 273), 8u);
        EXPECT_EQ(Field(dir, 279), pixels);
        EXPECT_EQ(Field(dir, 282), 8 + pixels);
        EXPECT_EQ(Field(dir, 305), 8 + pixels + 16);
        EXPECT_EQ(std::string(f.begin() + 8 + pixels + 16, f.begin() + 8 + pixels + 26), "Merovantis");
        for (int y = 0; y < c.h; ++y)
            for (uint32_t i = 0; i < rowBytes * 8; ++i) {
                int x = int(i);
                bool bit = f[8 + y * rowBytes + i / 8] >> (7 - i % 8) & 1;
                ASSERT_EQ(bit, x < c.w && white(x, y)) << x << "," << y;
            }
    }
}

// Offsets are positions in the stream; the bytes already there stay.
TEST(TiffWriter, StreamThatDoesNotStartEmpty)
{
    const Bytes prefix = {'a', 'b', 'c', 'd', 'e', 'f', 'g'};
    TBitmap b = test::PatternBitmap(3, 2);
    TMemoryStream stream(prefix);
    stream.Seek(0, TSeekOrigin::End);
    BitmapToTiffStream(stream, b);
    Bytes f = stream.TakeBytes();
    Bytes alone = Tiff(b);
    ASSERT_EQ(f.size(), prefix.size() + alone.size());
    EXPECT_TRUE(std::equal(prefix.begin(), prefix.end(), f.begin()));
    EXPECT_EQ(U32(f, 7 + 4), 7 + 58u);
    auto dir = Directory(f, 7 + 58);
    EXPECT_EQ(Field(dir, 258), 7 + 24u);
    EXPECT_EQ(Field(dir, 273), 7 + 40u);
    EXPECT_EQ(Field(dir, 282), 7 + 8u);
    EXPECT_EQ(Field(dir, 305), 7 + 30u);
    EXPECT_TRUE(std::equal(alone.begin() + 8, alone.begin() + 58, f.begin() + 7 + 8));
}

TEST(TiffWriter, RefusesWhatTheFileCannotHold)
{
    std::vector<TBitmap> refused;
    refused.emplace_back(0, 0);
    refused.emplace_back(0, 3);
    refused.emplace_back(3, 0);
    refused.emplace_back(65536, 1);
    refused.emplace_back(1, 65536);
    refused.emplace_back(3, 2, TPixelFormat::pf4bit);  // nothing left after rounding down
    for (const TBitmap& b : refused) {
        SCOPED_TRACE(std::to_string(b.Width()) + "x" + std::to_string(b.Height()));
        TMemoryStream stream;
        EXPECT_THROW(BitmapToTiffStream(stream, b), EInvalidGraphicOperation);
    }
    TMemoryStream stream;
    EXPECT_NO_THROW(BitmapToTiffStream(stream, TBitmap(65535, 1)));
}

// Accepts at most limit bytes in all, then reports short writes.
class FullStream : public TMemoryStream {
public:
    explicit FullStream(size_t limit) : limit_(limit) {}
    size_t Write(const void* buffer, size_t count) override
    {
        size_t room = limit_ - std::min(limit_, static_cast<size_t>(Position()));
        return TMemoryStream::Write(buffer, std::min(count, room));
    }

private:
    size_t limit_;
};

TEST(TiffWriter, ShortWritesRaise)
{
    TBitmap b = test::PatternBitmap(3, 3);
    for (size_t limit : {0, 7, 8, 39, 45, 48, 49, 240, 252}) {
        SCOPED_TRACE(limit);
        FullStream stream(limit);
        EXPECT_THROW(BitmapToTiffStream(stream, b), EWriteError);
    }
    FullStream exact(253);
    EXPECT_NO_THROW(BitmapToTiffStream(exact, b));
}

TEST(TiffWriter, TheFileHoldsWhatTheStreamWriterWrites)
{
    // That a failed write keeps the old file is a property of every writer
    // (tests/imaging/WriterTableTest.cpp).
    test::TempDir dir;
    const TBitmap b = test::PatternBitmap(4, 3);
    BitmapToTiffFile(dir.File("out.tif"), b);
    EXPECT_EQ(test::ReadBytes(dir.File("out.tif")), Tiff(b));
}
}  // namespace
}  // namespace kobalto
