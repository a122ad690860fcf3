#pragma once
// Photoshop files: the merged image of a document in any 8- or 16-bit colour
// mode, stored raw or PackBits-coded; layers are not read.
#include "codecs/extended/TExtendedGraphic.h"
#include "codecs/registry/TGraphicClass.h"

namespace kobalto {

class TPSDGraphic : public TExtendedGraphic {
public:
    const char* ClassName() const override { return "TPSDGraphic"; }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TPSDGraphic>(*this); }

protected:
    const char* FormatName() const override;
    TBitmap Decode(std::span<const uint8_t> bytes, TImageProperties& properties) override;
};

const TGraphicClass& PSDGraphicClass();

}  // namespace kobalto
