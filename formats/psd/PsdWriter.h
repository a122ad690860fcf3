#pragma once
// Writes a bitmap as a flattened Photoshop file: version 1, RGB, three
// channels of 8 bits, no colour-mode data, a resolution resource of 72 dpi,
// no layers, and the merged image channel by channel, each row PackBits-coded
// (or the whole image raw, when raw is smaller). Any pixel format is written
// as its 8-bit red, green and blue.
#include <string>

namespace kobalto {

class TBitmap;

// Replaces an existing file only when the whole file was written. Raises
// EInvalidGraphicOperation for an empty bitmap or a side above 30000 pixels,
// before anything is created.
void SaveBitmapAsPsd(const TBitmap& bitmap, const std::string& fileName);

}  // namespace kobalto
