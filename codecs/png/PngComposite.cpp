#include "codecs/png/PngComposite.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "graphics/PackedIndex.h"
#include "graphics/PixelRows.h"

namespace kobalto {

namespace {

struct Entry {
    uint8_t blue, green, red, alpha;
};

std::array<Entry, 256> EntryTable(const PngImage& image)
{
    std::array<Entry, 256> table{};
    const auto& palette = image.pixels.Palette();
    for (size_t i = 0; i < table.size(); ++i) {
        if (i < palette.size())
            table[i] = Entry{palette[i].blue, palette[i].green, palette[i].red, 255};
        else
            table[i] = Entry{0, 0, 0, 255};
        if (i < image.entryAlpha.size())
            table[i].alpha = image.entryAlpha[i];
    }
    return table;
}

// Pixels [x0, x1) of source row sy over out (3 bytes per pixel, starting
// with pixel x0).
void PutRow(const PngImage& image, const std::array<Entry, 256>& table, int sy, int x0, int x1, uint8_t* out)
{
    const uint8_t* src = image.pixels.ScanLine(sy);
    if (image.Indexed()) {
        const int bits = BitsPerPixel(image.pixels.PixelFormat());
        for (int x = x0; x < x1; ++x, out += 3) {
            const Entry& e = table[ReadPackedIndex(src, x, bits)];
            if (e.alpha == 255) {
                out[0] = e.blue;
                out[1] = e.green;
                out[2] = e.red;
            } else if (e.alpha != 0) {
                out[0] = MixSample(e.blue, e.alpha, out[0]);
                out[1] = MixSample(e.green, e.alpha, out[1]);
                out[2] = MixSample(e.red, e.alpha, out[2]);
            }
        }
        return;
    }
    src += 3 * static_cast<size_t>(x0);
    if (!image.alpha.empty()) {
        const uint8_t* a = image.alpha.data() + static_cast<size_t>(sy) * image.pixels.Width() + x0;
        for (int x = x0; x < x1; ++x, src += 3, out += 3, ++a) {
            if (*a == 255) {
                std::memcpy(out, src, 3);
            } else if (*a != 0) {
                out[0] = MixSample(src[0], *a, out[0]);
                out[1] = MixSample(src[1], *a, out[1]);
                out[2] = MixSample(src[2], *a, out[2]);
            }
        }
        return;
    }
    if (image.key) {
        const TColor k = *image.key;
        for (int x = x0; x < x1; ++x, src += 3, out += 3)
            if (src[0] != k.blue || src[1] != k.green || src[2] != k.red)
                std::memcpy(out, src, 3);
        return;
    }
    std::memcpy(out, src, 3 * static_cast<size_t>(x1 - x0));
}

}  // namespace

void DrawPngImage(const PngImage& image, TBitmap& target, int x, int y)
{
    const int w = image.pixels.Width();
    const int h = image.pixels.Height();
    const int x0 = std::max(0, -x);
    const int x1 = std::min(w, target.Width() - x);
    const int y0 = std::max(0, -y);
    const int y1 = std::min(h, target.Height() - y);
    if (x0 >= x1 || y0 >= y1)
        return;
    const std::array<Entry, 256> table = EntryTable(image);
    const bool direct = target.PixelFormat() == TPixelFormat::pf24bit;
    std::vector<uint8_t> scratch(direct ? 0 : 3 * static_cast<size_t>(target.Width()));
    for (int sy = y0; sy < y1; ++sy) {
        const int ty = y + sy;
        uint8_t* row = direct ? target.ScanLine(ty) : scratch.data();
        if (!direct)
            RowToBgr24(target, ty, row);
        PutRow(image, table, sy, x0, x1, row + 3 * static_cast<size_t>(x + x0));
        if (!direct)
            Bgr24ToRow(target, ty, row);
    }
}

void CompositeOnWhite(PngImage& image)
{
    if (image.Indexed() || image.Opaque())
        return;
    const int w = image.pixels.Width();
    for (int y = 0; y < image.pixels.Height(); ++y) {
        uint8_t* p = image.pixels.ScanLine(y);
        if (!image.alpha.empty()) {
            const uint8_t* a = image.alpha.data() + static_cast<size_t>(y) * w;
            for (int x = 0; x < w; ++x, p += 3)
                if (a[x] != 255)
                    for (int c = 0; c < 3; ++c)
                        p[c] = MixSample(p[c], a[x], 255);
        } else {
            const TColor k = *image.key;
            for (int x = 0; x < w; ++x, p += 3)
                if (p[0] == k.blue && p[1] == k.green && p[2] == k.red)
                    p[0] = p[1] = p[2] = 255;
        }
    }
    image.alpha.clear();
    image.alpha.shrink_to_fit();
    image.key.reset();
}

}  // namespace kobalto
