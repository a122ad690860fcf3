#pragma once
// Writes a bitmap as a ZSoft PCX file, version 5: a 128-byte header, then
// every row as three run-length coded plane lines (red, green, blue) of an
// even byte count, top row first. Any pixel format is written as its 8-bit
// red, green and blue.
#include <string>

namespace kobalto {

class TBitmap;

// Replaces an existing file only when the whole file was written. Raises
// EInvalidGraphicOperation for an empty bitmap, a width above 65534 or a
// height above 65536 pixels, before anything is created.
void SaveBitmapAsPcx(const TBitmap& bitmap, const std::string& fileName);

}  // namespace kobalto
