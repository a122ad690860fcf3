#pragma once
// Autodesk Animator cels: a 256-colour palette and 8-bit pixels.
#include "codecs/extended/TExtendedGraphic.h"
#include "codecs/registry/TGraphicClass.h"

namespace kobalto {

class TAutodeskGraphic : public TExtendedGraphic {
public:
    const char* ClassName() const override { return "TAutodeskGraphic"; }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TAutodeskGraphic>(*this); }

protected:
    const char* FormatName() const override;
    TBitmap Decode(std::span<const uint8_t> bytes, TImageProperties& properties) override;
};

const TGraphicClass& AutodeskGraphicClass();

}  // namespace kobalto
