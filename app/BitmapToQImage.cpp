#include "app/BitmapToQImage.h"

#include <cstring>

#include "graphics/TBitmap.h"

namespace kobalto {

QImage BitmapToQImage(const TBitmap& bitmap)
{
    const int w = bitmap.Width(), h = bitmap.Height();
    if (w <= 0 || h <= 0)
        return {};
    QImage image(w, h, QImage::Format_BGR888);
    if (image.isNull())
        return {};
    if (bitmap.PixelFormat() == TPixelFormat::pf24bit) {
        // Same byte order; only the row order differs.
        for (int y = 0; y < h; ++y)
            std::memcpy(image.scanLine(y), bitmap.ScanLine(y), static_cast<size_t>(w) * 3);
        return image;
    }
    for (int y = 0; y < h; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const TColor c = bitmap.Pixel(x, y);
            row[3 * x] = c.blue;
            row[3 * x + 1] = c.green;
            row[3 * x + 2] = c.red;
        }
    }
    return image;
}

}  // namespace kobalto
