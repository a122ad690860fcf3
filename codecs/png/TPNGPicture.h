#pragma once
// The PNG picture: reads PNG files for the picture registry and writes the
// working bitmap as PNG. Holds the pixels, the gamma the file asked for and
// the ancillary chunks it keeps, plus the encoder settings.
#include <memory>
#include <vector>

#include "codecs/png/PngChunk.h"
#include "codecs/png/PngDeferredFile.h"
#include "codecs/png/PngGamma.h"
#include "codecs/png/PngImage.h"
#include "codecs/png/PngWriter.h"
#include "codecs/registry/TGraphicClass.h"
#include "graphics/TGraphic.h"

namespace kobalto {

class TPNGPicture : public TGraphic {
public:
    TPNGPicture() = default;

    const char* ClassName() const override { return "TPNGPicture"; }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TPNGPicture>(*this); }

    int Width() const override;
    int Height() const override;

    // Replaces the picture by the stream's; on failure the picture is
    // unchanged and one of the PNG exceptions passes on. After
    // DeferDecoding, a picture that TakeStretchedBitmap can sample is read
    // only up to its image data; the rest is read, and may fail, when the
    // pixels are first needed.
    void LoadFromStream(TStream& stream) override;
    void DeferDecoding() override { deferDecoding_ = true; }
    // An empty picture cannot be a PNG file: EInvalidGraphicOperation.
    void SaveToStream(TStream& stream) const override;

    // Takes the bitmap's pixels: indexed bitmaps keep their format and
    // palette, all others become 24-bit. A bitmap marked transparent makes
    // its key colour (the bottom-left pixel's) transparent.
    void AssignBitmap(const TBitmap& source) override;
    // The same with the transparency given rather than the bitmap's own.
    void AssignBitmap(const TBitmap& source, bool transparent, TColor transparentColor);

    // Opaque pixels are copied, those of a tRNS key colour left out, partly
    // transparent ones mixed with the target.
    void Draw(TBitmap& target, int x, int y) const override;
    // The picture as drawing it on a white bitmap of its size would give,
    // handing over its 24-bit pixels instead of copying them; the picture
    // is empty afterwards. Null for indexed pixels, which are drawn.
    std::unique_ptr<TBitmap> TakeBitmapOnWhite();
    // TakeBitmapOnWhite where it can, drawing otherwise.
    std::unique_ptr<TBitmap> TakeWorkingBitmap() override;
    // For a picture whose decoding was deferred, and that is not marked
    // transparent: decodes only what the stretch picks. The picture is empty
    // afterwards, also when this raises.
    std::unique_ptr<TBitmap> TakeStretchedBitmap(const TStretchTarget& targetFor, TRowGate* rows = nullptr) override;

    const PngImage& Image() const;
    const PngEncoderSettings& Settings() const { return settings_; }
    // Filter flags of PngRowFilter.h; level 0 to 9; interlace 0 or 1; the
    // IDAT size at least 1. Other values raise EInvalidGraphicOperation.
    void SetFilterSet(uint8_t filterSet);
    void SetCompressionLevel(int level);
    void SetInterlaceMethod(uint8_t method);
    void SetMaxIdatSize(uint32_t size);

private:
    // Forgets the pixels, the kept chunks and the gamma.
    void ClearChunks();
    // Reads the rest of a deferred file now.
    void Decode() const;

    // A deferred file fills these from const operations.
    mutable PngImage image_;
    mutable PngGamma gamma_;
    mutable std::vector<PngKeptChunk> kept_;
    mutable std::shared_ptr<PngDeferredFile> deferred_;
    bool deferDecoding_ = false;
    PngEncoderSettings settings_;
};

const TGraphicClass& PNGPictureClass();

}  // namespace kobalto
