#pragma once
// A zlib stream held whole in memory, inflated in one call: faster than
// zlib's streaming inflate, but all or nothing, so the callers keep the
// streaming path for everything this refuses.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace kobalto {

struct WholeInflateResult {
    size_t consumed = 0;  // input bytes up to and with the checksum
    size_t produced = 0;  // output bytes
};

// Inflates the zlib stream at the start of source into target. Gives nothing
// unless the stream is whole, valid (checksum included) and fits in target.
// Like zlib, it follows distances up to 32 KB whatever window the header
// declares.
std::optional<WholeInflateResult> InflateWhole(std::span<const uint8_t> source, std::span<uint8_t> target);

}  // namespace kobalto
