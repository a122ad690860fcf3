// libFuzzer target: bytes through the metafile reader and its WMF record
// player. An even first byte puts the rest behind a fixed placeable header
// (64 × 64 units at 96 per inch) and a standard header with 16 object
// slots, so the time goes into records; an odd one sends the rest as a whole
// file. The invalid-metafile failure is an expected outcome; a crash, a
// hang, a sanitizer report or any other exception is a finding.
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
    w.U32LE(0x9AC6CDD7);
    const uint16_t placeable[] = {0, 0, 0, 64, 64, 96, 0, 0};
    for (uint16_t v : placeable)
        w.U16LE(v);
    uint16_t sum = 0;
    for (size_t i = 0; i < 20; i += 2)
        sum ^= static_cast<uint16_t>(w.Data()[i] | w.Data()[i + 1] << 8);
    w.U16LE(sum);
    const uint16_t standard[] = {1, 9, 0x300, 0, 0, 16, 0, 0, 0};
    for (uint16_t v : standard)
        w.U16LE(v);
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
