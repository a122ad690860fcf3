#pragma once
// The PNG step of saving: the working bitmap as a PNG file.
#include <string>

#include "graphics/TBitmap.h"

namespace kobalto {

class TRowGate;

// Writes nothing and gives false unless the path's extension is ".png".
// Otherwise writes the bitmap (a bitmap marked transparent with its key
// colour transparent) complete or not at all and gives true. With
// transparent, the bitmap is first reduced in place to 256 colours and its
// bottom-left pixel's colour made the transparent one. Failures raise.
bool SaveBitmapAsPng(TBitmap& bitmap, const std::string& path, bool transparent);

// The file SaveBitmapAsPng writes for the opaque 24-bit picture behind
// rows, not transparent, each row written as it arrives and the file put
// in place once the picture is complete; ERowsWithdrawn, and no file, when
// it never is.
void SaveRowsAsPng(const TRowGate& rows, const std::string& path);

}  // namespace kobalto
