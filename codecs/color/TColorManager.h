#pragma once
// The colour converter of the extended readers: checks a source description
// (scheme, bits and samples per pixel) against a target, names the bitmap's
// pixel format, and turns source rows into rows of that format.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "codecs/color/TColorScheme.h"
#include "graphics/TColor.h"
#include "graphics/TPixelFormat.h"

namespace kobalto {

struct TColorFormat {
    TColorScheme scheme = TColorScheme::Unknown;
    int bitsPerSample = 8;
    int samplesPerPixel = 1;
};

struct TColorOptions {
    bool bigEndian = false;    // 16-bit samples stored high byte first
    bool labL255 = false;      // L* stored 0..255 rather than 0..100
    bool labOffsetAb = false;  // a* and b* stored with 128 added
    bool applyGamma = false;
    double fileGamma = 1.0;
    std::array<double, 3> yCbCrCoefficients{0.299, 0.587, 0.114};
    int subsamplingH = 1;  // YCbCr only
    int subsamplingV = 1;
};

class TColorManager {
public:
    // Raises EColorConversionError with the converter's texts when no
    // conversion exists from source to target.
    void Setup(const TColorFormat& source, const TColorFormat& target, const TColorOptions& options = {});

    TPixelFormat TargetPixelFormat() const { return pixelFormat_; }
    // Bytes of one source row of width pixels (of one block row for
    // subsampled YCbCr).
    size_t SourceRowBytes(int width) const;
    bool Subsampled() const { return subsampled_; }
    int BlockRows() const { return options_.subsamplingV; }

    // Converts width pixels; target holds a row of the target format.
    void ConvertRow(const uint8_t* source, uint8_t* target, int width);
    // Subsampled YCbCr: one block row into up to BlockRows() target rows.
    void ConvertBlockRow(const uint8_t* source, uint8_t* const* targets, int rows, int width);

private:
    void ToBytes(const uint8_t* source, int width);

    TColorFormat source_;
    TColorFormat target_;
    TColorOptions options_;
    TPixelFormat pixelFormat_ = TPixelFormat::pf24bit;
    bool subsampled_ = false;
    std::vector<uint8_t> samples_;       // one row as 8-bit samples
    std::vector<uint8_t> gammaTable_;    // 256 entries when gamma is on
    std::array<std::array<int, 256>, 4> yccTables_{};
};

// A grey ramp of 2^bits entries (bits 1..8), brightest first when inverted.
std::vector<TRGBQuad> GreyPalette(int bits, bool inverted);

}  // namespace kobalto
