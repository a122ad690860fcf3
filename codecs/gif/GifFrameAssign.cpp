#include "codecs/gif/GifFrameAssign.h"

#include <cstring>
#include <vector>

#include "codecs/gif/GifError.h"
#include "codecs/gif/GifMessages.h"
#include "graphics/PackedIndex.h"
#include "graphics/PixelRows.h"
#include "graphics/TBitmap.h"

namespace kobalto {

namespace {

void TakeIndices(const TBitmap& indexed, TGIFFrame& frame)
{
    frame.colorMap.AssignPalette(indexed.Palette());
    const int w = indexed.Width();
    const int bits = BitsPerPixel(indexed.PixelFormat());
    for (int y = 0; y < indexed.Height(); ++y) {
        const uint8_t* row = indexed.ScanLine(y);
        uint8_t* out = frame.data.data() + static_cast<size_t>(y) * static_cast<size_t>(w);
        if (bits == 8) {
            std::memcpy(out, row, static_cast<size_t>(w));
            continue;
        }
        for (int x = 0; x < w; ++x)
            out[x] = ReadPackedIndex(row, x, bits);
    }
}

// Pixels of the key colour, in frame order.
std::vector<bool> KeyMask(const TBitmap& bitmap)
{
    const TColor key = bitmap.TransparentColor();
    const int w = bitmap.Width();
    std::vector<bool> mask(static_cast<size_t>(w) * static_cast<size_t>(bitmap.Height()));
    std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
    for (int y = 0; y < bitmap.Height(); ++y) {
        RowToBgr24(bitmap, y, row.data());
        for (int x = 0; x < w; ++x)
            mask[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] =
                row[3 * x] == key.blue && row[3 * x + 1] == key.green && row[3 * x + 2] == key.red;
    }
    return mask;
}

void AddTransparency(const TBitmap& bitmap, TGIFFrame& frame)
{
    frame.colorMap.Optimize(frame.data);
    if (frame.colorMap.Count() >= TGIFColorMap::kMaxColors)
        return;  // no room for a transparent entry
    const int index = frame.colorMap.Add(kBlack);
    const std::vector<bool> mask = KeyMask(bitmap);
    bool changed = false;
    for (size_t i = 0; i < frame.data.size(); ++i)
        if (mask[i]) {
            frame.data[i] = static_cast<uint8_t>(index);
            changed = true;
        }
    if (!changed) {
        frame.colorMap.Truncate(index);
        return;
    }
    auto gce = std::make_unique<TGIFGraphicControlExtension>();
    gce->SetTransparent(true);
    gce->SetTransparentColorIndex(static_cast<uint8_t>(index));
    frame.extensions.push_back(std::move(gce));
}

}  // namespace

std::unique_ptr<TGIFFrame> FrameFromBitmap(const TBitmap& bitmap, const TGIFConversion& conversion)
{
    if (bitmap.Width() > 0xFFFF || bitmap.Height() > 0xFFFF)
        throw EGIFException(msg::kGifImageTooLarge);
    auto frame = std::make_unique<TGIFFrame>();
    frame->width = static_cast<uint16_t>(bitmap.Width());
    frame->height = static_cast<uint16_t>(bitmap.Height());
    frame->data.assign(static_cast<size_t>(frame->width) * frame->height, 0);
    frame->decoded = frame->data.size();
    if (IsIndexed(bitmap.PixelFormat())) {
        TakeIndices(bitmap, *frame);
    } else {
        TakeIndices(ReduceColors(bitmap, conversion.reduction, conversion.dither, conversion.bits), *frame);
    }
    if (bitmap.Transparent())
        AddTransparency(bitmap, *frame);
    return frame;
}

}  // namespace kobalto
