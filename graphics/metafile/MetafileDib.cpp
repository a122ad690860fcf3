#include "graphics/metafile/MetafileDib.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "base/Exceptions.h"
#include "base/TByteReader.h"
#include "base/TMemoryStream.h"
#include "graphics/BmpReader.h"

namespace kobalto::mf {

namespace {

// Wider than this Cairo cannot paint a source.
constexpr int64_t kMaxSide = 32767;
// Run-length data expands at most this far per byte in real files, and a
// run-length picture inside a metafile stays below kMaxRlePixels.
constexpr int64_t kMaxRlePixelsPerByte = 256;
constexpr int64_t kMaxRlePixels = int64_t{1} << 26;

struct TDibShape {
    int64_t width = 0, height = 0;
    uint32_t headerSize = 0, bitCount = 0, compression = 0, colorsUsed = 0;
};

bool ReadShape(std::span<const uint8_t> info, TDibShape& s)
{
    TByteReader r(info, "DIB");
    if (info.size() < 12)
        return false;
    s.headerSize = r.U32LE();
    if (s.headerSize == 12) {
        s.width = r.U16LE();
        s.height = static_cast<int16_t>(r.U16LE());
        r.Skip(2);
        s.bitCount = r.U16LE();
        return true;
    }
    if (s.headerSize < 40 || info.size() < 40)
        return false;
    s.width = r.I32LE();
    s.height = r.I32LE();
    r.Skip(2);
    s.bitCount = r.U16LE();
    s.compression = r.U32LE();
    r.Skip(12);
    s.colorsUsed = r.U32LE();
    return true;
}

TDib Decode(std::span<const uint8_t> info, std::span<const uint8_t> bits, const TDibShape& s)
{
    const int64_t h = std::llabs(s.height);
    if (s.width <= 0 || h == 0 || s.width > kMaxSide || h > kMaxSide)
        return {};
    const int64_t rowBytes = (s.width * s.bitCount + 31) / 32 * 4;
    const bool rle = s.compression == 1 || s.compression == 2;
    if (rle ? s.width * h > std::min(static_cast<int64_t>(bits.size()) * kMaxRlePixelsPerByte, kMaxRlePixels)
            : rowBytes * h > static_cast<int64_t>(bits.size()))
        return {};
    // A BMP file around the two parts, so the one BMP reader does the work.
    std::vector<uint8_t> file;
    file.reserve(14 + info.size() + bits.size());
    const uint64_t total = 14 + info.size() + bits.size();
    const uint32_t offset = static_cast<uint32_t>(14 + info.size());
    const uint8_t head[14] = {'B', 'M', static_cast<uint8_t>(total), static_cast<uint8_t>(total >> 8),
                              static_cast<uint8_t>(total >> 16), static_cast<uint8_t>(total >> 24), 0, 0, 0, 0,
                              static_cast<uint8_t>(offset), static_cast<uint8_t>(offset >> 8),
                              static_cast<uint8_t>(offset >> 16), static_cast<uint8_t>(offset >> 24)};
    file.insert(file.end(), head, head + 14);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), bits.begin(), bits.end());
    TMemoryStream stream(std::move(file));
    auto bitmap = std::make_shared<TBitmap>();
    try {
        ReadBmp(stream, *bitmap);
    } catch (const Exception&) {
        return {};
    }
    return TDib{bitmap, s.height > 0};
}

}  // namespace

TDib ReadDib(std::span<const uint8_t> info, std::span<const uint8_t> bits)
{
    TDibShape s;
    if (!ReadShape(info, s))
        return {};
    return Decode(info, bits, s);
}

TDib ReadPackedDib(std::span<const uint8_t> packed)
{
    TDibShape s;
    if (!ReadShape(packed, s))
        return {};
    uint64_t infoSize = s.headerSize;
    if (s.headerSize == 40 && (s.compression == 3 || s.compression == 6))
        infoSize += s.compression == 3 ? 12 : 16;  // masks after a plain header
    uint64_t colors = s.colorsUsed;
    if (colors == 0 && s.bitCount <= 8)
        colors = uint64_t{1} << s.bitCount;
    if (colors > 256 && s.bitCount <= 8)
        colors = 256;
    if (s.bitCount > 8 && colors > 256)
        return {};
    infoSize += colors * (s.headerSize == 12 ? 3 : 4);
    if (infoSize > packed.size())
        return {};
    return Decode(packed.first(static_cast<size_t>(infoSize)), packed.subspan(static_cast<size_t>(infoSize)), s);
}

}  // namespace kobalto::mf
