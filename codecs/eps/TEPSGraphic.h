#pragma once
// Encapsulated PostScript files with a DOS binary header: the TIFF preview
// they carry is read as a TIFF file. PostScript itself is not interpreted.
#include "codecs/tiff/TTIFFGraphic.h"

namespace kobalto {

class TEPSGraphic : public TTIFFGraphic {
public:
    const char* ClassName() const override { return "TEPSGraphic"; }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TEPSGraphic>(*this); }

protected:
    const char* FormatName() const override;
    // Raises "Cannot load image. Invalid or unexpected EPS image format." for
    // a file without the DOS binary header or without a TIFF preview inside
    // the file; the preview's own faults raise the TIFF reader's messages.
    TBitmap Decode(std::span<const uint8_t> bytes, TImageProperties& properties) override;
};

// Where the TIFF preview lies in a DOS binary EPS file: offset and length,
// the length cut to the file. Raises as Decode does.
std::span<const uint8_t> EpsTiffPreview(std::span<const uint8_t> file);

const TGraphicClass& EPSGraphicClass();

}  // namespace kobalto
