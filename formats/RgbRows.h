#pragma once
// The bitmap's rows as 8-bit red, green and blue samples, top row first, for
// the writers whose files hold nothing but direct colour.
#include <cstdint>

#include "graphics/TBitmap.h"

namespace kobalto {

class TRgbRows {
public:
    // 24- and 32-bit bitmaps are read in place; every other format through
    // a 24-bit copy, which lives as long as this object.
    explicit TRgbRows(const TBitmap& bitmap);
    TRgbRows(const TRgbRows&) = delete;
    TRgbRows& operator=(const TRgbRows&) = delete;

    int Width() const { return source_->Width(); }
    int Height() const { return source_->Height(); }

    // Row y as red, green, blue, red, ...: 3 × Width() bytes.
    void Interleaved(int y, uint8_t* out) const;
    // One sample of every pixel of row y (channel 0 red, 1 green, 2 blue):
    // Width() bytes.
    void Channel(int y, int channel, uint8_t* out) const;

private:
    TBitmap wide_;
    const TBitmap* source_;
    int pixelBytes_;
};

}  // namespace kobalto
