// libFuzzer target: arbitrary bytes through the EPS reader (the DOS binary
// header and the TIFF preview it points at). The reader's own failures are
// expected outcomes; a crash, a hang, a sanitizer report or any other
// exception is a finding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Exceptions.h"
#include "base/TMemoryStream.h"
#include "codecs/eps/TEPSGraphic.h"
#include "fuzz/driver/FuzzHarness.h"
#include "fuzz/driver/FuzzTiffSize.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > kobalto::fuzz::kMaxInputBytes)
        return 0;
    try {
        if (kobalto::fuzz::TiffTooLarge(kobalto::EpsTiffPreview({data, size})))
            return 0;
    } catch (const kobalto::Exception&) {
    }
    kobalto::TMemoryStream stream(std::vector<uint8_t>(data, data + size));
    kobalto::TEPSGraphic eps;
    try {
        eps.LoadFromStream(stream);
        kobalto::fuzz::TouchCorners(eps);
    } catch (const kobalto::Exception&) {
    }
    return 0;
}
