#include "codecs/extended/ExtendedGraphicClass.h"

namespace kobalto {

const TGraphicClass& ExtendedGraphicClass()
{
    // Abstract: nothing to create.
    static const TGraphicClass cls{"TExtendedGraphic", nullptr, &BitmapClass()};
    return cls;
}

}  // namespace kobalto
