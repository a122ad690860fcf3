#include "codecs/png/PngImageDecoder.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/Checked.h"
#include "codecs/png/PngAdam7.h"
#include "codecs/png/PngRowConverter.h"
#include "codecs/png/PngUnfilter.h"

namespace kobalto {

namespace {

bool HeldIndexed(const PngHeader& h)
{
    return h.colorType == kPngPalette || (h.colorType == kPngGrey && h.bitDepth <= 8);
}

}  // namespace

TPixelFormat PngPixelFormat(const PngHeader& h)
{
    if (!HeldIndexed(h))
        return TPixelFormat::pf24bit;
    switch (h.bitDepth) {
    case 1:
        return TPixelFormat::pf1bit;
    case 2:
    case 4:
        return TPixelFormat::pf4bit;
    default:
        return TPixelFormat::pf8bit;
    }
}

size_t PngImageDataSize(const PngHeader& h)
{
    if (h.interlace == 0)
        return CheckedMul(h.height, CheckedAdd(h.RowBytes(h.width), 1));
    size_t total = 0;
    for (const PngPass& pass : kAdam7Passes) {
        const uint32_t columns = pass.Columns(h.width);
        const uint32_t rows = pass.Rows(h.height);
        if (columns != 0 && rows != 0)
            total = CheckedAdd(total, CheckedMul(rows, CheckedAdd(h.RowBytes(columns), 1)));
    }
    return total;
}

void DecodePngImage(const PngHeader& header, PngInflater& inflater, const PngTransparency& transparency,
                    const PngGamma& gamma, PngImage& image)
{
    const int width = static_cast<int>(header.width);
    const int height = static_cast<int>(header.height);
    const TPixelFormat format = PngPixelFormat(header);
    image = PngImage{};
    // Every pixel is written below (Adam7's passes cover them all); a picture
    // whose data fails is thrown away.
    image.pixels = TBitmap::ForDecoding(width, height, format);
    const bool indexed = IsIndexed(format);
    const int bits = BitsPerPixel(format);
    const bool withAlpha = header.colorType == kPngGreyAlpha || header.colorType == kPngRgbAlpha ||
                           (!indexed && transparency.hasKey);
    if (withAlpha)
        image.alpha.assign(CheckedMul(header.width, header.height), 255);

    // Row buffers with the filter-type byte in front, for an inflater that
    // does not hold the rows itself; the row above is all zero at a pass's
    // start.
    const size_t fullRow = header.RowBytes(header.width);
    std::vector<uint8_t> current(fullRow + 1);
    std::vector<uint8_t> previous(fullRow + 1);
    const std::vector<uint8_t> zeros(fullRow + 1);
    const int bpp = header.FilterOffset();

    static constexpr PngPass kWhole{0, 0, 1, 1};
    const PngPass* passes = header.interlace ? kAdam7Passes.data() : &kWhole;
    const size_t passCount = header.interlace ? kAdam7Passes.size() : 1;
    for (size_t p = 0; p < passCount; ++p) {
        const PngPass& pass = passes[p];
        const uint32_t columns = pass.Columns(header.width);
        const uint32_t rows = pass.Rows(header.height);
        if (columns == 0 || rows == 0)
            continue;
        const size_t rowBytes = header.RowBytes(columns);
        const uint8_t* above = zeros.data();
        for (uint32_t r = 0; r < rows; ++r) {
            uint8_t* row = inflater.Next(rowBytes + 1, current.data());
            uint8_t* raw = row + 1;
            UnfilterRow(row[0], raw, above + 1, rowBytes, bpp);
            const uint32_t y = pass.y0 + r * pass.dy;
            if (indexed) {
                StoreIndexedRow(raw, columns, header.bitDepth, image.pixels.ScanLine(static_cast<int>(y)), bits,
                                pass.x0, pass.dx);
            } else {
                uint8_t* alpha = withAlpha ? image.alpha.data() + static_cast<size_t>(y) * header.width : nullptr;
                ConvertDirectRow(header, raw, columns, image.pixels.ScanLine(static_cast<int>(y)), alpha, pass.x0,
                                 pass.dx, transparency, gamma);
            }
            // The swap keeps the row where it is, now in the other buffer.
            above = row;
            current.swap(previous);
        }
    }
}

}  // namespace kobalto
