#pragma once
// Changing the size of pictures: the batch's shrinking step, the exact
// scaler and the preview fit.
#include <string>

#include "imaging/LoadImageFile.h"
#include "imaging/PictureHolder.h"

namespace kobalto {

class TRowGate;

// Loads path into holder and scales it by factor (widths and heights
// truncated, at least 1 pixel). Afterwards the holder holds a 24-bit bitmap.
// A file that is missing, cannot be decoded or holds no picture raises an
// error saying why; nothing of an earlier file is reused. With rows, a
// picture that decodes only what the plain stretch picks may publish its
// rows there as they are filled (TGraphic::TakeStretchedBitmap).
void LoadAndScaleImage(PictureHolder& holder, bool smooth, const std::string& path, double factor,
                       const MessagePump& pump = {}, TRowGate* rows = nullptr);

// Scales bitmap in place to exactly width × height: mode 0 is the plain
// nearest-neighbour stretch onto white (honouring transparency), mode 1 the
// smooth B-spline and any other mode the smooth bilinear filter, both on a
// 24-bit copy of any other depth. Afterwards the bitmap has 24 bits per pixel.
void ScaleBitmap(TBitmap& bitmap, int width, int height, int mode);

// Makes the holder's picture a boxWidth × boxHeight white bitmap with the
// picture fitted and centred on it. A box without area changes nothing.
void FitPictureToBox(PictureHolder& holder, int boxWidth, int boxHeight, int reserved = 0);

}  // namespace kobalto
