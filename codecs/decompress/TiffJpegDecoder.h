#pragma once
// JPEG data inside TIFF (compression 7): each strip or tile is a JPEG stream,
// possibly abbreviated, with the tables in the file's JPEGTables field.
#include <cstdint>
#include <span>
#include <vector>

#include "codecs/decompress/TDecoder.h"

namespace kobalto {

enum class TTiffJpegColor { Grey, RGB, YCbCr, CMYK };

struct TTiffJpegParams {
    int width = 0;  // of the strip or tile
    int samplesPerPixel = 1;
    int bitsPerSample = 8;
    TTiffJpegColor color = TTiffJpegColor::YCbCr;
    int subsamplingH = 1;
    int subsamplingV = 1;
    bool planar = false;
    std::vector<uint8_t> tables;  // empty when the file has none
};

// Delivers grey, CMYK, or blue-green-red rows of width pixels.
class TTiffJpegDecoder : public TDecoder {
public:
    explicit TTiffJpegDecoder(TTiffJpegParams params) : p_(std::move(params)) {}

    // Checks the tables: anything else than a tables-only stream raises
    // "Bogus JPEG tables field.".
    void DecodeInit() override;
    // Checks the stream's header against the TIFF fields (each mismatch has
    // its message) and reads target.size() / row bytes rows. A stream that
    // ends early gives a warning and the rows as far as they came.
    TDecodeResult Decode(std::span<const uint8_t> source, std::span<uint8_t> target) override;

    // Bytes per delivered pixel.
    int OutputComponents() const;

private:
    TTiffJpegParams p_;
};

}  // namespace kobalto
