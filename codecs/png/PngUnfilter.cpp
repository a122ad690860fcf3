#include "codecs/png/PngUnfilter.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "codecs/png/PngErrors.h"
#include "codecs/png/PngMessages.h"

namespace kobalto {

namespace {

#if defined(__SSE2__)
// Sub, Average and Paeth restore pixel after pixel, each from the one to its
// left. With a pixel's channels side by side in 16-bit lanes a whole pixel
// takes the steps of one channel. Loads take 8 bytes, so this stops 8 bytes
// before the end of the row and the plain loops finish it.
inline __m128i Load8(const uint8_t* p)
{
    return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), _mm_setzero_si128());
}

template <size_t Bpp>
void StorePixel(uint8_t* p, __m128i v)
{
    const __m128i packed = _mm_packus_epi16(v, v);
    if constexpr (Bpp == 4) {
        const auto w = static_cast<uint32_t>(_mm_cvtsi128_si32(packed));
        std::memcpy(p, &w, 4);
    } else if constexpr (Bpp == 8) {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), packed);
    } else {
        const auto w = static_cast<uint64_t>(_mm_cvtsi128_si64(packed));
        std::memcpy(p, &w, Bpp);
    }
}

inline __m128i Abs16(__m128i v)
{
    return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v));
}

inline __m128i Select(__m128i mask, __m128i yes, __m128i no)
{
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

// Restores whole pixels from the start of the row; returns how many bytes.
template <int Type, size_t Bpp>
size_t UnfilterPixels(uint8_t* row, const uint8_t* prev, size_t length)
{
    const __m128i low = _mm_set1_epi16(0xFF);
    __m128i a = _mm_setzero_si128();  // the restored pixel to the left
    __m128i c = _mm_setzero_si128();  // the pixel above that one
    size_t i = 0;
    for (; i + 8 <= length; i += Bpp) {
        const __m128i x = Load8(row + i);
        __m128i predicted;
        if constexpr (Type == 1) {
            predicted = a;
        } else if constexpr (Type == 3) {
            predicted = _mm_srli_epi16(_mm_add_epi16(a, Load8(prev + i)), 1);
        } else {
            const __m128i b = Load8(prev + i);
            // pa = |b - c|, pb = |a - c|, pc = |a + b - 2c|.
            const __m128i dbc = _mm_sub_epi16(b, c);
            const __m128i dac = _mm_sub_epi16(a, c);
            const __m128i pa = Abs16(dbc), pb = Abs16(dac), pc = Abs16(_mm_add_epi16(dbc, dac));
            const __m128i notA = _mm_or_si128(_mm_cmpgt_epi16(pa, pb), _mm_cmpgt_epi16(pa, pc));
            predicted = Select(notA, Select(_mm_cmpgt_epi16(pb, pc), c, b), a);
            c = b;
        }
        a = _mm_and_si128(_mm_add_epi16(x, predicted), low);
        StorePixel<Bpp>(row + i, a);
    }
    return i;
}

template <int Type>
size_t UnfilterWide(uint8_t* row, const uint8_t* prev, size_t length, size_t bpp)
{
    switch (bpp) {
    case 3:
        return UnfilterPixels<Type, 3>(row, prev, length);
    case 4:
        return UnfilterPixels<Type, 4>(row, prev, length);
    case 6:
        return UnfilterPixels<Type, 6>(row, prev, length);
    case 8:
        return UnfilterPixels<Type, 8>(row, prev, length);
    default:
        return 0;
    }
}
#else
template <int Type>
size_t UnfilterWide(uint8_t*, const uint8_t*, size_t, size_t)
{
    return 0;
}
#endif

// The plain loops carry on from byte start, where the wide path stopped.

void UnfilterSub(uint8_t* row, size_t length, size_t bpp)
{
    for (size_t i = std::max(UnfilterWide<1>(row, nullptr, length, bpp), bpp); i < length; ++i)
        row[i] = static_cast<uint8_t>(row[i] + row[i - bpp]);
}

void UnfilterUp(uint8_t* row, const uint8_t* prev, size_t length)
{
    size_t i = 0;
#if defined(__SSE2__)
    // No byte depends on another: 16 at a time.
    for (; i + 16 <= length; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(prev + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(row + i), _mm_add_epi8(x, b));
    }
#endif
    for (; i < length; ++i)
        row[i] = static_cast<uint8_t>(row[i] + prev[i]);
}

// With the distance known, the three bytes of an RGB pixel restore side by
// side faster than in 16-bit lanes.
template <size_t Bpp>
void UnfilterAverageBytes(uint8_t* row, const uint8_t* prev, size_t length)
{
    size_t i = 0;
    for (; i < Bpp && i < length; ++i)
        row[i] = static_cast<uint8_t>(row[i] + (prev[i] >> 1));
    for (; i < length; ++i)
        row[i] = static_cast<uint8_t>(row[i] + ((row[i - Bpp] + prev[i]) >> 1));
}

void UnfilterAverage(uint8_t* row, const uint8_t* prev, size_t length, size_t bpp)
{
    if (bpp == 3)
        return UnfilterAverageBytes<3>(row, prev, length);
    size_t i = UnfilterWide<3>(row, prev, length, bpp);
    for (; i < bpp && i < length; ++i)
        row[i] = static_cast<uint8_t>(row[i] + (prev[i] >> 1));
    for (; i < length; ++i)
        row[i] = static_cast<uint8_t>(row[i] + ((row[i - bpp] + prev[i]) >> 1));
}

void UnfilterPaeth(uint8_t* row, const uint8_t* prev, size_t length, size_t bpp)
{
    size_t i = UnfilterWide<4>(row, prev, length, bpp);
    for (; i < bpp && i < length; ++i)
        row[i] = static_cast<uint8_t>(row[i] + prev[i]);
    for (; i < length; ++i)
        row[i] = static_cast<uint8_t>(row[i] + PaethPredictor(row[i - bpp], prev[i], prev[i - bpp]));
}

}  // namespace

void UnfilterRow(uint8_t filterType, uint8_t* row, const uint8_t* prev, size_t length, int bpp)
{
    const auto step = static_cast<size_t>(bpp);
    switch (filterType) {
    case 0:
        return;
    case 1:
        return UnfilterSub(row, length, step);
    case 2:
        return UnfilterUp(row, prev, length);
    case 3:
        return UnfilterAverage(row, prev, length, step);
    case 4:
        return UnfilterPaeth(row, prev, length, step);
    default:
        throw EPNGZLIBError(msg::kPngBadFilterType);
    }
}

}  // namespace kobalto
