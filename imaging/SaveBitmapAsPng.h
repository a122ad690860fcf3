#pragma once
// The PNG step of saving: the working bitmap as a PNG file.
#include <string>

#include "graphics/TBitmap.h"

namespace kobalto {

// Writes nothing and gives false unless the path's extension is ".png".
// Otherwise writes the bitmap (a bitmap marked transparent with its key
// colour transparent) complete or not at all and gives true. With
// transparent, the bitmap is first reduced in place to 256 colours and its
// bottom-left pixel's colour made the transparent one. Failures raise.
bool SaveBitmapAsPng(TBitmap& bitmap, const std::string& path, bool transparent);

}  // namespace kobalto
