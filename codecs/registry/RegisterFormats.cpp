#include "codecs/registry/RegisterFormats.h"

#include "codecs/registry/TFileFormatList.h"
#include "codecs/registry/TFileFormatsList.h"
#include "codecs/eps/TEPSGraphic.h"
#include "codecs/gif/TGIFPicture.h"
#include "codecs/icon/TIcon.h"
#include "codecs/registry/TGraphicClass.h"
#include "codecs/jpeg/TJPEGPicture.h"
#include "codecs/png/TPNGPicture.h"
#include "codecs/tga/TTargaGraphic.h"
#include "codecs/autodesk/TAutodeskGraphic.h"
#include "codecs/pcx/TPCXGraphic.h"
#include "codecs/pnm/TPPMGraphic.h"
#include "codecs/psd/TPSDGraphic.h"
#include "codecs/psp/TPSPGraphic.h"
#include "codecs/rla/TRLAGraphic.h"
#include "codecs/tiff/TTIFFGraphic.h"

namespace kobalto {

// One line per extension, in the order the codecs register at start-up; a
// later registration of an extension wins over an earlier one. Formats whose
// readers are not built yet have no line, so their extensions are refused as
// unknown.
void RegisterFormats(TFileFormatsList& pictures, TFileFormatList& extended)
{
    // 1. The JPEG codec. Its first registration creates the picture
    //    registry, which starts with the platform kinds.
    pictures.Add("wmf", "メタファイル", 0, &MetafileClass());
    pictures.Add("emf", "エンハンス メタファイル", 0, &MetafileClass());
    pictures.Add("ico", "アイコン", 0, &IconClass());
    pictures.Add("bmp", "ビットマップ", 0, &BitmapClass());
    pictures.Add("jpeg", "JPEG イメージファイル", 0, &JPEGPictureClass());
    pictures.Add("jpg", "JPEG イメージファイル", 0, &JPEGPictureClass());

    // 2. The extended readers' list.
    extended.RegisterFileFormat("bmp", "Windows bitmaps", "", fkRaster, false, &BitmapClass());
    extended.RegisterFileFormat("ico", "Windows icons", "", fkRaster, false, &IconClass());
    extended.RegisterFileFormat("jfif", "JPG images", "JFIF images", fkRaster, false, &JPEGPictureClass());
    extended.RegisterFileFormat("jpg", "", "JPG images", fkRaster, false, &JPEGPictureClass());
    extended.RegisterFileFormat("jpe", "", "JPE images", fkRaster, false, &JPEGPictureClass());
    extended.RegisterFileFormat("jpeg", "", "JPEG images", fkRaster, false, &JPEGPictureClass());
    extended.RegisterFileFormat("rle", "", "Run length encoded Windows bitmaps", fkRaster, false, &BitmapClass());
    extended.RegisterFileFormat("dib", "", "Device independant Windows bitmaps", fkRaster, false, &BitmapClass());
    for (const char* ext : {"win", "vst", "vda", "tga", "icb"})
        extended.RegisterFileFormat(ext, "Truevision images", "", fkRaster, false, &TargaGraphicClass());
    extended.RegisterFileFormat("tiff", "Tagged image file format images", "Macintosh TIFF images",
                                fkRaster | fkMultiImage, false, &TIFFGraphicClass());
    extended.RegisterFileFormat("tif", "", "PC TIF images", fkRaster | fkMultiImage, false, &TIFFGraphicClass());
    extended.RegisterFileFormat("fax", "", "GFI fax images", fkRaster | fkMultiImage, false, &TIFFGraphicClass());
    extended.RegisterFileFormat("eps", "Encapsulated Postscript images", "", fkRaster, false, &EPSGraphicClass());
    extended.RegisterFileFormat("pcx", "ZSoft Paintbrush images", "", fkRaster, false, &PCXGraphicClass());
    extended.RegisterFileFormat("pcc", "ZSoft Paintbrush images", "", fkRaster, false, &PCXGraphicClass());
    extended.RegisterFileFormat("scr", "", "Word 5.x screen capture images", fkRaster, false, &PCXGraphicClass());
    extended.RegisterFileFormat("rpf", "Alias/Wavefront images", "", fkRaster, false, &RLAGraphicClass());
    extended.RegisterFileFormat("rla", "Alias/Wavefront images", "", fkRaster, false, &RLAGraphicClass());
    extended.RegisterFileFormat("psd", "Photoshop images", "", fkRaster | fkLayered, false, &PSDGraphicClass());
    extended.RegisterFileFormat("pdd", "Photoshop images", "", fkRaster | fkLayered, false, &PSDGraphicClass());
    extended.RegisterFileFormat("ppm", "Portable map images", "Portable pixel map images", fkRaster, false,
                                &PPMGraphicClass());
    extended.RegisterFileFormat("pgm", "", "Portable gray map images", fkRaster, false, &PPMGraphicClass());
    extended.RegisterFileFormat("pbm", "", "Portable bitmap images", fkRaster, false, &PPMGraphicClass());
    extended.RegisterFileFormat("cel", "Autodesk images", "", fkRaster, false, &AutodeskGraphicClass());
    extended.RegisterFileFormat("pic", "Autodesk images", "", fkRaster, false, &AutodeskGraphicClass());
    extended.RegisterFileFormat("psp", "Paintshop Pro images", "", fkRaster | fkVector, false, &PSPGraphicClass());

    // 3. The GIF codec.
    pictures.Add("gif", "GIF Image", 0, &GIFPictureClass());

    // 4. The PNG codec.
    pictures.Add("PNG", "Portable Network Graphics", 0, &PNGPictureClass());
}

}  // namespace kobalto
