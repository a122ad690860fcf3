#pragma once
// Decoding a JPEG file in memory into an upright bitmap, as the picture's
// settings ask.
#include <cstdint>
#include <span>

#include "graphics/TBitmap.h"

namespace kobalto {

struct TJpegDecodeOptions {
    int scaleShift = 0;  // output 1 / 2^scaleShift of the size, 0..3
    bool grayscale = false;
    bool bestSpeed = false;  // fast DCT, one-pass quantiser, ordered dither
    bool eightBit = false;
    bool smoothing = true;
    bool progressiveDisplay = false;  // decode scan by scan, the last one stays
    int orientation = 1;  // EXIF, applied to the decoded pixels
};

// A 24-bit blue-green-red bitmap; an 8-bit one with libjpeg's quantised
// palette (at most 236 entries) when 8 bits or grayscale output are asked
// or the file is grayscale. CMYK files, which libjpeg quantises not, give
// 24 bits, or 8 bits with the standard palette or 256 greys. Raises EJPEG
// for libjpeg's errors, a file that ends before its end marker included,
// and EInvalidGraphic over the pixel cap.
TBitmap DecodeJpeg(std::span<const uint8_t> bytes, const TJpegDecodeOptions& options);

}  // namespace kobalto
