#include "graphics/BmpRle.h"

#include <algorithm>
#include <cstring>

#include "graphics/PackedIndex.h"
#include "graphics/TBitmap.h"

namespace kobalto {

namespace {

// Writes pixels of one row; columns at or past the width are dropped.
class TRleRow {
public:
    TRleRow(uint8_t* row, int width, bool nibbles) : row_(row), width_(width), bits_(nibbles ? 4 : 8) {}

    void Put(int x, unsigned index) const
    {
        if (x < width_)
            WritePackedIndex(row_, x, bits_, static_cast<uint8_t>(index));
    }

private:
    uint8_t* row_;
    int width_;
    int bits_;
};

// The i-th pixel of a run: RLE4 packs two pixels a byte, high nibble first.
unsigned RunPixel(uint8_t byte, int i, bool nibbles)
{
    return nibbles ? ReadPackedIndex(&byte, i & 1, 4) : byte;
}

}  // namespace

void DecodeBmpRle(std::span<const uint8_t> data, const TBmpHeader& header, TBitmap& bitmap)
{
    if (bitmap.ImageSize() != 0)
        std::memset(bitmap.Bits(), 0, bitmap.ImageSize());
    const bool nibbles = header.compression == TBmpCompression::Rle4;
    const int width = header.width;
    const int height = header.height;
    const size_t size = data.size();
    size_t pos = 0;
    int x = 0;  // never beyond width: whatever lies past it is dropped anyway
    int y = 0;  // rows in file order
    // Every step consumes at least two bytes, so the loop ends with the data.
    while (y < height && size - pos >= 2) {
        const uint8_t count = data[pos];
        const uint8_t value = data[pos + 1];
        pos += 2;
        const TRleRow row(bitmap.ScanLine(header.topDown ? y : height - 1 - y), width, nibbles);
        if (count > 0) {
            for (int i = 0; i < count && x + i < width; ++i)
                row.Put(x + i, RunPixel(value, i, nibbles));
            x = std::min(x + count, width);
            continue;
        }
        switch (value) {
        case 0:  // end of line
            x = 0;
            ++y;
            break;
        case 1:  // end of bitmap
            return;
        case 2:  // delta: move right and up
            if (size - pos < 2)
                return;
            x = std::min(x + data[pos], width);
            y += data[pos + 1];
            pos += 2;
            break;
        default: {  // absolute run of value pixels, padded to a word
            const size_t bytes = nibbles ? (value + 1u) / 2 : value;
            const size_t present = std::min(bytes, size - pos);
            for (int i = 0; i < value && x + i < width; ++i) {
                const size_t at = nibbles ? static_cast<size_t>(i) / 2 : static_cast<size_t>(i);
                if (at >= present)
                    break;
                row.Put(x + i, RunPixel(data[pos + at], i, nibbles));
            }
            x = std::min(x + value, width);
            pos += std::min(bytes + (bytes & 1), size - pos);
            break;
        }
        }
    }
}

}  // namespace kobalto
