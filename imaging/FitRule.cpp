#include "imaging/FitRule.h"

#include "base/Extended.h"

namespace kobalto {

TFitSize FitToBox(int boxWidth, int boxHeight, int w, int h)
{
    const Extended a = boxWidth, b = boxHeight;
    int32_t height = TruncToInt32(Divide(a, w) * h);
    int32_t width = boxWidth;
    if (height > boxHeight) {
        width = TruncToInt32(Divide(b, height) * a);
        height = boxHeight;
    }
    return {width, height};
}

}  // namespace kobalto
