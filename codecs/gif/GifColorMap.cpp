#include "codecs/gif/GifColorMap.h"

#include <array>
#include <utility>

#include "codecs/gif/GifError.h"
#include "codecs/gif/GifMessages.h"

namespace kobalto {

namespace {

struct UseCount {
    uint32_t count;
    int index;
};

// Most used first. The quicksort takes the middle element as pivot and
// partitions from both ends; it is not stable, and the order it leaves among
// equal counts decides the file's colour table, so it stays exactly this.
void SortByUse(std::vector<UseCount>& items, int left, int right)
{
    int i;
    do {
        i = left;
        int j = right;
        const uint32_t pivot = items[static_cast<size_t>((left + right) >> 1)].count;
        do {
            while (items[static_cast<size_t>(i)].count > pivot)
                ++i;
            while (items[static_cast<size_t>(j)].count < pivot)
                --j;
            if (i <= j) {
                std::swap(items[static_cast<size_t>(i)], items[static_cast<size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (left < j)
            SortByUse(items, left, j);
        left = i;
    } while (i < right);
}

}  // namespace

int TGIFColorMap::Add(TColor color)
{
    if (Count() >= kMaxColors)
        throw EGIFException(msg::kGifInvalidData);
    colors_.push_back(color);
    optimized_ = false;
    return Count() - 1;
}

void TGIFColorMap::Truncate(int count)
{
    if (count >= 0 && count < Count())
        colors_.resize(static_cast<size_t>(count));
}

void TGIFColorMap::Clear()
{
    colors_.clear();
    optimized_ = false;
}

void TGIFColorMap::AssignPalette(const std::vector<TRGBQuad>& palette)
{
    colors_.clear();
    for (size_t i = 0; i < palette.size() && i < kMaxColors; ++i)
        colors_.push_back(TColor{palette[i].red, palette[i].green, palette[i].blue});
    optimized_ = false;
}

std::vector<TRGBQuad> TGIFColorMap::ToPalette() const
{
    std::vector<TRGBQuad> palette;
    palette.reserve(colors_.size());
    for (const TColor& c : colors_)
        palette.push_back(TRGBQuad{c.blue, c.green, c.red, 0});
    return palette;
}

int TGIFColorMap::BitsPerPixel() const
{
    if (colors_.empty())
        return 0;
    int bits = 1;
    while ((1 << bits) < Count())
        ++bits;
    return bits;
}

void TGIFColorMap::Optimize(std::span<uint8_t> pixels)
{
    const int n = Count();
    if (n <= 1)
        return;
    std::array<uint32_t, kMaxColors> counts{};
    for (uint8_t p : pixels)
        ++counts[p];
    std::vector<UseCount> items(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        items[static_cast<size_t>(i)] = UseCount{counts[static_cast<size_t>(i)], i};
    SortByUse(items, 0, n - 1);
    optimized_ = true;

    bool reordered = false;
    for (int i = 0; i < n; ++i)
        reordered |= items[static_cast<size_t>(i)].index != i;
    if (!reordered)
        return;

    std::array<uint8_t, kMaxColors> renumber{};
    for (int i = 0; i < kMaxColors; ++i)
        renumber[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    std::vector<TColor> sorted(static_cast<size_t>(n));
    int used = n;
    for (int i = 0; i < n; ++i) {
        const UseCount& item = items[static_cast<size_t>(i)];
        renumber[static_cast<size_t>(item.index)] = static_cast<uint8_t>(i);
        sorted[static_cast<size_t>(i)] = colors_[static_cast<size_t>(item.index)];
        if (item.count == 0 && used == n)
            used = i;
    }
    for (uint8_t& p : pixels)
        if (p < n)
            p = renumber[p];
    colors_ = std::move(sorted);
    colors_.resize(static_cast<size_t>(used));
}

}  // namespace kobalto
