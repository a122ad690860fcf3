#pragma once
// Octree colour quantiser: every pixel descends the tree by one bit of each
// primary per level; whenever the tree holds more leaves than colours wanted,
// the deepest, most recently created inner node is folded into a leaf.
#include <cstdint>
#include <span>
#include <vector>

#include "graphics/TColor.h"

namespace kobalto {

class TBitmap;

class TColorQuantizer {
public:
    // colorBits is the leaf level, 1 to 8.
    TColorQuantizer(int maxColors, int colorBits);

    void AddColor(uint8_t red, uint8_t green, uint8_t blue);
    // Adds image rows top first, pixels left to right.
    void AddBitmap(const TBitmap& bitmap);

    // The leaves' mean colours, depth first with children in index order.
    std::vector<TColor> Colors() const;

private:
    static constexpr int32_t kNone = -1;

    struct TOctreeNode {
        bool leaf = false;
        uint32_t pixelCount = 0;
        uint64_t redSum = 0;
        uint64_t greenSum = 0;
        uint64_t blueSum = 0;
        int32_t nextReducible = kNone;
        int32_t children[8] = {kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone};
    };

    int32_t NewNode(int level);
    void FreeNode(int32_t node);
    void ReduceTree();
    void CollectColors(int32_t node, std::vector<TColor>& out) const;

    // Nodes live in one pool, linked by index; freed slots are reused.
    std::vector<TOctreeNode> nodes_;
    std::vector<int32_t> freeNodes_;
    int32_t root_ = kNone;
    int leafCount_ = 0;
    int maxColors_;
    int colorBits_;
    // Head of the reducible list of each level (most recent first).
    int32_t reducible_[9] = {kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone};
};

// An optimised palette of exactly colorCount entries for all the bitmaps
// together. With reserveSystemColors the twenty static colours of the
// platform take the first and last ten entries and the picture's colours the
// rest. Entries beyond the colours found are black. An empty list raises
// EGIFException "Invalid bitmap list", a colorCount outside 1 to 256
// "Invalid color count: a palette holds 1 to 256 colors".
std::vector<TRGBQuad> CreateOptimizedPaletteFromManyBitmaps(std::span<const TBitmap* const> bitmaps, int colorCount,
                                                            int colorBits, bool reserveSystemColors);

}  // namespace kobalto
