#pragma once
// Writes a bitmap as a binary portable pixmap (P6, maximum 255): a text
// header, then red, green, blue of every pixel, top row first. Any pixel
// format is written as its 8-bit red, green and blue.
#include <string>

namespace kobalto {

class TBitmap;

// Replaces an existing file only when the whole file was written. Raises
// EInvalidGraphicOperation for an empty bitmap, before anything is created.
void SaveBitmapAsPpm(const TBitmap& bitmap, const std::string& fileName);

}  // namespace kobalto
