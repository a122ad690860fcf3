// The decompressors of the extended readers: the byte cases of each scheme,
// and runs that would pass either end of the source or the target.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "codecs/decompress/FaxCodes.h"
#include "codecs/decompress/FaxDecoders.h"
#include "codecs/decompress/LZ77Decoder.h"
#include "codecs/decompress/RunLengthDecoders.h"
#include "codecs/decompress/ThunderDecoder.h"
#include "codecs/decompress/WholeInflate.h"
#include "codecs/extended/ExtendedError.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

using Bytes = std::vector<uint8_t>;

struct Case {
    const char* what;
    std::function<std::unique_ptr<TDecoder>()> make;
    Bytes source;
    size_t room;        // target bytes offered
    Bytes expected;     // what is produced
    size_t consumed;    // source bytes used
};

std::unique_ptr<TDecoder> Tga24() { return std::make_unique<TTargaRLEDecoder>(24); }
std::unique_ptr<TDecoder> Tga16() { return std::make_unique<TTargaRLEDecoder>(16); }
std::unique_ptr<TDecoder> Packbits() { return std::make_unique<TPackbitsRLEDecoder>(); }
std::unique_ptr<TDecoder> Pcx() { return std::make_unique<TPCXRLEDecoder>(); }
std::unique_ptr<TDecoder> Psp() { return std::make_unique<TPSPRLEDecoder>(); }
std::unique_ptr<TDecoder> Rla() { return std::make_unique<TRLADecoder>(); }

const Case kCases[] = {
    // TGA, depth 24: a run packet of three pixels, a raw packet of two.
    {"tga run", Tga24, {0x82, 10, 20, 30}, 9, {10, 20, 30, 10, 20, 30, 10, 20, 30}, 4},
    {"tga raw", Tga24, {0x01, 1, 2, 3, 4, 5, 6}, 6, {1, 2, 3, 4, 5, 6}, 7},
    // A run longer than the row stops at its end; the rest is for the next row.
    {"tga run past the target", Tga24, {0x85, 7, 8, 9, 0x00, 1, 2, 3}, 6, {7, 8, 9, 7, 8, 9}, 4},
    // A raw packet past the row takes only the row's pixels.
    {"tga raw past the target", Tga24, {0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0x80, 0, 0, 0}, 3, {1, 2, 3}, 4},
    // A raw packet claiming more pixels than the file holds.
    {"tga raw past the source", Tga24, {0x7F, 1, 2, 3, 4}, 30, {1, 2, 3, 4}, 5},
    // A run header whose pixel the file does not hold.
    {"tga run without its pixel", Tga16, {0x83, 1}, 8, {}, 1},
    // PackBits.
    {"packbits run", Packbits, {0xFE, 0xAA}, 3, {0xAA, 0xAA, 0xAA}, 2},
    {"packbits -128 is a no-op", Packbits, {0x80}, 5, {}, 1},
    {"packbits literal", Packbits, {0x02, 1, 2, 3}, 3, {1, 2, 3}, 4},
    {"packbits literal past the source", Packbits, {0x05, 1, 2}, 6, {1, 2}, 3},
    {"packbits run past the target", Packbits, {0x81, 9}, 4, {9, 9, 9, 9}, 2},
    {"packbits run without its byte", Packbits, {0xFD}, 4, {}, 1},
    // PCX.
    {"pcx run", Pcx, {0xC3, 0x55}, 3, {0x55, 0x55, 0x55}, 2},
    {"pcx literal", Pcx, {0x41}, 1, {0x41}, 1},
    {"pcx empty run", Pcx, {0xC0, 0x11}, 1, {}, 2},
    {"pcx run past the target", Pcx, {0xFF, 0x22}, 2, {0x22, 0x22}, 2},
    // Paintshop Pro.
    {"psp run", Psp, {0x83, 7}, 3, {7, 7, 7}, 2},
    {"psp literal", Psp, {0x02, 1, 2}, 2, {1, 2}, 3},
    {"psp literal past the source", Psp, {0x05, 1}, 5, {1}, 2},
    {"psp run past the target", Psp, {0xFF, 4}, 2, {4, 4}, 2},
    // RLA.
    {"rla run", Rla, {0x02, 9}, 3, {9, 9, 9}, 2},
    {"rla literal", Rla, {0xFE, 1, 2}, 2, {1, 2}, 3},
    {"rla literal past the target", Rla, {0xFC, 1, 2, 3, 4}, 2, {1, 2}, 5},
};

TEST(DecompressTest, TargaPacketsCarryIntoTheNextRow)
{
    // Rows of two 8-bit pixels: a run of three, then a raw packet of three.
    const Bytes data{0x82, 5, 0x02, 1, 2, 3};
    TTargaRLEDecoder rle(8);
    Bytes rows(6);
    size_t pos = 0;
    for (int row = 0; row < 3; ++row)
        pos += rle.Decode(std::span(data).subspan(pos), std::span(rows).subspan(2 * row, 2)).consumed;
    EXPECT_EQ(rows, (Bytes{5, 5, 5, 1, 2, 3}));
    EXPECT_EQ(pos, data.size());
}

TEST(DecompressTest, RunLengthByteCases)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        // One guard byte after the offered room catches a write past it.
        Bytes target(c.room + 1, 0xEE);
        auto decoder = c.make();
        const TDecodeResult r = decoder->Decode(c.source, std::span(target).first(c.room));
        EXPECT_EQ(Bytes(target.begin(), target.begin() + static_cast<std::ptrdiff_t>(r.produced)), c.expected);
        EXPECT_EQ(r.consumed, c.consumed);
        EXPECT_EQ(target.back(), 0xEE);
    }
}

// Bits written MSB first, as a fax coder would put them on the line.
Bytes BitsToBytes(const std::string& bits)
{
    Bytes out((bits.size() + 7) / 8, 0);
    for (size_t i = 0; i < bits.size(); ++i)
        if (bits[i] == '1')
            out[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
    return out;
}

uint8_t Reversed(uint8_t b)
{
    uint8_t r = 0;
    for (int i = 0; i < 8; ++i)
        r = static_cast<uint8_t>(r | (((b >> i) & 1) << (7 - i)));
    return r;
}

struct FaxCase {
    const char* what;
    int width;
    std::string bits;
    size_t rows;
    Bytes expected;
};

const FaxCase kMhCases[] = {
    // White 2 (0111), black 3 (10), white 3 (1000).
    {"white 2 black 3 white 3", 8, "0111" "10" "1000", 1, {0x38}},
    // Row one: black from the start (white 0 = 00110101, black 8 = 000101);
    // the rest of its byte is dropped; row two: white 8 (10011).
    {"two rows, byte aligned", 8, "00110101" "000101" "00" "10011", 2, {0xFF, 0x00}},
    // A run longer than the row is cut to it: white 4 (1011), black 12 (0000111).
    {"run past the width", 8, "1011" "0000111", 1, {0x0F}},
    // Make-up white 64 (11011) + white 0, black 1 (010), white 7 (1111) on width 72.
    {"make-up code", 72, "11011" "00110101" "010" "1111", 1, {0, 0, 0, 0, 0, 0, 0, 0, 0x80}},
    // Data that stops inside the first row (white 2, black 5): what came is kept.
    {"data ends in a row", 16, "0111" "0011", 1, {0x3E, 0x00}},
    // No code at all: the row stays white.
    {"garbage", 8, "0000000011111111", 1, {0x00}},
};

TEST(DecompressTest, ModifiedHuffmanRows)
{
    for (const FaxCase& c : kMhCases) {
        SCOPED_TRACE(c.what);
        const size_t rowBytes = (static_cast<size_t>(c.width) + 7) / 8;
        Bytes target(c.rows * rowBytes + 1, 0xEE);
        TCCITTMHDecoder mh(c.width, false, false);
        mh.Decode(BitsToBytes(c.bits), std::span(target).first(c.rows * rowBytes));
        EXPECT_EQ(Bytes(target.begin(), target.end() - 1), c.expected);
        EXPECT_EQ(target.back(), 0xEE);
    }
}

TEST(DecompressTest, FillOrderTwoReversesEachByte)
{
    Bytes data = BitsToBytes("0111" "10" "1000");
    for (uint8_t& b : data)
        b = Reversed(b);
    Bytes target(1);
    TCCITTMHDecoder(8, true, false).Decode(data, target);
    EXPECT_EQ(target[0], 0x38);
}

TEST(DecompressTest, WordAlignedRowsStartOnEvenBytes)
{
    // Row one takes one byte, then a pad byte; row two is all black.
    const Bytes data = BitsToBytes("10011" "000" "11111111" "00110101" "000101" "00");
    Bytes target(2);
    TCCITTMHDecoder(8, false, true).Decode(data, target);
    EXPECT_EQ(target, (Bytes{0x00, 0xFF}));
}

TEST(DecompressTest, Group3RowsBetweenEndOfLineCodes)
{
    const std::string eol = "000000000001";
    // EOL, white 2 black 3 white 3; fill zeros, EOL, white 8; EOL EOL (end).
    const Bytes data = BitsToBytes(eol + "0111" "10" "1000" + "0000" + eol + "10011" + eol + eol);
    Bytes target(3, 0xEE);
    TCCITTFax3Decoder(8, false, 0).Decode(data, target);
    EXPECT_EQ(target, (Bytes{0x38, 0x00, 0x00}));
}

TEST(DecompressTest, Group3TwoDimensionalRowsAreRefused)
{
    // T.4 option bit 0: a tag bit follows each EOL; 0 marks a 2-D row.
    const Bytes data = BitsToBytes("000000000001" "0" "0000000");
    Bytes target(1);
    EXPECT_THROW(TCCITTFax3Decoder(8, false, 1).Decode(data, target), EGraphicCompression);
}

TEST(DecompressTest, FaxCodeTablesArePrefixFree)
{
    // A code that is the prefix of a longer one would hide it.
    for (TFaxColor color : {TFaxColor::White, TFaxColor::Black}) {
        int codes = 0;
        for (int len = 1; len <= kFaxMaxCodeBits; ++len)
            for (uint32_t code = 0; code < (1u << len); ++code) {
                if (FaxRun(color, code, len) < 0)
                    continue;
                ++codes;
                for (int shorter = 1; shorter < len; ++shorter)
                    EXPECT_LT(FaxRun(color, code >> (len - shorter), shorter), 0) << len << " " << code;
            }
        // 64 terminating, 27 make-up and 13 shared make-up codes.
        EXPECT_EQ(codes, 104);
    }
}

TEST(DecompressTest, ThunderScanCodes)
{
    struct T {
        const char* what;
        Bytes source;
        int width;
        Bytes expected;
    };
    const T cases[] = {
        // Raw 5, then 2-bit deltas 0, 0, +1.
        {"raw and 2-bit deltas", {0xC5, 0x41}, 4, {0x55, 0x56}},
        // Raw 3, 2-bit deltas skip, -1, skip: one pixel.
        {"2-bit skip", {0xC3, 0x6E, 0xC0}, 3, {0x32, 0x00}},
        // Raw 1, 3-bit deltas skip (100), +3 (011).
        {"3-bit skip", {0xC1, 0xA3}, 2, {0x14}},
        // A run of 3 of the last value, 0 at the start of a row.
        {"run", {0x03}, 4, {0x00, 0x00}},
        // Deltas wrap modulo 16: 15 + 1.
        {"wrap", {0xCF, 0x50}, 2, {0xF0}},
        // A run past the row is cut to its width.
        {"run past the row", {0xC7, 0x3F}, 3, {0x77, 0x70}},
    };
    for (const T& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes target((static_cast<size_t>(c.width) + 1) / 2);
        TThunderDecoder(c.width).Decode(c.source, target);
        EXPECT_EQ(target, c.expected);
    }
}

TEST(DecompressTest, DeflateStripsResetBetweenCalls)
{
    const Bytes a{1, 2, 3, 4, 5, 6, 7, 8};
    const Bytes b(100, 9);
    TLZ77Decoder z(Z_PARTIAL_FLUSH, true);
    z.DecodeInit();
    Bytes out(a.size());
    EXPECT_EQ(z.Decode(test::ZlibCompress(a), out).produced, a.size());
    EXPECT_EQ(out, a);
    // The target is smaller than the data: inflate stops at its end.
    Bytes small(40);
    EXPECT_EQ(z.Decode(test::ZlibCompress(b), small).produced, 40u);
    EXPECT_EQ(small, Bytes(40, 9));
    // Damaged data ends the call without a message.
    Bytes broken = test::ZlibCompress(a);
    broken[2] ^= 0xFF;
    Bytes any(8);
    EXPECT_NO_THROW(z.Decode(broken, any));
    z.DecodeEnd();
}

// z with its header's window field set to bits (7: 32 KB) and its check
// bits made right again.
Bytes WithWindowField(Bytes z, int bits)
{
    z[0] = static_cast<uint8_t>(bits << 4 | 8);
    z[1] = static_cast<uint8_t>(z[1] & 0xE0);
    z[1] = static_cast<uint8_t>(z[1] + (31 - (z[0] * 256 + z[1]) % 31) % 31);
    return z;
}

TEST(DecompressTest, TheWholeInflaterAnswersOnlyWhereZlibAgrees)
{
    Bytes mixed(70000);
    for (size_t i = 0; i < mixed.size(); ++i)
        mixed[i] = static_cast<uint8_t>(i % 251 < 100 ? i % 7 : (i * 2654435761u) >> 24);
    const Bytes good = test::ZlibCompress(mixed);
    Bytes trailing = good;
    trailing.insert(trailing.end(), {1, 2, 3});
    Bytes badAdler = good;
    badAdler.back() ^= 1;
    const struct {
        const char* what;
        Bytes source;
        size_t room;
        bool answers;
    } cases[] = {
        {"a whole stream", good, mixed.size(), true},
        {"room to spare", good, mixed.size() + 10, true},
        {"bytes after the stream", trailing, mixed.size(), true},
        // zlib does not hold a stream to the window its header declares.
        {"a 512-byte window reaching further back", WithWindowField(good, 1), mixed.size(), true},
        {"a window above 32 KB", WithWindowField(good, 8), mixed.size(), false},
        {"one byte short of room", good, mixed.size() - 1, false},
        {"a cut stream", Bytes(good.begin(), good.end() - 5), mixed.size(), false},
        {"no checksum", Bytes(good.begin(), good.end() - 4), mixed.size(), false},
        {"a bad checksum", badAdler, mixed.size(), false},
        {"nothing", {}, 10, false},
    };
    TLZ77Decoder z(Z_PARTIAL_FLUSH, true);
    z.DecodeInit();
    for (const auto& c : cases) {
        Bytes target(c.room);
        const auto whole = InflateWhole(c.source, target);
        // The strip decoder, taking zlib where the whole inflater gives
        // nothing, ends each one as zlib alone does.
        Bytes viaZlib(c.room);
        z_stream s{};
        inflateInit(&s);
        s.next_in = const_cast<uint8_t*>(c.source.data());
        s.avail_in = static_cast<uInt>(c.source.size());
        s.next_out = viaZlib.data();
        s.avail_out = static_cast<uInt>(viaZlib.size());
        const int rc = inflate(&s, Z_PARTIAL_FLUSH);
        const size_t zlibOut = viaZlib.size() - s.avail_out;
        inflateEnd(&s);
        EXPECT_EQ(whole.has_value(), rc == Z_STREAM_END) << c.what;
        Bytes strip(c.room);
        EXPECT_EQ(z.Decode(c.source, strip).produced, zlibOut) << c.what;
        EXPECT_EQ(strip, viaZlib) << c.what;
        if (!whole)
            continue;
        EXPECT_EQ(whole->produced, mixed.size()) << c.what;
        EXPECT_EQ(whole->consumed, good.size()) << c.what;
        EXPECT_TRUE(std::equal(mixed.begin(), mixed.end(), target.begin())) << c.what;
    }
    z.DecodeEnd();
}

}  // namespace
}  // namespace kobalto
