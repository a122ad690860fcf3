#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/Exceptions.h"
#include "base/TMemoryStream.h"
#include "formats/tga/TBitmap64.h"
#include "graphics/BmpWriter.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using Bytes = std::vector<uint8_t>;

// Top row red, green, blue; bottom row white, black, 128/64/32.
TBitmap ThreeByTwo()
{
    const TColor top[3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    const TColor bottom[3] = {{255, 255, 255}, {0, 0, 0}, {128, 64, 32}};
    return test::MakeBitmap(3, 2, [&](int x, int y) { return y == 0 ? top[x] : bottom[x]; });
}

// Its pixels in a 15-bit raster, memory order (bottom row first).
const std::vector<uint32_t> kThreeByTwo15 = {0x7FFF, 0x0000, 0x4104, 0x7C00, 0x03E0, 0x001F};

std::vector<uint32_t> MemoryOrder(const TBitmap64& r)
{
    std::vector<uint32_t> v;
    for (int y = r.Height() - 1; y >= 0; --y)
        for (int x = 0; x < r.Width(); ++x)
            v.push_back(r.GetPixel(x, y));
    return v;
}

Bytes TgaPixels(const TBitmap64& r)
{
    TMemoryStream s;
    r.SaveToTgaStream(s);
    Bytes f = s.TakeBytes();
    return Bytes(f.begin() + 18, f.end());
}

TEST(TBitmap64, RowsRunBottomUpAndPixelsAreLittleEndian)
{
    for (uint16_t bits : {15, 16, 24, 32}) {
        SCOPED_TRACE(bits);
        TBitmap64 r(5, 3, bits);
        const int bytes = (bits + 7) / 8;
        ASSERT_EQ(r.LineSize(), 5 * bytes);
        // Bottom-up: the top image row is the last in memory.
        EXPECT_EQ(r.ScanLine(0), r.Pixels() + 2 * r.LineSize());
        EXPECT_EQ(r.ScanLine(2), r.Pixels());
        EXPECT_THROW(r.ScanLine(3), EInvalidGraphicOperation);
        EXPECT_THROW(r.ScanLine(-1), EInvalidGraphicOperation);
        // Little-endian values; outside the raster nothing happens.
        const uint32_t value = 0xA1B2C3D4u & (bytes == 4 ? 0xFFFFFFFFu : (1u << 8 * bytes) - 1);
        r.SetPixel(1, 0, value);
        EXPECT_EQ(r.GetPixel(1, 0), value);
        EXPECT_EQ(r.ScanLine(0)[bytes], 0xD4);
        std::vector<uint8_t> before(r.Pixels(), r.Pixels() + 15 * bytes);
        for (auto [x, y] : {std::pair{-1, 0}, std::pair{5, 0}, std::pair{0, -1}, std::pair{0, 3}}) {
            r.SetPixel(x, y, 0xFFFFFFFF);
            EXPECT_EQ(r.GetPixel(x, y), 0u);
        }
        EXPECT_EQ(std::vector<uint8_t>(r.Pixels(), r.Pixels() + 15 * bytes), before);
    }
    for (uint16_t bits : {0, 1, 8, 17, 64})
        EXPECT_THROW(TBitmap64(1, 1, bits), EInvalidGraphicOperation) << bits;
}

TEST(TBitmap64, FlipVerticalReversesRows)
{
    for (uint16_t bits : {15, 16, 32})
        for (int h : {0, 1, 2, 3, 4}) {
            SCOPED_TRACE(std::to_string(bits) + " bits, height " + std::to_string(h));
            TBitmap64 r(2, h, bits);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < 2; ++x)
                    r.SetPixel(x, y, uint32_t(y * 16 + x + 1));
            r.FlipVertical();
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < 2; ++x)
                    ASSERT_EQ(r.GetPixel(x, y), uint32_t((h - 1 - y) * 16 + x + 1)) << x << "," << y;
        }
}

TEST(TBitmap64, SwapRedBlueExchangesTheFields)
{
    struct Case { uint16_t bits; uint32_t in, out; };
    for (Case c : {Case{15, 0x7C00, 0x001F}, Case{15, 0x001F, 0x7C00}, Case{15, 0x03E0, 0x03E0},
                   Case{15, 0x1234, 0x5224}, Case{15, 0x8000, 0x0000}, Case{16, 0xF800, 0x001F},
                   Case{16, 0x001F, 0xF800}, Case{16, 0x07E0, 0x07E0}, Case{16, 0x1234, 0xA222},
                   Case{32, 0xAA112233, 0xAA332211}, Case{24, 0x112233, 0x332211}}) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits, " + std::to_string(c.in));
        TBitmap64 r(2, 2, c.bits);
        r.SetPixel(1, 1, c.in);
        r.SwapRedBlue();
        EXPECT_EQ(r.GetPixel(1, 1), c.out);
        EXPECT_EQ(r.GetPixel(0, 0), 0u);
    }
}

TEST(TBitmap64, TgaWordsFromEachRasterDepth)
{
    struct Case { uint16_t bits; uint32_t pixel, word; };
    for (Case c : {Case{15, 0xFFFF, 0x7FFF}, Case{15, 0x4104, 0x4104}, Case{16, 0xFFFF, 0x7FFF},
                   Case{16, 0xF800, 0x7C00}, Case{16, 0x0020, 0x0000}, Case{16, 0x0040, 0x0020},
                   Case{16, 0x001F, 0x001F}, Case{32, 0xABFF8007, 0x7E00}, Case{32, 0x00070707, 0x0000}}) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits, " + std::to_string(c.pixel));
        TBitmap64 r(1, 1, c.bits);
        r.SetPixel(0, 0, c.pixel);
        EXPECT_EQ(TgaPixels(r), (Bytes{uint8_t(c.word), uint8_t(c.word >> 8)}));
    }
    TBitmap64 wide(1, 1, 24);
    TMemoryStream s;
    EXPECT_THROW(wide.SaveToTgaStream(s), EInvalidGraphicOperation);
    EXPECT_THROW(TBitmap64(0, 0, 15).SaveToTgaStream(s), EInvalidGraphicOperation);
    EXPECT_EQ(s.Bytes().size(), 0u);
}

TEST(TBitmap64, SavingLeavesTheRasterUnchanged)
{
    TBitmap64 r(3, 4, 15);
    r.LoadFromBitmap(test::PatternBitmap(3, 5));
    const Bytes before(r.Pixels(), r.Pixels() + 3 * 5 * 2);
    test::TempDir dir;
    r.SaveToTgaFile(dir.File("a.tga"));
    EXPECT_EQ(Bytes(r.Pixels(), r.Pixels() + before.size()), before);
    // The file's first pixel is the bottom-left one.
    Bytes f = test::ReadBytes(dir.File("a.tga"));
    EXPECT_EQ(uint32_t(f[18] | f[19] << 8), r.GetPixel(0, 4));
}

TEST(TBitmap64, LoadsBmpFilesIntoItsOwnDepth)
{
    test::TempDir dir;
    auto save = [&](const TBitmap& b, const std::string& name) {
        TMemoryStream s;
        WriteBmp(s, b);
        test::WriteBytes(dir.File(name), s.Bytes());
        return s.TakeBytes();
    };
    TBitmap source = ThreeByTwo();
    Bytes bmp24 = save(source, "24.bmp");
    for (TPixelFormat f : {TPixelFormat::pf24bit, TPixelFormat::pf32bit, TPixelFormat::pf15bit}) {
        SCOPED_TRACE(BitsPerPixel(f));
        TBitmap b(source);
        b.SetPixelFormat(f);
        save(b, "x.bmp");
        TBitmap64 r(0, 0, 15);
        r.LoadFromBmpFile(dir.File("x.bmp"));
        EXPECT_EQ(MemoryOrder(r), kThreeByTwo15);
    }
    // Rows top-down: negative height, rows reversed.
    Bytes topDown(bmp24);
    const int32_t negative = -2;
    std::memcpy(topDown.data() + 22, &negative, 4);
    std::copy(bmp24.begin() + 54, bmp24.begin() + 66, topDown.begin() + 66);
    std::copy(bmp24.begin() + 66, bmp24.begin() + 78, topDown.begin() + 54);
    test::WriteBytes(dir.File("td.bmp"), topDown);
    TBitmap64 r(0, 0, 15);
    r.LoadFromBmpFile(dir.File("td.bmp"));
    EXPECT_EQ(MemoryOrder(r), kThreeByTwo15);
    // Into a 32-bit raster the bytes stay whole.
    TBitmap64 deep(0, 0, 32);
    deep.LoadFromBmpFile(dir.File("24.bmp"));
    EXPECT_EQ(deep.GetPixel(2, 1), 0x00804020u);
}

TEST(TBitmap64, RefusesBmpFilesItCannotRead)
{
    test::TempDir dir;
    TMemoryStream s;
    WriteBmp(s, ThreeByTwo());
    const Bytes good = s.TakeBytes();
    TBitmap64 r(0, 0, 15);
    EXPECT_THROW(r.LoadFromBmpFile(dir.File("missing.bmp")), EFOpenError);
    for (size_t cut : {size_t{0}, size_t{1}, size_t{13}, size_t{30}, size_t{53}, size_t{54}, size_t{77}}) {
        SCOPED_TRACE(cut);
        test::WriteBytes(dir.File("cut.bmp"), Bytes(good.begin(), good.begin() + cut));
        EXPECT_THROW(r.LoadFromBmpFile(dir.File("cut.bmp")), EInvalidGraphic);
    }
    auto patched = [&](size_t at, uint8_t v) {
        Bytes b(good);
        b[at] = v;
        test::WriteBytes(dir.File("bad.bmp"), b);
        return dir.File("bad.bmp");
    };
    EXPECT_THROW(r.LoadFromBmpFile(patched(0, 'X')), EInvalidGraphic);   // not "BM"
    EXPECT_THROW(r.LoadFromBmpFile(patched(30, 1)), EInvalidGraphic);    // RLE8
    EXPECT_THROW(r.LoadFromBmpFile(patched(28, 8)), EInvalidGraphic);    // 8 bits without a table
    EXPECT_THROW(r.LoadFromBmpFile(patched(14, 12)), EInvalidGraphic);   // OS/2 header
}

TEST(TBitmap64, SharedPixelsStayTheOwners)
{
    std::vector<uint8_t> block = {1, 0, 2, 0, 3, 0, 4, 0};  // 2 × 2 words, bottom row first
    {
        TBitmap64 r(0, 0, 16);
        r.SharePixels(block.data(), 2, 2);
        EXPECT_TRUE(r.SharedPixels());
        EXPECT_EQ(r.GetPixel(0, 0), 3u);
        r.FlipVertical();
        EXPECT_EQ(block, (std::vector<uint8_t>{3, 0, 4, 0, 1, 0, 2, 0}));
    }
    TBitmap64 r(0, 0, 16);
    r.SharePixels(block.data(), 2, 2);
    r.SetSize(3, 3);
    EXPECT_FALSE(r.SharedPixels());
    r.SetPixel(0, 0, 0xFFFF);
    EXPECT_EQ(block, (std::vector<uint8_t>{3, 0, 4, 0, 1, 0, 2, 0}));
}

}  // namespace
}  // namespace kobalto
