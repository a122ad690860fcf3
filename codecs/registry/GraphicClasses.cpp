#include "codecs/registry/TGraphicClass.h"

#include "graphics/TBitmap.h"
#include "graphics/metafile/TMetafile.h"

namespace kobalto {

const TGraphicClass& BitmapClass()
{
    static const TGraphicClass cls{"TBitmap", [] { return std::make_unique<TBitmap>(); }, nullptr};
    return cls;
}

const TGraphicClass& MetafileClass()
{
    static const TGraphicClass cls{"TMetafile", [] { return std::make_unique<TMetafile>(); }, nullptr};
    return cls;
}

}  // namespace kobalto
