#include "imaging/PictureHolder.h"

namespace kobalto {

void PictureHolder::SetGraphic(std::unique_ptr<TGraphic> graphic)
{
    picture_.SetGraphic(std::move(graphic));
    ApplyTransparency();
}

void PictureHolder::ApplyTransparency()
{
    TGraphic* g = picture_.Graphic();
    if (g && transparent_ && !g->IsMetafile() && !g->IsPlatformIcon())
        g->SetTransparent(true);
}

TBitmap& PictureHolder::Bitmap()
{
    if (auto* bitmap = dynamic_cast<TBitmap*>(picture_.Graphic()))
        return *bitmap;
    SetGraphic(std::make_unique<TBitmap>());
    return static_cast<TBitmap&>(*picture_.Graphic());
}

}  // namespace kobalto
