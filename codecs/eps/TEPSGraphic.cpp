#include "codecs/eps/TEPSGraphic.h"

#include <algorithm>

#include "base/TByteReader.h"
#include "codecs/extended/ExtendedError.h"
#include "codecs/extended/ExtendedMessages.h"

namespace kobalto {

namespace {

[[noreturn]] void Invalid() { RaiseExtended(msg::kInvalidImageFormat, {msg::kFormatEps}); }

[[noreturn]] void InvalidHeader(std::string_view) { Invalid(); }

}  // namespace

std::span<const uint8_t> EpsTiffPreview(std::span<const uint8_t> file)
{
    // 30 bytes: the mark, then offset and length of the PostScript, the
    // metafile and the TIFF preview, and a checksum.
    TByteReader r(file, msg::kFormatEps, InvalidHeader);
    if (r.U32LE() != 0xC6D3D0C5)
        Invalid();
    r.Skip(16);
    const uint32_t offset = r.U32LE();
    const uint32_t length = r.U32LE();
    if (offset == 0 || length == 0 || offset >= file.size())
        Invalid();
    return file.subspan(offset, std::min<size_t>(length, file.size() - offset));
}

const char* TEPSGraphic::FormatName() const { return msg::kFormatEps; }

TBitmap TEPSGraphic::Decode(std::span<const uint8_t> bytes, TImageProperties& properties)
{
    return DecodeTiff(EpsTiffPreview(bytes), properties);
}

const TGraphicClass& EPSGraphicClass()
{
    static const TGraphicClass cls{"TEPSGraphic", [] { return std::make_unique<TEPSGraphic>(); },
                                   &TIFFGraphicClass()};
    return cls;
}

}  // namespace kobalto
