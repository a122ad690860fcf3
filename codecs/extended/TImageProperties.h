#pragma once
// What an extended reader learns from a header before any pixel is read.
#include <cstdint>

#include "codecs/color/TColorScheme.h"

namespace kobalto {

enum class TCompressionKind { None, Rle, Fax, Deflate, Jpeg, ThunderScan };

struct TImageProperties {
    int width = 0;
    int height = 0;
    TColorScheme colorScheme = TColorScheme::Unknown;
    int bitsPerSample = 0;
    int samplesPerPixel = 0;
    int bitsPerPixel = 0;
    TCompressionKind compression = TCompressionKind::None;
    double xResolution = 0;  // dots per inch
    double yResolution = 0;
    double gamma = 1.0;
};

}  // namespace kobalto
