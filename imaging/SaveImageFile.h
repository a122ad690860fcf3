#pragma once
// Writing the working bitmap in the format its path's extension names.
#include <string>

#include "graphics/TBitmap.h"

namespace kobalto {

// Picks the writer by the lower-cased extension: .wmf, .emf, .jpg, .gif,
// .png, .tif, .tga, .bmp, .ico, .psd, .pdd, .ppm, .pcx, tried in that order.
// False when the extension is not accepted at all; true for an accepted
// extension, also one without a writer (".jpeg", ".tiff", ...), which writes
// nothing. Every write
// is complete or leaves nothing behind; its failures raise.
bool SaveImageFile(TBitmap& bitmap, const std::string& path, bool transparent, int reserved = 0);

// True when SaveImageFile has a writer for the path's extension.
bool HasWriterFor(const std::string& path);

// An uncompressed 24-bit BMP; writes nothing unless the extension is ".bmp".
void SaveBitmapAsBmp(const TBitmap& bitmap, const std::string& path);

}  // namespace kobalto
