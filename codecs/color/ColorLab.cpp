#include <algorithm>
#include <cmath>

#include "codecs/color/ColorConversions.h"

namespace kobalto {

namespace {

uint8_t ToByte(double v)
{
    // Ties go to the even value, as the default rounding mode does.
    const double r = std::nearbyint(v * 255.0);
    return static_cast<uint8_t>(std::clamp(r, 0.0, 255.0));
}

}  // namespace

void LabToBgr(const uint8_t* samples, int samplesPerPixel, int width, bool l255, bool offsetAb, uint8_t* out)
{
    const size_t step = static_cast<size_t>(samplesPerPixel);
    for (int x = 0; x < width; ++x) {
        const uint8_t* s = samples + x * step;
        const double l = l255 ? s[0] / 2.55 : s[0];
        const double a = offsetAb ? s[1] - 128.0 : static_cast<int8_t>(s[1]);
        const double b = offsetAb ? s[2] - 128.0 : static_cast<int8_t>(s[2]);
        double cx, cy, cz;
        if (l < 7.9996) {
            cy = l / 903.3;
            cx = cy + a / 3893.5;
            cz = cy - b / 1557.4;
        } else {
            const double f = (l + 16) / 116;
            cx = std::pow(f + a / 500, 3);
            cy = f * f * f;
            cz = std::pow(f - b / 200, 3);
        }
        out[3 * x + 2] = ToByte(2.998 * cx - 1.458 * cy - 0.541 * cz);
        out[3 * x + 1] = ToByte(-0.952 * cx + 1.893 * cy + 0.059 * cz);
        out[3 * x] = ToByte(0.099 * cx - 0.198 * cy + 1.099 * cz);
    }
}

}  // namespace kobalto
