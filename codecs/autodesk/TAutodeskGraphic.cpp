#include "codecs/autodesk/TAutodeskGraphic.h"

#include <cstring>

#include "base/Limits.h"
#include "base/TByteReader.h"
#include "codecs/extended/ExtendedError.h"
#include "codecs/extended/ExtendedGraphicClass.h"
#include "codecs/extended/ExtendedMessages.h"

namespace kobalto {

namespace {

[[noreturn]] void Invalid() { RaiseExtended(msg::kInvalidImageFormat, {msg::kFormatAutodesk}); }

}  // namespace

const char* TAutodeskGraphic::FormatName() const { return msg::kFormatAutodesk; }

TBitmap TAutodeskGraphic::Decode(std::span<const uint8_t> bytes, TImageProperties& properties)
{
    // A 32-byte header: signature, width, height, position, depth,
    // compression, the pixel bytes, then reserved space. Animator Pro cels
    // and other files that share the extensions have other signatures.
    TByteReader file(bytes, msg::kFormatAutodesk, ExtendedTruncated);
    if (file.Size() < 2 || file.U16LE() != 0x9119)
        Invalid();
    const int width = file.U16LE();
    const int height = file.U16LE();
    file.Skip(4);  // position on the screen
    const int depth = file.U8();
    const int compression = file.U8();
    const uint32_t pixelBytes = file.U32LE();
    file.Skip(16);
    if (width < 1 || height < 1 || depth != 8 || compression != 0 ||
        pixelBytes != static_cast<uint32_t>(width) * static_cast<uint32_t>(height))
        Invalid();
    CheckImageSize(width, height, msg::kFormatAutodesk);
    properties.width = width;
    properties.height = height;
    properties.colorScheme = TColorScheme::Indexed;
    properties.bitsPerSample = 8;
    properties.samplesPerPixel = 1;
    properties.bitsPerPixel = 8;

    const std::span<const uint8_t> map = file.Take(768);
    if (file.Remaining() < pixelBytes)
        file.Truncated();  // before the bitmap is made
    TBitmap out = TBitmap::ForDecoding(width, height, TPixelFormat::pf8bit);
    out.Palette().resize(256);
    for (size_t i = 0; i < 256; ++i) {
        // 6-bit components; scaling by 4 keeps 63 at 252.
        const auto c = [&](int k) { return static_cast<uint8_t>((map[3 * i + k] & 0x3F) << 2); };
        out.Palette()[i] = TRGBQuad{c(2), c(1), c(0), 0};
    }
    for (int y = 0; y < height; ++y)
        std::memcpy(out.ScanLine(y), file.Take(static_cast<size_t>(width)).data(), static_cast<size_t>(width));
    return out;
}

const TGraphicClass& AutodeskGraphicClass()
{
    static const TGraphicClass cls{"TAutodeskGraphic", [] { return std::make_unique<TAutodeskGraphic>(); },
                                   &ExtendedGraphicClass()};
    return cls;
}

}  // namespace kobalto
