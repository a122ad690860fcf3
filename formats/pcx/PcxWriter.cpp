#include "formats/pcx/PcxWriter.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/Exceptions.h"
#include "base/Messages.h"
#include "base/SafeFileWriter.h"
#include "base/TByteWriter.h"
#include "formats/RgbRows.h"
#include "formats/pcx/PcxRunLength.h"
#include "graphics/TBitmap.h"

namespace kobalto {

namespace {

// The bytes per plane line are an even 16-bit count; the last row's index
// is a 16-bit word.
constexpr int kMaxWidth = 65534;
constexpr int kMaxHeight = 65536;
constexpr int kPlanes = 3;
constexpr uint16_t kDpi = 72;

void CheckWritable(const TBitmap& bitmap)
{
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0)
        throw EInvalidGraphicOperation("Cannot write an empty picture as PCX");
    if (bitmap.Width() > kMaxWidth || bitmap.Height() > kMaxHeight)
        throw EInvalidGraphicOperation(msg::Format(
            "Cannot write a picture of %d x %d pixels as PCX: the width must be at most 65534 and the height at "
            "most 65536 pixels.",
            {std::to_string(bitmap.Width()), std::to_string(bitmap.Height())}));
}

TByteWriter Header(int width, int height, uint16_t bytesPerLine)
{
    TByteWriter w;
    w.U8(0x0A);  // ZSoft
    w.U8(5);     // version 5
    w.U8(1);     // run-length coded
    w.U8(8);     // bits per pixel in each plane
    w.U16LE(0);  // window: first column, first row, last column, last row
    w.U16LE(0);
    w.U16LE(static_cast<uint16_t>(width - 1));
    w.U16LE(static_cast<uint16_t>(height - 1));
    w.U16LE(kDpi);
    w.U16LE(kDpi);
    w.Fill(48, 0);  // 16-colour palette, unused with three planes
    w.U8(0);        // reserved
    w.U8(kPlanes);
    w.U16LE(bytesPerLine);
    w.U16LE(1);  // colour, not grey
    w.Fill(128 - w.Size(), 0);  // screen size and filler
    return w;
}

void WritePcx(TStream& stream, const TRgbRows& rows)
{
    const int w = rows.Width();
    const uint16_t bytesPerLine = static_cast<uint16_t>(w + (w & 1));
    const TByteWriter header = Header(w, rows.Height(), bytesPerLine);
    stream.WriteBuffer(header.Data().data(), header.Size());

    // An odd width leaves one padding byte of zero at each plane line's end.
    std::vector<uint8_t> line(bytesPerLine, 0);
    std::vector<uint8_t> coded;
    coded.reserve(2 * kPlanes * static_cast<size_t>(bytesPerLine));
    for (int y = 0; y < rows.Height(); ++y) {
        coded.clear();
        for (int plane = 0; plane < kPlanes; ++plane) {
            rows.Channel(y, plane, line.data());
            AppendPcxRunLength(line, coded);
        }
        stream.WriteBuffer(coded.data(), coded.size());
    }
}

}  // namespace

void SaveBitmapAsPcx(const TBitmap& bitmap, const std::string& fileName)
{
    CheckWritable(bitmap);
    const TRgbRows rows(bitmap);
    WriteFileSafely(fileName, [&rows](TStream& stream) { WritePcx(stream, rows); });
}

}  // namespace kobalto
