#pragma once
// The body of the two metafile fuzz targets: bytes through the metafile
// reader and its record player. An even first byte puts the rest behind a
// fixed, valid header of a 64 × 64 picture, so the time goes into records;
// an odd one sends the rest as a whole file. The invalid-metafile failure is
// an expected outcome; a crash, a hang, a sanitizer report or any other
// exception is a finding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Exceptions.h"
#include "fuzz/driver/FuzzHarness.h"
#include "graphics/metafile/TMetafile.h"

// Fontconfig keeps the patterns of the fonts Cairo looked up until the
// process ends: not a finding. (Defined here, not inline, since each target
// program includes this header from its one source file.)
extern "C" __attribute__((used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

namespace kobalto::fuzz {

inline int RunMetafileTarget(const uint8_t* data, size_t size, const std::vector<uint8_t>& header)
{
    if (size == 0 || size > kMaxInputBytes)
        return 0;
    std::vector<uint8_t> bytes;
    if (!(data[0] & 1))
        bytes = header;
    bytes.insert(bytes.end(), data + 1, data + size);
    TMetafile metafile;
    try {
        metafile.LoadFromBytes(std::move(bytes));
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    // Playing costs per pixel: small pictures reach the same records.
    if (metafile.Empty() || TooLarge(metafile.Width(), metafile.Height()) ||
        int64_t{metafile.Width()} * metafile.Height() > 512 * 512)
        return 0;
    TBitmap bitmap(metafile.Width(), metafile.Height());
    metafile.Draw(bitmap, 0, 0);
    TouchCorners(bitmap);
    return 0;
}

}  // namespace kobalto::fuzz
