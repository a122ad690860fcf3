#include "formats/RgbRows.h"

namespace kobalto {

TRgbRows::TRgbRows(const TBitmap& bitmap) : source_(&bitmap), pixelBytes_(3)
{
    if (bitmap.PixelFormat() == TPixelFormat::pf32bit) {
        pixelBytes_ = 4;
    } else if (bitmap.PixelFormat() != TPixelFormat::pf24bit) {
        wide_ = bitmap;
        wide_.SetPixelFormat(TPixelFormat::pf24bit);
        source_ = &wide_;
    }
}

void TRgbRows::Interleaved(int y, uint8_t* out) const
{
    // Memory holds blue, green, red (and an unused fourth byte at 32 bits).
    const uint8_t* in = source_->ScanLine(y);
    const int w = source_->Width();
    for (int x = 0; x < w; ++x, in += pixelBytes_, out += 3) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
    }
}

void TRgbRows::Channel(int y, int channel, uint8_t* out) const
{
    const uint8_t* in = source_->ScanLine(y) + (2 - channel);
    const int w = source_->Width();
    for (int x = 0; x < w; ++x, in += pixelBytes_)
        out[x] = *in;
}

}  // namespace kobalto
