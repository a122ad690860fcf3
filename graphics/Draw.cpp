#include "graphics/Draw.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "graphics/PixelRows.h"
#include "graphics/TBitmap.h"

namespace kobalto {

// Mapping the centre of each target cell back spreads dropped or repeated
// lines evenly.
std::vector<int> NearestMap(int targetSize, int sourceSize)
{
    std::vector<int> map(static_cast<size_t>(targetSize));
    for (int t = 0; t < targetSize; ++t) {
        int64_t s = ((2 * int64_t{t} + 1) * sourceSize) / (2 * int64_t{targetSize});
        map[static_cast<size_t>(t)] = static_cast<int>(std::min<int64_t>(s, sourceSize - 1));
    }
    return map;
}

namespace {

bool IsDirect24(const TBitmap& b) { return b.PixelFormat() == TPixelFormat::pf24bit; }

// Writes width × 3 bytes of blue-green-red into target row y from column x,
// skipping pixels equal to the key when one is given.
void PutBgrRun(TBitmap& target, int x, int y, const uint8_t* bgr, int width, const TColor* key)
{
    if (IsDirect24(target) && !key) {
        std::memcpy(target.ScanLine(y) + 3 * static_cast<size_t>(x), bgr, static_cast<size_t>(width) * 3);
        return;
    }
    if (IsDirect24(target)) {
        uint8_t* dst = target.ScanLine(y) + 3 * static_cast<size_t>(x);
        for (int i = 0; i < width; ++i) {
            const uint8_t* p = bgr + 3 * i;
            if (p[0] == key->blue && p[1] == key->green && p[2] == key->red)
                continue;
            std::memcpy(dst + 3 * i, p, 3);
        }
        return;
    }
    for (int i = 0; i < width; ++i) {
        const uint8_t* p = bgr + 3 * i;
        TColor c{p[2], p[1], p[0]};
        if (key && c == *key)
            continue;
        target.SetPixel(x + i, y, c);
    }
}

}  // namespace

void DrawBitmap(TBitmap& target, int x, int y, const TBitmap& source)
{
    const int left = std::max(0, x);
    const int top = std::max(0, y);
    const int right = std::min(target.Width(), x + source.Width());
    const int bottom = std::min(target.Height(), y + source.Height());
    if (left >= right || top >= bottom)
        return;
    const TColor keyColor = source.TransparentColor();
    const TColor* key = source.Transparent() ? &keyColor : nullptr;
    std::vector<uint8_t> row(static_cast<size_t>(source.Width()) * 3);
    for (int ty = top; ty < bottom; ++ty) {
        const int sy = ty - y;
        const uint8_t* bgr;
        if (IsDirect24(source)) {
            bgr = source.ScanLine(sy);
        } else {
            RowToBgr24(source, sy, row.data());
            bgr = row.data();
        }
        PutBgrRun(target, left, ty, bgr + 3 * static_cast<size_t>(left - x), right - left, key);
    }
}

namespace {

// The range [first, last) of source lines that target line t covers; at
// least one line, so enlarging repeats.
void Span(int t, int targetSize, int sourceSize, int& first, int& last)
{
    first = static_cast<int>((int64_t{t} * sourceSize) / targetSize);
    last = static_cast<int>((int64_t{t + 1} * sourceSize) / targetSize);
    if (last <= first)
        last = first + 1;
    last = std::min(last, sourceSize);
    first = std::min(first, last - 1);
}

void StretchAndCombine(TBitmap& target, const TBitmap& source, const TColor* key)
{
    const int tw = target.Width(), th = target.Height();
    const int sw = source.Width(), sh = source.Height();
    std::vector<uint8_t> line(static_cast<size_t>(sw) * 3);
    std::vector<uint8_t> acc(static_cast<size_t>(sw) * 3);
    std::vector<uint8_t> out(static_cast<size_t>(tw) * 3);
    for (int ty = 0; ty < th; ++ty) {
        int y0, y1;
        Span(ty, th, sh, y0, y1);
        std::fill(acc.begin(), acc.end(), 0xFF);
        for (int sy = y0; sy < y1; ++sy) {
            RowToBgr24(source, sy, line.data());
            for (size_t i = 0; i < acc.size(); ++i)
                acc[i] &= line[i];
        }
        for (int tx = 0; tx < tw; ++tx) {
            int x0, x1;
            Span(tx, tw, sw, x0, x1);
            uint8_t c[3] = {0xFF, 0xFF, 0xFF};
            for (int sx = x0; sx < x1; ++sx)
                for (int k = 0; k < 3; ++k)
                    c[k] &= acc[3 * static_cast<size_t>(sx) + k];
            std::memcpy(out.data() + 3 * static_cast<size_t>(tx), c, 3);
        }
        PutBgrRun(target, 0, ty, out.data(), tw, key);
    }
}

}  // namespace

void StretchBitmap(TBitmap& target, const TBitmap& source)
{
    const int tw = target.Width(), th = target.Height();
    const int sw = source.Width(), sh = source.Height();
    if (tw <= 0 || th <= 0 || sw <= 0 || sh <= 0)
        return;
    const TColor keyColor = source.TransparentColor();
    const TColor* key = source.Transparent() ? &keyColor : nullptr;
    if (source.PixelFormat() == TPixelFormat::pf1bit) {
        StretchAndCombine(target, source, key);
        return;
    }
    const std::vector<int> xs = NearestMap(tw, sw);
    const std::vector<int> ys = NearestMap(th, sh);
    if (IsDirect24(source) && IsDirect24(target) && !key) {
        // The common case: byte offsets once, then a tight copy per row.
        std::vector<size_t> offsets(xs.size());
        for (size_t i = 0; i < xs.size(); ++i)
            offsets[i] = 3 * static_cast<size_t>(xs[i]);
        int lastSource = -1;
        const uint8_t* lastRow = nullptr;
        for (int ty = 0; ty < th; ++ty) {
            uint8_t* dst = target.ScanLine(ty);
            const int sy = ys[static_cast<size_t>(ty)];
            if (sy == lastSource) {
                std::memcpy(dst, lastRow, static_cast<size_t>(tw) * 3);
                continue;
            }
            const uint8_t* src = source.ScanLine(sy);
            for (int tx = 0; tx < tw; ++tx) {
                const uint8_t* p = src + offsets[static_cast<size_t>(tx)];
                dst[0] = p[0];
                dst[1] = p[1];
                dst[2] = p[2];
                dst += 3;
            }
            lastSource = sy;
            lastRow = target.ScanLine(ty);
        }
        return;
    }
    std::vector<uint8_t> line(static_cast<size_t>(sw) * 3);
    std::vector<uint8_t> out(static_cast<size_t>(tw) * 3);
    int converted = -1;
    for (int ty = 0; ty < th; ++ty) {
        const int sy = ys[static_cast<size_t>(ty)];
        if (sy != converted) {
            RowToBgr24(source, sy, line.data());
            for (int tx = 0; tx < tw; ++tx)
                std::memcpy(out.data() + 3 * static_cast<size_t>(tx), line.data() + 3 * static_cast<size_t>(xs[static_cast<size_t>(tx)]), 3);
            converted = sy;
        }
        PutBgrRun(target, 0, ty, out.data(), tw, key);
    }
}

}  // namespace kobalto
