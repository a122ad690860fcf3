#pragma once
// ThunderScan data: 4-bit pixels, two to a byte, the first in the high
// nibble, decoded row by row with the last value starting at 0 in each row.
#include "codecs/decompress/TDecoder.h"

namespace kobalto {

class TThunderDecoder : public TDecoder {
public:
    explicit TThunderDecoder(int width) : width_(width) {}
    TDecodeResult Decode(std::span<const uint8_t> source, std::span<uint8_t> target) override;

private:
    int width_;
};

}  // namespace kobalto
