#include "graphics/BmpReader.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "base/Exceptions.h"
#include "base/Limits.h"
#include "graphics/BmpBitfields.h"
#include "graphics/BmpHeader.h"
#include "graphics/BmpRle.h"
#include "graphics/GraphicsMessages.h"
#include "graphics/PackedIndex.h"
#include "graphics/TBitmap.h"

namespace kobalto {

// A file cut short inside its pixel data still loads once its headers and
// colour table are complete: rows (and the tail of a row) the file never
// reached come out as index 0 in indexed pictures and black otherwise. An
// uncompressed file holding far less than its rows declare
// (HoldsFarTooLittle) is refused instead: a few hundred bytes must not cost
// hundreds of megabytes. Run-length data is not held to this: its
// end-of-bitmap code lawfully leaves every later pixel at index 0.

namespace {

// Reads up to count bytes; fewer only where the stream ends.
size_t ReadUpTo(TStream& stream, uint8_t* buffer, size_t count)
{
    size_t done = 0;
    while (done < count) {
        const size_t n = stream.Read(buffer + done, count - done);
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

TPixelFormat TargetFormat(const TBmpHeader& h)
{
    switch (h.bitCount) {
    case 1: return TPixelFormat::pf1bit;
    case 2:  // no 2-bit format: each index widens to a nibble
    case 4: return TPixelFormat::pf4bit;
    case 8: return TPixelFormat::pf8bit;
    case 24: return TPixelFormat::pf24bit;
    default: return PlanMaskedPixels(h.bitCount, h.masks).format;
    }
}

// True when the file's rows are byte for byte the bitmap's rows.
bool RowsCopyAsTheyAre(const TBmpHeader& h)
{
    if (h.bitCount == 16 || h.bitCount == 32)
        return PlanMaskedPixels(h.bitCount, h.masks).copyRows;
    return h.bitCount != 2;
}

void TwoBitToNibbles(const uint8_t* src, int width, uint8_t* out)
{
    for (int x = 0; x < width; ++x)
        WritePackedIndex(out, x, 4, ReadPackedIndex(src, x, 2));
}

// Keeps the bitmap's invariants whatever the file held: zero row padding, and
// a zero fourth byte in 32-bit pixels taken over as they were (the file's
// alpha is not used).
void CleanRows(const TBmpHeader& h, bool copied, TBitmap& out)
{
    const int bits = StorageBitsPerPixel(out.PixelFormat());
    const size_t used = UsedRowBytes(h.width, out.PixelFormat());
    for (int y = 0; y < h.height; ++y) {
        uint8_t* row = out.ScanLine(y);
        if (used < out.Stride())
            std::memset(row + used, 0, out.Stride() - used);
        if (copied && bits == 32)
            for (int x = 0; x < h.width; ++x)
                row[4 * x + 3] = 0;
    }
}

void ReadUncompressed(TStream& stream, size_t available, const TBmpHeader& h, TBitmap& out)
{
    const bool copy = RowsCopyAsTheyAre(h);
    if (copy && !h.topDown) {
        // Same layout, same row order: the pixel block goes straight in.
        const size_t total = out.ImageSize();
        const size_t got = ReadUpTo(stream, out.Bits(), std::min(total, available));
        std::memset(out.Bits() + got, 0, total - got);
    } else {
        std::vector<uint8_t> buffer(copy ? 0 : h.rowBytes);
        const TBmpMaskDecoder decoder(h.masks);
        const int outBytes = out.PixelFormat() == TPixelFormat::pf32bit ? 4 : 3;
        for (int fileRow = 0; fileRow < h.height; ++fileRow) {
            const int y = h.topDown ? fileRow : h.height - 1 - fileRow;
            if (available == 0) {
                // Past the file's end nothing is left to convert: a tiny file
                // may claim millions of rows.
                std::memset(out.ScanLine(y), 0, out.Stride());
                continue;
            }
            uint8_t* dst = copy ? out.ScanLine(y) : buffer.data();
            const size_t got = ReadUpTo(stream, dst, std::min(h.rowBytes, available));
            available -= got;
            std::memset(dst + got, 0, h.rowBytes - got);
            if (copy)
                continue;
            if (h.bitCount == 2)
                TwoBitToNibbles(dst, h.width, out.ScanLine(y));
            else
                decoder.DecodeRow(dst, h.width, h.bitCount, out.ScanLine(y), outBytes);
        }
    }
    CleanRows(h, copy, out);
}

void ReadRle(TStream& stream, size_t available, const TBmpHeader& h, TBitmap& out)
{
    // The image size field is unreliable; the run codes end the data themselves.
    std::vector<uint8_t> data(available);
    data.resize(ReadUpTo(stream, data.data(), data.size()));
    DecodeBmpRle(data, h, out);
}

}  // namespace

void ReadBmp(TStream& stream, TBitmap& bitmap)
{
    // Offsets in the file count from the BMP's first byte, which need not be
    // the stream's.
    const int64_t start = stream.Position();
    const int64_t end = stream.Size();
    uint64_t fileSize = end > start ? static_cast<uint64_t>(end - start) : 0;

    std::vector<uint8_t> head(static_cast<size_t>(std::min<uint64_t>(fileSize, kBmpMaxHeadBytes)));
    const size_t got = ReadUpTo(stream, head.data(), head.size());
    if (got < head.size()) {
        fileSize = got;  // the stream ended sooner than its size said
        head.resize(got);
    }
    const TBmpHeader header = ParseBmpHeader(head, fileSize);
    const bool rle = header.compression == TBmpCompression::Rle8 || header.compression == TBmpCompression::Rle4;
    if (!rle && HoldsFarTooLittle(uint64_t{header.rowBytes} * static_cast<uint64_t>(header.height),
                                  fileSize - header.dataOffset))
        throw EInvalidGraphic(msg::kInvalidBitmap);

    // Every pixel byte is written below: from the file, or zero where it ends.
    TBitmap out = TBitmap::ForDecoding(header.width, header.height, TargetFormat(header));
    if (IsIndexed(out.PixelFormat()))
        out.Palette() = header.palette;
    stream.SetPosition(start + static_cast<int64_t>(header.dataOffset));
    const size_t available = static_cast<size_t>(fileSize - header.dataOffset);
    if (rle)
        ReadRle(stream, available, header, out);
    else
        ReadUncompressed(stream, available, header, out);

    const bool transparent = bitmap.Transparent();
    bitmap = std::move(out);
    bitmap.SetTransparent(transparent);
}

}  // namespace kobalto
