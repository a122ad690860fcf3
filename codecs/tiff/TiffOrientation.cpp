#include "codecs/tiff/TiffOrientation.h"

#include <cstring>
#include <utility>

#include "graphics/PackedIndex.h"

namespace kobalto {

void ApplyOrientation(TBitmap& bitmap, int orientation)
{
    if (orientation < 2 || orientation > 8 || bitmap.Empty())
        return;
    const int w = bitmap.Width();
    const int h = bitmap.Height();
    const bool swap = orientation >= 5;
    TBitmap out = TBitmap::ForDecoding(swap ? h : w, swap ? w : h, bitmap.PixelFormat());
    out.Palette() = bitmap.Palette();
    const int bits = BitsPerPixel(bitmap.PixelFormat()) == 15 ? 16 : BitsPerPixel(bitmap.PixelFormat());
    const int bytes = bits / 8;
    if (bits < 8)
        for (int y = 0; y < out.Height(); ++y)
            std::memset(out.ScanLine(y), 0, out.Stride());
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = bitmap.ScanLine(y);
        for (int x = 0; x < w; ++x) {
            int dx = x, dy = y;
            switch (orientation) {
            case 2: dx = w - 1 - x; break;
            case 3: dx = w - 1 - x, dy = h - 1 - y; break;
            case 4: dy = h - 1 - y; break;
            case 5: dx = y, dy = x; break;
            case 6: dx = h - 1 - y, dy = x; break;
            case 7: dx = h - 1 - y, dy = w - 1 - x; break;
            default: dx = y, dy = w - 1 - x; break;  // 8
            }
            uint8_t* dst = out.ScanLine(dy);
            if (bits < 8)
                WritePackedIndex(dst, dx, bits, ReadPackedIndex(src, x, bits));
            else
                std::memcpy(dst + static_cast<size_t>(dx) * bytes, src + static_cast<size_t>(x) * bytes, bytes);
        }
    }
    const bool transparent = bitmap.Transparent();
    bitmap = std::move(out);
    bitmap.SetTransparent(transparent);
}

}  // namespace kobalto
