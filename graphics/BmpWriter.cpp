#include "graphics/BmpWriter.h"

#include <cstring>
#include <vector>

#include "base/Exceptions.h"
#include "base/TByteWriter.h"
#include "graphics/GraphicsMessages.h"
#include "graphics/TBitmap.h"

namespace kobalto {

namespace {
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
}  // namespace

void WriteBmp(TStream& stream, const TBitmap& bitmap)
{
    const TPixelFormat format = bitmap.PixelFormat();
    const bool indexed = IsIndexed(format);
    const bool masks = format == TPixelFormat::pf16bit;
    const int bits = StorageBitsPerPixel(format);
    const uint32_t colors = indexed ? static_cast<uint32_t>(bitmap.Palette().size()) : 0;
    const uint32_t tableSize = colors * 4 + (masks ? 12 : 0);
    const uint64_t imageSize = bitmap.ImageSize();
    const uint64_t offset = kFileHeaderSize + kInfoHeaderSize + tableSize;
    const uint64_t fileSize = offset + imageSize;
    if (fileSize > 0xFFFFFFFFu)
        throw EInvalidGraphicOperation(msg::kBmpTooLarge);

    TByteWriter h;
    // File header.
    h.Text("BM");
    h.U32LE(static_cast<uint32_t>(fileSize));
    h.U16LE(0);
    h.U16LE(0);
    h.U32LE(static_cast<uint32_t>(offset));
    // Information header: positive height, so rows run bottom-up.
    h.U32LE(kInfoHeaderSize);
    h.U32LE(static_cast<uint32_t>(bitmap.Width()));
    h.U32LE(static_cast<uint32_t>(bitmap.Height()));
    h.U16LE(1);
    h.U16LE(static_cast<uint16_t>(bits));
    h.U32LE(masks ? kBiBitfields : kBiRgb);
    h.U32LE(static_cast<uint32_t>(imageSize));
    h.U32LE(0);  // horizontal resolution: unknown
    h.U32LE(0);  // vertical resolution: unknown
    h.U32LE(colors);
    h.U32LE(0);
    if (masks) {
        h.U32LE(0xF800);
        h.U32LE(0x07E0);
        h.U32LE(0x001F);
    }
    for (const TRGBQuad& q : bitmap.Palette()) {
        if (!indexed)
            break;
        h.U8(q.blue);
        h.U8(q.green);
        h.U8(q.red);
        h.U8(0);
    }
    stream.WriteBuffer(h.Data().data(), h.Size());
    if (imageSize != 0)
        stream.WriteBuffer(bitmap.Bits(), imageSize);
}

}  // namespace kobalto
