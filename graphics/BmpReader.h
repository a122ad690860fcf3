#pragma once
#include "base/TStream.h"

namespace kobalto {

class TBitmap;

// Reads a BMP file (OS/2 core header; INFO, V2, V3, V4 and V5 headers;
// 1, 4, 8, 16, 24 and 32 bits; uncompressed, RLE4, RLE8 and bit fields;
// bottom-up or top-down rows) into bitmap, keeping the file's depth where a
// pixel format expresses it. Raises EInvalidGraphic with the platform's
// invalid-bitmap text for anything it cannot read.
void ReadBmp(TStream& stream, TBitmap& bitmap);

}  // namespace kobalto
