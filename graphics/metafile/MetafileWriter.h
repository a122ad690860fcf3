#pragma once
// Metafiles that hold a bitmap 1:1: an enhanced metafile with one
// stretch-DIB record, and a placeable Windows metafile with the anisotropic
// mapping and one stretch-DIB record, both of 24-bit pixels.
#include <cstdint>
#include <vector>

#include "platform/DisplayMetrics.h"

namespace kobalto {

class TBitmap;

// Raise EInvalidGraphicOperation when the bitmap does not fit the format's
// fields (WMF: 16-bit coordinates; EMF: a 32-bit file size).
std::vector<uint8_t> EncodeEmf(const TBitmap& bitmap, const platform::TDisplayMetrics& display);
std::vector<uint8_t> EncodeWmf(const TBitmap& bitmap, const platform::TDisplayMetrics& display);

}  // namespace kobalto
