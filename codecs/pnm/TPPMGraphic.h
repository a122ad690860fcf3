#pragma once
// Netpbm files: P1 and P4 bitmaps, P2 and P5 grey maps, P3 and P6 colour
// pixel maps, in text or binary, with any maximum sample value up to 65535.
#include "codecs/extended/TExtendedGraphic.h"
#include "codecs/registry/TGraphicClass.h"

namespace kobalto {

class TPPMGraphic : public TExtendedGraphic {
public:
    const char* ClassName() const override { return "TPPMGraphic"; }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TPPMGraphic>(*this); }

protected:
    const char* FormatName() const override;
    TBitmap Decode(std::span<const uint8_t> bytes, TImageProperties& properties) override;
};

const TGraphicClass& PPMGraphicClass();

}  // namespace kobalto
