#include "codecs/gif/GifColorQuantizer.h"

#include <vector>

#include "codecs/gif/GifError.h"
#include "codecs/gif/GifMessages.h"
#include "graphics/PixelRows.h"
#include "graphics/TBitmap.h"

namespace kobalto {

namespace {

// The platform's twenty static colours: ten at the start of its palette,
// ten at the end.
constexpr TColor kStaticColorsLow[10] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128},   {0, 128, 128}, {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
};
constexpr TColor kStaticColorsHigh[10] = {
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},   {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255}, {255, 255, 255},
};

TRGBQuad Quad(TColor c) { return TRGBQuad{c.blue, c.green, c.red, 0}; }

}  // namespace

TColorQuantizer::TColorQuantizer(int maxColors, int colorBits)
    : maxColors_(maxColors < 1 ? 1 : maxColors), colorBits_(colorBits < 1 ? 1 : (colorBits > 8 ? 8 : colorBits))
{
    nodes_.reserve(2048);
}

int32_t TColorQuantizer::NewNode(int level)
{
    int32_t index;
    if (!freeNodes_.empty()) {
        index = freeNodes_.back();
        freeNodes_.pop_back();
        nodes_[static_cast<size_t>(index)] = TOctreeNode{};
    } else {
        index = static_cast<int32_t>(nodes_.size());
        nodes_.emplace_back();
    }
    TOctreeNode& node = nodes_[static_cast<size_t>(index)];
    if (level == colorBits_) {
        node.leaf = true;
        ++leafCount_;
    } else {
        node.nextReducible = reducible_[level];
        reducible_[level] = index;
    }
    return index;
}

void TColorQuantizer::FreeNode(int32_t node) { freeNodes_.push_back(node); }

void TColorQuantizer::AddColor(uint8_t red, uint8_t green, uint8_t blue)
{
    if (root_ == kNone)
        root_ = NewNode(0);
    int32_t node = root_;
    for (int level = 0;; ++level) {
        TOctreeNode& n = nodes_[static_cast<size_t>(node)];
        if (n.leaf) {
            ++n.pixelCount;
            n.redSum += red;
            n.greenSum += green;
            n.blueSum += blue;
            break;
        }
        const int shift = 7 - level;
        const int child = (((red >> shift) & 1) << 2) | (((green >> shift) & 1) << 1) | ((blue >> shift) & 1);
        int32_t next = n.children[child];
        if (next == kNone) {
            next = NewNode(level + 1);  // may move the pool: re-find n
            nodes_[static_cast<size_t>(node)].children[child] = next;
        }
        node = next;
    }
    while (leafCount_ > maxColors_)
        ReduceTree();
}

void TColorQuantizer::AddBitmap(const TBitmap& bitmap)
{
    const int w = bitmap.Width();
    std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
    for (int y = 0; y < bitmap.Height(); ++y) {
        RowToBgr24(bitmap, y, row.data());
        for (int x = 0; x < w; ++x)
            AddColor(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    }
}

void TColorQuantizer::ReduceTree()
{
    int level = colorBits_ - 1;
    while (level > 0 && reducible_[level] == kNone)
        --level;
    const int32_t index = reducible_[level];
    if (index == kNone)
        return;
    TOctreeNode& node = nodes_[static_cast<size_t>(index)];
    reducible_[level] = node.nextReducible;
    int removed = 0;
    for (int32_t& child : node.children) {
        if (child == kNone)
            continue;
        const TOctreeNode& c = nodes_[static_cast<size_t>(child)];
        node.pixelCount += c.pixelCount;
        node.redSum += c.redSum;
        node.greenSum += c.greenSum;
        node.blueSum += c.blueSum;
        FreeNode(child);
        child = kNone;
        ++removed;
    }
    node.leaf = true;
    leafCount_ += 1 - removed;
}

void TColorQuantizer::CollectColors(int32_t index, std::vector<TColor>& out) const
{
    const TOctreeNode& node = nodes_[static_cast<size_t>(index)];
    if (node.leaf) {
        if (node.pixelCount == 0) {
            out.push_back(kBlack);
        } else {
            out.push_back(TColor{static_cast<uint8_t>(node.redSum / node.pixelCount),
                                 static_cast<uint8_t>(node.greenSum / node.pixelCount),
                                 static_cast<uint8_t>(node.blueSum / node.pixelCount)});
        }
        return;
    }
    for (int32_t child : node.children)
        if (child != kNone)
            CollectColors(child, out);
}

std::vector<TColor> TColorQuantizer::Colors() const
{
    std::vector<TColor> out;
    if (root_ != kNone)
        CollectColors(root_, out);
    return out;
}

std::vector<TRGBQuad> CreateOptimizedPaletteFromManyBitmaps(std::span<const TBitmap* const> bitmaps, int colorCount,
                                                            int colorBits, bool reserveSystemColors)
{
    if (bitmaps.empty())
        throw EGIFException(msg::kGifInvalidBitmapList);
    if (colorCount < 1 || colorCount > 256)
        throw EGIFException(msg::kGifInvalidColorCount);
    const int reserved = reserveSystemColors ? 20 : 0;
    const int wanted = colorCount - reserved < 1 ? 1 : colorCount - reserved;
    TColorQuantizer quantizer(wanted, colorBits);
    for (const TBitmap* bitmap : bitmaps) {
        if (!bitmap)
            throw EGIFException(msg::kGifInvalidBitmapList);
        quantizer.AddBitmap(*bitmap);
    }
    const std::vector<TColor> colors = quantizer.Colors();

    std::vector<TRGBQuad> palette(static_cast<size_t>(colorCount), Quad(kBlack));
    size_t next = 0;
    if (reserveSystemColors && colorCount >= 20) {
        for (int i = 0; i < 10; ++i) {
            palette[static_cast<size_t>(i)] = Quad(kStaticColorsLow[i]);
            palette[static_cast<size_t>(colorCount - 10 + i)] = Quad(kStaticColorsHigh[i]);
        }
        next = 10;
    }
    for (size_t i = 0; i < colors.size() && next < static_cast<size_t>(colorCount - (reserved ? 10 : 0)); ++i)
        palette[next++] = Quad(colors[i]);
    return palette;
}

}  // namespace kobalto
