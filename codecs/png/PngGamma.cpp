#include "codecs/png/PngGamma.h"

#include <cfenv>
#include <cmath>

namespace kobalto {

void PngGamma::Reset()
{
    for (int i = 0; i < 256; ++i)
        forward_[i] = inverse_[i] = static_cast<uint8_t>(i);
    identity_ = true;
}

void PngGamma::SetFileGamma(uint32_t gama)
{
    if (gama == 0)
        return;
    const double exponent = 1.0 / (gama / 100000.0 * 2.2);
    identity_ = true;
    for (int i = 0; i < 256; ++i) {
        // Rounded to nearest, ties to even: the default rounding mode.
        const double v = std::nearbyint(255.0 * std::pow(i / 255.0, exponent));
        forward_[i] = static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
        identity_ = identity_ && forward_[i] == i;
    }
    for (int i = 0; i < 256; ++i)
        inverse_[forward_[i]] = static_cast<uint8_t>(i);
}

}  // namespace kobalto
