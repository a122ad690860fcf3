// libFuzzer target: bytes through the metafile reader and its WMF record
// player, behind a placeable header (64 × 64 units at 96 per inch) and a
// standard header with 16 object slots when the first byte is even.
#include "fuzz/driver/MetafileTarget.h"
#include "tests/graphics/MetafileTestBuilder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::vector<uint8_t> header = [] {
        kobalto::TByteWriter w;
        kobalto::test::WriteWmfHeaders(w, 64, 64, 16);
        return std::move(w.Data());
    }();
    return kobalto::fuzz::RunMetafileTarget(data, size, header);
}
