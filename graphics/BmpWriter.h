#pragma once
#include "base/TStream.h"

namespace kobalto {

class TBitmap;

// Writes bitmap as an uncompressed BMP in its own depth: the 14-byte file
// header, a 40-byte information header, the colour table of an indexed
// bitmap, then the rows bottom row first, each padded to 4 bytes. 15- and
// 16-bit bitmaps are written as 16 bits with bit fields.
void WriteBmp(TStream& stream, const TBitmap& bitmap);

}  // namespace kobalto
