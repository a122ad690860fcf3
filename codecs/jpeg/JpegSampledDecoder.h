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
//
// With a spare core (SpareCores), a large picture stored in one scan is
// decoded by two decoders at once, the second taking over at the row
// JpegSampledSplitRow names; the bytes are those of one decoder.
std::optional<TBitmap> DecodeJpegStretched(std::span<const uint8_t> bytes, const TJpegDecodeOptions& options,
                                           int width, int height);

// The stored row where the second decoder takes over, 0 when one decoder
// does it all.
int JpegSampledSplitRow(std::span<const uint8_t> bytes, const TJpegDecodeOptions& options);

}  // namespace kobalto
