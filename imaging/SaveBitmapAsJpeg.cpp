#include "imaging/SaveBitmapAsJpeg.h"

#include "base/SafeFileWriter.h"
#include "codecs/jpeg/JpegEncoder.h"
#include "codecs/jpeg/JpegSettings.h"
#include "imaging/Extension.h"

namespace kobalto {

bool SaveBitmapAsJpeg(const TBitmap& bitmap, const std::string& path, int quality)
{
    const std::string e = LowerFileExt(path);
    if (e != ".jpg" && e != ".jpeg")
        return false;
    // What a fresh JPEG picture at this quality would write when given the
    // bitmap, without first copying the bitmap into it.
    const TJPEGSettings& defaults = JPEGDefaults();
    const std::vector<uint8_t> file = EncodeJpeg(bitmap, {quality, defaults.grayscale, defaults.progressiveEncoding});
    WriteFileSafely(path, [&file](TStream& stream) { stream.WriteBuffer(file.data(), file.size()); });
    return true;
}

}  // namespace kobalto
