#include "codecs/gif/GifColorReduction.h"

#include <memory>

#include "codecs/gif/GifColorQuantizer.h"
#include "codecs/gif/GifDitherer.h"
#include "codecs/gif/GifFastColorLookup.h"
#include "graphics/PixelRows.h"

namespace kobalto {

TBitmap ReduceColorsToPalette(const TBitmap& source, const std::vector<TRGBQuad>& palette, TDitherMode dither)
{
    if (palette.empty())
        return TBitmap();
    TFastColorLookup lookup(palette);
    const int w = source.Width();
    const int h = source.Height();
    TBitmap result(w, h, TPixelFormat::pf8bit);
    result.Palette().assign(palette.begin(), palette.begin() + lookup.Count());

    std::unique_ptr<TDitherEngine> engine;
    if (dither == TDitherMode::kFloydSteinberg)
        engine = std::make_unique<TFloydSteinbergDitherer>(w, lookup);
    else
        engine = std::make_unique<TDitherEngine>(w, lookup);
    std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
    for (int y = 0; y < h; ++y) {
        RowToBgr24(source, y, row.data());
        engine->DitherRow(row.data(), result.ScanLine(y));
    }
    return result;
}

TBitmap ReduceColors(const TBitmap& source, TColorReduction mode, TDitherMode dither, int bits)
{
    if (bits < 1 || bits > 8)
        bits = 8;
    const int count = 1 << bits;
    const TBitmap* list[] = {&source};
    const bool reserve = mode == TColorReduction::kOptimizedWithSystemColors && count == 256;
    const std::vector<TRGBQuad> palette = CreateOptimizedPaletteFromManyBitmaps(list, count, 8, reserve);
    return ReduceColorsToPalette(source, palette, dither);
}

}  // namespace kobalto
