#pragma once
// The byte-oriented run-length schemes.
#include <cstdint>

#include "codecs/decompress/TDecoder.h"

namespace kobalto {

// The most output bytes each scheme makes of one input byte: a repeat
// packet of two bytes (a header and one pixel for TGA) at its longest.
inline constexpr uint64_t kTargaRleExpansion = 128;  // 1 + n bytes for 128 pixels of n bytes
inline constexpr uint64_t kPackbitsExpansion = 64;   // 2 bytes for 128
inline constexpr uint64_t kPcxRleExpansion = 32;     // 2 bytes for 63
inline constexpr uint64_t kPspRleExpansion = 64;     // 2 bytes for 127
inline constexpr uint64_t kRlaRleExpansion = 64;     // 2 bytes for 128

// TGA image types 9 to 11: a header byte h, count (h & 0x7F) + 1; bit 7 set
// repeats one pixel, clear copies count pixels. The target's size says how
// many pixels to produce. A packet that runs past the target carries on into
// the next call (the next row), as packets may cross rows.
class TTargaRLEDecoder : public TDecoder {
public:
    explicit TTargaRLEDecoder(int depth) : pixelBytes_(depth == 15 ? 2 : (depth + 7) / 8) {}
    TDecodeResult Decode(std::span<const uint8_t> source, std::span<uint8_t> target) override;

private:
    void Flush(TSourceCursor& in, TTargetCursor& out);

    size_t pixelBytes_;
    size_t pending_ = 0;  // pixels of the current packet still to come
    bool pendingRun_ = false;
    uint8_t pixel_[4] = {};
};

// TIFF compression 32773 and Photoshop's: n ≥ 0 copies n + 1 bytes,
// -127 ≤ n ≤ -1 repeats the next byte 1 - n times, -128 is skipped.
class TPackbitsRLEDecoder : public TDecoder {
public:
    TDecodeResult Decode(std::span<const uint8_t> source, std::span<uint8_t> target) override;
};

// PCX: a byte from 192 up repeats the next one (byte & 0x3F) times; a
// smaller one stands for itself.
class TPCXRLEDecoder : public TDecoder {
public:
    TDecodeResult Decode(std::span<const uint8_t> source, std::span<uint8_t> target) override;
};

// Paintshop Pro: b < 128 copies the next b bytes, otherwise the next byte is
// repeated b - 128 times.
class TPSPRLEDecoder : public TDecoder {
public:
    TDecodeResult Decode(std::span<const uint8_t> source, std::span<uint8_t> target) override;
};

// RLA: a signed b ≥ 0 repeats the next byte b + 1 times, b < 0 copies -b bytes.
class TRLADecoder : public TDecoder {
public:
    TDecodeResult Decode(std::span<const uint8_t> source, std::span<uint8_t> target) override;
};

}  // namespace kobalto
