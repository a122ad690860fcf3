#include "codecs/tiff/TiffOrientation.h"

#include <cstring>

#include "graphics/PackedIndex.h"

namespace kobalto {

bool SwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

TOrientedRows::TOrientedRows(TBitmap& out, int orientation, int storedWidth, int slots)
    : out_(out),
      orientation_(orientation >= 2 && orientation <= 8 ? orientation : 1),
      width_(storedWidth),
      storedHeight_(SwapsSides(orientation) ? out.Width() : out.Height())
{
    bits_ = StorageBitsPerPixel(out.PixelFormat());
    // Rows kept as stored, or only flipped top to bottom, go straight in.
    if (orientation_ == 1 || orientation_ == 4)
        return;
    rows_.resize(static_cast<size_t>(slots), std::vector<uint8_t>(TBitmap::StrideFor(width_, out.PixelFormat())));
    // Packed pixels are written into bytes shared with their neighbours.
    if (bits_ < 8)
        for (int y = 0; y < out.Height(); ++y)
            std::memset(out.ScanLine(y), 0, out.Stride());
}

uint8_t* TOrientedRows::Target(int y, int slot)
{
    if (orientation_ == 1)
        return out_.ScanLine(y);
    if (orientation_ == 4)
        return out_.ScanLine(storedHeight_ - 1 - y);
    return rows_[static_cast<size_t>(slot)].data();
}

void TOrientedRows::Place(int y, int slot)
{
    if (orientation_ == 1 || orientation_ == 4)
        return;
    const uint8_t* src = rows_[static_cast<size_t>(slot)].data();
    const int w = width_;
    const int h = storedHeight_;
    const size_t bytes = static_cast<size_t>(bits_ / 8);
    for (int x = 0; x < w; ++x) {
        int dx = x, dy = y;
        switch (orientation_) {
        case 2: dx = w - 1 - x; break;
        case 3: dx = w - 1 - x, dy = h - 1 - y; break;
        case 5: dx = y, dy = x; break;
        case 6: dx = h - 1 - y, dy = x; break;
        case 7: dx = h - 1 - y, dy = w - 1 - x; break;
        default: dx = y, dy = w - 1 - x; break;  // 8
        }
        uint8_t* dst = out_.ScanLine(dy);
        if (bits_ < 8)
            WritePackedIndex(dst, dx, bits_, ReadPackedIndex(src, x, bits_));
        else
            std::memcpy(dst + static_cast<size_t>(dx) * bytes, src + static_cast<size_t>(x) * bytes, bytes);
    }
}

}  // namespace kobalto
