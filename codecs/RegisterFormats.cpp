#include "codecs/RegisterFormats.h"

#include "codecs/TFileFormatList.h"
#include "codecs/TFileFormatsList.h"
#include "codecs/TGraphicClass.h"

namespace kobalto {

// One line per extension, in the order the codecs register; a later
// registration of an extension wins. Formats whose readers have not been
// built yet have no line: their extensions are refused as unknown.
void RegisterFormats(TFileFormatsList& pictures, TFileFormatList& extended)
{
    // The platform kinds, added when the picture registry is created.
    pictures.Add("bmp", "ビットマップ", 0, &BitmapClass());

    // The extended readers' list.
    extended.RegisterFileFormat("bmp", "Windows bitmaps", "", fkRaster, false, &BitmapClass());
    extended.RegisterFileFormat("rle", "", "Run length encoded Windows bitmaps", fkRaster, false, &BitmapClass());
    extended.RegisterFileFormat("dib", "", "Device independant Windows bitmaps", fkRaster, false, &BitmapClass());
}

}  // namespace kobalto
