#include "formats/icon/SaveBitmapAsIcon.h"

#include <memory>

#include "base/Text.h"
#include "formats/icon/IconPlacement.h"
#include "formats/icon/IconWriter.h"
#include "graphics/Draw.h"
#include "graphics/TBitmap.h"
#include "resample/ResampleBitmap.h"

namespace kobalto {

namespace {

bool HasIconExtension(const std::string& fileName)
{
    const std::string name = LowerAscii(FileNamePart(fileName));
    const size_t dot = name.rfind('.');
    return dot != std::string::npos && name.compare(dot, std::string::npos, ".ico") == 0;
}

// The smooth resize the scaler's B-spline mode makes: 24 bits afterwards,
// the transparency switch kept.
void ResizeSmoothly(TBitmap& bitmap, int width, int height)
{
    const bool transparent = bitmap.Transparent();
    if (bitmap.PixelFormat() != TPixelFormat::pf24bit)
        bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    auto owned = std::make_unique<TBitmap>(std::move(bitmap));
    try {
        ResampleBitmap(owned, width, height, TResampleFilter::rfBSpline);
    } catch (...) {
        bitmap = std::move(*owned);
        bitmap.SetTransparent(transparent);
        throw;
    }
    bitmap = std::move(*owned);
    bitmap.SetTransparent(transparent);
}

}  // namespace

bool SaveBitmapAsIcon(TBitmap& bitmap, const std::string& fileName)
{
    if (!HasIconExtension(fileName))
        return false;
    const TIconPlacement place = PlaceInIcon(bitmap.Width(), bitmap.Height());
    TBitmap icon;
    if (place.asIs) {
        icon = bitmap;
    } else {
        // The background is read before the picture is resized.
        icon = TBitmap(place.side, place.side, TPixelFormat::pf24bit);
        icon.Fill(bitmap.TransparentColor());
        ResizeSmoothly(bitmap, place.width, place.height);
        DrawBitmap(icon, place.left, place.top, bitmap);
    }
    icon.SetPixelFormat(TPixelFormat::pf24bit);
    icon.SetTransparent(true);
    BitmapToIconFile(icon, fileName);
    return false;
}

}  // namespace kobalto
