#include "codecs/registry/TGraphicClass.h"

#include "graphics/TBitmap.h"

namespace kobalto {

const TGraphicClass& BitmapClass()
{
    static const TGraphicClass cls{"TBitmap", [] { return std::make_unique<TBitmap>(); }, nullptr};
    return cls;
}

}  // namespace kobalto
