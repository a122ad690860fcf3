// libFuzzer target: arbitrary bytes through both icon readers and the icon
// picture of the registry. Their own failures are expected outcomes; a
// crash, a hang, a sanitizer report or any other exception is a finding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Exceptions.h"
#include "base/TMemoryStream.h"
#include "codecs/icon/IconDirectory.h"
#include "codecs/icon/TIcon.h"
#include "formats/icon/TIcon32.h"
#include "formats/icon/TInternalIcon.h"
#include "fuzz/driver/FuzzHarness.h"

namespace {

uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24); }
uint32_t U32BE(const uint8_t* p) { return (uint32_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }

// Any image whose header claims more pixels than a fuzz run should spend
// its time on: a bitmap header's width and half height, or a PNG's size.
bool ClaimsTooMuch(const std::vector<uint8_t>& file)
{
    for (const kobalto::TIconEntry& e : kobalto::ReadIconDirectory(file)) {
        if (e.imageOffset > file.size() || file.size() - e.imageOffset < 24)
            continue;
        const uint8_t* p = file.data() + e.imageOffset;
        const bool png = p[0] == 0x89 && p[1] == 'P';
        const uint32_t w = png ? U32BE(p + 16) : U32(p + 4);
        const uint32_t h = png ? U32BE(p + 20) : U32(p + 8) / 2;
        if (kobalto::fuzz::TooLarge(w, h))
            return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > kobalto::fuzz::kMaxInputBytes)
        return 0;
    const std::vector<uint8_t> bytes(data, data + size);
    if (ClaimsTooMuch(bytes))
        return 0;
    {
        kobalto::TMemoryStream stream(bytes);
        kobalto::TIcon32 icon;
        if (icon.LoadFromStream(stream))
            kobalto::fuzz::TouchCorners(icon.Bitmap());
    }
    {
        kobalto::TMemoryStream stream(bytes);
        kobalto::TInternalIcon icon;
        icon.LoadFromStream(stream);
        for (int i = 0; i < icon.ImageCount(); ++i)
            kobalto::fuzz::TouchCorners(*icon.GetImage(i));
    }
    try {
        kobalto::TMemoryStream stream(bytes);
        kobalto::TIcon icon;
        icon.LoadFromStream(stream);
        kobalto::fuzz::TouchCorners(icon.Image());
    } catch (const kobalto::Exception&) {
    }
    return 0;
}
