#include "imaging/SaveBitmapAsMetafile.h"

#include "base/SafeFileWriter.h"
#include "graphics/metafile/MetafileWriter.h"
#include "imaging/Extension.h"
#include "platform/DisplayMetrics.h"

namespace kobalto {

namespace {

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    WriteFileSafely(path, [&bytes](TStream& stream) { stream.WriteBuffer(bytes.data(), bytes.size()); });
}

}  // namespace

void SaveBitmapAsWmf(const TBitmap& bitmap, const std::string& path)
{
    if (LowerFileExt(path) != ".wmf")
        return;
    WriteBytes(path, EncodeWmf(bitmap, platform::DisplayMetrics()));
}

void SaveBitmapAsEmf(const TBitmap& bitmap, const std::string& path)
{
    if (LowerFileExt(path) != ".emf")
        return;
    WriteBytes(path, EncodeEmf(bitmap, platform::DisplayMetrics()));
}

}  // namespace kobalto
