#pragma once
// Cairo image surfaces made from bitmaps, and hatch tiles.
#include <cairo.h>

#include "graphics/TBitmap.h"

namespace kobalto::mf {

// A new surface with the bitmap's pixels (null when Cairo cannot make it,
// for example wider than it allows). With alpha, a 32-bit bitmap's fourth
// byte is taken as premultiplied alpha.
cairo_surface_t* SurfaceFromBitmap(const TBitmap& bitmap, bool alpha);

// An 8 × 8 tile of the hatch style in colour, on the background colour or,
// when not opaque, on nothing.
cairo_surface_t* HatchSurface(uint32_t hatch, TColor color, bool opaque, TColor background);

}  // namespace kobalto::mf
