#pragma once
#include <string>

namespace kobalto {

class TBitmap;

// Writes bitmap as an uncompressed 16-bit TGA file: an 18-byte header, then
// the rows bottom row first, one word 0RRRRRGGGGGBBBBB per pixel (the three
// low bits of every 8-bit component are dropped). An existing file is
// replaced only when the whole file was written. Raises
// EInvalidGraphicOperation for an empty bitmap or a side of 65536 pixels or
// more, before anything is created.
void SaveBitmapAsTga(const TBitmap& bitmap, const std::string& fileName);

}  // namespace kobalto
