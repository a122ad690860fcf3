#pragma once
#include <cstdint>

namespace kobalto {

struct TColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    friend constexpr bool operator==(TColor, TColor) = default;
};

inline constexpr TColor kWhite{255, 255, 255};
inline constexpr TColor kBlack{0, 0, 0};

// A palette entry as BMP files and the platform store it.
struct TRGBQuad {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t reserved = 0;
    friend constexpr bool operator==(TRGBQuad, TRGBQuad) = default;
};

}  // namespace kobalto
