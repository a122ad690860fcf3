#include <algorithm>
#include <memory>
#include <utility>

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
                       const MessagePump& pump, TRowGate* rows)
{
    if (!platform::FileExists(path)) {
        holder.Clear();
        throw EFOpenError(msg::Format(msg::kFileNotFound, {path}));
    }
    // The plain stretch is asked of the picture right after loading.
    if (!LoadImageFile(holder, path, false, {}, !smooth))
        throw EInvalidGraphic(msg::Format(msg::kUnknownExtension, {LowerFileExt(path)}));
    // The fit of the working bitmap's size into the box the factor gives.
    auto target = [factor](int w, int h) -> std::pair<int, int> {
        if (w <= 0 || h <= 0)
            throw EInvalidGraphic(msg::kEmptyPicture);
        const TFitSize fit = FitToBox(Scaled(w, factor), Scaled(h, factor), w, h);
        return {std::max(fit.width, 1), std::max(fit.height, 1)};
    };
    bool done = false;
    try {
        // The plain stretch picks few of a large picture's pixels: a picture
        // that can decode just those never becomes a full-size bitmap.
        TGraphic* graphic = holder.Graphic();
        if (std::unique_ptr<TBitmap> stretched = graphic && !smooth ? graphic->TakeStretchedBitmap(target, rows) : nullptr) {
            holder.SetGraphic(std::move(stretched));
            done = true;
        } else {
            TakeWorkingBitmap(holder);
        }
    } catch (...) {
        holder.Clear();
        throw;
    }
    if (pump)
        pump();
    if (done)
        return;
    TGraphic* graphic = holder.Graphic();
    const auto [width, height] = target(graphic ? graphic->Width() : 0, graphic ? graphic->Height() : 0);
    ScaleBitmap(holder.Bitmap(), width, height, smooth ? 1 : 0);
}

}  // namespace kobalto
