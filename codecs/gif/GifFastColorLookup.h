#pragma once
// Nearest-colour lookup over a palette of up to 256 entries, cached per
// 5-5-5 cell of the colour cube: the linear search over the palette runs at
// most once per cell, after which every colour of that cell gets the same
// answer.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/TColor.h"

namespace kobalto {

class TFastColorLookup {
public:
    // Entries past the 256th are ignored. Each entry seeds its own cell; the
    // first entry of a cell wins.
    explicit TFastColorLookup(const std::vector<TRGBQuad>& palette);

    int Lookup(uint8_t red, uint8_t green, uint8_t blue)
    {
        const int cell = ((blue >> 3) << 10) | ((green >> 3) << 5) | (red >> 3);
        const int16_t stored = cells_[static_cast<size_t>(cell)];
        if (stored >= 0)
            return stored;
        return Search(cell, red, green, blue);
    }

    const TRGBQuad& Entry(int index) const { return palette_[static_cast<size_t>(index)]; }
    int Count() const { return static_cast<int>(palette_.size()); }

private:
    int Search(int cell, uint8_t red, uint8_t green, uint8_t blue);

    std::vector<TRGBQuad> palette_;
    std::array<int16_t, 32768> cells_;
};

}  // namespace kobalto
