#include "codecs/jpeg/JpegCmyk.h"

#include "graphics/Palettes.h"
#include "graphics/TBitmap.h"

namespace kobalto {

void CmykRowToBgr(uint8_t* row, int width, bool inverted)
{
    // Left to right: pixel x's 3 bytes never overwrite 4-byte pixels still unread.
    for (int x = 0; x < width; ++x) {
        const uint8_t* in = row + 4 * static_cast<size_t>(x);
        unsigned light[4];
        for (int i = 0; i < 4; ++i)
            light[i] = inverted ? in[i] : 255u - in[i];
        const unsigned k = light[3];
        uint8_t* out = row + 3 * static_cast<size_t>(x);
        const uint8_t red = static_cast<uint8_t>((light[0] * k + 127) / 255);
        const uint8_t green = static_cast<uint8_t>((light[1] * k + 127) / 255);
        const uint8_t blue = static_cast<uint8_t>((light[2] * k + 127) / 255);
        out[0] = blue;
        out[1] = green;
        out[2] = red;
    }
}

TBitmap GreyBitmapOf(const TBitmap& bitmap)
{
    TBitmap grey(bitmap.Width(), bitmap.Height(), TPixelFormat::pf8bit);
    grey.Palette() = GreyPalette(8);
    for (int y = 0; y < bitmap.Height(); ++y) {
        const uint8_t* in = bitmap.ScanLine(y);
        uint8_t* out = grey.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x, in += 3)
            out[x] = static_cast<uint8_t>((114 * in[0] + 587 * in[1] + 299 * in[2] + 500) / 1000);
    }
    return grey;
}

}  // namespace kobalto
