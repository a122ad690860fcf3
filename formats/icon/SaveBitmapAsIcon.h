#pragma once
#include <string>

namespace kobalto {

class TBitmap;

// Fits bitmap into one square icon image of side 16, 24, 32, 48 or 64 and
// writes it as a 24-bit icon at fileName, whose extension must be ".ico" in
// any case (otherwise nothing happens). The square's background is the
// colour of bitmap's bottom-left pixel, and every pixel of the square's own
// bottom-left colour becomes transparent. A picture that is not already a
// standard square is resized with the smooth B-spline filter, and that
// happens to bitmap itself: afterwards it has the fitted size. Returns false
// in every case; failures of the writer raise.
bool SaveBitmapAsIcon(TBitmap& bitmap, const std::string& fileName);

}  // namespace kobalto
