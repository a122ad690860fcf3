#include "imaging/ReduceToOptimalPalette.h"

#include <utility>

#include "codecs/gif/GifColorQuantizer.h"
#include "codecs/gif/GifColorReduction.h"

namespace kobalto {

void ReduceToOptimalPalette(TBitmap& bitmap)
{
    const TBitmap* list[] = {&bitmap};
    const std::vector<TRGBQuad> palette = CreateOptimizedPaletteFromManyBitmaps(list, 256, 8, false);
    TBitmap reduced = ReduceColorsToPalette(bitmap, palette, TDitherMode::kFloydSteinberg);
    const bool transparent = bitmap.Transparent();
    bitmap = std::move(reduced);
    bitmap.SetTransparent(transparent);
}

}  // namespace kobalto
