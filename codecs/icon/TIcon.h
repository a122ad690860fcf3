#pragma once
// The icon picture of the picture registry: the first image of an icon file
// that decodes, composed over white. The pipeline reads icons through its
// own readers; this class serves everything else that asks the registry.
#include <memory>

#include "codecs/registry/TGraphicClass.h"
#include "graphics/TBitmap.h"
#include "graphics/TGraphic.h"

namespace kobalto {

class TIcon : public TGraphic {
public:
    const char* ClassName() const override { return "TIcon"; }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TIcon>(*this); }

    int Width() const override { return image_.Width(); }
    int Height() const override { return image_.Height(); }

    // Reads the stream to its end. Raises EInvalidGraphic when no image of
    // the file decodes; the picture is then unchanged.
    void LoadFromStream(TStream& stream) override;
    void Draw(TBitmap& target, int x, int y) const override;
    bool IsPlatformIcon() const override { return true; }

    const TBitmap& Image() const { return image_; }

private:
    TBitmap image_;
};

const TGraphicClass& IconClass();

}  // namespace kobalto
