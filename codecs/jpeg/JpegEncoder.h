#pragma once
// Encoding a bitmap as a JPEG file in memory.
#include <cstdint>
#include <vector>

namespace kobalto {

class TBitmap;

struct TJpegEncodeOptions {
    int quality = 90;  // libjpeg clamps it into 1..100
    bool grayscale = false;
    bool progressive = false;
};

// libjpeg's defaults (YCbCr 4:2:0, standard tables scaled for quality and
// kept baseline, accurate DCT, standard Huffman tables, JFIF marker), rows
// top first. Any pixel format is accepted; red stays red. Raises EJPEG for
// libjpeg's errors, an empty bitmap included.
std::vector<uint8_t> EncodeJpeg(const TBitmap& bitmap, const TJpegEncodeOptions& options);

}  // namespace kobalto
