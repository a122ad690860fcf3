#pragma once
// The .jpg and .jpeg writer step.
#include <string>

#include "graphics/TBitmap.h"

namespace kobalto {

// Writes bitmap as a 24-bit colour JPEG of the given quality (the batch
// uses 80), complete or not at all. Writes nothing and returns false unless
// the path's extension is ".jpg" or ".jpeg"; true when the file was written. A failure
// to encode or write raises: a lost output must end the batch, not pass as
// success.
bool SaveBitmapAsJpeg(const TBitmap& bitmap, const std::string& path, int quality);

}  // namespace kobalto
