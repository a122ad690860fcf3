#include <algorithm>

#include "codecs/color/ColorConversions.h"

namespace kobalto {

void CmykToBgr(const uint8_t* samples, int samplesPerPixel, int width, uint8_t* out)
{
    const size_t step = static_cast<size_t>(samplesPerPixel);
    for (int x = 0; x < width; ++x) {
        const uint8_t* s = samples + x * step;
        const int k = s[3];
        auto channel = [k](int c) { return static_cast<uint8_t>(std::clamp(255 - c - k + c * k / 255, 0, 255)); };
        out[3 * x + 2] = channel(s[0]);
        out[3 * x + 1] = channel(s[1]);
        out[3 * x] = channel(s[2]);
    }
}

}  // namespace kobalto
