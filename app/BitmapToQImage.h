#pragma once
// The one adapter from the system's bitmap to Qt's image.
#include <QImage>

namespace kobalto {

class TBitmap;

// A copy of bitmap as a QImage of the same size; an empty bitmap gives a null
// image.
QImage BitmapToQImage(const TBitmap& bitmap);

}  // namespace kobalto
