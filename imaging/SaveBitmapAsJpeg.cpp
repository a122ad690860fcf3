#include "imaging/SaveBitmapAsJpeg.h"

#include "codecs/TJPEGPicture.h"
#include "imaging/Extension.h"

namespace kobalto {

bool SaveBitmapAsJpeg(const TBitmap& bitmap, const std::string& path, int quality)
{
    if (LowerFileExt(path) != ".jpg")
        return false;
    TJPEGPicture jpeg;
    jpeg.SetPixelFormat(TJPEGPixelFormat::jf24Bit);
    jpeg.SetCompressionQuality(quality);
    jpeg.AssignBitmap(bitmap);
    jpeg.SaveToFile(path);
    return true;
}

}  // namespace kobalto
