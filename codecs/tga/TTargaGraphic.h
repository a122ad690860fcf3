#pragma once
// Truevision TGA files: colour-mapped, true-colour and grey images, stored
// or run-length coded, in 8, 15, 16, 24 or 32 bits.
#include "codecs/extended/TExtendedGraphic.h"
#include "codecs/registry/TGraphicClass.h"

namespace kobalto {

class TTargaGraphic : public TExtendedGraphic {
public:
    const char* ClassName() const override { return "TTargaGraphic"; }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TTargaGraphic>(*this); }

protected:
    const char* FormatName() const override;
    TBitmap Decode(std::span<const uint8_t> bytes, TImageProperties& properties) override;
};

const TGraphicClass& TargaGraphicClass();

}  // namespace kobalto
