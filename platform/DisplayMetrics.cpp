#include "platform/DisplayMetrics.h"

namespace kobalto::platform {

TDisplayMetrics DisplayMetrics()
{
    // 96 pixels per 2540 hundredths of a millimetre (one inch), on both axes.
    return TDisplayMetrics{1920 * 2540 / 96, 1080 * 2540 / 96, 1920, 1080};
}

}  // namespace kobalto::platform
