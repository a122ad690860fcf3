#pragma once
// TIFF files: the first image, in strips or tiles, one plane or several,
// uncompressed or with any of the decompressors, turned upright by its
// Orientation field.
#include "codecs/extended/TExtendedGraphic.h"
#include "codecs/registry/TGraphicClass.h"

namespace kobalto {

class TTIFFGraphic : public TExtendedGraphic {
public:
    const char* ClassName() const override { return "TTIFFGraphic"; }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TTIFFGraphic>(*this); }

protected:
    const char* FormatName() const override;
    TBitmap Decode(std::span<const uint8_t> bytes, TImageProperties& properties) override;
    // The TIFF data that starts where bytes start (the EPS reader hands in
    // its preview).
    TBitmap DecodeTiff(std::span<const uint8_t> bytes, TImageProperties& properties) const;
};

const TGraphicClass& TIFFGraphicClass();

}  // namespace kobalto
