#pragma once
// Paintshop Pro files of format version 3 and later: the visible raster
// layers of a 24-bit document laid over each other by their masks and
// opacity, or the lowest layer of a grey or indexed one.
#include "codecs/extended/TExtendedGraphic.h"
#include "codecs/registry/TGraphicClass.h"

namespace kobalto {

class TPSPGraphic : public TExtendedGraphic {
public:
    const char* ClassName() const override { return "TPSPGraphic"; }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TPSPGraphic>(*this); }

protected:
    const char* FormatName() const override;
    TBitmap Decode(std::span<const uint8_t> bytes, TImageProperties& properties) override;
};

const TGraphicClass& PSPGraphicClass();

}  // namespace kobalto
