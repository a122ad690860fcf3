#include "base/Exceptions.h"
#include "formats/icon/TIcon32.h"
#include "formats/icon/TInternalIcon.h"
#include "graphics/Draw.h"
#include "graphics/TBitmap.h"
#include "imaging/ImagingMessages.h"
#include "imaging/LoadImageFile.h"

namespace kobalto {

namespace {

// True when one of the readers put a picture into the holder.
bool LoadWithIconReaders(PictureHolder& holder, const std::string& path)
{
    TIcon32 icon32;
    if (icon32.LoadFromFile(path)) {
        // Pixels of the icon's bottom-left colour stay white.
        auto picture = std::make_unique<TBitmap>(icon32.IconWidth(), icon32.IconHeight(), TPixelFormat::pf24bit);
        TBitmap keyed(icon32.Bitmap());
        keyed.SetTransparent(true);
        DrawBitmap(*picture, 0, 0, keyed);
        holder.SetGraphic(std::move(picture));
        return true;
    }
    TInternalIcon reader;
    reader.LoadFromFile(path);
    if (const TBitmap* image = reader.GetImage(0)) {
        holder.SetGraphic(std::make_unique<TBitmap>(*image));
        return true;
    }
    return false;
}

}  // namespace

void LoadIconFile(PictureHolder& holder, const std::string& path)
{
    // Like every reader's failure, this one must not leave the previous
    // file's picture behind to be taken for this one.
    try {
        if (LoadWithIconReaders(holder, path))
            return;
    } catch (...) {
        holder.Clear();
        throw;
    }
    holder.Clear();
    throw EInvalidGraphic(msg::Format(msg::kNoIconImage, {path}));
}

}  // namespace kobalto
