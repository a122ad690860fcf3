#include "imaging/LoadImageFile.h"

#include <algorithm>

#include "base/Exceptions.h"
#include "codecs/jpeg/TJPEGPicture.h"
#include "codecs/png/TPNGPicture.h"
#include "graphics/TBitmap.h"
#include "imaging/Extension.h"
#include "imaging/ImagingMessages.h"
#include "platform/FileSystem.h"

namespace kobalto {

namespace {

void ConvertOrRaise(PictureHolder& holder)
{
    TGraphic* graphic = holder.Graphic();
    if (dynamic_cast<TBitmap*>(graphic))
        return;
    if (auto* jpeg = dynamic_cast<TJPEGPicture*>(graphic)) {
        // The decoded bitmap is taken over, not copied: it is the biggest
        // thing a batch holds.
        holder.SetGraphic(jpeg->ReleaseBitmap());
        holder.Bitmap().SetPixelFormat(TPixelFormat::pf24bit);
        return;
    }
    if (auto* png = dynamic_cast<TPNGPicture*>(graphic)) {
        // 24-bit pixels go on white where they are: no second raster.
        if (auto bitmap = png->TakeBitmapOnWhite()) {
            holder.SetGraphic(std::move(bitmap));
            return;
        }
    }
    // Any other picture draws itself onto white, so transparent parts end
    // up white.
    const int w = graphic ? graphic->Width() : 0;
    const int h = graphic ? graphic->Height() : 0;
    auto bitmap = std::make_unique<TBitmap>(w, h, TPixelFormat::pf24bit);
    if (graphic)
        graphic->Draw(*bitmap, 0, 0);
    holder.SetGraphic(std::move(bitmap));
    holder.Bitmap().SetPixelFormat(TPixelFormat::pf24bit);
}

}  // namespace

bool ConvertPictureTo24Bit(PictureHolder& holder)
{
    try {
        ConvertOrRaise(holder);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool FillBlankPicture(PictureHolder& holder, TColor color)
{
    try {
        holder.SetNominalSize(std::max(holder.NominalWidth(), 2), std::max(holder.NominalHeight(), 2));
        auto bitmap = std::make_unique<TBitmap>(holder.NominalWidth(), holder.NominalHeight(), TPixelFormat::pf24bit);
        bitmap->Fill(color);
        holder.SetGraphic(std::move(bitmap));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool LoadImageFile(PictureHolder& holder, const std::string& path, bool convert, const MessagePump& pump)
{
    if (!platform::FileExists(path))
        return false;
    if (!IsImageFileSupported(path))
        return false;
    const std::string e = LowerFileExt(path);
    if (e == ".ico") {
        LoadIconFile(holder, path);
        holder.SetTransparentFlag(true);
        holder.ApplyTransparency();
    } else {
        try {
            holder.Picture().LoadFromFile(path);
        } catch (...) {
            holder.Clear();
            throw;
        }
        if (auto* jpeg = dynamic_cast<TJPEGPicture*>(holder.Graphic())) {
            // Full size, 24 bits, best quality, whatever the defaults say.
            jpeg->SetScale(TJPEGScale::jsFullSize);
            jpeg->SetPixelFormat(TJPEGPixelFormat::jf24Bit);
            jpeg->SetPerformance(TJPEGPerformance::jpBestQuality);
        }
        holder.ApplyTransparency();
        if (convert)
            ConvertOrRaise(holder);
    }
    if (pump)
        pump();
    return true;
}

}  // namespace kobalto
