#include "codecs/jpeg/JpegExifOrientation.h"

#include <algorithm>
#include <array>

#include "base/Exceptions.h"
#include "base/TByteReader.h"
#include "codecs/tiff/TiffDirectory.h"
#include "codecs/tiff/TiffTags.h"

namespace kobalto {

namespace {

constexpr std::array<uint8_t, 6> kExifSignature{'E', 'x', 'i', 'f', 0, 0};
// Reads the TIFF structure after the signature; offsets count from its start.
int OrientationOfTiff(TByteReader tiff)
{
    const TTiffHeader header = ReadTiffHeader(tiff);
    if (!header.knownMark || !header.magic42)
        return 1;
    const TTiffDirectory dir(tiff, header.firstDirectory);
    const TTiffEntry* e = dir.Find(tiff::kOrientation);
    if (!e || e->type != tiff::kShort || e->count < 1)
        return 1;
    const uint32_t value = dir.Value(tiff::kOrientation, 1);
    return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
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
