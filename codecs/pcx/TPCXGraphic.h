#pragma once
// ZSoft Paintbrush files: 1 to 8 bits in one plane, 1-bit planes combined
// into palette indices, and three or four 8-bit planes of colour.
#include "codecs/extended/TExtendedGraphic.h"
#include "codecs/registry/TGraphicClass.h"

namespace kobalto {

class TPCXGraphic : public TExtendedGraphic {
public:
    const char* ClassName() const override { return "TPCXGraphic"; }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TPCXGraphic>(*this); }

protected:
    const char* FormatName() const override;
    TBitmap Decode(std::span<const uint8_t> bytes, TImageProperties& properties) override;
};

const TGraphicClass& PCXGraphicClass();

}  // namespace kobalto
