#include "imaging/SaveBitmapAsGif.h"

#include "imaging/Extension.h"
#include "imaging/ReduceToOptimalPalette.h"

namespace kobalto {

void AddGifTransparency(TGIFPicture& gif, const TBitmap& bitmap)
{
    gif.AssignBitmap(bitmap);
    TGIFFrame& frame = gif.Frames()[0];
    if (frame.width == 0 || frame.height == 0)
        return;
    const uint8_t index = frame.Pixel(0, frame.height - 1);
    // A frame has at most one graphic control extension: a bitmap marked
    // transparent already brought one, which then names this colour.
    TGIFGraphicControlExtension* gce = frame.GraphicControl();
    if (!gce) {
        auto fresh = std::make_unique<TGIFGraphicControlExtension>();
        gce = fresh.get();
        frame.extensions.push_back(std::move(fresh));
    }
    gce->SetTransparent(true);
    gce->SetTransparentColorIndex(index);
}

bool SaveBitmapAsGif(TBitmap& bitmap, const std::string& path, bool transparent)
{
    if (LowerFileExt(path) != ".gif")
        return false;
    TGIFPicture gif;
    // Only pictures of more than 8 bits per pixel use these, and the
    // reduction below leaves 8.
    gif.Conversion().reduction = TColorReduction::kOptimizedWithSystemColors;
    gif.Conversion().dither = TDitherMode::kNearest;
    gif.SetCompression(TGIFCompression::kLzw);
    ReduceToOptimalPalette(bitmap);
    if (transparent)
        AddGifTransparency(gif, bitmap);
    else
        gif.AssignBitmap(bitmap);
    gif.SaveToFile(path);
    return true;
}

}  // namespace kobalto
