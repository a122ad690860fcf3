#include "graphics/metafile/MetafileWriter.h"

#include <cstring>

#include "base/Exceptions.h"
#include "base/TByteWriter.h"
#include "graphics/GraphicsMessages.h"
#include "graphics/TBitmap.h"
#include "graphics/metafile/MetafileRecords.h"
#include "graphics/metafile/MetafileScale.h"

namespace kobalto {

namespace {

using namespace mf;

constexpr uint32_t kInfoHeaderBytes = 40;

[[noreturn]] void TooLarge(const char* format, const TBitmap& bitmap)
{
    throw EInvalidGraphicOperation(msg::Format(
        msg::kMetafileTooLarge,
        {format, std::to_string(bitmap.Width()), std::to_string(bitmap.Height())}));
}

// The rows of a 24-bit copy, bottom row first, as a DIB stores them.
const TBitmap& As24Bit(const TBitmap& bitmap, TBitmap& scratch)
{
    if (bitmap.PixelFormat() == TPixelFormat::pf24bit)
        return bitmap;
    scratch = bitmap;
    scratch.SetPixelFormat(TPixelFormat::pf24bit);
    return scratch;
}

void WriteInfoHeader(TByteWriter& w, const TBitmap& b)
{
    w.U32LE(kInfoHeaderBytes);
    w.U32LE(static_cast<uint32_t>(b.Width()));
    w.U32LE(static_cast<uint32_t>(b.Height()));  // positive: rows bottom-up
    w.U16LE(1);                                  // planes
    w.U16LE(24);                                 // bits per pixel
    w.U32LE(0);                                  // uncompressed
    w.U32LE(static_cast<uint32_t>(b.ImageSize()));
    w.U32LE(0);  // pixels per metre: the frame carries the size
    w.U32LE(0);
    w.U32LE(0);  // no colour table
    w.U32LE(0);
}

void WriteBits(TByteWriter& w, const TBitmap& b)
{
    if (b.ImageSize() > 0)
        w.Bytes({b.Bits(), b.ImageSize()});
}

}  // namespace

std::vector<uint8_t> EncodeEmf(const TBitmap& source, const platform::TDisplayMetrics& display)
{
    TBitmap scratch;
    const TBitmap& b = As24Bit(source, scratch);
    const int64_t w = b.Width();
    const int64_t h = b.Height();
    const bool empty = w <= 0 || h <= 0;

    constexpr uint32_t kHeaderBytes = 108;
    constexpr uint32_t kStretchFixed = 80;
    constexpr uint32_t kEofBytes = 20;
    const uint64_t bits = empty ? 0 : b.ImageSize();
    const uint64_t stretchBytes = kStretchFixed + kInfoHeaderBytes + bits;
    const uint64_t total = kHeaderBytes + (empty ? 0 : stretchBytes) + kEofBytes;
    if (total > UINT32_MAX)
        TooLarge("EMF", b);

    TByteWriter out;
    out.Data().reserve(static_cast<size_t>(total));
    // Header: bounds in device pixels (inclusive), frame in 0.01 mm.
    out.U32LE(EMR_HEADER);
    out.U32LE(kHeaderBytes);
    out.U32LE(0);
    out.U32LE(0);
    out.U32LE(static_cast<uint32_t>(w - 1));
    out.U32LE(static_cast<uint32_t>(h - 1));
    out.U32LE(0);
    out.U32LE(0);
    out.U32LE(static_cast<uint32_t>(FrameWidthFor(w, display)));
    out.U32LE(static_cast<uint32_t>(FrameHeightFor(h, display)));
    out.U32LE(kEmfSignature);
    out.U32LE(0x10000);  // version
    out.U32LE(static_cast<uint32_t>(total));
    out.U32LE(empty ? 2 : 3);  // records
    out.U16LE(1);              // handles: only the reserved one
    out.U16LE(0);
    out.U32LE(0);  // no description
    out.U32LE(0);
    out.U32LE(0);  // no palette
    out.U32LE(static_cast<uint32_t>(display.widthPixels));
    out.U32LE(static_cast<uint32_t>(display.heightPixels));
    out.U32LE(static_cast<uint32_t>(RoundDivide(display.widthHundredthsMm, 100)));
    out.U32LE(static_cast<uint32_t>(RoundDivide(display.heightHundredthsMm, 100)));
    out.U32LE(0);  // no pixel format
    out.U32LE(0);
    out.U32LE(0);  // no OpenGL
    out.U32LE(static_cast<uint32_t>(display.widthHundredthsMm * 10));  // micrometres
    out.U32LE(static_cast<uint32_t>(display.heightHundredthsMm * 10));

    if (!empty) {
        out.U32LE(EMR_STRETCHDIBITS);
        out.U32LE(static_cast<uint32_t>(stretchBytes));
        out.U32LE(0);  // bounds
        out.U32LE(0);
        out.U32LE(static_cast<uint32_t>(w - 1));
        out.U32LE(static_cast<uint32_t>(h - 1));
        out.U32LE(0);  // destination x, y
        out.U32LE(0);
        out.U32LE(0);  // source x, y
        out.U32LE(0);
        out.U32LE(static_cast<uint32_t>(w));  // source size
        out.U32LE(static_cast<uint32_t>(h));
        out.U32LE(kStretchFixed);  // info header offset and size
        out.U32LE(kInfoHeaderBytes);
        out.U32LE(kStretchFixed + kInfoHeaderBytes);  // bits offset and size
        out.U32LE(static_cast<uint32_t>(bits));
        out.U32LE(0);  // colours are RGB values
        out.U32LE(kSrcCopy);
        out.U32LE(static_cast<uint32_t>(w));  // destination size
        out.U32LE(static_cast<uint32_t>(h));
        WriteInfoHeader(out, b);
        WriteBits(out, b);
    }

    out.U32LE(EMR_EOF);
    out.U32LE(kEofBytes);
    out.U32LE(0);   // palette entries
    out.U32LE(16);  // their offset
    out.U32LE(kEofBytes);
    return std::move(out.Data());
}

std::vector<uint8_t> EncodeWmf(const TBitmap& source, const platform::TDisplayMetrics& display)
{
    TBitmap scratch;
    const TBitmap& b = As24Bit(source, scratch);
    const int64_t w = b.Width();
    const int64_t h = b.Height();
    const bool empty = w <= 0 || h <= 0;
    const int64_t boxRight = HundredthsMmToInch96(FrameWidthFor(w, display));
    const int64_t boxBottom = HundredthsMmToInch96(FrameHeightFor(h, display));
    // Coordinates and the bounding box are 16-bit words.
    if (w > INT16_MAX || h > INT16_MAX || boxRight > INT16_MAX || boxBottom > INT16_MAX)
        TooLarge("WMF", b);

    constexpr uint32_t kHeaderWords = 9;
    const uint64_t bits = empty ? 0 : b.ImageSize();
    const uint64_t stretchWords = (28 + kInfoHeaderBytes + bits) / 2;
    const uint64_t recordWords = 4 + 5 + 5 + (empty ? 0 : stretchWords) + 3;
    if (kHeaderWords + recordWords > UINT32_MAX)
        TooLarge("WMF", b);

    TByteWriter out;
    out.Data().reserve(static_cast<size_t>(22 + 2 * (kHeaderWords + recordWords)));
    // Placeable header: key, handle, box, units per inch, reserved, checksum.
    out.U32LE(kPlaceableKey);
    out.U16LE(0);
    out.U16LE(0);
    out.U16LE(0);
    out.U16LE(static_cast<uint16_t>(boxRight));
    out.U16LE(static_cast<uint16_t>(boxBottom));
    out.U16LE(96);
    out.U32LE(0);
    uint16_t checksum = 0;
    for (size_t i = 0; i < 20; i += 2)
        checksum ^= static_cast<uint16_t>(out.Data()[i] | out.Data()[i + 1] << 8);
    out.U16LE(checksum);

    out.U16LE(1);  // in memory
    out.U16LE(kHeaderWords);
    out.U16LE(0x0300);
    out.U32LE(static_cast<uint32_t>(kHeaderWords + recordWords));
    out.U16LE(0);  // objects
    out.U32LE(static_cast<uint32_t>(empty ? 5 : stretchWords));
    out.U16LE(0);

    out.U32LE(4);
    out.U16LE(META_SETMAPMODE);
    out.U16LE(8);  // anisotropic
    out.U32LE(5);
    out.U16LE(META_SETWINDOWORG);
    out.U16LE(0);  // y, x
    out.U16LE(0);
    out.U32LE(5);
    out.U16LE(META_SETWINDOWEXT);
    out.U16LE(static_cast<uint16_t>(h));
    out.U16LE(static_cast<uint16_t>(w));
    if (!empty) {
        out.U32LE(static_cast<uint32_t>(stretchWords));
        out.U16LE(META_STRETCHDIB);
        out.U32LE(kSrcCopy);
        out.U16LE(0);  // colours are RGB values
        out.U16LE(static_cast<uint16_t>(h));  // source height, width, y, x
        out.U16LE(static_cast<uint16_t>(w));
        out.U16LE(0);
        out.U16LE(0);
        out.U16LE(static_cast<uint16_t>(h));  // destination height, width, y, x
        out.U16LE(static_cast<uint16_t>(w));
        out.U16LE(0);
        out.U16LE(0);
        WriteInfoHeader(out, b);
        WriteBits(out, b);
    }
    out.U32LE(3);
    out.U16LE(META_EOF);
    return std::move(out.Data());
}

}  // namespace kobalto
