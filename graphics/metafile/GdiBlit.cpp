// Bitmap transfers of the drawing context. An axis-aligned transfer lands on
// whole output pixels and samples its source nearest-neighbour, so a bitmap
// drawn 1:1 arrives pixel for pixel.
#include <algorithm>
#include <cmath>

#include "graphics/metafile/GdiCanvas.h"
#include "graphics/metafile/MetafileSurface.h"

namespace kobalto::mf {

namespace {

enum : uint32_t {
    kBlackness = 0x00000042, kNotSrcCopy = 0x00330008, kDstInvert = 0x00550009, kPatInvert = 0x005A0049,
    kSrcInvert = 0x00660046, kSrcAnd = 0x008800C6, kNop = 0x00AA0029, kMergePaint = 0x00BB0226,
    kSrcPaint = 0x00EE0086, kPatCopy = 0x00F00021, kWhiteness = 0x00FF0062,
};

// The raster operations whose result depends on the source.
bool UsesSource(uint32_t rop)
{
    const uint32_t code = rop >> 16 & 0xFF;
    return ((code >> 2) & 0x33) != (code & 0x33);
}

}  // namespace

void TGdiCanvas::Blit(const TBlit& b)
{
    if (inPath_ || b.rop == kNop || !UseLogical())
        return;
    cairo_matrix_t m;
    cairo_get_matrix(cr_, &m);
    double x0 = b.x, y0 = b.y, x1 = b.x + b.w, y1 = b.y + b.h;
    cairo_matrix_transform_point(&m, &x0, &y0);
    cairo_matrix_transform_point(&m, &x1, &y1);
    const bool aligned = m.xy == 0 && m.yx == 0;
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return;

    cairo_save(cr_);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
    cairo_new_path(cr_);
    if (aligned) {
        x0 = std::round(x0), y0 = std::round(y0), x1 = std::round(x1), y1 = std::round(y1);
        if (x0 == x1 || y0 == y1) {
            cairo_restore(cr_);
            return;
        }
        UseOutput();
        cairo_rectangle(cr_, std::min(x0, x1), std::min(y0, y1), std::fabs(x1 - x0), std::fabs(y1 - y0));
    } else {
        cairo_rectangle(cr_, b.x, b.y, b.w, b.h);
    }

    const bool withSource = b.source && UsesSource(b.rop);
    if (!withSource) {
        UseOutput();
        bool paint = true;
        switch (b.rop) {
        case kBlackness: cairo_set_source_rgb(cr_, 0, 0, 0); break;
        case kWhiteness: cairo_set_source_rgb(cr_, 1, 1, 1); break;
        case kDstInvert:
            cairo_set_source_rgb(cr_, 1, 1, 1);
            cairo_set_operator(cr_, CAIRO_OPERATOR_DIFFERENCE);
            break;
        default:
            paint = ApplyBrush(state_.brush);
            if (b.rop == kPatInvert)
                cairo_set_operator(cr_, CAIRO_OPERATOR_DIFFERENCE);
            break;
        }
        if (paint)
            cairo_fill(cr_);
        cairo_restore(cr_);
        return;
    }

    if (b.srcW == 0 || b.srcH == 0 || b.w == 0 || b.h == 0) {
        cairo_restore(cr_);
        return;
    }
    TBitmap keyed;
    const TBitmap* src = b.source;
    if (b.transparentKey || b.rop == kNotSrcCopy || b.rop == kMergePaint) {
        // The key colour becomes transparent; inverting operations invert first.
        keyed = TBitmap(src->Width(), src->Height(), TPixelFormat::pf32bit);
        for (int y = 0; y < src->Height(); ++y) {
            uint8_t* out = keyed.ScanLine(y);
            for (int x = 0; x < src->Width(); ++x, out += 4) {
                TColor c = src->Pixel(x, y);
                const bool clear = b.transparentKey && c == b.key;
                if (b.rop == kNotSrcCopy || b.rop == kMergePaint)
                    c = TColor{static_cast<uint8_t>(~c.red), static_cast<uint8_t>(~c.green),
                               static_cast<uint8_t>(~c.blue)};
                out[0] = clear ? 0 : c.blue, out[1] = clear ? 0 : c.green, out[2] = clear ? 0 : c.red;
                out[3] = clear ? 0 : 255;
            }
        }
        src = &keyed;
    }
    cairo_surface_t* surface = SurfaceFromBitmap(*src, b.perPixelAlpha || src == &keyed);
    if (!surface) {
        cairo_restore(cr_);
        return;
    }
    cairo_pattern_t* p = cairo_pattern_create_for_surface(surface);
    cairo_matrix_t pm;
    if (aligned) {
        // User space is output pixels: map the rounded destination onto the source.
        const double kx = b.srcW / (x1 - x0), ky = b.srcH / (y1 - y0);
        cairo_matrix_init(&pm, kx, 0, 0, ky, b.srcX - x0 * kx, b.srcY - y0 * ky);
    } else {
        const double kx = b.srcW / b.w, ky = b.srcH / b.h;
        cairo_matrix_init(&pm, kx, 0, 0, ky, b.srcX - b.x * kx, b.srcY - b.y * ky);
    }
    cairo_matrix_t check = pm;
    if (cairo_matrix_invert(&check) == CAIRO_STATUS_SUCCESS) {
        cairo_pattern_set_matrix(p, &pm);
        cairo_pattern_set_filter(p, CAIRO_FILTER_NEAREST);
        cairo_pattern_set_extend(p, CAIRO_EXTEND_NONE);
        cairo_set_source(cr_, p);
        switch (b.rop) {
        case kSrcAnd: cairo_set_operator(cr_, CAIRO_OPERATOR_MULTIPLY); break;
        case kSrcPaint: case kMergePaint: cairo_set_operator(cr_, CAIRO_OPERATOR_LIGHTEN); break;
        case kSrcInvert: cairo_set_operator(cr_, CAIRO_OPERATOR_DIFFERENCE); break;
        default: cairo_set_operator(cr_, CAIRO_OPERATOR_OVER); break;
        }
        if (b.alpha >= 0 && b.alpha < 255) {
            cairo_clip(cr_);
            cairo_paint_with_alpha(cr_, b.alpha / 255.0);
        } else {
            cairo_fill(cr_);
        }
    }
    cairo_pattern_destroy(p);
    cairo_surface_destroy(surface);
    cairo_restore(cr_);
}

}  // namespace kobalto::mf
