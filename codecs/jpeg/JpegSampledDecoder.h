#pragma once
// Decoding only what a nearest-neighbour stretch of a JPEG picture reads.
#include <cstdint>
#include <optional>
#include <span>

#include "codecs/jpeg/JpegDecoder.h"
#include "graphics/TBitmap.h"

namespace kobalto {

// The upright picture stretched to width × height (both at least 1): the
// same 24-bit pixels as DecodeJpeg followed by StretchBitmap onto a fresh
// bitmap of that size, but only the stored rows the stretch picks are
// colour-converted and only the picked pixels kept, so no full-size picture
// is ever made. Nothing when the decode does not deliver 24-bit rows as they
// are (grey, quantised or scaled output, progressive display) or the
// orientation transposes the picture; the caller then decodes it whole.
// Raises like DecodeJpeg: every row is still read or skipped through
// libjpeg, so a file the whole decode refuses is refused here too.
std::optional<TBitmap> DecodeJpegStretched(std::span<const uint8_t> bytes, const TJpegDecodeOptions& options,
                                           int width, int height);

}  // namespace kobalto
