// Decoding only the rows a nearest-neighbour stretch picks gives the very
// bytes of decoding the whole picture, putting it on white and stretching
// it, over colour types, depths, transparency, gamma, chunk splits and
// target sizes, on both inflating paths; what it does not sample it leaves
// to the whole decode, and what the whole decode refuses it refuses alike.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <typeinfo>
#include <vector>

#include "codecs/png/PngRowFilter.h"
#include "graphics/Draw.h"
#include "tests/codecs/PngTestFiles.h"
#include "tests/support/CutSweep.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using namespace pngtest;

struct Layout {
    const char* name;
    uint8_t colorType, depth, interlace;
    bool keyed;   // a tRNS key that some pixels have
    bool gamma;   // a gAMA chunk that changes the samples
};

int Channels(uint8_t colorType)
{
    return colorType == 0 || colorType == 3 ? 1 : colorType == 2 ? 3 : colorType == 4 ? 2 : 4;
}

// Rows of samples, smooth (whose data compresses well: the one-call path)
// or grainy (the streaming path); every row and column differs, so a wrong
// pick shows. Filtered with every filter type, so unfiltering chains rows.
Bytes ImageData(const Layout& l, int w, int h, bool grainy)
{
    const int bits = Channels(l.colorType) * l.depth;
    const size_t rowBytes = (static_cast<size_t>(w) * bits + 7) / 8;
    PngRowFilter filter(0x1F, rowBytes, std::max(1, bits / 8));
    Bytes data;
    uint32_t seed = 99;
    for (int y = 0; y < h; ++y) {
        Bytes row(rowBytes);
        for (size_t i = 0; i < rowBytes; ++i) {
            seed = seed * 1103515245 + 12345;
            const int grain = grainy ? static_cast<int>(seed >> 27) : 0;
            row[i] = static_cast<uint8_t>(i * 7 + y * 3 + grain);
        }
        // Some pixels carry the key: the first of every fifth row.
        if (l.keyed && y % 5 == 0)
            std::fill(row.begin(), row.begin() + std::max(1, bits / 8), uint8_t{0x21});
        const auto filtered = filter.Filter(row.data(), rowBytes);
        data.insert(data.end(), filtered.begin(), filtered.end());
    }
    return data;
}

// The file with its compressed data split into IDAT chunks of idatSize.
Bytes PngFile(const Layout& l, int w, int h, bool grainy, size_t idatSize)
{
    Bytes out = Concat({kSignature, Chunk("IHDR", Ihdr(w, h, l.depth, l.colorType, l.interlace))});
    auto add = [&out](const Bytes& chunk) { out.insert(out.end(), chunk.begin(), chunk.end()); };
    if (l.gamma)
        add(Chunk("gAMA", {0, 0, 0x8C, 0xA0}));  // 0.36
    if (l.colorType == 3)
        add(Chunk("PLTE", Bytes(3 * 16, 0x40)));
    if (l.keyed) {
        // The key's 16-bit samples: 0x2121, or 0x21 below 16 bits.
        Bytes key;
        for (int c = 0; c < (l.colorType == 2 ? 3 : 1); ++c)
            key.insert(key.end(), {uint8_t(l.depth == 16 ? 0x21 : 0), 0x21});
        add(Chunk("tRNS", key));
    }
    Bytes raw;
    if (l.interlace) {
        // The rows of all seven passes, each pass filtered on its own.
        for (int p = 0; p < 7; ++p) {
            static const int x0[] = {0, 4, 0, 2, 0, 1, 0}, y0[] = {0, 0, 4, 0, 2, 0, 1};
            static const int dx[] = {8, 8, 4, 4, 2, 2, 1}, dy[] = {8, 8, 8, 4, 4, 2, 2};
            const int pw = (w - x0[p] + dx[p] - 1) / dx[p], ph = (h - y0[p] + dy[p] - 1) / dy[p];
            if (pw > 0 && ph > 0) {
                const Bytes pass = ImageData(l, pw, ph, grainy);
                raw.insert(raw.end(), pass.begin(), pass.end());
            }
        }
    } else {
        raw = ImageData(l, w, h, grainy);
    }
    const Bytes z = Deflate(raw);
    for (size_t at = 0; at < z.size(); at += idatSize)
        add(Chunk("IDAT", Bytes(z.begin() + static_cast<std::ptrdiff_t>(at),
                                z.begin() + static_cast<std::ptrdiff_t>(std::min(z.size(), at + idatSize)))));
    add(Chunk("tEXt", {'k', 0, 'v'}));
    add(Chunk("IEND", {}));
    return out;
}

// The whole decode as the scaler gets it, stretched.
TBitmap Expected(const Bytes& file, int w, int h)
{
    TPNGPicture png = Load(file);
    std::unique_ptr<TBitmap> working = png.TakeWorkingBitmap();
    TBitmap target(w, h, TPixelFormat::pf24bit);
    StretchBitmap(target, *working);
    return target;
}

// Loaded for a stretch and taken stretched; null where the picture declines.
std::unique_ptr<TBitmap> Sampled(const Bytes& file, int w, int h)
{
    TMemoryStream stream(file);
    TPNGPicture png;
    png.DeferDecoding();
    png.LoadFromStream(stream);
    return png.TakeStretchedBitmap([w, h](int, int) { return std::pair{w, h}; });
}

TEST(PngStretchedDecode, PicksTheBytesOfTheWholeDecodeStretched)
{
    const Layout layouts[] = {
        {"RGB 8", 2, 8, 0, false, false},      {"RGB 8 with gamma", 2, 8, 0, false, true},
        {"RGB 8 keyed", 2, 8, 0, true, false}, {"RGB 16", 2, 16, 0, false, true},
        {"RGB 16 keyed", 2, 16, 0, true, false}, {"RGBA 8", 6, 8, 0, false, false},
        {"RGBA 16", 6, 16, 0, false, true},     {"grey+alpha 8", 4, 8, 0, false, false},
        {"grey+alpha 16", 4, 16, 0, false, false}, {"grey 16", 0, 16, 0, false, true},
        {"grey 16 keyed", 0, 16, 0, true, false},
    };
    const struct {
        int w, h;
    } pictures[] = {{123, 91}, {40, 200}, {1, 3}};
    for (const auto& p : pictures) {
        // Shrinks as the automatic and percentage modes make them, unequal
        // factors, 1:1 and enlargements that repeat rows and columns.
        const struct {
            int w, h;
        } targets[] = {{p.w / 2 + 1, p.h / 2 + 1}, {p.w * 3 / 10 + 1, p.h * 3 / 10 + 1}, {p.w / 10 + 1, p.h / 10 + 1},
                       {p.w, p.h / 3 + 1},         {1, 1}, {p.w, p.h}, {p.w * 3 / 2 + 1, p.h + 7}};
        for (const Layout& l : layouts)
            for (bool grainy : {false, true})
                for (size_t idatSize : {size_t{1} << 20, size_t{97}}) {
                    const Bytes file = PngFile(l, p.w, p.h, grainy, idatSize);
                    for (const auto& t : targets) {
                        const std::string what = std::string(l.name) + (grainy ? " grainy " : " smooth ") +
                                                 std::to_string(p.w) + "x" + std::to_string(p.h) + " to " +
                                                 std::to_string(t.w) + "x" + std::to_string(t.h) + ", IDAT " +
                                                 std::to_string(idatSize);
                        const std::unique_ptr<TBitmap> sampled = Sampled(file, t.w, t.h);
                        ASSERT_TRUE(sampled) << what;
                        EXPECT_TRUE(test::SameBytes(*sampled, Expected(file, t.w, t.h))) << what;
                    }
                }
    }
}

TEST(PngStretchedDecode, LeavesToTheWholeDecodeWhatItCannotSample)
{
    const struct {
        const char* name;
        Layout layout;
    } cases[] = {
        {"interlaced", {"", 2, 8, 1, false, false}},
        {"palette", {"", 3, 4, 0, false, false}},
        {"grey 8", {"", 0, 8, 0, true, false}},
    };
    for (const auto& c : cases) {
        const Bytes file = PngFile(c.layout, 37, 29, true, 64);
        TMemoryStream stream(file);
        TPNGPicture png;
        png.DeferDecoding();
        png.LoadFromStream(stream);
        EXPECT_FALSE(png.TakeStretchedBitmap([](int, int) { return std::pair{9, 7}; })) << c.name;
        // Unchanged: the whole decode gives what a plain load gives.
        std::unique_ptr<TBitmap> working = png.TakeWorkingBitmap();
        TPNGPicture plain = Load(file);
        EXPECT_TRUE(test::SameBytes(*working, *plain.TakeWorkingBitmap())) << c.name;
    }
    // A picture marked transparent keys its bottom-left colour out.
    const Bytes file = PngFile({"", 2, 8, 0, false, false}, 20, 20, false, 64);
    TMemoryStream stream(file);
    TPNGPicture png;
    png.DeferDecoding();
    png.LoadFromStream(stream);
    png.SetTransparent(true);
    EXPECT_FALSE(png.TakeStretchedBitmap([](int, int) { return std::pair{5, 5}; }));
    EXPECT_EQ(png.Width(), 20);
}

// The name of what loading the whole file raises, or "" when it loads.
std::string WholeOutcome(const Bytes& file)
{
    try {
        TPNGPicture png = Load(file);
        png.TakeWorkingBitmap();
        return "";
    } catch (const Exception& e) {
        return typeid(e).name();
    }
}

std::string SampledOutcome(const Bytes& file)
{
    try {
        Sampled(file, 7, 5);
        return "";
    } catch (const Exception& e) {
        return typeid(e).name();
    }
}

// The corpus's files, good and bad, shrunk to a third: the same pixels or
// the same error either way.
TEST(PngStretchedDecode, CorpusFilesShrinkAsTheirWholeDecodeDoes)
{
    if (!test::HaveCorpus())
        GTEST_SKIP() << "no corpus at " << test::CorpusDir();
    int sampled = 0;
    for (const test::CorpusFile& f : test::CorpusFiles("png")) {
        SCOPED_TRACE(f.name);
        const Bytes file = test::ReadBytes(f.path);
        int w = 0, h = 0;
        try {
            const TPNGPicture png = Load(file);
            w = png.Width() / 3 + 1;
            h = png.Height() / 3 + 1;
        } catch (const Exception&) {
        }
        if (w == 0) {
            EXPECT_EQ(SampledOutcome(file), WholeOutcome(file));
            continue;
        }
        std::string whole;
        std::optional<TBitmap> expected;
        try {
            expected = Expected(file, w, h);
        } catch (const Exception& e) {
            whole = typeid(e).name();
        }
        try {
            const std::unique_ptr<TBitmap> taken = Sampled(file, w, h);
            EXPECT_EQ(whole, "");
            if (taken && expected) {
                EXPECT_TRUE(test::SameBytes(*taken, *expected));
                ++sampled;
            }
        } catch (const Exception& e) {
            EXPECT_EQ(typeid(e).name(), whole);
        }
    }
    EXPECT_GT(sampled, 50);
}

TEST(PngStretchedDecode, RefusesWhatTheWholeDecodeRefusesWithItsError)
{
    for (bool grainy : {false, true}) {
        const Bytes file = PngFile({"", 2, 8, 0, false, false}, 30, 20, grainy, 120);
        // Every cut, and damage in the compressed data, its checksum, a
        // chunk's CRC or the chunks after the image data.
        test::ForEveryCut(file, [](const Bytes& cut, size_t) { EXPECT_EQ(SampledOutcome(cut), WholeOutcome(cut)); });
        const std::vector<ChunkInfo> chunks = Chunks(file);
        for (const ChunkInfo& c : chunks)
            for (size_t at : {c.dataPos, c.dataPos + c.length / 2, c.dataPos + c.length - 1, c.dataPos + c.length})
                for (uint8_t flip : {uint8_t{0x01}, uint8_t{0x80}}) {
                    if (at >= file.size())
                        continue;
                    Bytes damaged = file;
                    damaged[at] ^= flip;
                    SCOPED_TRACE(c.name + " at " + std::to_string(at));
                    EXPECT_EQ(SampledOutcome(damaged), WholeOutcome(damaged));
                }
    }
}

}  // namespace
}  // namespace kobalto
