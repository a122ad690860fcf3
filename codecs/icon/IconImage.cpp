#include "codecs/icon/IconImage.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "base/Checked.h"
#include "base/Exceptions.h"
#include "base/Limits.h"
#include "base/TByteReader.h"
#include "base/TMemoryStream.h"
#include "codecs/icon/IconMessages.h"
#include "codecs/png/PngSignature.h"
#include "codecs/png/TPNGPicture.h"
#include "graphics/Draw.h"

namespace kobalto {

namespace {

constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kMaxHeaderSize = 124;
constexpr uint32_t kBiRgb = 0;

[[noreturn]] void ThrowInvalidIcon() { throw EInvalidGraphic(msg::kInvalidIconImage); }
void OnTruncated(std::string_view) { ThrowInvalidIcon(); }

bool IsPng(std::span<const uint8_t> data)
{
    return data.size() >= kPngSignature.size() && std::equal(kPngSignature.begin(), kPngSignature.end(), data.begin());
}

// The checked header of a bitmap image: the colour rows are height rows,
// half the height the header gives (which counts the mask's rows too).
struct TIconDib {
    int width = 0;
    int height = 0;
    int bits = 0;
    std::vector<TColor> palette;  // 2^bits entries for the indexed depths
    std::span<const uint8_t> colorRows;
    std::span<const uint8_t> maskRows;
    size_t colorRowBytes = 0;
    size_t maskRowBytes = 0;
};

TIconDib ParseDib(std::span<const uint8_t> data)
{
    TByteReader r(data, "ICO", OnTruncated);
    const uint32_t headerSize = r.U32LE();
    if (headerSize < kInfoHeaderSize || headerSize > kMaxHeaderSize)
        ThrowInvalidIcon();
    const int32_t width = r.I32LE();
    // An unsigned halving, as the platform does it: a negative height turns
    // into a huge one, which the size check refuses.
    const int64_t height = static_cast<uint32_t>(r.I32LE()) >> 1;
    r.Skip(2);  // planes
    const unsigned bits = r.U16LE();
    const uint32_t compression = r.U32LE();
    if (width <= 0 || height <= 0)
        ThrowInvalidIcon();
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        ThrowInvalidIcon();
    if (compression != kBiRgb)
        ThrowInvalidIcon();
    CheckImageSize(width, height, "ICO");

    TIconDib dib;
    dib.width = width;
    dib.height = static_cast<int>(height);
    dib.bits = static_cast<int>(bits);
    r.Seek(headerSize);
    if (bits <= 8) {
        // The whole table is always there; the count of colours used is not consulted.
        dib.palette.resize(size_t{1} << bits);
        for (TColor& c : dib.palette) {
            const auto q = r.Take(4);
            c = TColor{q[2], q[1], q[0]};
        }
    }
    dib.colorRowBytes = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    dib.maskRowBytes = (static_cast<size_t>(width) + 31) / 32 * 4;
    dib.colorRows = r.Take(CheckedMul(dib.colorRowBytes, dib.height));
    dib.maskRows = r.Take(CheckedMul(dib.maskRowBytes, dib.height));
    return dib;
}

TColor ColorAt(const TIconDib& dib, const uint8_t* row, int x)
{
    switch (dib.bits) {
    case 1: return dib.palette[(row[x >> 3] >> (7 - (x & 7))) & 1];
    case 4: return dib.palette[(x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4];
    case 8: return dib.palette[row[x]];
    case 16: {
        // 5-5-5, each field widened to 8 bits the platform's way.
        const unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
        auto widen = [](unsigned f) { return static_cast<uint8_t>((f << 3) | (f >> 2)); };
        return TColor{widen((v >> 10) & 31), widen((v >> 5) & 31), widen(v & 31)};
    }
    case 24: return TColor{row[3 * x + 2], row[3 * x + 1], row[3 * x]};
    default: return TColor{row[4 * x + 2], row[4 * x + 1], row[4 * x]};  // the fourth byte is not used
    }
}

// The colour image and the mask at the header's size; rows in the file run
// bottom-up.
void SplitDib(const TIconDib& dib, TBitmap& color, TBitmap& mask)
{
    color = TBitmap::ForDecoding(dib.width, dib.height, TPixelFormat::pf24bit);
    mask = TBitmap::ForDecoding(dib.width, dib.height, TPixelFormat::pf1bit);
    mask.Palette() = {TRGBQuad{0, 0, 0, 0}, TRGBQuad{255, 255, 255, 0}};
    for (int fileRow = 0; fileRow < dib.height; ++fileRow) {
        const int y = dib.height - 1 - fileRow;
        const uint8_t* src = dib.colorRows.data() + static_cast<size_t>(fileRow) * dib.colorRowBytes;
        uint8_t* dst = color.ScanLine(y);
        for (int x = 0; x < dib.width; ++x) {
            const TColor c = ColorAt(dib, src, x);
            dst[3 * x] = c.blue;
            dst[3 * x + 1] = c.green;
            dst[3 * x + 2] = c.red;
        }
        // Same packing as a 1-bit row of the bitmap: copied as it is, with
        // the padding bits cleared.
        const uint8_t* maskSrc = dib.maskRows.data() + static_cast<size_t>(fileRow) * dib.maskRowBytes;
        uint8_t* maskDst = mask.ScanLine(y);
        std::copy_n(maskSrc, dib.maskRowBytes, maskDst);
        const int tail = dib.width & 7;
        const size_t used = (static_cast<size_t>(dib.width) + 7) / 8;
        if (tail)
            maskDst[used - 1] &= static_cast<uint8_t>(0xFF << (8 - tail));
        std::fill(maskDst + used, maskDst + mask.Stride(), uint8_t{0});
    }
}

// White AND mask, then XOR colour: where the mask bit is 1 the colour
// inverts white, where it is 0 the colour stands as it is.
TBitmap Compose(const TBitmap& color, const TBitmap& mask)
{
    TBitmap out = TBitmap::ForDecoding(color.Width(), color.Height(), TPixelFormat::pf24bit);
    for (int y = 0; y < out.Height(); ++y) {
        const uint8_t* c = color.ScanLine(y);
        const uint8_t* m = mask.ScanLine(y);
        uint8_t* o = out.ScanLine(y);
        for (int x = 0; x < out.Width(); ++x) {
            const uint8_t bit = (m[x >> 3] >> (7 - (x & 7))) & 1;
            const uint8_t base = bit ? 0xFF : 0x00;
            for (int k = 0; k < 3; ++k)
                o[3 * x + k] = base ^ c[3 * x + k];
        }
    }
    return out;
}

TBitmap Stretched(const TBitmap& source, int width, int height, TPixelFormat format)
{
    if (source.Width() == width && source.Height() == height)
        return source;
    TBitmap target(width, height, format);
    if (format == TPixelFormat::pf1bit)
        target.Palette() = source.Palette();
    StretchBitmap(target, source);
    return target;
}

TIconImage DecodePng(std::span<const uint8_t> data)
{
    TMemoryStream stream(std::vector<uint8_t>(data.begin(), data.end()));
    TPNGPicture png;
    png.LoadFromStream(stream);
    TIconImage image;
    image.bitmap = TBitmap(png.Width(), png.Height(), TPixelFormat::pf24bit);
    png.Draw(image.bitmap, 0, 0);
    return image;
}

}  // namespace

TIconImage DecodeIconImage(std::span<const uint8_t> data, int width, int height)
{
    if (IsPng(data))
        return DecodePng(data);
    const TIconDib dib = ParseDib(data);
    TBitmap color, mask;
    SplitDib(dib, color, mask);
    TIconImage image;
    image.bitmap = Compose(Stretched(color, width, height, TPixelFormat::pf24bit),
                           Stretched(mask, width, height, TPixelFormat::pf1bit));
    image.colorCount = dib.bits <= 8 ? 1 << dib.bits : 0;
    return image;
}

}  // namespace kobalto
