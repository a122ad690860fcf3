#include "codecs/gif/GifFastColorLookup.h"

#include <cstdlib>

namespace kobalto {

TFastColorLookup::TFastColorLookup(const std::vector<TRGBQuad>& palette)
    : palette_(palette.begin(), palette.size() > 256 ? palette.begin() + 256 : palette.end())
{
    cells_.fill(-1);
    for (size_t i = 0; i < palette_.size(); ++i) {
        const TRGBQuad& e = palette_[i];
        const int cell = ((e.blue >> 3) << 10) | ((e.green >> 3) << 5) | (e.red >> 3);
        if (cells_[static_cast<size_t>(cell)] < 0)
            cells_[static_cast<size_t>(cell)] = static_cast<int16_t>(i);
    }
}

int TFastColorLookup::Search(int cell, uint8_t red, uint8_t green, uint8_t blue)
{
    // Sum of absolute channel differences; the first entry wins a tie.
    int best = 0;
    int bestDistance = 196608;
    for (size_t i = 0; i < palette_.size(); ++i) {
        const TRGBQuad& e = palette_[i];
        const int d = std::abs(e.red - red) + std::abs(e.green - green) + std::abs(e.blue - blue);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
            if (d == 0)
                break;
        }
    }
    cells_[static_cast<size_t>(cell)] = static_cast<int16_t>(best);
    return best;
}

}  // namespace kobalto
