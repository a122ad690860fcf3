#pragma once
// The seven passes of Adam7 interlacing: which columns and rows each pass
// carries.
#include <array>
#include <cstdint>

namespace kobalto {

struct PngPass {
    uint32_t x0, y0, dx, dy;

    // Pixels of the pass in a row of width pixels, rows of the pass in a
    // picture of height rows; zero when the pass has none.
    uint32_t Columns(uint32_t width) const { return width > x0 ? (width - x0 + dx - 1) / dx : 0; }
    uint32_t Rows(uint32_t height) const { return height > y0 ? (height - y0 + dy - 1) / dy : 0; }
};

inline constexpr std::array<PngPass, 7> kAdam7Passes{{
    {0, 0, 8, 8},
    {4, 0, 8, 8},
    {0, 4, 4, 8},
    {2, 0, 4, 4},
    {0, 2, 2, 4},
    {1, 0, 2, 2},
    {0, 1, 1, 2},
}};

}  // namespace kobalto
