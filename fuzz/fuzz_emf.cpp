// libFuzzer target: bytes through the metafile reader and its EMF record
// player. An even first byte puts the rest behind a fixed, valid EMF header
// of a 64 × 64 picture, so the time goes into records; an odd one sends the
// rest as a whole file. The invalid-metafile failure is an expected outcome;
// a crash, a hang, a sanitizer report or any other exception is a finding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Exceptions.h"
#include "base/TByteWriter.h"
#include "fuzz/driver/FuzzHarness.h"
#include "graphics/metafile/TMetafile.h"

// Fontconfig keeps the patterns of the fonts Cairo looked up until the
// process ends: not a finding.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

namespace {

std::vector<uint8_t> Header()
{
    kobalto::TByteWriter w;
    const uint32_t fields[] = {1, 108, 0, 0, 63, 63, 0, 0, 1693, 1693, 0x464D4520, 0x10000, 0, 0};
    for (uint32_t v : fields)
        w.U32LE(v);
    w.U16LE(64);  // handles
    w.U16LE(0);
    const uint32_t rest[] = {0, 0, 0, 1920, 1080, 508, 286, 0, 0, 0, 508000, 285750};
    for (uint32_t v : rest)
        w.U32LE(v);
    return std::move(w.Data());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0 || size > kobalto::fuzz::kMaxInputBytes)
        return 0;
    std::vector<uint8_t> bytes;
    if (!(data[0] & 1))
        bytes = Header();
    bytes.insert(bytes.end(), data + 1, data + size);
    kobalto::TMetafile metafile;
    try {
        metafile.LoadFromBytes(std::move(bytes));
    } catch (const kobalto::EInvalidGraphic&) {
        return 0;
    }
    // Playing costs per pixel: small pictures reach the same records.
    if (metafile.Empty() || kobalto::fuzz::TooLarge(metafile.Width(), metafile.Height()) ||
        int64_t{metafile.Width()} * metafile.Height() > 512 * 512)
        return 0;
    kobalto::TBitmap bitmap(metafile.Width(), metafile.Height());
    metafile.Draw(bitmap, 0, 0);
    kobalto::fuzz::TouchCorners(bitmap);
    return 0;
}
