#pragma once
// The pixel loop of the TIFF reader: strips or tiles, one plane or several,
// through the decompressor, the predictor and the colour converter into the
// bitmap, top row first. Chunks the data does not hold give zero rows.
#include <cstdint>
#include <span>

#include "codecs/color/TColorManager.h"
#include "codecs/extended/InputRelease.h"
#include "codecs/tiff/TiffImage.h"
#include "graphics/TBitmap.h"

namespace kobalto {

// The bytes of one decoded chunk row (for subsampled YCbCr one block row).
size_t TiffChunkRowBytes(const TTiffImage& im, const TColorManager& color);

// out is the upright picture (see TiffOrientation.h). Each band's chunks go
// to release once their rows are in the bitmap.
void DecodeTiffPixels(std::span<const uint8_t> data, const TTiffImage& im, bool bigEndian, TColorManager& color,
                      TBitmap& out, const TInputRelease& release);

}  // namespace kobalto
