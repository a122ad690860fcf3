#pragma once
#include <array>
#include <cstdint>

namespace kobalto {

// The first 8 bytes of every PNG file.
inline constexpr std::array<uint8_t, 8> kPngSignature{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

}  // namespace kobalto
