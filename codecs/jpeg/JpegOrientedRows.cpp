#include "codecs/jpeg/JpegOrientedRows.h"

#include <cstring>

#include "graphics/TBitmap.h"

namespace kobalto {

JpegOrientedRows::JpegOrientedRows(TBitmap& target, int storedWidth, int storedHeight, int orientation,
                                   int bytesPerPixel)
    : target_(target), width_(storedWidth), height_(storedHeight), orientation_(orientation), bpp_(bytesPerPixel)
{
}

uint8_t* JpegOrientedRows::DirectRow(int y) const
{
    switch (orientation_) {
    case 4: return target_.ScanLine(height_ - 1 - y);  // upside down
    case 2: case 3: case 5: case 6: case 7: case 8: return nullptr;
    default: return target_.ScanLine(y);
    }
}

void JpegOrientedRows::Place(int y, const uint8_t* row) const
{
    if (uint8_t* direct = DirectRow(y)) {
        std::memcpy(direct, row, static_cast<size_t>(width_) * bpp_);
        return;
    }
    // Stored pixel (x, y) lands at first + x * step. Memory rows run bottom-up,
    // so one image row down is ScanLine(r + 1) - ScanLine(r) = -stride.
    const ptrdiff_t down = -static_cast<ptrdiff_t>(target_.Stride());
    const ptrdiff_t px = bpp_;
    uint8_t* first = nullptr;
    ptrdiff_t step = 0;
    switch (orientation_) {
    case 2:  // mirrored left to right
        first = target_.ScanLine(y) + (width_ - 1) * px, step = -px;
        break;
    case 3:  // turned half round
        first = target_.ScanLine(height_ - 1 - y) + (width_ - 1) * px, step = -px;
        break;
    case 5:  // mirrored about the main diagonal: stored row y is column y
        first = target_.ScanLine(0) + y * px, step = down;
        break;
    case 6:  // turned a quarter clockwise: stored row y is column H-1-y, top down
        first = target_.ScanLine(0) + (height_ - 1 - y) * px, step = down;
        break;
    case 7:  // mirrored about the other diagonal: column H-1-y, bottom up
        first = target_.ScanLine(width_ - 1) + (height_ - 1 - y) * px, step = -down;
        break;
    case 8:  // turned a quarter anticlockwise: column y, bottom up
        first = target_.ScanLine(width_ - 1) + y * px, step = -down;
        break;
    default: return;
    }
    for (int x = 0; x < width_; ++x) {
        uint8_t* p = first + x * step;
        for (int i = 0; i < bpp_; ++i)
            p[i] = row[static_cast<size_t>(x) * bpp_ + i];
    }
}

}  // namespace kobalto
