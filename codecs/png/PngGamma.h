#pragma once
// The sample mappings a gAMA chunk asks for: forward when reading, inverse
// when writing. Identity until a gamma is set.
#include <array>
#include <cstdint>

namespace kobalto {

class PngGamma {
public:
    PngGamma() { Reset(); }

    void Reset();
    // gama is the chunk's value, the file gamma times 100000; 0 changes
    // nothing. The display is taken to have an exponent of 2.2.
    void SetFileGamma(uint32_t gama);

    bool Identity() const { return identity_; }
    const std::array<uint8_t, 256>& Forward() const { return forward_; }
    const std::array<uint8_t, 256>& Inverse() const { return inverse_; }

private:
    std::array<uint8_t, 256> forward_;
    std::array<uint8_t, 256> inverse_;
    bool identity_ = true;
};

}  // namespace kobalto
