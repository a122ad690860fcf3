#include "imaging/LoadImageFile.h"

#include <algorithm>

#include "base/Exceptions.h"
#include "graphics/TBitmap.h"
#include "imaging/Extension.h"
#include "imaging/ImagingMessages.h"
#include "platform/FileSystem.h"

namespace kobalto {

void TakeWorkingBitmap(PictureHolder& holder)
{
    TGraphic* graphic = holder.Graphic();
    holder.SetGraphic(graphic ? graphic->TakeWorkingBitmap() : std::make_unique<TBitmap>(0, 0));
}

bool ConvertPictureTo24Bit(PictureHolder& holder)
{
    try {
        TakeWorkingBitmap(holder);
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

bool LoadImageFile(PictureHolder& holder, const std::string& path, bool convert, const MessagePump& pump,
                   bool forStretch)
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
            holder.Picture().LoadFromFile(path, forStretch);
        } catch (...) {
            holder.Clear();
            throw;
        }
        holder.ApplyTransparency();
        if (convert)
            TakeWorkingBitmap(holder);
    }
    if (pump)
        pump();
    return true;
}

}  // namespace kobalto
