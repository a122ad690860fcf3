#pragma once
// An invisible holder of one picture, with a transparency flag and a nominal
// size. While the flag is set, every picture placed in it (except metafiles
// and platform icons) is marked transparent.
#include <memory>

#include "codecs/registry/TPicture.h"
#include "graphics/TBitmap.h"

namespace kobalto {

class PictureHolder {
public:
    TGraphic* Graphic() const { return picture_.Graphic(); }
    TPicture& Picture() { return picture_; }

    void SetGraphic(std::unique_ptr<TGraphic> graphic);
    // The holder then holds nothing.
    void Clear() { picture_.SetGraphic(nullptr); }
    // Marks the current picture as the flag says; after loading through the
    // picture container.
    void ApplyTransparency();

    // The held bitmap; a picture of another kind (or none) is replaced by an
    // empty bitmap first.
    TBitmap& Bitmap();

    void SetTransparentFlag(bool on) { transparent_ = on; }
    bool TransparentFlag() const { return transparent_; }

    int NominalWidth() const { return nominalWidth_; }
    int NominalHeight() const { return nominalHeight_; }
    void SetNominalSize(int width, int height)
    {
        nominalWidth_ = width;
        nominalHeight_ = height;
    }

private:
    TPicture picture_;
    bool transparent_ = false;
    int nominalWidth_ = 0;
    int nominalHeight_ = 0;
};

}  // namespace kobalto
