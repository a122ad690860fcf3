#pragma once
// What a JPEG picture knows of its file before decoding: read once at load.
#include <cstdint>
#include <span>

namespace kobalto {

struct TJpegHeader {
    int width = 0;  // as stored, before orientation and scaling
    int height = 0;
    bool grayscale = false;
    bool multiScan = false;  // progressive, or sequential in several scans
    int orientation = 1;     // EXIF, 1..8
};

// Reads the header of the JPEG file in bytes. Raises EJPEG for libjpeg's
// errors (an empty file included) and for a file too short to hold the
// picture it announces, and EInvalidGraphic for a picture over the pixel cap.
TJpegHeader ReadJpegHeader(std::span<const uint8_t> bytes);

}  // namespace kobalto
