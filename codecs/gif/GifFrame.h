#pragma once
// One image of a GIF: its descriptor, local colour table, extensions and
// pixels as one palette index per pixel, top row first.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "codecs/gif/GifColorMap.h"
#include "codecs/gif/GifExtensions.h"

namespace kobalto {

struct TGIFHeader;

enum class TGIFVersion { gv87a, gv89a };

class TGIFFrame {
public:
    static constexpr uint8_t kSeparator = 0x2C;
    static constexpr uint8_t kLocalTable = 0x80;
    static constexpr uint8_t kInterlaced = 0x40;
    static constexpr uint8_t kSorted = 0x20;

    TGIFFrame() = default;
    TGIFFrame(const TGIFFrame& other);
    TGIFFrame& operator=(const TGIFFrame&) = delete;

    uint16_t left = 0;
    uint16_t top = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t packed = 0;
    // The descriptor's size when the logical screen cut the frame's right or
    // bottom off on reading (width and height then hold the part shown);
    // 0 when the frame is whole.
    uint16_t fileWidth = 0;
    uint16_t fileHeight = 0;
    TGIFLocalColorMap colorMap;
    std::vector<std::unique_ptr<TGIFExtension>> extensions;
    // Indices, width per row, rows in image order (never interlaced here).
    // A frame read from a file holds only the rows from the top down to the
    // last one its data reached (every row when interlaced); rows past
    // those, and the unreached rest of a row, are 0 and not drawn.
    std::vector<uint8_t> data;
    // How many indices, in the file's order and over the descriptor's full
    // width, the data reached.
    size_t decoded = 0;

    // The size the file's descriptor gave.
    int DescriptorWidth() const { return fileWidth ? fileWidth : width; }
    int DescriptorHeight() const { return fileHeight ? fileHeight : height; }
    bool Interlaced() const { return (packed & kInterlaced) != 0; }
    // The frame's graphic control extension, or null.
    TGIFGraphicControlExtension* GraphicControl() const;
    // The transparent index, or −1 when the frame has none.
    int TransparentIndex() const;
    // GIF89a when the map is marked sorted or the frame has any extension.
    TGIFVersion Version() const;
    // The local map, or the global one when the frame has none.
    const TGIFColorMap& ActiveColorMap(const TGIFHeader& header) const;
    uint8_t Pixel(int x, int y) const { return data[static_cast<size_t>(y) * width + static_cast<size_t>(x)]; }
    // How many pixels of image row y, from the left, the data reached.
    int DecodedInRow(int y) const;
    // data padded with 0 to width × height.
    std::vector<uint8_t> FullData() const;
};

// The frames of a GIF, in file order; the list owns them.
class TGIFFrameList {
public:
    int Count() const { return static_cast<int>(frames_.size()); }
    TGIFFrame& operator[](int i) { return *frames_[static_cast<size_t>(i)]; }
    const TGIFFrame& operator[](int i) const { return *frames_[static_cast<size_t>(i)]; }
    TGIFFrame& Add(std::unique_ptr<TGIFFrame> frame)
    {
        frames_.push_back(std::move(frame));
        return *frames_.back();
    }
    void Clear() { frames_.clear(); }

private:
    std::vector<std::unique_ptr<TGIFFrame>> frames_;
};

}  // namespace kobalto
