#pragma once
// Undoes TIFF's horizontal differencing (Predictor 2) on one decoded row.
#include <cstddef>
#include <cstdint>

namespace kobalto {

// Each sample from the second pixel on gets the same sample of the pixel
// before it added, wrapping at the sample's size: bytes for 8-bit samples,
// 16-bit words (in the file's byte order) for 16-bit ones. Other sizes are
// left as they are.
void UndoHorizontalPredictor(uint8_t* row, int width, int samplesPerPixel, int bitsPerSample, bool bigEndian);

}  // namespace kobalto
