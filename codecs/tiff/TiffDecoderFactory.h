#pragma once
// The decompressor for a TIFF image's compression, for chunks of a width.
#include <memory>

#include "codecs/decompress/TDecoder.h"
#include "codecs/tiff/TiffImage.h"

namespace kobalto {

// Null for uncompressed data.
std::unique_ptr<TDecoder> MakeTiffDecoder(const TTiffImage& image);

// Bytes per pixel the JPEG decoder delivers for the image (1, 3 or 4).
int TiffJpegComponents(const TTiffImage& image);

// The most output one input byte can give with the image's compression, so a
// small file cannot claim a huge picture. 0 for uncompressed data.
size_t MaxExpansion(TTiffCompression compression);

}  // namespace kobalto
