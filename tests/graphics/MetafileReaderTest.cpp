#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "base/Exceptions.h"
#include "graphics/GraphicsMessages.h"
#include "graphics/metafile/MetafileWriter.h"
#include "graphics/metafile/TMetafile.h"
#include "platform/DisplayMetrics.h"
#include "tests/graphics/MetafileTestBuilder.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using test::BuildEmf;
using test::BuildWmf;
using test::EmfRecord;
using test::WmfRecord;

constexpr TColor kRed{255, 0, 0};
constexpr TColor kBlue{0, 0, 255};

TBitmap Play(const std::vector<uint8_t>& bytes)
{
    TMetafile m;
    m.LoadFromBytes(bytes);
    TBitmap out(m.Width(), m.Height());
    m.Draw(out, 0, 0);
    return out;
}

void ExpectInvalid(const std::vector<uint8_t>& bytes, const char* what)
{
    TMetafile m;
    try {
        m.LoadFromBytes(bytes);
        ADD_FAILURE() << what << " loaded";
    } catch (const EInvalidGraphic& e) {
        EXPECT_STREQ(e.what(), msg::kInvalidMetafile) << what;
    }
}

// A red rectangle with a blue pen, in the mapping the body sets up first.
void RedRectangle(TByteWriter& w, std::initializer_list<uint32_t> box)
{
    EmfRecord(w, 39, {1, 0, 0x0000FF, 0});   // solid red brush in slot 1
    EmfRecord(w, 38, {2, 0, 1, 0, 0xFF0000}); // blue pen, 1 wide, slot 2
    EmfRecord(w, 37, {1});
    EmfRecord(w, 37, {2});
    EmfRecord(w, 43, box);
}

TEST(MetafileReader, EmfRectangleLandsWhereTheMappingPutsIt)
{
    const struct {
        const char* name;
        std::function<void(TByteWriter&)> body;
    } cases[] = {
        {"device pixels", [](TByteWriter& w) { RedRectangle(w, {10, 10, 30, 20}); }},
        {"anisotropic window doubled",
         [](TByteWriter& w) {
             EmfRecord(w, 17, {8});
             EmfRecord(w, 9, {20, 20});   // window extent
             EmfRecord(w, 11, {40, 40});  // viewport extent
             RedRectangle(w, {5, 5, 15, 10});
         }},
        {"0.1 mm units, y up",
         [](TByteWriter& w) {
             // 96 per inch: 10 px is 26.458 units of 0.1 mm; y runs upwards.
             EmfRecord(w, 17, {2});
             RedRectangle(w, {26, uint32_t(-26), 79, uint32_t(-53)});
         }},
        {"world transform shifts",
         [](TByteWriter& w) {
             const float m[6] = {1, 0, 0, 1, 5, 5};
             w.U32LE(35);
             w.U32LE(32);
             for (float f : m) {
                 uint32_t u;
                 std::memcpy(&u, &f, 4);
                 w.U32LE(u);
             }
             RedRectangle(w, {5, 5, 25, 15});
         }},
    };
    for (const auto& c : cases) {
        const TBitmap b = Play(BuildEmf(40, 30, c.body));
        ASSERT_EQ(b.Width(), 40) << c.name;
        EXPECT_EQ(b.Pixel(20, 15), kRed) << c.name;    // inside
        EXPECT_EQ(b.Pixel(5, 5), kWhite) << c.name;     // outside, top-left
        EXPECT_EQ(b.Pixel(35, 25), kWhite) << c.name;   // outside, bottom-right
        EXPECT_GT(b.Pixel(20, 10).blue, 60) << c.name;  // the pen on the top edge, antialiased
    }
}

TEST(MetafileReader, WmfShapesFollowTheWindowOntoThePicture)
{
    // The window is 200 × 100 units on a 20 × 10 unit box: a tenth.
    const TBitmap b = Play(BuildWmf(20, 10, [](TByteWriter& w) {
        WmfRecord(w, 0x020B, {0, 0});
        WmfRecord(w, 0x020C, {100, 200});
        w.U32LE(7);
        w.U16LE(0x02FC);  // brush: solid, blue, no hatch
        w.U16LE(0);
        w.U32LE(0xFF0000);
        w.U16LE(0);
        WmfRecord(w, 0x012D, {0});
        WmfRecord(w, 0x02FA, {5, 0, 0, 0, 0});  // null pen in slot 1
        WmfRecord(w, 0x012D, {1});
        // A triangle in the right half.
        WmfRecord(w, 0x0324, {3, 100, 0, 200, 0, 200, 100});
    }));
    ASSERT_EQ(b.Width(), 20);
    ASSERT_EQ(b.Height(), 10);
    EXPECT_EQ(b.Pixel(18, 2), kBlue);
    EXPECT_EQ(b.Pixel(5, 5), kWhite);
    EXPECT_EQ(b.Pixel(11, 8), kWhite);
}

TEST(MetafileReader, BitmapRecordsStretchNearestNeighbour)
{
    // A 2 × 1 DIB (red, blue) stretched over 4 × 2 pixels of a 6 × 2 picture.
    const auto dib = [](TByteWriter& w) {
        const uint32_t info[] = {40, 2, 1, 1 | 24u << 16, 0, 8, 0, 0, 0, 0};
        for (uint32_t v : info)
            w.U32LE(v);
        const uint8_t bits[8] = {0, 0, 255, 255, 0, 0, 0, 0};
        w.Bytes(bits);
    };
    const TBitmap emf = Play(BuildEmf(6, 2, [&](TByteWriter& w) {
        w.U32LE(81);
        w.U32LE(80 + 48);
        const uint32_t f[] = {0, 0, 3, 1, 1, 0, 0, 0, 2, 1, 80, 40, 120, 8, 0, 0x00CC0020, 4, 2};
        for (uint32_t v : f)
            w.U32LE(v);
        dib(w);
    }));
    const TBitmap wmf = Play(BuildWmf(6, 2, [&](TByteWriter& w) {
        w.U32LE(14 + 24);
        w.U16LE(0x0F43);
        w.U32LE(0x00CC0020);
        const uint16_t p[] = {0, 1, 2, 0, 0, 2, 4, 0, 1};
        for (uint16_t v : p)
            w.U16LE(v);
        dib(w);
    }));
    for (const TBitmap* b : {&emf, &wmf}) {
        const TColor row[6] = {kWhite, kRed, kRed, kBlue, kBlue, kWhite};
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 6; ++x)
                EXPECT_EQ(b->Pixel(x, y), row[x]) << (b == &emf ? "EMF " : "WMF ") << x << "," << y;
    }
}

TEST(MetafileReader, MalformedFilesFailWithTheMetafileText)
{
    const platform::TDisplayMetrics display = platform::DisplayMetrics();
    const std::vector<uint8_t> emf = EncodeEmf(test::PatternBitmap(4, 3), display);
    const std::vector<uint8_t> wmf = EncodeWmf(test::PatternBitmap(4, 3), display);
    const auto patched = [](std::vector<uint8_t> f, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            f[at + i] = static_cast<uint8_t>(v >> (8 * i));
        return f;
    };
    const auto emfWithFrame = [&](uint32_t right, uint32_t bottom) {
        return patched(patched(emf, 40 - 8, right), 40 - 4, bottom);
    };
    ExpectInvalid({}, "empty");
    ExpectInvalid({'B', 'M', 0, 0}, "not a metafile");
    ExpectInvalid(patched(emf, 40, 0x20202020), "EMF signature");
    ExpectInvalid(patched(emf, 4, 80), "EMF header too short");
    ExpectInvalid(patched(emf, 108 + 4, 0x7FFFFFF0), "EMF record running past the end");
    ExpectInvalid(patched(emf, 108 + 4, 6), "EMF record shorter than its own fields");
    ExpectInvalid(emfWithFrame(0x7FFFFFFF, 0x7FFFFFFF), "EMF frame beyond the pixel cap");
    ExpectInvalid(emfWithFrame(26458 * 20, 26458 * 20), "EMF frame of 20000 x 20000 pixels");
    ExpectInvalid(patched(wmf, 22, 0x00090003), "WMF header type");
    ExpectInvalid(patched(wmf, 22 + 18, 0x7FFFFFFF), "WMF record running past the end");
    ExpectInvalid(patched(wmf, 22 + 18, 2), "WMF record shorter than its header");
    std::vector<uint8_t> noInch = wmf;
    noInch[14] = noInch[15] = 0;
    ExpectInvalid(noInch, "placeable header without units");
}

TEST(MetafileReader, CutFilesFailCleanlyOrPlayWhatIsThere)
{
    const platform::TDisplayMetrics display = platform::DisplayMetrics();
    for (const auto& whole : {EncodeEmf(test::PatternBitmap(5, 4), display),
                              EncodeWmf(test::PatternBitmap(5, 4), display)}) {
        for (size_t n = 0; n < whole.size(); ++n) {
            TMetafile m;
            try {
                m.LoadFromBytes(std::vector<uint8_t>(whole.begin(), whole.begin() + n));
            } catch (const EInvalidGraphic& e) {
                EXPECT_STREQ(e.what(), msg::kInvalidMetafile) << n;
                continue;
            }
            TBitmap b(m.Width(), m.Height());
            m.Draw(b, 0, 0);
        }
    }
}

TEST(MetafileReader, RecordsWithCountsBeyondTheirSizeAreSkipped)
{
    // A polygon that claims a million points, then a rectangle that plays.
    const TBitmap b = Play(BuildEmf(10, 10, [](TByteWriter& w) {
        EmfRecord(w, 86, {0, 0, 9, 9, 1000000, 0, 0});
        EmfRecord(w, 39, {1, 0, 0x0000FF, 0});
        EmfRecord(w, 37, {1});
        EmfRecord(w, 37, {0x80000008});  // the null pen
        EmfRecord(w, 43, {0, 0, 10, 10});
        // Selecting a slot never made, and deleting it, change nothing.
        EmfRecord(w, 37, {9});
        EmfRecord(w, 40, {70000});
        EmfRecord(w, 34, {uint32_t(-5)});
    }));
    EXPECT_EQ(b.Pixel(5, 5), kRed);
}

TEST(MetafileReader, PlainWmfTakesItsSizeFromTheWindowExtent)
{
    std::vector<uint8_t> f = BuildWmf(1, 1, [](TByteWriter& w) { WmfRecord(w, 0x020C, {30, 50}); });
    f.erase(f.begin(), f.begin() + 22);  // no placeable header
    TMetafile m;
    m.LoadFromBytes(f);
    EXPECT_EQ(m.Width(), 50);
    EXPECT_EQ(m.Height(), 30);
    EXPECT_TRUE(m.IsMetafile());
    EXPECT_FALSE(m.Enhanced());
}

}  // namespace
}  // namespace kobalto
