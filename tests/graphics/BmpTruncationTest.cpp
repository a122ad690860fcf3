#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "base/Exceptions.h"
#include "tests/graphics/BmpTestBuilder.h"
#include "tests/support/CutSweep.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using test::BmpSpec;
using test::BuildBmp;
using test::LoadBmp;
using test::Quad;

std::vector<uint8_t> Counting(size_t n)
{
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = static_cast<uint8_t>(i * 37 + 11);
    return v;
}

struct Sample {
    const char* name;
    BmpSpec spec;
};

std::vector<Sample> Samples()
{
    std::vector<TRGBQuad> sixteen;
    for (int i = 0; i < 16; ++i)
        sixteen.push_back(Quad(static_cast<uint8_t>(i * 16), static_cast<uint8_t>(255 - i), 7));
    return {
        {"8 bits", {.width = 5, .height = 4, .bits = 8, .palette = sixteen, .pixels = Counting(32)}},
        {"1 bit top-down", {.width = 9, .height = -3, .bits = 1, .palette = {Quad(1, 2, 3), Quad(4, 5, 6)},
                            .pixels = Counting(12)}},
        {"2 bits", {.width = 7, .height = 3, .bits = 2, .palette = {Quad(1, 2, 3), Quad(4, 5, 6)},
                    .pixels = Counting(12)}},
        {"core 4 bits", {.headerSize = 12, .width = 3, .height = 3, .bits = 4, .palette = sixteen,
                         .pixels = Counting(12)}},
        {"24 bits top-down", {.width = 3, .height = -3, .bits = 24, .pixels = Counting(36)}},
        {"16 bits 4-4-4", {.width = 3, .height = 3, .bits = 16, .compression = 3, .masks = {0xF00, 0xF0, 0xF},
                           .pixels = Counting(24)}},
        {"32 bits", {.width = 2, .height = 3, .bits = 32, .pixels = Counting(24)}},
    };
}

// Cut anywhere: before the first pixel byte the file is refused; after it the
// picture has its full size, the rows the file held, and zeros (index 0 or
// black) wherever it ended.
TEST(BmpTruncation, UncompressedFilesCutAnywhere)
{
    for (const Sample& s : Samples()) {
        SCOPED_TRACE(s.name);
        const std::vector<uint8_t> whole = BuildBmp(s.spec);
        const TBitmap full = LoadBmp(whole);
        const size_t offset = whole.size() - s.spec.pixels.size();
        const int height = full.Height();
        const size_t rowBytes = s.spec.pixels.size() / static_cast<size_t>(height);
        test::ForEveryCut(whole, [&](const std::vector<uint8_t>& cut, size_t n) {
            if (n <= offset) {
                EXPECT_THROW(LoadBmp(cut), EInvalidGraphic);
                return;
            }
            TBitmap part = LoadBmp(cut);
            ASSERT_EQ(part.Width(), full.Width());
            ASSERT_EQ(part.Height(), height);
            ASSERT_EQ(part.PixelFormat(), full.PixelFormat());
            const size_t present = n - offset;
            for (int fileRow = 0; fileRow < height; ++fileRow) {
                const int y = s.spec.height < 0 ? fileRow : height - 1 - fileRow;
                const size_t rowStart = static_cast<size_t>(fileRow) * rowBytes;
                if (rowStart + rowBytes <= present) {
                    for (int x = 0; x < full.Width(); ++x)
                        ASSERT_EQ(part.Pixel(x, y), full.Pixel(x, y)) << "row " << y;
                } else if (rowStart >= present) {
                    const std::vector<uint8_t> zeros(part.Stride(), 0);
                    ASSERT_EQ(std::memcmp(part.ScanLine(y), zeros.data(), zeros.size()), 0) << "row " << y;
                }
            }
        });
    }
}

TEST(BmpTruncation, RunLengthFilesCutAnywhere)
{
    std::vector<TRGBQuad> palette(16, Quad(9, 9, 9));
    const std::vector<uint8_t> rle8 = {3, 1, 0, 3, 4, 5, 6, 0, 0, 0, 0, 2, 1, 1, 2, 2, 0, 0, 4, 7, 0, 1};
    const std::vector<uint8_t> rle4 = {3, 0x12, 0, 5, 0x12, 0x34, 0x50, 0, 0, 2, 1, 1, 2, 0x77, 0, 0, 4, 7, 0, 1};
    for (auto [bits, data] : {std::pair{uint16_t{8}, rle8}, std::pair{uint16_t{4}, rle4}}) {
        SCOPED_TRACE(bits);
        const std::vector<uint8_t> whole =
            BuildBmp({.width = 6, .height = 4, .bits = bits, .compression = bits == 8 ? 1u : 2u,
                      .colorsUsed = 16, .palette = palette, .pixels = data});
        const size_t offset = whole.size() - data.size();
        test::ForEveryCut(whole, [&](const std::vector<uint8_t>& cut, size_t n) {
            if (n <= offset) {
                EXPECT_THROW(LoadBmp(cut), EInvalidGraphic);
                return;
            }
            TBitmap part = LoadBmp(cut);
            EXPECT_EQ(part.Width(), 6);
            EXPECT_EQ(part.Height(), 4);
        });
    }
}

// An uncompressed file holding far less than its rows declare is refused
// rather than filled; a cut one holding most of its rows, or missing only a
// few megabytes, still loads.
TEST(BmpTruncation, RefusesFilesHoldingFarLessThanTheyDeclare)
{
    const std::string data = KOBALTO_TEST_DATA_DIR;
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        bool loads;
    };
    // 2048 x 2048 at 24 bits: 12 MB of rows.
    const auto cut = [](size_t held) {
        return BuildBmp({.width = 2048, .height = 2048, .bits = 24, .pixels = std::vector<uint8_t>(held, 0x5A)});
    };
    const Case cases[] = {
        {"16 x 16777215 at 16 bits in 186 bytes", test::ReadBytes(data + "/slow/bmp-16-bit-16777215-rows-in-186-bytes.bmp"), false},
        {"tall bitfields file cut", test::ReadBytes(data + "/crashers/bmp-tall-bitfields-cut.bmp"), false},
        {"a sixth of 12 MB", cut(size_t{2} << 20), false},
        {"a third of 12 MB", cut(size_t{4} << 20), true},
        {"12 MB less 3 MB", cut((size_t{12} << 20) - (size_t{3} << 20)), true},
        {"one byte of 1.2 MB", BuildBmp({.width = 640, .height = 640, .bits = 24, .pixels = {7}}), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.loads) {
            EXPECT_NO_THROW(LoadBmp(c.file));
            continue;
        }
        try {
            LoadBmp(c.file);
            ADD_FAILURE() << "loaded";
        } catch (const EInvalidGraphic& e) {
            EXPECT_STREQ(e.what(), "ビットマップイメージが不正です");
        }
    }
}

// Files that once crashed or hung a reader: each must be refused or read.
TEST(BmpTruncation, KnownCrashersFailCleanly)
{
    const std::filesystem::path dir = std::filesystem::path(KOBALTO_TEST_DATA_DIR) / "crashers";
    int seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("bmp-", 0) != 0)
            continue;
        ++seen;
        SCOPED_TRACE(name);
        try {
            TBitmap b = LoadBmp(test::ReadBytes(entry.path().string()));
            EXPECT_GT(b.Width(), 0);
            EXPECT_GT(b.Height(), 0);
        } catch (const EInvalidGraphic&) {
        }
    }
    if (seen == 0)
        GTEST_SKIP() << "no bmp-* files in " << dir;
}

}  // namespace
}  // namespace kobalto
