#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "base/TByteReader.h"
#include "graphics/metafile/MetafileWriter.h"
#include "graphics/metafile/TMetafile.h"
#include "platform/DisplayMetrics.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

const platform::TDisplayMetrics kDisplay = platform::DisplayMetrics();

void ExpectSamePixels(const TBitmap& want, const TBitmap& got, const char* what)
{
    ASSERT_EQ(got.Width(), want.Width()) << what;
    ASSERT_EQ(got.Height(), want.Height()) << what;
    for (int y = 0; y < want.Height(); ++y)
        for (int x = 0; x < want.Width(); ++x)
            if (!(got.Pixel(x, y) == want.Pixel(x, y))) {
                ADD_FAILURE() << what << ": first difference at " << x << "," << y;
                return;
            }
}

TBitmap Played(const std::vector<uint8_t>& bytes)
{
    TMetafile m;
    m.LoadFromBytes(bytes);
    TBitmap out(m.Width(), m.Height());
    m.Draw(out, 0, 0);
    return out;
}

TEST(MetafileWriter, BothKindsLoadBackPixelExactAtTheBitmapsSize)
{
    const struct {
        int w, h;
    } sizes[] = {{1, 1}, {2, 2}, {3, 1}, {7, 5}, {33, 17}, {1000, 700}};
    for (const auto& s : sizes) {
        const TBitmap b = test::PatternBitmap(s.w, s.h);
        const std::string name = std::to_string(s.w) + "x" + std::to_string(s.h);
        ExpectSamePixels(b, Played(EncodeEmf(b, kDisplay)), ("EMF " + name).c_str());
        ExpectSamePixels(b, Played(EncodeWmf(b, kDisplay)), ("WMF " + name).c_str());
    }
}

TEST(MetafileWriter, PlaceableHeaderHasKeyUnitsBoxAndChecksum)
{
    const std::vector<uint8_t> f = EncodeWmf(test::PatternBitmap(301, 7), kDisplay);
    TByteReader r(f, "test");
    EXPECT_EQ(r.U8(), 0xD7);
    EXPECT_EQ(r.U8(), 0xCD);
    EXPECT_EQ(r.U8(), 0xC6);
    EXPECT_EQ(r.U8(), 0x9A);
    EXPECT_EQ(r.U16LE(), 0);    // handle
    EXPECT_EQ(r.U16LE(), 0);    // left
    EXPECT_EQ(r.U16LE(), 0);    // top
    EXPECT_EQ(r.U16LE(), 301);  // right: 7965 hundredths of a mm at 96 per inch
    EXPECT_EQ(r.U16LE(), 7);    // bottom
    EXPECT_EQ(r.U16LE(), 96);   // offset 14: units per inch
    EXPECT_EQ(r.U32LE(), 0u);
    uint16_t sum = 0;
    for (size_t i = 0; i < 20; i += 2)
        sum ^= static_cast<uint16_t>(f[i] | f[i + 1] << 8);
    EXPECT_EQ(r.U16LE(), sum);
    // The standard header follows: in memory, nine words, version 3.
    EXPECT_EQ(r.U16LE(), 1);
    EXPECT_EQ(r.U16LE(), 9);
    EXPECT_EQ(r.U16LE(), 0x300);
    EXPECT_EQ(r.U32LE() * 2, f.size() - 22);
}

TEST(MetafileWriter, EmfHeaderFrameIsThePixelSizeAtTheDisplaysResolution)
{
    // 96 pixels per inch: 26.4583 hundredths of a millimetre per pixel.
    const struct {
        int w, h;
        uint32_t frameW, frameH;
    } cases[] = {{1, 1, 26, 26}, {3, 2, 79, 53}, {1000, 700, 26458, 18521}};
    for (const auto& c : cases) {
        const std::vector<uint8_t> f = EncodeEmf(test::PatternBitmap(c.w, c.h), kDisplay);
        TByteReader r(f, "test");
        EXPECT_EQ(r.U32LE(), 1u);  // header record
        EXPECT_EQ(r.U32LE(), 108u);
        r.Seek(16);
        EXPECT_EQ(r.U32LE(), uint32_t(c.w - 1)) << "inclusive bounds";
        EXPECT_EQ(r.U32LE(), uint32_t(c.h - 1));
        r.Seek(32);
        EXPECT_EQ(r.U32LE(), c.frameW) << c.w;
        EXPECT_EQ(r.U32LE(), c.frameH) << c.h;
        EXPECT_EQ(r.U32LE(), 0x464D4520u);
        r.Skip(4);
        EXPECT_EQ(r.U32LE(), f.size()) << "bytes";
        EXPECT_EQ(r.U32LE(), 3u) << "records";
        r.Seek(60);
        EXPECT_EQ(r.U32LE(), 0u) << "no description";
        // Walking the records by their sizes ends exactly at the end record.
        size_t pos = 108, records = 1;
        uint32_t type = 0;
        while (pos < f.size()) {
            r.Seek(pos);
            type = r.U32LE();
            pos += r.U32LE();
            ++records;
        }
        EXPECT_EQ(pos, f.size());
        EXPECT_EQ(type, 14u);
        EXPECT_EQ(records, 3u);
    }
}

TEST(MetafileWriter, PicturesBeyondTheFieldsAreRefused)
{
    // WMF coordinates are 16-bit.
    EXPECT_THROW(EncodeWmf(TBitmap(32768, 1), kDisplay), EInvalidGraphicOperation);
    EXPECT_NO_THROW(EncodeWmf(TBitmap(32767, 1), kDisplay));
    EXPECT_NO_THROW(EncodeEmf(TBitmap(40000, 1), kDisplay));
}

TEST(MetafileWriter, AnEmptyBitmapGivesAnEmptyPicture)
{
    for (const auto& bytes : {EncodeEmf(TBitmap(), kDisplay), EncodeWmf(TBitmap(), kDisplay)}) {
        TMetafile m;
        m.LoadFromBytes(bytes);
        EXPECT_TRUE(m.Empty());
    }
}

TEST(MetafileWriter, OtherPixelFormatsAreWrittenAs24Bits)
{
    TBitmap b = test::PatternBitmap(9, 4);
    b.SetPixelFormat(TPixelFormat::pf8bit);
    TBitmap want = b;
    want.SetPixelFormat(TPixelFormat::pf24bit);
    ExpectSamePixels(want, Played(EncodeEmf(b, kDisplay)), "EMF from 8 bits");
    ExpectSamePixels(want, Played(EncodeWmf(b, kDisplay)), "WMF from 8 bits");
}

}  // namespace
}  // namespace kobalto
