#include "codecs/tiff/TiffPredictor.h"

namespace kobalto {

void UndoHorizontalPredictor(uint8_t* row, int width, int samplesPerPixel, int bitsPerSample, bool bigEndian)
{
    const size_t count = static_cast<size_t>(width) * samplesPerPixel;
    const size_t step = static_cast<size_t>(samplesPerPixel);
    if (bitsPerSample == 8) {
        for (size_t i = step; i < count; ++i)
            row[i] = static_cast<uint8_t>(row[i] + row[i - step]);
    } else if (bitsPerSample == 16) {
        auto get = [&](size_t i) {
            return bigEndian ? (row[2 * i] << 8) | row[2 * i + 1] : row[2 * i] | (row[2 * i + 1] << 8);
        };
        for (size_t i = step; i < count; ++i) {
            const auto v = static_cast<uint16_t>(get(i) + get(i - step));
            row[2 * i] = static_cast<uint8_t>(bigEndian ? v >> 8 : v);
            row[2 * i + 1] = static_cast<uint8_t>(bigEndian ? v : v >> 8);
        }
    }
}

}  // namespace kobalto
