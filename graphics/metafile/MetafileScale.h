#pragma once
// Conversions between pixels, the frame (hundredths of a millimetre) and the
// placeable bounding box (units per inch) at a display's resolution.
#include <cstdint>

#include "platform/DisplayMetrics.h"

namespace kobalto {

// num ÷ den rounded to nearest, ties to even; den > 0, num ≥ 0.
int64_t RoundDivide(int64_t num, int64_t den);

// A bitmap's width and height as a frame in hundredths of a millimetre.
int64_t FrameWidthFor(int64_t pixels, const platform::TDisplayMetrics& display);
int64_t FrameHeightFor(int64_t pixels, const platform::TDisplayMetrics& display);

// A frame length in hundredths of a millimetre as units of 1/96 inch.
int64_t HundredthsMmToInch96(int64_t hundredthsMm);

}  // namespace kobalto
