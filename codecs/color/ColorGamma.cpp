#include <cmath>

#include "codecs/color/ColorConversions.h"

namespace kobalto {

std::vector<uint8_t> GammaTable(double fileGamma)
{
    constexpr double kDisplayGamma = 2.2;
    if (fileGamma <= 0)
        fileGamma = 1.0;
    std::vector<uint8_t> table(256);
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<uint8_t>(std::nearbyint(std::pow(i / 255.0, 1 / (fileGamma * kDisplayGamma)) * 255));
    return table;
}

}  // namespace kobalto
