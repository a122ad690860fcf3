#pragma once
// Decoding only what a nearest-neighbour stretch of a PNG picture reads.
#include "codecs/png/PngGamma.h"
#include "codecs/png/PngHeader.h"
#include "codecs/png/PngInflater.h"
#include "codecs/png/PngPalette.h"
#include "graphics/TBitmap.h"

namespace kobalto {

class TRowGate;

// Pictures held with 24-bit pixels and stored row after row: RGB, grey or
// RGB with alpha, 16-bit grey. Indexed pixels are drawn rather than taken,
// and an interlaced picture's rows come in passes.
bool PngCanDecodeStretched(const PngHeader& header);

// The picture on white stretched to width × height (both at least 1): the
// same pixels as decoding it whole, mixing it with white and StretchBitmap
// onto a fresh 24-bit bitmap. Every row is still inflated and unfiltered
// (each row's filter may look at the one above), but only the rows the
// stretch picks are converted and only their picked pixels kept, so no
// full-size picture is made. Raises what the whole decode raises. With
// rows, each target row is published there once filled, from the top.
TBitmap DecodePngStretched(const PngHeader& header, PngInflater& inflater, const PngTransparency& transparency,
                           const PngGamma& gamma, int width, int height, TRowGate* rows = nullptr);

}  // namespace kobalto
