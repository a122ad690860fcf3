#pragma once
// The GIF step of saving: the working bitmap is reduced in place to 256
// colours and written as a single-frame GIF.
#include <string>

#include "codecs/gif/TGIFPicture.h"
#include "graphics/TBitmap.h"

namespace kobalto {

// Writes nothing and gives false unless the path's extension is ".gif".
// Otherwise the bitmap becomes its 8-bit reduction (also when writing then
// fails), the file is written complete or not at all, and the result is
// true. With transparent, the bottom-left pixel's colour is made the
// transparent one. Failures raise.
bool SaveBitmapAsGif(TBitmap& bitmap, const std::string& path, bool transparent);

// Makes the bitmap gif's one frame and the index of its bottom-left pixel
// the frame's transparent colour.
void AddGifTransparency(TGIFPicture& gif, const TBitmap& bitmap);

}  // namespace kobalto
