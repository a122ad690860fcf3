#pragma once
// The GIF picture: a logical screen with its header and a list of frames,
// read from any GIF87a or GIF89a stream and written as one.
#include <memory>

#include "codecs/gif/GifColorReduction.h"
#include "codecs/gif/GifFrame.h"
#include "codecs/gif/GifFrameAssign.h"
#include "codecs/gif/GifHeader.h"
#include "codecs/registry/TGraphicClass.h"
#include "graphics/TGraphic.h"

namespace kobalto {

enum class TGIFCompression {
    kLzw = 0,
    kRunLength = 1,  // not written by this system: saving raises
};

class TGIFPicture : public TGraphic {
public:
    TGIFPicture() = default;
    TGIFPicture(const TGIFPicture& other);

    const char* ClassName() const override { return "TGIFPicture"; }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TGIFPicture>(*this); }

    // The logical screen; a file whose screen has no area takes the first
    // frame's extent instead.
    int Width() const override;
    int Height() const override;

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) const override;

    // Clears the picture and makes the bitmap its one frame; the logical
    // screen grows to hold it.
    void AssignBitmap(const TBitmap& source) override;

    // Draws the first frame with its top-left corner of the logical screen
    // at (x, y), clipped to the screen: its transparent pixels, and pixels
    // the data never reached, leave the target as it was.
    void Draw(TBitmap& target, int x, int y) const override;

    TGIFHeader& Header() { return header_; }
    const TGIFHeader& Header() const { return header_; }
    TGIFFrameList& Frames() { return frames_; }
    const TGIFFrameList& Frames() const { return frames_; }

    // Settings for bitmaps of more than 8 bits per pixel.
    TGIFConversion& Conversion() { return conversion_; }
    TGIFCompression Compression() const { return compression_; }
    void SetCompression(TGIFCompression compression) { compression_ = compression; }

    void Clear();

private:
    TGIFHeader header_;
    TGIFFrameList frames_;
    TGIFConversion conversion_;
    TGIFCompression compression_ = TGIFCompression::kLzw;
};

const TGraphicClass& GIFPictureClass();

}  // namespace kobalto
