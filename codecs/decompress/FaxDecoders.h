#pragma once
// One-dimensional fax data (ITU-T T.4) into 1-bit rows, a set bit for black,
// most significant bit first. The target is cleared first, so rows the data
// never reaches are white.
#include "codecs/decompress/TDecoder.h"

namespace kobalto {

class TFaxBitReader;

class TCCITTDecoder : public TDecoder {
public:
    // reversedBits: the file's fill order 2, each byte's bits stored
    // least significant first.
    TCCITTDecoder(int width, bool reversedBits) : width_(width), reversed_(reversedBits) {}

protected:
    enum class TRowEnd { Complete, EndOfLine, NoData };
    // Decodes one row into row; stops at its width, at an end-of-line code,
    // or where the data ends or holds no code.
    TRowEnd DecodeRow(TFaxBitReader& bits, std::span<uint8_t> row, int& pixels) const;
    size_t RowBytes() const { return (static_cast<size_t>(width_) + 7) / 8; }

    int width_;
    bool reversed_;
};

// TIFF compression 2 and 32771: rows without end-of-line codes, each starting
// on a byte (on an even byte with word alignment).
class TCCITTMHDecoder : public TCCITTDecoder {
public:
    TCCITTMHDecoder(int width, bool reversedBits, bool wordAligned)
        : TCCITTDecoder(width, reversedBits), wordAligned_(wordAligned)
    {
    }
    TDecodeResult Decode(std::span<const uint8_t> source, std::span<uint8_t> target) override;

private:
    bool wordAligned_;
};

// TIFF compression 3: rows separated by end-of-line codes. With bit 0 of the
// T.4 options, rows may be coded two-dimensionally; those are refused.
class TCCITTFax3Decoder : public TCCITTDecoder {
public:
    TCCITTFax3Decoder(int width, bool reversedBits, uint32_t t4Options)
        : TCCITTDecoder(width, reversedBits), t4Options_(t4Options)
    {
    }
    TDecodeResult Decode(std::span<const uint8_t> source, std::span<uint8_t> target) override;

private:
    uint32_t t4Options_;
};

}  // namespace kobalto
