#include "graphics/Draw.h"
#include "imaging/Scaling.h"
#include "resample/ResampleBitmap.h"

namespace kobalto {

void ScaleBitmap(TBitmap& bitmap, int width, int height, int mode)
{
    const bool transparent = bitmap.Transparent();
    if (mode == 0) {
        TBitmap target(width, height, TPixelFormat::pf24bit);
        StretchBitmap(target, bitmap);
        bitmap = std::move(target);
        bitmap.SetTransparent(transparent);
    } else {
        // The resampler leaves any other depth alone, at its old size.
        if (bitmap.PixelFormat() != TPixelFormat::pf24bit)
            bitmap.SetPixelFormat(TPixelFormat::pf24bit);
        auto owned = std::make_unique<TBitmap>(std::move(bitmap));
        try {
            ResampleBitmap(owned, width, height, mode == 1 ? TResampleFilter::rfBSpline : TResampleFilter::rfBilinear);
        } catch (...) {
            bitmap = std::move(*owned);
            bitmap.SetTransparent(transparent);
            throw;
        }
        bitmap = std::move(*owned);
        bitmap.SetTransparent(transparent);
    }
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
}

}  // namespace kobalto
