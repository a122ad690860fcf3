#include "codecs/jpeg/JpegExifOrientation.h"

#include <algorithm>
#include <array>

#include "base/Exceptions.h"
#include "base/TByteReader.h"

namespace kobalto {

namespace {

constexpr std::array<uint8_t, 6> kExifSignature{'E', 'x', 'i', 'f', 0, 0};
constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kTypeShort = 3;

// Reads the TIFF structure after the signature; offsets count from its start.
int OrientationOfTiff(TByteReader tiff)
{
    const uint16_t order = tiff.U16LE();
    if (order != 0x4949 && order != 0x4D4D)  // "II" or "MM"
        return 1;
    const bool little = order == 0x4949;
    auto u16 = [&] { return little ? tiff.U16LE() : tiff.U16BE(); };
    auto u32 = [&] { return little ? tiff.U32LE() : tiff.U32BE(); };
    if (u16() != 42)
        return 1;
    tiff.Seek(u32());
    const uint16_t entries = u16();
    for (uint16_t i = 0; i < entries; ++i) {
        const uint16_t tag = u16();
        const uint16_t type = u16();
        const uint32_t count = u32();
        if (tag != kOrientationTag) {
            tiff.Skip(4);
            continue;
        }
        // A SHORT sits in the first two bytes of the entry's value field.
        if (type != kTypeShort || count < 1)
            return 1;
        const uint16_t value = u16();
        return value >= 1 && value <= 8 ? value : 1;
    }
    return 1;
}

}  // namespace

int ExifOrientation(std::span<const uint8_t> app1)
{
    if (app1.size() < kExifSignature.size() || !std::equal(kExifSignature.begin(), kExifSignature.end(), app1.begin()))
        return 1;
    try {
        return OrientationOfTiff(TByteReader(app1.subspan(kExifSignature.size()), "EXIF"));
    } catch (const Exception&) {
        // A broken block: the picture is shown as stored.
        return 1;
    }
}

}  // namespace kobalto
