#pragma once
// Alias/Wavefront RLA files: run-length coded RGB channels and a matte,
// 8 to 16 bits a sample.
#include "codecs/extended/TExtendedGraphic.h"
#include "codecs/registry/TGraphicClass.h"

namespace kobalto {

class TRLAGraphic : public TExtendedGraphic {
public:
    const char* ClassName() const override { return "TRLAGraphic"; }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TRLAGraphic>(*this); }

protected:
    const char* FormatName() const override;
    TBitmap Decode(std::span<const uint8_t> bytes, TImageProperties& properties) override;
};

const TGraphicClass& RLAGraphicClass();

}  // namespace kobalto
