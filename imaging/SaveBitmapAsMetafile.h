#pragma once
#include <string>

namespace kobalto {

class TBitmap;

// Write the bitmap 1:1 as a placeable Windows metafile or an enhanced
// metafile, sized at the display's resolution. Each writes nothing unless
// the path's extension is its own (.wmf, .emf); failures raise.
void SaveBitmapAsWmf(const TBitmap& bitmap, const std::string& path);
void SaveBitmapAsEmf(const TBitmap& bitmap, const std::string& path);

}  // namespace kobalto
