#pragma once
// The body of the fuzz targets of the extended readers: arbitrary bytes
// through one reader. Its own failures are expected outcomes; a crash, a
// hang, a sanitizer report or any other exception is a finding. peek gives
// the picture size a header claims (0 × 0 when it cannot tell), so inputs
// whose time would go into pixels rather than parsing are passed over.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "base/Exceptions.h"
#include "fuzz/driver/FuzzHarness.h"

namespace kobalto::fuzz {

inline uint32_t Le16(std::span<const uint8_t> d, size_t p) { return p + 2 <= d.size() ? d[p] | d[p + 1] << 8 : 0; }
inline uint32_t Be16(std::span<const uint8_t> d, size_t p) { return p + 2 <= d.size() ? d[p] << 8 | d[p + 1] : 0; }
inline uint32_t Be32(std::span<const uint8_t> d, size_t p) { return p + 4 <= d.size() ? Be16(d, p) << 16 | Be16(d, p + 2) : 0; }
inline uint32_t Le32(std::span<const uint8_t> d, size_t p) { return p + 4 <= d.size() ? Le16(d, p) | Le16(d, p + 2) << 16 : 0; }

template <typename Reader, typename Peek>
int RunExtendedTarget(const uint8_t* data, size_t size, Peek peek)
{
    if (size > kMaxInputBytes)
        return 0;
    const std::span<const uint8_t> bytes(data, size);
    int64_t width = 0, height = 0;
    peek(bytes, width, height);
    if (TooLarge(width, height))
        return 0;
    Reader reader;
    try {
        reader.LoadFromBytes(bytes);
        TouchCorners(reader);
    } catch (const Exception&) {
    }
    return 0;
}

}  // namespace kobalto::fuzz
