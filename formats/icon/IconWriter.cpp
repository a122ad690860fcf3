#include "formats/icon/IconWriter.h"

#include <algorithm>

#include "base/SafeFileWriter.h"
#include "base/TByteWriter.h"
#include "graphics/TBitmap.h"

namespace kobalto {

namespace {

constexpr uint32_t kDirectorySize = 6 + 16;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;

int FileBits(TPixelFormat format) { return format == TPixelFormat::pf15bit ? 16 : BitsPerPixel(format); }

// Bytes between the 40-byte header and the colour rows: a full table for
// indexed bitmaps, the three masks of 5-6-5 pixels.
uint32_t TableBytes(const TBitmap& bitmap)
{
    if (IsIndexed(bitmap.PixelFormat()))
        return 4u << FileBits(bitmap.PixelFormat());
    return bitmap.PixelFormat() == TPixelFormat::pf16bit ? 12 : 0;
}

uint8_t SizeByte(int side) { return side >= 1 && side <= 255 ? static_cast<uint8_t>(side) : 0; }

// 2^bits when that fits a byte and is at least 1; 0 says "no table" or "256".
uint16_t ColorCountWord(int bits)
{
    const uint64_t colors = bits < 16 ? uint64_t{1} << bits : 0;
    return colors >= 1 && colors <= 255 ? static_cast<uint16_t>(colors) : 0;
}

// The colour rows with every pixel of the key colour made black: the mask
// alone then makes those places transparent.
TBitmap Blackened(const TBitmap& bitmap, TColor key)
{
    TBitmap copy(bitmap);
    copy.SetTransparent(false);
    for (int y = 0; y < copy.Height(); ++y)
        for (int x = 0; x < copy.Width(); ++x)
            if (bitmap.Pixel(x, y) == key)
                copy.SetPixel(x, y, kBlack);
    return copy;
}

void WriteMaskRows(TByteWriter& w, const TBitmap& bitmap, TColor key)
{
    const size_t rowBytes = (static_cast<size_t>(bitmap.Width()) + 31) / 32 * 4;
    std::vector<uint8_t> row(rowBytes);
    for (int y = bitmap.Height() - 1; y >= 0; --y) {
        std::fill(row.begin(), row.end(), uint8_t{0});
        for (int x = 0; x < bitmap.Width(); ++x)
            if (bitmap.Pixel(x, y) == key)
                row[static_cast<size_t>(x) >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
        w.Bytes(row);
    }
}

}  // namespace

std::vector<uint8_t> EncodeIcon(const TBitmap& bitmap)
{
    const TPixelFormat format = bitmap.PixelFormat();
    const int bits = FileBits(format);
    const TColor key = bitmap.TransparentColor();
    const TBitmap colors = Blackened(bitmap, key);
    const uint32_t headerAndTable = kInfoHeaderSize + TableBytes(bitmap);
    const uint32_t colorBytes = static_cast<uint32_t>(colors.ImageSize());
    const uint32_t maskBytes =
        static_cast<uint32_t>((static_cast<size_t>(bitmap.Width()) + 31) / 32 * 4 * bitmap.Height());

    TByteWriter w;
    // Directory: reserved, type 1 (icon), one image.
    w.U16LE(0);
    w.U16LE(1);
    w.U16LE(1);
    w.U8(SizeByte(bitmap.Width()));
    w.U8(SizeByte(bitmap.Height()));
    w.U16LE(ColorCountWord(bits));  // the colour count and the reserved byte
    w.U16LE(1);                     // planes
    w.U16LE(static_cast<uint16_t>(bits));
    w.U32LE(headerAndTable + colorBytes + maskBytes);
    w.U32LE(kDirectorySize);

    // Bitmap header: the height covers the colour rows and the mask rows.
    w.U32LE(kInfoHeaderSize);
    w.U32LE(static_cast<uint32_t>(bitmap.Width()));
    w.U32LE(static_cast<uint32_t>(bitmap.Height()) * 2);
    w.U16LE(1);
    w.U16LE(static_cast<uint16_t>(bits));
    w.U32LE(format == TPixelFormat::pf16bit ? kBiBitfields : kBiRgb);
    w.U32LE(colorBytes);
    w.Fill(16, 0);  // resolutions, colours used, colours important
    if (format == TPixelFormat::pf16bit) {
        w.U32LE(0xF800);
        w.U32LE(0x07E0);
        w.U32LE(0x001F);
    } else if (IsIndexed(format)) {
        const size_t entries = size_t{1} << bits;
        for (size_t i = 0; i < entries; ++i) {
            const TRGBQuad q = i < colors.Palette().size() ? colors.Palette()[i] : TRGBQuad{};
            w.U8(q.blue);
            w.U8(q.green);
            w.U8(q.red);
            w.U8(0);
        }
    }
    // The bitmap keeps its rows bottom-up and padded to 4 bytes, as the file does.
    if (colorBytes != 0)
        w.Bytes({colors.Bits(), colors.ImageSize()});
    WriteMaskRows(w, bitmap, key);
    return std::move(w.Data());
}

void BitmapToIconStream(const TBitmap& bitmap, TStream& stream)
{
    const std::vector<uint8_t> file = EncodeIcon(bitmap);
    stream.WriteBuffer(file.data(), file.size());
}

void BitmapToIconFile(const TBitmap& bitmap, const std::string& fileName)
{
    WriteFileSafely(fileName, [&bitmap](TStream& stream) { BitmapToIconStream(bitmap, stream); });
}

}  // namespace kobalto
