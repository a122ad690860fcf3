#pragma once
// The display a picture's physical size is measured against: its size in
// hundredths of a millimetre and in pixels, per axis.
#include <cstdint>

namespace kobalto::platform {

struct TDisplayMetrics {
    int64_t widthHundredthsMm = 0;
    int64_t heightHundredthsMm = 0;
    int64_t widthPixels = 0;
    int64_t heightPixels = 0;
};

// A 1920 × 1080 display at 96 pixels per inch (508 × 285.75 mm). There is no
// window-system query beneath the window, so the window and the command line
// measure against the same display and write the same bytes.
TDisplayMetrics DisplayMetrics();

}  // namespace kobalto::platform
