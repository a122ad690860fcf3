#pragma once
// A GIF colour table: up to 256 RGB entries and a mark that the entries are
// sorted by use, most used first (which only GIF89a can say).
#include <cstdint>
#include <span>
#include <vector>

#include "graphics/TColor.h"

namespace kobalto {

class TGIFColorMap {
public:
    static constexpr int kMaxColors = 256;

    int Count() const { return static_cast<int>(colors_.size()); }
    bool Empty() const { return colors_.empty(); }
    const TColor& operator[](int index) const { return colors_[static_cast<size_t>(index)]; }
    const std::vector<TColor>& Colors() const { return colors_; }

    // Appends a colour and returns its index; clears the sorted mark. Raises
    // EGIFException when the map is full.
    int Add(TColor color);
    // Drops the entries from count on.
    void Truncate(int count);
    void Clear();
    // The bitmap's palette, every entry in order (at most 256).
    void AssignPalette(const std::vector<TRGBQuad>& palette);
    std::vector<TRGBQuad> ToPalette() const;

    bool Optimized() const { return optimized_; }
    void SetOptimized(bool on) { optimized_ = on; }

    // The smallest n from 1 up with 2^n entries holding the map; 0 when empty.
    int BitsPerPixel() const;

    // Sorts the map by how often each index occurs in pixels, most used
    // first, and marks it sorted. When that changes the order, the pixels are
    // renumbered and the map ends before its first unused colour. Pixels not
    // in the map are left alone. Nothing happens with fewer than two entries.
    void Optimize(std::span<uint8_t> pixels);

private:
    std::vector<TColor> colors_;
    bool optimized_ = false;
};

using TGIFLocalColorMap = TGIFColorMap;
using TGIFGlobalColorMap = TGIFColorMap;

}  // namespace kobalto
