#pragma once
// The block structure of a Paintshop Pro file: "~BK\0", a block id and its
// length (version 3 files give an initial and a total length), then the
// body, which begins with a chunk whose first word is its own size from
// version 4 on.
#include <cstdint>
#include <optional>
#include <vector>

#include "base/TByteReader.h"
#include "graphics/TColor.h"

namespace kobalto {

enum TPspBlockId : uint16_t {
    kPspImageBlock = 0,
    kPspColorBlock = 2,
    kPspLayerBankBlock = 3,
    kPspLayerBlock = 4,
    kPspChannelBlock = 5,
};

struct TPspRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct TPspImage {
    int width = 0;
    int height = 0;
    int compression = 0;  // 0 stored, 1 run-length, 2 LZ77
    int bitDepth = 24;    // 1, 4, 8 or 24
    bool grey = false;
};

struct TPspChannel {
    int bitmapType = 0;   // 0 image, 1 transparency mask, others not drawn
    int channelType = 0;  // 0 index or grey, 1 red, 2 green, 3 blue
    std::span<const uint8_t> data;  // compressed, inside the file
};

struct TPspLayer {
    int type = 0;
    TPspRect image;  // on the canvas
    TPspRect saved;  // the stored pixels, inside the image rectangle
    int opacity = 255;
    bool visible = true;
    std::vector<TPspChannel> channels;
};

class TPspFile {
public:
    // Checks the signature and version; raises the PSP invalid-format text.
    explicit TPspFile(std::span<const uint8_t> bytes);

    int Major() const { return major_; }
    // The next block at this reader's position: its id, and a reader over
    // its body. False at the end of the data.
    bool NextBlock(TByteReader& r, uint16_t& id, TByteReader& body) const;

    TPspImage ReadImage(TByteReader body) const;
    std::vector<TRGBQuad> ReadPalette(TByteReader body) const;
    TPspLayer ReadLayer(TByteReader body) const;
    TByteReader& Blocks() { return blocks_; }

private:
    int major_ = 0;
    TByteReader blocks_;
};

}  // namespace kobalto
