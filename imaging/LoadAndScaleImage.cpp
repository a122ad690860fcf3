#include <algorithm>

#include "base/Exceptions.h"
#include "base/Extended.h"
#include "codecs/registry/CodecMessages.h"
#include "imaging/Extension.h"
#include "imaging/FitRule.h"
#include "imaging/ImagingMessages.h"
#include "imaging/Scaling.h"
#include "platform/FileSystem.h"

namespace kobalto {

namespace {

// A scaled size never falls below one pixel: writers never get an empty bitmap.
int Scaled(int size, double factor)
{
    return std::max(1, TruncToInt32(static_cast<Extended>(size) * static_cast<Extended>(factor)));
}

}  // namespace

void LoadAndScaleImage(PictureHolder& holder, bool smooth, const std::string& path, double factor,
                       const MessagePump& pump)
{
    if (!platform::FileExists(path)) {
        holder.Clear();
        throw EFOpenError(msg::Format(msg::kFileNotFound, {path}));
    }
    if (!LoadImageFile(holder, path, true, pump))
        throw EInvalidGraphic(msg::Format(msg::kUnknownExtension, {LowerFileExt(path)}));
    TGraphic* graphic = holder.Graphic();
    const int w = graphic ? graphic->Width() : 0;
    const int h = graphic ? graphic->Height() : 0;
    if (w <= 0 || h <= 0)
        throw EInvalidGraphic(msg::kEmptyPicture);

    const int boxWidth = Scaled(w, factor);
    const int boxHeight = Scaled(h, factor);
    TFitSize fit = FitToBox(boxWidth, boxHeight, w, h);
    ScaleBitmap(holder.Bitmap(), std::max(fit.width, 1), std::max(fit.height, 1), smooth ? 1 : 0);
}

}  // namespace kobalto
