// libFuzzer target: bytes through the metafile reader and its EMF record
// player, behind a valid EMF header when the first byte is even.
#include "fuzz/driver/MetafileTarget.h"
#include "tests/graphics/MetafileTestBuilder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::vector<uint8_t> header = [] {
        kobalto::TByteWriter w;
        kobalto::test::WriteEmfHeader(w, 64, 64, 64);
        return std::move(w.Data());
    }();
    return kobalto::fuzz::RunMetafileTarget(data, size, header);
}
