#pragma once
// Writing one bitmap as a single-image icon file: the directory, a 40-byte
// bitmap header whose height counts the colour rows and the mask rows, the
// colour table of an indexed bitmap, the colour rows with every pixel of the
// key colour (the bottom-left pixel's) made black, and the 1-bit mask, where
// 1 marks a pixel of the key colour. Rows run bottom-up, padded to 4 bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "base/TStream.h"

namespace kobalto {

class TBitmap;

// The whole icon file for bitmap, in its own depth.
std::vector<uint8_t> EncodeIcon(const TBitmap& bitmap);

// Writes the icon file into stream in one checked write (EWriteError when
// it stores less).
void BitmapToIconStream(const TBitmap& bitmap, TStream& stream);

// Writes the icon file at fileName, replacing an existing file only once the
// whole file is written; EFCreateError when it cannot be created.
void BitmapToIconFile(const TBitmap& bitmap, const std::string& fileName);

}  // namespace kobalto
