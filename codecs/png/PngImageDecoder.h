#pragma once
// Rows of image data into pixels: inflating, unfiltering and converting row
// by row, for plain and Adam7-interlaced pictures.
#include "codecs/png/PngGamma.h"
#include "codecs/png/PngHeader.h"
#include "codecs/png/PngImage.h"
#include "codecs/png/PngInflater.h"
#include "codecs/png/PngPalette.h"

namespace kobalto {

// The pixel format a picture is held in: 1, 4 or 8 bits for palette pictures
// and grey up to 8 bits (2-bit as 4-bit), 24 bits for the others.
TPixelFormat PngPixelFormat(const PngHeader& header);

// Bytes that inflating the whole image gives: every row of every pass with
// its filter-type byte.
size_t PngImageDataSize(const PngHeader& header);

// Fills image.pixels (and image.alpha for grey or RGB with alpha, and for
// 16-bit grey or RGB with a tRNS key) from the inflated image data. The
// palette, if any, is left to the caller.
void DecodePngImage(const PngHeader& header, PngInflater& inflater, const PngTransparency& transparency,
                    const PngGamma& gamma, PngImage& image);

}  // namespace kobalto
