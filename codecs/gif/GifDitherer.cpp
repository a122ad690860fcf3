#include "codecs/gif/GifDitherer.h"

namespace kobalto {

void TDitherEngine::NextLine()
{
    direction_ = -direction_;
    column_ = direction_ > 0 ? 0 : width_ - 1;
}

void TDitherEngine::DitherRow(const uint8_t* bgr, uint8_t* indices)
{
    for (int i = 0, x = column_; i < width_; ++i, x += direction_)
        indices[x] = static_cast<uint8_t>(lookup_.Lookup(bgr[3 * x + 2], bgr[3 * x + 1], bgr[3 * x]));
    NextLine();
}

TFloydSteinbergDitherer::TFloydSteinbergDitherer(int width, TFastColorLookup& lookup) : TDitherEngine(width, lookup)
{
    for (Channel& c : channels_)
        c.errors.assign(static_cast<size_t>(width) + 2, 0);
}

namespace {

inline int Clamp255(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

}  // namespace

void TFloydSteinbergDitherer::DitherRow(const uint8_t* bgr, uint8_t* indices)
{
    Channel& red = channels_[0];
    Channel& green = channels_[1];
    Channel& blue = channels_[2];
    int p = position_;
    for (int i = 0, x = column_; i < width_; ++i, x += direction_) {
        const uint8_t* px = bgr + 3 * x;
        // The error carried along the row and the one left by the row above
        // are added in sixteenths; the division truncates toward zero.
        red.current = Clamp255(px[2] + (red.errors[static_cast<size_t>(p)] + red.current + 8) / 16);
        green.current = Clamp255(px[1] + (green.errors[static_cast<size_t>(p)] + green.current + 8) / 16);
        blue.current = Clamp255(px[0] + (blue.errors[static_cast<size_t>(p)] + blue.current + 8) / 16);
        const int index = lookup_.Lookup(static_cast<uint8_t>(red.current), static_cast<uint8_t>(green.current),
                                         static_cast<uint8_t>(blue.current));
        indices[x] = static_cast<uint8_t>(index);
        const TRGBQuad& chosen = lookup_.Entry(index);
        const int chosenValue[3] = {chosen.red, chosen.green, chosen.blue};
        for (int c = 0; c < 3; ++c) {
            Channel& ch = channels_[c];
            const int err = ch.current - chosenValue[c];
            if (err != 0) {
                ch.errors[static_cast<size_t>(p)] = ch.belowPrevious + 3 * err;
                ch.belowPrevious = ch.below + 5 * err;
                ch.below = err;
                ch.current = 7 * err;
            } else {
                // A pixel met exactly leaves the row below as it was.
                ch.current = 0;
            }
        }
        p += direction_;
    }
    for (Channel& ch : channels_) {
        ch.errors[static_cast<size_t>(p)] = ch.belowPrevious;
        ch.current = ch.belowPrevious = ch.below = 0;
    }
    NextLine();
    // Left to right, column x uses entry x; right to left, entry x + 2.
    position_ = direction_ > 0 ? 0 : width_ + 1;
}

}  // namespace kobalto
