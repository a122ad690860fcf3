#include "codecs/png/PngRowFilter.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "codecs/png/PngUnfilter.h"

namespace kobalto {

PngRowFilter::PngRowFilter(uint8_t filterSet, size_t rowBytes, int bpp)
    : set_(static_cast<uint8_t>(filterSet & 0x1F)), bpp_(static_cast<size_t>(bpp < 1 ? 1 : bpp)),
      previous_(rowBytes + 1, 0)
{
    // Only the filters in the set get a buffer, and only they are computed.
    for (int type = 1; type <= 4; ++type)
        if (set_ & (1 << type))
            candidates_[type].assign(rowBytes + 1, static_cast<uint8_t>(type));
}

void PngRowFilter::Restart()
{
    std::fill(previous_.begin(), previous_.end(), 0);
}

void PngRowFilter::Candidate(int type, const uint8_t* x, size_t n)
{
    uint8_t* out = candidates_[type].data() + 1;
    const uint8_t* b = previous_.data() + 1;
    const size_t lead = std::min(bpp_, n);
    switch (type) {
    case 1: {
        std::memcpy(out, x, lead);
        size_t i = bpp_;
#if defined(__SSE2__)
        // Every row of every picture goes through here: 16 bytes at a time.
        for (; i + 16 <= n; i += 16) {
            const __m128i cur = _mm_loadu_si128(reinterpret_cast<const __m128i*>(x + i));
            const __m128i left = _mm_loadu_si128(reinterpret_cast<const __m128i*>(x + i - bpp_));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_sub_epi8(cur, left));
        }
#endif
        for (; i < n; ++i)
            out[i] = static_cast<uint8_t>(x[i] - x[i - bpp_]);
        break;
    }
    case 2:
        for (size_t i = 0; i < n; ++i)
            out[i] = static_cast<uint8_t>(x[i] - b[i]);
        break;
    case 3:
        for (size_t i = 0; i < lead; ++i)
            out[i] = static_cast<uint8_t>(x[i] - (b[i] >> 1));
        for (size_t i = bpp_; i < n; ++i)
            out[i] = static_cast<uint8_t>(x[i] - ((x[i - bpp_] + b[i]) >> 1));
        break;
    default:
        for (size_t i = 0; i < lead; ++i)
            out[i] = static_cast<uint8_t>(x[i] - b[i]);
        for (size_t i = bpp_; i < n; ++i)
            out[i] = static_cast<uint8_t>(x[i] - PaethPredictor(x[i - bpp_], b[i], b[i - bpp_]));
        break;
    }
}

std::span<const uint8_t> PngRowFilter::Filter(const uint8_t* row, size_t length)
{
    for (int type = 1; type <= 4; ++type)
        if (set_ & (1 << type))
            Candidate(type, row, length);
    std::memcpy(previous_.data() + 1, row, length);
    previous_[0] = 0;

    auto result = [&](int type) {
        const std::vector<uint8_t>& buffer = type == 0 ? previous_ : candidates_[type];
        return std::span<const uint8_t>(buffer.data(), length + 1);
    };
    if (std::popcount(set_) == 1)
        return result(std::countr_zero(set_));
    if ((set_ & ~kPngFilterNone) == 0)
        return result(0);
    // The candidate with the most bytes that repeat one of the two before
    // them; ties keep the lower type, and nothing repeating keeps None.
    int best = 0;
    size_t bestCount = 0;
    for (int type = 0; type <= 4; ++type) {
        if (!(set_ & (1 << type)))
            continue;
        const uint8_t* c = result(type).data() + 1;
        size_t count = 0;
        for (size_t j = 2; j < length; ++j)
            count += (c[j] == c[j - 1] || c[j] == c[j - 2]) ? 1 : 0;
        if (count > bestCount) {
            bestCount = count;
            best = type;
        }
    }
    return result(best);
}

}  // namespace kobalto
