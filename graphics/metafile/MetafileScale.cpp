#include "graphics/metafile/MetafileScale.h"

namespace kobalto {

int64_t RoundDivide(int64_t num, int64_t den)
{
    const int64_t q = num / den;
    const int64_t r2 = 2 * (num % den);
    if (r2 > den || (r2 == den && (q & 1)))
        return q + 1;
    return q;
}

int64_t FrameWidthFor(int64_t pixels, const platform::TDisplayMetrics& display)
{
    return RoundDivide(pixels * display.widthHundredthsMm, display.widthPixels);
}

int64_t FrameHeightFor(int64_t pixels, const platform::TDisplayMetrics& display)
{
    return RoundDivide(pixels * display.heightHundredthsMm, display.heightPixels);
}

int64_t HundredthsMmToInch96(int64_t hundredthsMm)
{
    return RoundDivide(hundredthsMm * 96, 2540);
}

}  // namespace kobalto
