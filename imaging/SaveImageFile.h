#pragma once
// Writing the working bitmap in the format its path's extension names.
#include <string>
#include <vector>

#include "graphics/TBitmap.h"

namespace kobalto {

// Picks the writer by the lower-cased extension: .wmf, .emf, .jpg and .jpeg,
// .gif, .png, .tif and .tiff, .tga, .bmp, .dib and .rle, .ico, then
// .psd, .pdd, .ppm and .pcx. False, with
// nothing written, when the extension is not accepted at all; true when the
// file was written. An accepted extension without a writer (".eps", ".psp",
// ...) raises EInvalidGraphicOperation naming the path. Every write is
// complete or leaves nothing behind; its failures raise.
bool SaveImageFile(TBitmap& bitmap, const std::string& path, bool transparent, int reserved = 0);

// True when SaveImageFile has a writer for the path's extension.
bool HasWriterFor(const std::string& path);

// The writer table's extensions (lower case, with the dot), in the order
// they are tried.
std::vector<std::string> WriterExtensions();

// An uncompressed 24-bit BMP; writes nothing unless the extension is ".bmp",
// ".dib" or ".rle".
void SaveBitmapAsBmp(const TBitmap& bitmap, const std::string& path);

}  // namespace kobalto
