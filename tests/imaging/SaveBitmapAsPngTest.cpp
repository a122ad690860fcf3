#include <gtest/gtest.h>

#include <sys/stat.h>

#include "base/Exceptions.h"
#include "imaging/LoadImageFile.h"
#include "imaging/SaveBitmapAsPng.h"
#include "imaging/SaveImageFile.h"
#include "tests/support/PeerTool.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using Bytes = std::vector<uint8_t>;

struct Chunk {
    std::string name;
    Bytes data;
};

std::vector<Chunk> ChunksOf(const Bytes& file)
{
    std::vector<Chunk> out;
    for (size_t pos = 8; pos + 12 <= file.size();) {
        const size_t length = (size_t{file[pos]} << 24) | (size_t{file[pos + 1]} << 16) | (size_t{file[pos + 2]} << 8) |
                              file[pos + 3];
        out.push_back({std::string(file.begin() + pos + 4, file.begin() + pos + 8),
                       Bytes(file.begin() + pos + 8, file.begin() + pos + 8 + length)});
        pos += 12 + length;
    }
    return out;
}

bool PeerToolsAccept(const std::string& path)
{
    if (!test::PeerToolAccepts("pngcheck -q", path))
        return false;
    return test::RunCommand("/usr/bin/identify '" + path + "' >/dev/null 2>&1") == 0;
}

// A pattern marked transparent whose bottom-left pixel and pixel (x, y)
// have the key colour.
TBitmap KeyedPattern(int width, int height, TColor key, int x, int y)
{
    TBitmap b = test::PatternBitmap(width, height);
    b.SetPixel(0, height - 1, key);
    b.SetPixel(x, y, key);
    b.SetTransparent(true);
    return b;
}

TEST(SaveBitmapAsPng, TheWorkingBitmapComesBackFromThePeerUnchanged)
{
    test::TempDir dir;
    const TBitmap b = test::PatternBitmap(37, 23);
    TBitmap copy = b;
    ASSERT_TRUE(SaveBitmapAsPng(copy, dir.File("p.png"), false));
    EXPECT_TRUE(PeerToolsAccept(dir.File("p.png")));
    TBitmap peer;
    ASSERT_TRUE(test::DecodeWithPeer(dir.File("p.png"), peer));
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
            ASSERT_EQ(peer.Pixel(x, y), b.Pixel(x, y)) << x << "," << y;
    // The caller's bitmap is not touched.
    EXPECT_EQ(copy.PixelFormat(), TPixelFormat::pf24bit);
}

TEST(SaveBitmapAsPng, ABitmapMarkedTransparentBringsItsKeyColour)
{
    test::TempDir dir;
    TBitmap b = KeyedPattern(6, 4, TColor{1, 2, 3}, 5, 0);
    ASSERT_TRUE(SaveImageFile(b, dir.File("t.png"), false, 0));
    const std::vector<Chunk> chunks = ChunksOf(test::ReadBytes(dir.File("t.png")));
    ASSERT_GE(chunks.size(), 3u);
    EXPECT_EQ(chunks[1].name, "tRNS");
    EXPECT_EQ(chunks[1].data, (Bytes{0, 1, 0, 2, 0, 3}));
    EXPECT_EQ(chunks[2].name, "IDAT");
    TBitmap peer;
    ASSERT_TRUE(test::DecodeWithPeer(dir.File("t.png"), peer));
    EXPECT_EQ(peer.Pixel(5, 0), kWhite);
    EXPECT_EQ(peer.Pixel(1, 1), b.Pixel(1, 1));
}

TEST(SaveBitmapAsPng, TheTransparencyRequestReducesToAPaletteWithTheBottomLeftColourTransparent)
{
    test::TempDir dir;
    TBitmap b = test::PatternBitmap(20, 10);
    ASSERT_TRUE(SaveBitmapAsPng(b, dir.File("r.png"), true));
    EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf8bit);
    const TColor key = b.Pixel(0, 9);
    const std::vector<Chunk> chunks = ChunksOf(test::ReadBytes(dir.File("r.png")));
    ASSERT_EQ(chunks.size(), 5u);
    EXPECT_EQ(chunks[0].data[8], 8);
    EXPECT_EQ(chunks[0].data[9], 3);
    EXPECT_EQ(chunks[1].name, "PLTE");
    EXPECT_EQ(chunks[1].data.size(), 768u);
    EXPECT_EQ(chunks[2].name, "tRNS");
    const Bytes& alpha = chunks[2].data;
    ASSERT_FALSE(alpha.empty());
    EXPECT_EQ(alpha.back(), 0);
    for (size_t i = 0; i + 1 < alpha.size(); ++i)
        EXPECT_EQ(alpha[i], 255);
    const size_t k = alpha.size() - 1;
    EXPECT_EQ((TColor{chunks[1].data[3 * k], chunks[1].data[3 * k + 1], chunks[1].data[3 * k + 2]}), key);
    EXPECT_TRUE(PeerToolsAccept(dir.File("r.png")));
}

TEST(SaveBitmapAsPng, ATransparentPngLoadsOntoWhite)
{
    test::TempDir dir;
    TBitmap b = KeyedPattern(5, 5, kBlack, 2, 2);
    ASSERT_TRUE(SaveBitmapAsPng(b, dir.File("w.png"), false));
    PictureHolder holder;
    ASSERT_TRUE(LoadImageFile(holder, dir.File("w.png"), true));
    TBitmap& loaded = holder.Bitmap();
    EXPECT_EQ(loaded.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(loaded.Pixel(2, 2), kWhite);
    EXPECT_EQ(loaded.Pixel(0, 4), kWhite);
    EXPECT_EQ(loaded.Pixel(1, 1), b.Pixel(1, 1));

    // A damaged file leaves the holder empty.
    Bytes bytes = test::ReadBytes(dir.File("w.png"));
    bytes[30] ^= 0xFF;
    test::WriteBytes(dir.File("d.png"), bytes);
    EXPECT_THROW(LoadImageFile(holder, dir.File("d.png"), true), Exception);
    EXPECT_EQ(holder.Graphic(), nullptr);
}

}  // namespace
}  // namespace kobalto
