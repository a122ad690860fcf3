#pragma once
// The per-scheme conversions behind TColorManager. Each reads a row of 8-bit
// samples (samples per pixel as stored) and writes width pixels of the target.
#include <array>
#include <cstdint>
#include <vector>

namespace kobalto {

// Source samples of 1 to 16 bits to one byte each: 16-bit samples as
// v × 255 div 65535 (bytes swapped first when big-endian); 8-bit as they are;
// smaller ones either kept as values (indices) or stretched to 0..255.
void UnpackSamples(const uint8_t* source, int bits, size_t count, bool bigEndian, bool stretch, uint8_t* out);

// Indices (or grey levels used as indices) to a 1-, 4- or 8-bit row.
void PackIndices(const uint8_t* samples, int samplesPerPixel, int width, int targetBits, uint8_t* out);
// RGB (or BGR when swapped) to blue, green, red (and alpha with 4 target bytes).
void RgbToBgr(const uint8_t* samples, int samplesPerPixel, int width, bool sourceIsBgr, int targetBytes,
              uint8_t* out);
void CmykToBgr(const uint8_t* samples, int samplesPerPixel, int width, uint8_t* out);
void LabToBgr(const uint8_t* samples, int samplesPerPixel, int width, bool l255, bool offsetAb, uint8_t* out);

// Tables of the YCbCr conversion: red from Cr, green from Cb, green from Cr,
// blue from Cb.
std::array<std::array<int, 256>, 4> YCbCrTables(const std::array<double, 3>& coefficients);
void YCbCrToBgr(const uint8_t* samples, int samplesPerPixel, int width,
                const std::array<std::array<int, 256>, 4>& tables, uint8_t* out);
// One block row of subsampled data (h × v luma samples, then Cb and Cr, per
// block) into v target rows.
void YCbCrBlocksToBgr(const uint8_t* samples, int h, int v, int width, int rows,
                      const std::array<std::array<int, 256>, 4>& tables, uint8_t* const* out);

// Round((i / 255)^(1 / (fileGamma × 2.2)) × 255) for each byte value i.
std::vector<uint8_t> GammaTable(double fileGamma);

}  // namespace kobalto
