#include "resample/TBmpData24.h"

#include "base/Exceptions.h"
#include "graphics/TBitmap.h"
#include "resample/ResampleMessages.h"

namespace kobalto {

TBmpData24::TBmpData24(TBitmap& bitmap) : width_(bitmap.Width()), height_(bitmap.Height())
{
    // Three bytes per pixel is what PixelPtr assumes; any other layout would
    // be read out of step.
    if (bitmap.PixelFormat() != TPixelFormat::pf24bit)
        throw EInvalidGraphicOperation(msg::kRowAccessNeeds24Bit);
    rows_.reserve(static_cast<size_t>(height_));
    for (int y = 0; y < height_; ++y)
        rows_.push_back(bitmap.ScanLine(y));
}

}  // namespace kobalto
