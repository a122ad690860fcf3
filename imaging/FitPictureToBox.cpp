#include "graphics/Draw.h"
#include "imaging/FitRule.h"
#include "imaging/Scaling.h"

namespace kobalto {

void FitPictureToBox(PictureHolder& holder, int boxWidth, int boxHeight, int)
{
    if (boxWidth <= 0 || boxHeight <= 0)
        return;
    TGraphic* graphic = holder.Graphic();
    int w = graphic ? graphic->Width() : 0;
    int h = graphic ? graphic->Height() : 0;
    if (w == 0)
        w = boxWidth;
    if (h == 0)
        h = boxHeight;
    const TFitSize fit = FitToBox(boxWidth, boxHeight, w, h);
    holder.SetNominalSize(fit.width, fit.height);
    TBitmap& scaled = holder.Bitmap();
    ScaleBitmap(scaled, fit.width, fit.height, 0);
    const int x = (boxWidth - fit.width) / 2;
    const int y = (boxHeight - fit.height) / 2;
    auto box = std::make_unique<TBitmap>(boxWidth, boxHeight, TPixelFormat::pf24bit);
    DrawBitmap(*box, x, y, scaled);
    holder.SetGraphic(std::move(box));
}

}  // namespace kobalto
