#include "codecs/png/PngSampledDecoder.h"

#include <cstring>
#include <vector>

#include "codecs/png/PngComposite.h"
#include "codecs/png/PngImageDecoder.h"
#include "codecs/png/PngRowConverter.h"
#include "codecs/png/PngUnfilter.h"
#include "graphics/Draw.h"
#include "graphics/TRowGate.h"

namespace kobalto {

bool PngCanDecodeStretched(const PngHeader& header)
{
    return header.interlace == 0 && PngPixelFormat(header) == TPixelFormat::pf24bit;
}

TBitmap DecodePngStretched(const PngHeader& header, PngInflater& inflater, const PngTransparency& transparency,
                           const PngGamma& gamma, int width, int height, TRowGate* rows)
{
    const int w = static_cast<int>(header.width);
    const int h = static_cast<int>(header.height);
    const std::vector<int> xs = NearestMap(width, w);
    const std::vector<int> ys = NearestMap(height, h);
    // Every target pixel is written below.
    TBitmap target = TBitmap::ForDecoding(width, height, TPixelFormat::pf24bit);

    // As the whole decode does: alpha comes from the samples or the key.
    const bool withAlpha =
        header.colorType == kPngGreyAlpha || header.colorType == kPngRgbAlpha || transparency.hasKey;
    const size_t rowBytes = header.RowBytes(header.width);
    std::vector<uint8_t> current(rowBytes + 1);
    std::vector<uint8_t> previous(rowBytes + 1);
    const std::vector<uint8_t> zeros(rowBytes + 1);
    std::vector<uint8_t> bgr(3 * static_cast<size_t>(w));
    std::vector<uint8_t> alpha(withAlpha ? static_cast<size_t>(w) : 0);
    const int bpp = header.FilterOffset();

    const uint8_t* above = zeros.data();
    int ty = 0;
    for (int y = 0; y < h; ++y) {
        uint8_t* row = inflater.Next(rowBytes + 1, current.data());
        uint8_t* raw = row + 1;
        UnfilterRow(row[0], raw, above + 1, rowBytes, bpp);
        above = row;
        current.swap(previous);
        if (ty == height || ys[static_cast<size_t>(ty)] != y)
            continue;
        ConvertDirectRow(header, raw, header.width, bgr.data(), withAlpha ? alpha.data() : nullptr, 0, 1,
                         transparency, gamma);
        uint8_t* out = target.ScanLine(ty);
        for (int tx = 0; tx < width; ++tx, out += 3) {
            const size_t x = static_cast<size_t>(xs[static_cast<size_t>(tx)]);
            const uint8_t* p = bgr.data() + 3 * x;
            const uint8_t a = withAlpha ? alpha[x] : 255;
            if (a == 255) {
                out[0] = p[0];
                out[1] = p[1];
                out[2] = p[2];
            } else {
                // Mixed with white, as the picture drawn on white would be.
                for (int c = 0; c < 3; ++c)
                    out[c] = MixSample(p[c], a, 255);
            }
        }
        // An enlargement repeats the row.
        for (++ty; ty < height && ys[static_cast<size_t>(ty)] == y; ++ty)
            std::memcpy(target.ScanLine(ty), target.ScanLine(ty - 1), 3 * static_cast<size_t>(width));
        if (rows)
            rows->Publish(target, ty);
    }
    return target;
}

}  // namespace kobalto
