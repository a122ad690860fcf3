// The LZW coder of GIF images: exact codes for small images, the table
// restart, round trips, and codes a hostile file can hold.
#include <gtest/gtest.h>

#include <random>
#include <span>
#include <vector>

#include "base/TByteWriter.h"
#include "codecs/gif/GifError.h"
#include "codecs/gif/GifLzwDecoder.h"
#include "codecs/gif/GifLzwEncoder.h"

namespace kobalto {
namespace {

// The code size byte, the sub-blocks' contents joined, and a check that the
// sub-blocks are at most 255 bytes and end with the terminator.
struct Coded {
    int codeSize = 0;
    std::vector<uint8_t> data;
    std::vector<size_t> blockSizes;
};

Coded Encode(const std::vector<uint8_t>& pixels, int width, int height, int bits, int colors = 256,
             bool interlaced = false)
{
    TByteWriter out;
    EncodeGifLzw(pixels, width, height, interlaced, bits, colors, out);
    const auto& b = out.Data();
    Coded c;
    c.codeSize = b.at(0);
    size_t pos = 1;
    for (size_t n = b.at(pos++); n != 0; n = b.at(pos++)) {
        c.blockSizes.push_back(n);
        c.data.insert(c.data.end(), b.begin() + static_cast<std::ptrdiff_t>(pos),
                      b.begin() + static_cast<std::ptrdiff_t>(pos + n));
        pos += n;
    }
    EXPECT_EQ(pos, b.size()) << "bytes after the terminator";
    return c;
}

// Reads the codes back the way any GIF decoder sizes them: the width grows
// once the table reaches 2^width entries (at most 12 bits) and returns to
// codeSize + 1 after a clear code. Only sizes are tracked, not strings.
struct CodeTrace {
    std::vector<unsigned> codes;
    std::vector<int> widths;
};

CodeTrace TraceCodes(const Coded& c)
{
    CodeTrace t;
    const unsigned clear = 1u << c.codeSize;
    int width = c.codeSize + 1;
    unsigned next = clear + 2;
    bool afterClear = true;
    uint64_t acc = 0;
    int bits = 0;
    size_t pos = 0;
    for (;;) {
        while (bits < width && pos < c.data.size()) {
            acc |= uint64_t{c.data[pos++]} << bits;
            bits += 8;
        }
        if (bits < width)
            break;
        const unsigned code = static_cast<unsigned>(acc & ((1u << width) - 1));
        acc >>= width;
        bits -= width;
        t.codes.push_back(code);
        t.widths.push_back(width);
        if (code == clear) {
            width = c.codeSize + 1;
            next = clear + 2;
            afterClear = true;
            continue;
        }
        if (code == clear + 1)
            break;
        if (!afterClear && next < 4096 && ++next == (1u << width) && width < 12)
            ++width;
        afterClear = false;
    }
    return t;
}

TEST(GifLzwEncoder, WritesTheCodesOfSmallImagesExactly)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> pixels;
        int width, height, bits;
        std::vector<uint8_t> data;
    };
    const Case cases[] = {
        // Clear 256, pixel 0 and end 257, 9 bits each.
        {"1x1 of 8 bits", {0}, 1, 1, 8, {0x00, 0x01, 0x04, 0x04}},
        // Clear 4, 0, 6, 3 in 3 bits; the table reaching 8 entries makes
        // 3, 6, 2 and end 5 four bits wide.
        {"4x2 of 2 bits", {0, 0, 0, 3, 3, 0, 0, 2}, 4, 2, 2, {0x84, 0x37, 0x26, 0x05}},
        // One bit per pixel still codes with a minimum code size of 2.
        {"2x1 of 1 bit", {1, 0}, 2, 1, 1, {0x0C, 0x0A}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Coded coded = Encode(c.pixels, c.width, c.height, c.bits);
        EXPECT_EQ(coded.codeSize, c.bits < 2 ? 2 : c.bits);
        EXPECT_EQ(coded.data, c.data);
    }
}

TEST(GifLzwEncoder, RestartsTheTableBeforeCode4095)
{
    // A run of one index uses code 258 + k for the run of k + 2 pixels; code
    // 4094 is the last one stored, and the code after it is followed by a
    // clear code. 1 + 2 + ... + 3838 pixels come before that clear code.
    const size_t beforeClear = size_t{3838} * 3839 / 2;
    const int width = 4000;
    const int height = static_cast<int>((beforeClear + 10) / width + 1);
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height, 7);
    const Coded coded = Encode(pixels, width, height, 8);
    const CodeTrace trace = TraceCodes(coded);

    ASSERT_GT(trace.codes.size(), 3842u);
    EXPECT_EQ(trace.codes[0], 256u);
    EXPECT_EQ(trace.codes[1], 7u);
    for (size_t i = 2; i <= 3838; ++i)
        ASSERT_EQ(trace.codes[i], 256u + i) << "code " << i;
    EXPECT_EQ(trace.widths[3838], 12);
    EXPECT_EQ(trace.codes[3839], 256u) << "clear code after code 4094";
    EXPECT_EQ(trace.widths[3839], 12);
    EXPECT_EQ(trace.codes[3840], 7u);
    EXPECT_EQ(trace.widths[3840], 9) << "width restarts at b + 1";
    EXPECT_EQ(trace.codes.back(), 257u);

    std::vector<uint8_t> decoded(pixels.size(), 0);
    EXPECT_EQ(DecodeGifLzw(coded.data, coded.codeSize, decoded), pixels.size());
    EXPECT_EQ(decoded, pixels);
}

TEST(GifLzwEncoder, PacksFullSubBlocksOf255Bytes)
{
    std::mt19937 rng(5);
    std::vector<uint8_t> pixels(5000);
    for (auto& p : pixels)
        p = static_cast<uint8_t>(rng());
    const Coded coded = Encode(pixels, 100, 50, 8);
    ASSERT_GT(coded.blockSizes.size(), 2u);
    for (size_t i = 0; i + 1 < coded.blockSizes.size(); ++i)
        EXPECT_EQ(coded.blockSizes[i], 255u);
    EXPECT_GE(coded.blockSizes.back(), 1u);
    EXPECT_LE(coded.blockSizes.back(), 255u);
}

TEST(GifLzw, RoundTripsImagesOfEveryCodeSize)
{
    std::mt19937 rng(11);
    for (int bits = 1; bits <= 8; ++bits) {
        for (int kind = 0; kind < 3; ++kind) {
            SCOPED_TRACE(testing::Message() << "bits " << bits << " kind " << kind);
            const int width = 37 + kind * 50, height = 23 + kind * 40;
            std::vector<uint8_t> pixels(static_cast<size_t>(width) * height);
            for (size_t i = 0; i < pixels.size(); ++i) {
                const unsigned v = kind == 0 ? rng() : kind == 1 ? static_cast<unsigned>(i / 97) : (i % 5 ? 0 : rng());
                pixels[i] = static_cast<uint8_t>(v % (1u << bits));
            }
            const Coded coded = Encode(pixels, width, height, bits, 1 << bits);
            std::vector<uint8_t> decoded(pixels.size(), 0xEE);
            EXPECT_EQ(DecodeGifLzw(coded.data, coded.codeSize, decoded), pixels.size());
            EXPECT_EQ(decoded, pixels);
        }
    }
}

TEST(GifLzwEncoder, WritesAnInterlacedImageInItsFourPasses)
{
    const int width = 3, height = 11;
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<size_t>(y * width + x)] = static_cast<uint8_t>(y);
    const Coded coded = Encode(pixels, width, height, 4, 16, true);
    std::vector<uint8_t> stored(pixels.size());
    DecodeGifLzw(coded.data, coded.codeSize, stored);
    const int order[] = {0, 8, 4, 2, 6, 10, 1, 3, 5, 7, 9};
    for (int i = 0; i < height; ++i)
        for (int x = 0; x < width; ++x)
            EXPECT_EQ(stored[static_cast<size_t>(i * width + x)], order[i]) << "stored row " << i;
}

TEST(GifLzwEncoder, RefusesAnIndexOutsideTheColourTable)
{
    TByteWriter out;
    const std::vector<uint8_t> pixels{0, 1, 4, 2};
    try {
        EncodeGifLzw(pixels, 2, 2, false, 2, 4, out);
        FAIL() << "no error";
    } catch (const EGIFException& e) {
        EXPECT_STREQ(e.what(), "Color not in color table");
    }
}

TEST(GifLzwEncoder, CodesAnImageWithoutPixelsAsClearAndEnd)
{
    const Coded coded = Encode({}, 0, 0, 8);
    const CodeTrace trace = TraceCodes(coded);
    EXPECT_EQ(trace.codes, (std::vector<unsigned>{256, 257}));
}

TEST(GifLzwDecoder, RefusesCodesOutsideTheTable)
{
    struct Case {
        const char* name;
        int codeSize;
        std::vector<uint8_t> data;
    };
    const Case cases[] = {
        {"code size 0", 0, {0x00}},
        {"code size 12", 12, {0x00, 0x10}},
        {"code size 255", 255, {0x00}},
        // Clear (4) then 7: a table code before any colour.
        {"first code is no colour", 2, {0x3C}},
        // Clear, 0, then 7 while the next free code is 6.
        {"code beyond the next free one", 2, {0xC4, 0x01}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<uint8_t> out(16);
        EXPECT_THROW(DecodeGifLzw(c.data, c.codeSize, out), EGIFException);
    }
}

TEST(GifLzwDecoder, StopsWhereTheDataOrTheImageEnds)
{
    const Coded coded = Encode({1, 2, 3, 1, 2, 3, 1, 2, 3}, 9, 1, 2);
    struct Case {
        size_t bytes, room, expected;
    };
    // All data: 9 indices. Room for 4: the rest is ignored. No data: none.
    for (const Case& c : {Case{coded.data.size(), 9, 9}, Case{coded.data.size(), 4, 4}, Case{0, 9, 0},
                          Case{1, 9, 1}}) {
        std::vector<uint8_t> out(c.room, 0xEE);
        const std::span<const uint8_t> data(coded.data.data(), c.bytes);
        EXPECT_EQ(DecodeGifLzw(data, coded.codeSize, out), c.expected) << c.bytes << " bytes";
        for (size_t i = 0; i < c.expected; ++i)
            EXPECT_EQ(out[i], 1 + i % 3);
    }
}

}  // namespace
}  // namespace kobalto
