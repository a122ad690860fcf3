#include "codecs/tga/TgaHeader.h"

#include <algorithm>

#include "codecs/extended/ExtendedError.h"
#include "codecs/extended/ExtendedMessages.h"

namespace kobalto {

namespace {

[[noreturn]] void Invalid() { RaiseExtended(msg::kInvalidImageFormat, {msg::kFormatTga}); }

TRGBQuad MapEntry(TByteReader& r, int entryBits)
{
    TRGBQuad q;
    if (entryBits == 15 || entryBits == 16) {
        const uint16_t v = r.U16LE();
        q.red = static_cast<uint8_t>((v & 0x7C00) >> 7);
        q.green = static_cast<uint8_t>((v & 0x03E0) >> 2);
        q.blue = static_cast<uint8_t>((v & 0x1F) << 3);
        return q;
    }
    q.blue = r.U8();
    q.green = r.U8();
    q.red = r.U8();
    if (entryBits == 32)
        r.U8();  // alpha is not used
    return q;
}

}  // namespace

TTgaHeader ParseTgaHeader(TByteReader& file)
{
    TTgaHeader h;
    const uint8_t idLength = file.U8();
    const uint8_t mapType = file.U8();
    h.imageType = file.U8();
    const uint16_t mapFirst = file.U16LE();  // palette index of the first stored entry
    const uint16_t mapLength = file.U16LE();
    const uint8_t mapEntryBits = file.U8();
    file.Skip(4);  // origin
    h.width = file.U16LE();
    h.height = file.U16LE();
    h.depth = file.U8();
    const uint8_t descriptor = file.U8();
    h.topDown = descriptor & 0x20;
    h.rightToLeft = descriptor & 0x10;
    h.rle = h.imageType >= 9;

    // What each image type may hold; anything else would leave pixels
    // unwritten or misread.
    switch (h.imageType & 7) {
    case 1:
        if (h.imageType > 9 || h.depth != 8 || mapType != 1)
            Invalid();
        h.scheme = TColorScheme::Indexed;
        break;
    case 2:
        if (h.depth != 15 && h.depth != 16 && h.depth != 24 && h.depth != 32)
            Invalid();
        h.scheme = h.depth == 32 ? TColorScheme::BGRA : TColorScheme::BGR;
        h.samplesPerPixel = h.depth == 32 ? 4 : 3;
        h.bitsPerSample = h.depth <= 16 ? 5 : 8;
        break;
    case 3:
        // 16 bits hold grey and alpha.
        if (h.depth != 8 && h.depth != 16)
            Invalid();
        h.scheme = TColorScheme::Grey;
        h.samplesPerPixel = h.depth / 8;
        break;
    default: Invalid();
    }
    if (h.imageType != 1 && h.imageType != 2 && h.imageType != 3 && h.imageType != 9 && h.imageType != 10 &&
        h.imageType != 11)
        Invalid();
    h.pixelBytes = (h.depth + 7) / 8;

    file.Skip(idLength);
    if (mapType == 1) {
        if (mapEntryBits != 15 && mapEntryBits != 16 && mapEntryBits != 24 && mapEntryBits != 32)
            Invalid();
        const size_t entryBytes = (mapEntryBits + 7u) / 8;
        TByteReader map = file.Sub(entryBytes * mapLength);
        if (h.scheme == TColorScheme::Indexed) {
            // Pixels hold absolute indices; a map may store only the entries
            // from mapFirst on. Entries past 255 cannot be reached.
            if (mapLength == 0 || mapFirst > 255)
                RaiseExtended(msg::kInvalidPalette, {msg::kFormatTga});
            const int end = std::min(mapFirst + mapLength, 256);
            h.palette.assign(static_cast<size_t>(end), TRGBQuad{});
            for (int i = mapFirst; i < end; ++i)
                h.palette[static_cast<size_t>(i)] = MapEntry(map, mapEntryBits);
        }
    }
    h.dataOffset = file.Position();
    return h;
}

}  // namespace kobalto
