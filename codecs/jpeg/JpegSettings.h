#pragma once
// The eight settings of a JPEG picture, and the shared record of their
// defaults that every new picture copies.
#include <cstdint>

namespace kobalto {

enum class TJPEGPerformance : uint8_t { jpBestQuality, jpBestSpeed };
enum class TJPEGPixelFormat : uint8_t { jf24Bit, jf8Bit };
// Output size 1/1, 1/2, 1/4 or 1/8.
enum class TJPEGScale : uint8_t { jsFullSize, jsHalf, jsQuarter, jsEighth };

struct TJPEGSettings {
    // 1..100 when encoding; libjpeg clamps other values into that range.
    int compressionQuality = 90;
    // Decode to (and encode as) shades of grey.
    bool grayscale = false;
    TJPEGPerformance performance = TJPEGPerformance::jpBestQuality;
    // 8-bit output served displays of 256 colours; none is ever asked here.
    TJPEGPixelFormat pixelFormat = TJPEGPixelFormat::jf24Bit;
    bool progressiveDisplay = false;
    // Set from the file when one is read.
    bool progressiveEncoding = false;
    TJPEGScale scale = TJPEGScale::jsFullSize;
    // Block smoothing of the coarse early scans of progressive files.
    bool smoothing = true;
};

// The defaults; changing them affects pictures created afterwards.
TJPEGSettings& JPEGDefaults();

}  // namespace kobalto
