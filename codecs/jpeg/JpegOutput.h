#pragma once
// What libjpeg is asked to deliver for a picture's decode settings, shared by
// the whole decode and the decode of sampled rows.
#include "codecs/jpeg/JpegDecoder.h"
#include "codecs/jpeg/JpegDecompressor.h"
#include "codecs/jpeg/JpegErrorManager.h"

namespace kobalto {

struct TJpegOutput {
    bool cmyk = false;      // decoded as inks, converted by us
    bool quantise = false;  // 8-bit with libjpeg's palette
    int bytesPerPixel = 3;  // of libjpeg's output rows
};

// Sets the scale, smoothing, output colour space, quantiser and DCT method
// of c (its header read) as options ask, and says what the rows will hold.
TJpegOutput ChooseJpegOutput(j_decompress_ptr c, const TJpegDecodeOptions& options);

// A fresh decompressor's header read (APP1 not kept), a cut file accepted,
// the output chosen and its dimensions calculated: ready to start.
TJpegOutput PrepareJpegRows(JpegDecompressor& d, const TJpegDecodeOptions& options);

}  // namespace kobalto
