#include "codecs/gif/GifInterlace.h"

namespace kobalto {

namespace {

constexpr int kStart[4] = {0, 4, 2, 1};
constexpr int kStep[4] = {8, 8, 4, 2};

}  // namespace

std::vector<int> GifRowOrder(int height, bool interlaced)
{
    std::vector<int> rows;
    rows.reserve(height > 0 ? static_cast<size_t>(height) : 0);
    for (int pass = 0; pass < (interlaced ? 4 : 1); ++pass)
        for (int y = interlaced ? kStart[pass] : 0; y < height; y += interlaced ? kStep[pass] : 1)
            rows.push_back(y);
    return rows;
}

size_t GifStoredRow(int y, int height, bool interlaced)
{
    if (!interlaced)
        return static_cast<size_t>(y);
    size_t before = 0;
    for (int pass = 0; pass < 4; ++pass) {
        if (y >= kStart[pass] && (y - kStart[pass]) % kStep[pass] == 0)
            return before + static_cast<size_t>((y - kStart[pass]) / kStep[pass]);
        if (height > kStart[pass])
            before += static_cast<size_t>((height - kStart[pass] + kStep[pass] - 1) / kStep[pass]);
    }
    return before;
}

}  // namespace kobalto
