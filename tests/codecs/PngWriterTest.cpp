#include <gtest/gtest.h>

#include <random>

#include "base/Exceptions.h"
#include "codecs/png/PngRowFilter.h"
#include "tests/codecs/PngTestFiles.h"
#include "tests/support/PeerTool.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using namespace pngtest;

Bytes Encode(const TBitmap& bitmap)
{
    TPNGPicture png;
    png.AssignBitmap(bitmap);
    return Save(png);
}

std::vector<std::string> Names(const Bytes& file)
{
    std::vector<std::string> names;
    for (const ChunkInfo& c : Chunks(file))
        names.push_back(c.name);
    return names;
}

Bytes ChunkData(const Bytes& file, const std::string& name)
{
    for (const ChunkInfo& c : Chunks(file))
        if (c.name == name)
            return Bytes(file.begin() + c.dataPos, file.begin() + c.dataPos + c.length);
    return {};
}

// All IDAT data inflated: the filtered rows with their type bytes.
Bytes InflatedRows(const Bytes& file)
{
    Bytes z;
    for (const ChunkInfo& c : Chunks(file))
        if (c.name == "IDAT")
            z.insert(z.end(), file.begin() + c.dataPos, file.begin() + c.dataPos + c.length);
    z_stream s{};
    inflateInit(&s);
    Bytes out(1 << 20);
    s.next_in = z.data();
    s.avail_in = static_cast<uInt>(z.size());
    s.next_out = out.data();
    s.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(inflate(&s, Z_FINISH), Z_STREAM_END);
    out.resize(s.total_out);
    inflateEnd(&s);
    return out;
}

bool PassesPngcheck(const Bytes& file) { return test::PeerToolAccepts("pngcheck -q", file, "a.png"); }

TEST(PngWriter, OneWhitePixelByteForByte)
{
    const Bytes expected = {
        0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A,
        // IHDR: 1 x 1, bit depth 8, colour type 2, methods 0, 0, 0
        0x00, 0x00, 0x00, 0x0D, 'I', 'H', 'D', 'R', 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01,
        0x08, 0x02, 0x00, 0x00, 0x00, 0x90, 0x77, 0x53, 0xDE,
        // IDAT: zlib at level 7 of the row 1 (Sub), 255, 255, 255
        0x00, 0x00, 0x00, 0x0C, 'I', 'D', 'A', 'T', 0x78, 0xDA, 0x63, 0xFC, 0xFF, 0xFF, 0x3F, 0x00,
        0x06, 0x02, 0x02, 0xFF, 0xB7, 0x92, 0xD1, 0xD4,
        // IEND
        0x00, 0x00, 0x00, 0x00, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    EXPECT_EQ(Encode(TBitmap(1, 1)), expected);
}

TEST(PngWriter, SubKeepsTheFirstPixelAndTheFourthByteOfWidePixelsIsDropped)
{
    const TColor pixels[2][3] = {{{10, 20, 30}, {15, 18, 40}, {5, 255, 0}}, {{0, 0, 0}, {1, 2, 3}, {255, 255, 255}}};
    // Filter type 1 (Sub), then red, green, blue less the pixel to the left,
    // modulo 256.
    const Bytes expected = {
        1, 10, 20, 30, 5, 254, 10, 246, 237, 216,  // 15 - 10, 18 - 20, 40 - 30; 5 - 15, 255 - 18, 0 - 40
        1, 0, 0, 0, 1, 2, 3, 254, 253, 252,        // 255 - 1, 255 - 2, 255 - 3
    };
    for (TPixelFormat format : {TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
        SCOPED_TRACE(BitsPerPixel(format));
        TBitmap b = test::MakeBitmap(3, 2, [&](int x, int y) { return pixels[y][x]; });
        b.SetPixelFormat(format);
        const Bytes file = Encode(b);
        const Bytes ihdr = ChunkData(file, "IHDR");
        EXPECT_EQ(ihdr[8], 8);
        EXPECT_EQ(ihdr[9], 2);
        EXPECT_EQ(InflatedRows(file), expected);
        EXPECT_TRUE(PassesPngcheck(file));
    }
}

// An 8-bit palette picture of one row of noise: its compressed size follows
// its width byte for byte.
Bytes NoiseRow(int width)
{
    std::mt19937 rng(7);
    TBitmap b(width, 1, TPixelFormat::pf8bit);
    for (int x = 0; x < width; ++x)
        b.ScanLine(0)[x] = static_cast<uint8_t>(rng());
    return Encode(b);
}

std::vector<uint32_t> IdatLengths(const Bytes& file)
{
    std::vector<uint32_t> lengths;
    for (const ChunkInfo& c : Chunks(file))
        if (c.name == "IDAT")
            lengths.push_back(c.length);
    return lengths;
}

TEST(PngWriter, FullIdatChunksHold65535BytesAndNoEmptyChunkFollows)
{
    struct Case {
        uint32_t compressed;
        std::vector<uint32_t> chunks;
    };
    for (const Case& c : {Case{65535, {65535}}, Case{65536, {65535, 1}}}) {
        // Find the width that compresses to exactly the size wanted.
        int width = static_cast<int>(c.compressed) - 64;
        Bytes file;
        uint32_t total = 0;
        for (int tries = 0; tries < 200; ++tries) {
            file = NoiseRow(width);
            total = 0;
            for (uint32_t l : IdatLengths(file))
                total += l;
            if (total == c.compressed)
                break;
            width += total < c.compressed ? 1 : -1;
        }
        ASSERT_EQ(total, c.compressed) << "no width compresses to " << c.compressed;
        EXPECT_EQ(IdatLengths(file), c.chunks) << c.compressed;
        EXPECT_EQ(Names(file).back(), "IEND");
        EXPECT_TRUE(PassesPngcheck(file));
    }
    // A big picture: every chunk but the last is full.
    const std::vector<uint32_t> lengths = IdatLengths(NoiseRow(65535 * 3 / 2));
    ASSERT_EQ(lengths.size(), 2u);
    EXPECT_EQ(lengths[0], 65535u);
    EXPECT_GT(lengths[1], 0u);
}

TEST(PngWriter, ATransparentBitmapGetsTheKeyColourAsTRNS)
{
    TBitmap b = test::PatternBitmap(4, 3);
    b.SetPixel(0, 2, TColor{10, 20, 30});
    b.SetTransparent(true);
    const Bytes file = Encode(b);
    EXPECT_EQ(Names(file), (std::vector<std::string>{"IHDR", "tRNS", "IDAT", "IEND"}));
    EXPECT_EQ(ChunkData(file, "tRNS"), (Bytes{0, 10, 0, 20, 0, 30}));
    EXPECT_TRUE(PassesPngcheck(file));
    b.SetTransparent(false);
    EXPECT_EQ(Names(Encode(b)), (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
}

TEST(PngWriter, IndexedBitmapsGetAPaletteOfTwoToTheirBitsEntries)
{
    for (TPixelFormat format : {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit}) {
        const int bits = BitsPerPixel(format);
        TBitmap b(7, 3, format);
        b.Palette() = {{1, 2, 3, 0}, {40, 50, 60, 0}, {200, 100, 0, 0}};
        b.Palette().resize(std::min(3, 1 << bits));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x)
                b.SetPixel(x, y, x % 2 ? TColor{60, 50, 40} : TColor{3, 2, 1});
        b.SetPixel(0, 2, TColor{60, 50, 40});
        b.SetTransparent(true);
        const Bytes file = Encode(b);
        EXPECT_EQ(Names(file), (std::vector<std::string>{"IHDR", "PLTE", "tRNS", "IDAT", "IEND"})) << bits;
        const Bytes ihdr = ChunkData(file, "IHDR");
        EXPECT_EQ(ihdr[8], bits);
        EXPECT_EQ(ihdr[9], 3);
        Bytes plte(3u << bits, 0);
        const Bytes firstTwo = {3, 2, 1, 60, 50, 40};
        std::copy(firstTwo.begin(), firstTwo.end(), plte.begin());
        if (bits > 1)
            plte[6] = 0, plte[7] = 100, plte[8] = 200;
        EXPECT_EQ(ChunkData(file, "PLTE"), plte) << bits;
        // Opaque up to the key's entry, which is transparent.
        EXPECT_EQ(ChunkData(file, "tRNS"), (Bytes{255, 0})) << bits;
        EXPECT_TRUE(PassesPngcheck(file)) << bits;

        TBitmap peer;
        test::TempDir dir;
        test::WriteBytes(dir.File("p.png"), file);
        b.SetTransparent(false);
        ASSERT_TRUE(test::DecodeWithPeer(dir.File("p.png"), peer));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 7; ++x) {
                const TColor want = b.Pixel(x, y) == TColor{60, 50, 40} ? kWhite : b.Pixel(x, y);
                EXPECT_EQ(peer.Pixel(x, y), want) << bits << " bits at " << x << "," << y;
            }
    }
}

// Filter types of the rows of an 8-bit palette picture written with a set.
std::vector<int> FilterTypes(const std::vector<Bytes>& rows, uint8_t set)
{
    TBitmap b(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), TPixelFormat::pf8bit);
    for (size_t y = 0; y < rows.size(); ++y)
        std::copy(rows[y].begin(), rows[y].end(), b.ScanLine(static_cast<int>(y)));
    TPNGPicture png;
    png.AssignBitmap(b);
    png.SetFilterSet(set);
    const Bytes inflated = InflatedRows(Save(png));
    std::vector<int> types;
    for (size_t y = 0; y < rows.size(); ++y)
        types.push_back(inflated[y * (rows[0].size() + 1)]);
    return types;
}

TEST(PngWriter, FilterChoiceFollowsRepeatedBytes)
{
    // No byte equals one of the two before it, nor does any difference.
    const Bytes noRepeats = {199, 7, 32, 81, 21, 154, 15, 137, 242, 198, 218, 202, 227, 68, 187, 49};
    const Bytes flat(16, 5);
    const uint8_t all = 0x1F;
    // A flat row: None and Sub tie and None, the lower type, stays. A row
    // equal to the one above: Up and Paeth give zeros and Up stays.
    const std::vector<int> types = FilterTypes({flat, noRepeats, noRepeats}, all);
    EXPECT_EQ(types[0], 0);
    EXPECT_EQ(types[2], 2);
    EXPECT_EQ(FilterTypes({noRepeats, flat}, kPngFilterPaeth), (std::vector<int>{4, 4}));
    EXPECT_EQ(FilterTypes({noRepeats, flat}, 0), (std::vector<int>{0, 0}));
    EXPECT_EQ(FilterTypes({noRepeats, flat}, kPngFilterNone), (std::vector<int>{0, 0}));
    // Nothing repeats under Sub or Up: None is used though not in the set.
    EXPECT_EQ(FilterTypes({noRepeats}, kPngFilterSub | kPngFilterUp), (std::vector<int>{0}));
}

TEST(PngWriter, EveryFilterSetAndInterlacingReadBackUnchanged)
{
    for (TPixelFormat format : {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit,
                                TPixelFormat::pf24bit}) {
        TBitmap b = test::PatternBitmap(13, 11);
        b.SetPixelFormat(format);
        for (uint8_t set : {uint8_t{0x1F}, uint8_t{kPngFilterAverage}, uint8_t{kPngFilterPaeth | kPngFilterUp}})
            for (uint8_t interlace : {0, 1}) {
                TPNGPicture png;
                png.AssignBitmap(b);
                png.SetFilterSet(set);
                png.SetInterlaceMethod(interlace);
                const Bytes file = Save(png);
                EXPECT_EQ(ChunkData(file, "IHDR")[12], interlace);
                EXPECT_TRUE(PassesPngcheck(file));
                const TPNGPicture back = Load(file);
                TBitmap drawn(13, 11);
                back.Draw(drawn, 0, 0);
                TBitmap peer;
                test::TempDir dir;
                test::WriteBytes(dir.File("i.png"), file);
                ASSERT_TRUE(test::DecodeWithPeer(dir.File("i.png"), peer));
                for (int y = 0; y < 11; ++y)
                    for (int x = 0; x < 13; ++x) {
                        ASSERT_EQ(drawn.Pixel(x, y), b.Pixel(x, y)) << int(set) << "/" << int(interlace);
                        ASSERT_EQ(peer.Pixel(x, y), b.Pixel(x, y)) << int(set) << "/" << int(interlace);
                    }
            }
    }
}

TEST(PngWriter, EmptyPicturesAndBadSettingsAreRefused)
{
    TPNGPicture png;
    TMemoryStream out;
    EXPECT_THROW(png.SaveToStream(out), EInvalidGraphicOperation);
    EXPECT_THROW(png.SetCompressionLevel(10), EInvalidGraphicOperation);
    EXPECT_THROW(png.SetInterlaceMethod(2), EInvalidGraphicOperation);
    EXPECT_THROW(png.SetMaxIdatSize(0), EInvalidGraphicOperation);
    EXPECT_THROW(png.SetFilterSet(0x20), EInvalidGraphicOperation);
}

}  // namespace
}  // namespace kobalto
