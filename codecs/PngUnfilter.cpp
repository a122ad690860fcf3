#include "codecs/PngUnfilter.h"

#include "codecs/PngErrors.h"
#include "codecs/PngMessages.h"

namespace kobalto {

namespace {

void UnfilterSub(uint8_t* row, size_t length, size_t bpp)
{
    for (size_t i = bpp; i < length; ++i)
        row[i] = static_cast<uint8_t>(row[i] + row[i - bpp]);
}

void UnfilterUp(uint8_t* row, const uint8_t* prev, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        row[i] = static_cast<uint8_t>(row[i] + prev[i]);
}

void UnfilterAverage(uint8_t* row, const uint8_t* prev, size_t length, size_t bpp)
{
    const size_t lead = bpp < length ? bpp : length;
    for (size_t i = 0; i < lead; ++i)
        row[i] = static_cast<uint8_t>(row[i] + (prev[i] >> 1));
    for (size_t i = bpp; i < length; ++i)
        row[i] = static_cast<uint8_t>(row[i] + ((row[i - bpp] + prev[i]) >> 1));
}

// The pixel width as a constant lets the compiler keep a whole pixel's
// neighbours in registers: Paeth is the costliest filter to undo.
template <size_t Bpp>
void UnfilterPaethFixed(uint8_t* row, const uint8_t* prev, size_t length)
{
    const size_t lead = Bpp < length ? Bpp : length;
    for (size_t i = 0; i < lead; ++i)
        row[i] = static_cast<uint8_t>(row[i] + prev[i]);
    for (size_t i = Bpp; i + Bpp <= length; i += Bpp)
        for (size_t k = 0; k < Bpp; ++k)
            row[i + k] = static_cast<uint8_t>(row[i + k] + PaethPredictor(row[i + k - Bpp], prev[i + k], prev[i + k - Bpp]));
}

void UnfilterPaeth(uint8_t* row, const uint8_t* prev, size_t length, size_t bpp)
{
    switch (bpp) {
    case 1:
        return UnfilterPaethFixed<1>(row, prev, length);
    case 3:
        return UnfilterPaethFixed<3>(row, prev, length);
    case 4:
        return UnfilterPaethFixed<4>(row, prev, length);
    default:
        break;
    }
    const size_t lead = bpp < length ? bpp : length;
    for (size_t i = 0; i < lead; ++i)
        row[i] = static_cast<uint8_t>(row[i] + prev[i]);
    for (size_t i = bpp; i < length; ++i)
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
