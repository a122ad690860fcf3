#pragma once
// Row access to a 24-bit bitmap for the resampler: one address per image row,
// top row first, so the pixel loops never call into the bitmap. It does not
// own the bitmap and is valid only while the bitmap keeps its size and storage.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kobalto {

class TBitmap;

class TBmpData24 {
public:
    // Raises EInvalidGraphicOperation for a bitmap that is not 24 bits per pixel.
    explicit TBmpData24(TBitmap& bitmap);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Blue, green, red of pixel (x, y). No bounds check: callers stay inside
    // 0 ≤ x < Width() and 0 ≤ y < Height().
    uint8_t* PixelPtr(int x, int y) const { return rows_[static_cast<std::size_t>(y)] + 3 * static_cast<std::size_t>(x); }

private:
    std::vector<uint8_t*> rows_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

}  // namespace kobalto
