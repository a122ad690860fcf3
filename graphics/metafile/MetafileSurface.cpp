#include "graphics/metafile/MetafileSurface.h"

#include <algorithm>
#include <cstring>

namespace kobalto::mf {

namespace {

uint32_t Argb(TColor c)
{
    return 0xFF000000u | uint32_t{c.red} << 16 | uint32_t{c.green} << 8 | c.blue;
}

}  // namespace

cairo_surface_t* SurfaceFromBitmap(const TBitmap& b, bool alpha)
{
    const bool withAlpha = alpha && b.PixelFormat() == TPixelFormat::pf32bit;
    cairo_surface_t* s =
        cairo_image_surface_create(withAlpha ? CAIRO_FORMAT_ARGB32 : CAIRO_FORMAT_RGB24, b.Width(), b.Height());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return nullptr;
    }
    cairo_surface_flush(s);
    uint8_t* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < b.Height(); ++y) {
        uint32_t* out = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        const uint8_t* in = b.ScanLine(y);
        if (b.PixelFormat() == TPixelFormat::pf24bit) {
            for (int x = 0; x < b.Width(); ++x, in += 3)
                out[x] = 0xFF000000u | uint32_t{in[2]} << 16 | uint32_t{in[1]} << 8 | in[0];
        } else if (withAlpha) {
            for (int x = 0; x < b.Width(); ++x, in += 4) {
                // Colour above alpha is not premultiplied: clamp it.
                const uint8_t a = in[3];
                out[x] = uint32_t{a} << 24 | uint32_t{std::min(in[2], a)} << 16 |
                         uint32_t{std::min(in[1], a)} << 8 | std::min(in[0], a);
            }
        } else {
            for (int x = 0; x < b.Width(); ++x)
                out[x] = Argb(b.Pixel(x, y));
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

cairo_surface_t* HatchSurface(uint32_t hatch, TColor color, bool opaque, TColor background)
{
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
    cairo_surface_flush(s);
    uint8_t* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < 8; ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < 8; ++x) {
            bool on = false;
            switch (hatch) {
            case 0: on = y == 7; break;                          // horizontal
            case 1: on = x == 7; break;                          // vertical
            case 2: on = x == y; break;                          // top-left to bottom-right
            case 3: on = x + y == 7; break;                      // bottom-left to top-right
            case 4: on = x == 7 || y == 7; break;                // cross
            default: on = x == y || x + y == 7; break;           // diagonal cross
            }
            row[x] = on ? Argb(color) : (opaque ? Argb(background) : 0);
        }
    }
    cairo_surface_mark_dirty(s);
    return s;
}

}  // namespace kobalto::mf
