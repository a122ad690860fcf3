#include "imaging/SaveImageFile.h"

#include <array>
#include <functional>

#include "base/Exceptions.h"
#include "formats/tiff/Bmp2Tiff.h"
#include "formats/tga/LibTGA.h"
#include "formats/pcx/PcxWriter.h"
#include "formats/pnm/PpmWriter.h"
#include "formats/psd/PsdWriter.h"
#include "imaging/Extension.h"
#include "imaging/ImagingMessages.h"
#include "imaging/SaveBitmapAsGif.h"
#include "imaging/SaveBitmapAsJpeg.h"
#include "imaging/SaveBitmapAsPng.h"
#include "platform/FileSystem.h"

namespace kobalto {

namespace {

using Writer = std::function<void(TBitmap& bitmap, const std::string& path, bool transparent)>;

struct WriterRow {
    const char* extension;
    Writer write;
};

[[noreturn]] void NoWriterYet(const char* extension)
{
    throw EInvalidGraphicOperation(msg::Format(msg::kNoWriterYet, {extension}));
}

// The writer table, in the order the extensions are tried.
const std::array<WriterRow, 13>& WriterTable()
{
    static const std::array<WriterRow, 13> table{{
        {".wmf", [](TBitmap&, const std::string&, bool) { NoWriterYet(".wmf"); }},
        {".emf", [](TBitmap&, const std::string&, bool) { NoWriterYet(".emf"); }},
        {".jpg", [](TBitmap& b, const std::string& p, bool) { SaveBitmapAsJpeg(b, p, 80); }},
        {".gif", [](TBitmap& b, const std::string& p, bool t) { SaveBitmapAsGif(b, p, t); }},
        {".png", [](TBitmap& b, const std::string& p, bool t) { SaveBitmapAsPng(b, p, t); }},
        {".tif", [](TBitmap& b, const std::string& p, bool) { BitmapToTiffFile(p, b); }},
        {".tga", [](TBitmap& b, const std::string& p, bool) { SaveBitmapAsTga(b, p); }},
        {".bmp", [](TBitmap& b, const std::string& p, bool) { SaveBitmapAsBmp(b, p); }},
        {".ico", [](TBitmap&, const std::string&, bool) { NoWriterYet(".ico"); }},
        {".psd", [](TBitmap& b, const std::string& p, bool) { SaveBitmapAsPsd(b, p); }},
        {".pdd", [](TBitmap& b, const std::string& p, bool) { SaveBitmapAsPsd(b, p); }},
        {".ppm", [](TBitmap& b, const std::string& p, bool) { SaveBitmapAsPpm(b, p); }},
        {".pcx", [](TBitmap& b, const std::string& p, bool) { SaveBitmapAsPcx(b, p); }},
    }};
    return table;
}

}  // namespace

bool HasWriterFor(const std::string& path)
{
    const std::string e = LowerFileExt(path);
    for (const WriterRow& row : WriterTable())
        if (e == row.extension)
            return true;
    return false;
}

bool SaveImageFile(TBitmap& bitmap, const std::string& path, bool transparent, int)
{
    const std::string e = LowerFileExt(path);
    // An existing file of that name becomes writable, so it can be replaced.
    platform::MakeWritable(path);
    if (!IsImageFileSupported(path))
        return false;
    for (const WriterRow& row : WriterTable())
        if (e == row.extension)
            row.write(bitmap, path, transparent);
    return true;
}

void SaveBitmapAsBmp(const TBitmap& bitmap, const std::string& path)
{
    if (LowerFileExt(path) != ".bmp")
        return;
    if (bitmap.PixelFormat() == TPixelFormat::pf24bit) {
        bitmap.SaveToFile(path);
        return;
    }
    TBitmap copy(bitmap);
    copy.SetPixelFormat(TPixelFormat::pf24bit);
    copy.SaveToFile(path);
}

}  // namespace kobalto
