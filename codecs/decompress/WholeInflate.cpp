#include "codecs/decompress/WholeInflate.h"

#include <libdeflate.h>

#include <memory>

namespace kobalto {

std::optional<WholeInflateResult> InflateWhole(std::span<const uint8_t> source, std::span<uint8_t> target)
{
    const std::unique_ptr<libdeflate_decompressor, void (*)(libdeflate_decompressor*)> decompressor(
        libdeflate_alloc_decompressor(), libdeflate_free_decompressor);
    if (!decompressor)
        return std::nullopt;
    WholeInflateResult result;
    if (libdeflate_zlib_decompress_ex(decompressor.get(), source.data(), source.size(), target.data(),
                                      target.size(), &result.consumed, &result.produced) != LIBDEFLATE_SUCCESS)
        return std::nullopt;
    return result;
}

}  // namespace kobalto
