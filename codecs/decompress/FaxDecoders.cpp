#include "codecs/decompress/FaxDecoders.h"

#include <algorithm>

#include "codecs/decompress/FaxCodes.h"
#include "codecs/extended/ExtendedError.h"
#include "codecs/extended/ExtendedMessages.h"

namespace kobalto {

class TFaxBitReader {
public:
    TFaxBitReader(std::span<const uint8_t> s, bool reversed) : s_(s), reversed_(reversed) {}

    // The next bit, or -1 past the end.
    int Bit()
    {
        if (pos_ >= s_.size() * 8)
            return -1;
        uint8_t b = s_[pos_ >> 3];
        if (reversed_)
            b = Reverse(b);
        const int bit = (b >> (7 - (pos_ & 7))) & 1;
        ++pos_;
        return bit;
    }
    void AlignByte() { pos_ = (pos_ + 7) & ~size_t{7}; }
    void AlignWord() { pos_ = (pos_ + 15) & ~size_t{15}; }
    bool AtEnd() const { return pos_ >= s_.size() * 8; }
    size_t BitPosition() const { return pos_; }
    void SetBitPosition(size_t pos) { pos_ = pos; }
    size_t BytesUsed() const { return std::min((pos_ + 7) / 8, s_.size()); }

    // Consumes an end-of-line code (11 or more zero bits, then a 1) when one
    // comes next; otherwise leaves the position as it was.
    bool TakeEndOfLine()
    {
        const size_t start = pos_;
        int zeros = 0;
        int b;
        while ((b = Bit()) == 0)
            ++zeros;
        if (b == 1 && zeros >= 11)
            return true;
        pos_ = start;
        return false;
    }

private:
    static uint8_t Reverse(uint8_t b)
    {
        b = static_cast<uint8_t>((b & 0xF0) >> 4 | (b & 0x0F) << 4);
        b = static_cast<uint8_t>((b & 0xCC) >> 2 | (b & 0x33) << 2);
        return static_cast<uint8_t>((b & 0xAA) >> 1 | (b & 0x55) << 1);
    }

    std::span<const uint8_t> s_;
    bool reversed_;
    size_t pos_ = 0;
};

namespace {

constexpr int kNoCode = -1;
constexpr int kEndOfLine = -2;
constexpr int kNoData = -3;

// One code of the colour: its run, or one of the values above. Eight zero
// bits start no code of T.4 but an end-of-line code (or its fill).
int ReadCode(TFaxBitReader& bits, TFaxColor color)
{
    uint32_t code = 0;
    for (int length = 1; length <= kFaxMaxCodeBits; ++length) {
        const int b = bits.Bit();
        if (b < 0)
            return kNoData;
        code = (code << 1) | static_cast<uint32_t>(b);
        const int run = FaxRun(color, code, length);
        if (run >= 0)
            return run;
        if (length == 8 && code == 0) {
            int z;
            while ((z = bits.Bit()) == 0) {
            }
            return z < 0 ? kNoData : kEndOfLine;
        }
    }
    return kNoCode;
}

// Make-up codes followed by one terminating code.
int ReadRun(TFaxBitReader& bits, TFaxColor color)
{
    int total = 0;
    for (;;) {
        const int run = ReadCode(bits, color);
        if (run < 0)
            return run;
        total += run;
        if (run < 64 || total > (1 << 24))
            return total;
    }
}

void SetBlack(std::span<uint8_t> row, int from, int count)
{
    for (int x = from; x < from + count; ++x)
        row[static_cast<size_t>(x) >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
}

}  // namespace

TCCITTDecoder::TRowEnd TCCITTDecoder::DecodeRow(TFaxBitReader& bits, std::span<uint8_t> row, int& pixels) const
{
    pixels = 0;
    TFaxColor color = TFaxColor::White;
    while (pixels < width_) {
        const int run = ReadRun(bits, color);
        if (run == kEndOfLine)
            return TRowEnd::EndOfLine;
        if (run < 0)
            return TRowEnd::NoData;
        const int n = std::min(run, width_ - pixels);
        if (color == TFaxColor::Black)
            SetBlack(row, pixels, n);
        pixels += n;
        color = color == TFaxColor::White ? TFaxColor::Black : TFaxColor::White;
    }
    return TRowEnd::Complete;
}

TDecodeResult TCCITTMHDecoder::Decode(std::span<const uint8_t> source, std::span<uint8_t> target)
{
    std::fill(target.begin(), target.end(), uint8_t{0});
    const size_t rowBytes = RowBytes();
    const size_t rows = rowBytes ? target.size() / rowBytes : 0;
    TFaxBitReader bits(source, reversed_);
    size_t row = 0;
    while (row < rows && !bits.AtEnd()) {
        int pixels = 0;
        const TRowEnd end = DecodeRow(bits, target.subspan(row * rowBytes, rowBytes), pixels);
        if (end == TRowEnd::NoData)
            break;
        if (end == TRowEnd::Complete || pixels > 0)
            ++row;
        bits.AlignByte();
        if (wordAligned_)
            bits.AlignWord();
    }
    return {bits.BytesUsed(), row * rowBytes};
}

TDecodeResult TCCITTFax3Decoder::Decode(std::span<const uint8_t> source, std::span<uint8_t> target)
{
    std::fill(target.begin(), target.end(), uint8_t{0});
    const size_t rowBytes = RowBytes();
    const size_t rows = rowBytes ? target.size() / rowBytes : 0;
    const bool twoDimensional = t4Options_ & 1;
    TFaxBitReader bits(source, reversed_);
    bool afterEndOfLine = false;
    size_t row = 0;
    while (row < rows && !bits.AtEnd()) {
        if (!afterEndOfLine)
            afterEndOfLine = bits.TakeEndOfLine();
        if (afterEndOfLine && twoDimensional && bits.Bit() == 0)
            RaiseExtended(msg::kNotSupportedFor, {msg::kCompressionSchemeIs, msg::kFormatTiff},
                          TExtendedErrorKind::Compression);
        int pixels = 0;
        const TRowEnd end = DecodeRow(bits, target.subspan(row * rowBytes, rowBytes), pixels);
        if (end == TRowEnd::NoData)
            break;
        afterEndOfLine = end == TRowEnd::EndOfLine;
        if (end == TRowEnd::Complete || pixels > 0)
            ++row;
    }
    return {bits.BytesUsed(), row * rowBytes};
}

}  // namespace kobalto
