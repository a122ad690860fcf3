// libFuzzer target: arbitrary bytes through the TIFF reader. The reader's own
// failures are expected outcomes; a crash, a hang, a sanitizer report or any
// other exception is a finding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Exceptions.h"
#include "base/TMemoryStream.h"
#include "codecs/tiff/TTIFFGraphic.h"
#include "fuzz/driver/FuzzHarness.h"
#include "fuzz/driver/FuzzTiffSize.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > kobalto::fuzz::kMaxInputBytes || kobalto::fuzz::TiffTooLarge({data, size}))
        return 0;
    kobalto::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
    kobalto::TTIFFGraphic tiff;
    try {
        tiff.LoadFromStream(stream);
        kobalto::fuzz::TouchCorners(tiff);
    } catch (const kobalto::Exception&) {
    }
    return 0;
}
