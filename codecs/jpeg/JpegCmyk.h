#pragma once
// CMYK and YCCK JPEG files (prepress, scanners) hold ink amounts; libjpeg
// gives them as they are and we turn them into light.
#include <cstdint>

namespace kobalto {

class TBitmap;

// Converts width pixels of C, M, Y, K bytes at row into blue, green, red
// bytes at the start of the same buffer. Adobe's files store the inks
// inverted (0 is full ink); inverted says the row comes from such a file.
void CmykRowToBgr(uint8_t* row, int width, bool inverted);

// An 8-bit copy of a 24-bit bitmap in 256 shades of grey (ITU-R BT.601
// luma), for grayscale output from files libjpeg cannot turn grey itself.
TBitmap GreyBitmapOf(const TBitmap& bitmap);

}  // namespace kobalto
