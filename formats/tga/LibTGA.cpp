#include "formats/tga/LibTGA.h"

#include "formats/tga/TBitmap64.h"
#include "graphics/TBitmap.h"

namespace kobalto {

void SaveBitmapAsTga(const TBitmap& bitmap, const std::string& fileName)
{
    // The 15-bit raster takes the bitmap straight from memory. Any pixel
    // format passes through 8-bit blue, green, red on the way, exactly as a
    // copy widened to 24 bits would.
    CheckTgaSize(bitmap.Width(), bitmap.Height());
    TBitmap64 raster(0, 0, 15);
    raster.LoadFromBitmap(bitmap);
    raster.SaveToTgaFile(fileName);
}

}  // namespace kobalto
