#pragma once
// The in-place reduction that every GIF output (and a transparent PNG) goes
// through first: an optimised palette of 256 colours is built from the
// picture, and the picture is mapped onto it with serpentine Floyd–Steinberg
// error diffusion.
#include "graphics/TBitmap.h"

namespace kobalto {

// Afterwards bitmap is an 8-bit picture of the same size with a palette of
// exactly 256 entries (entries the picture did not need are black). Its
// transparency switch is kept.
void ReduceToOptimalPalette(TBitmap& bitmap);

}  // namespace kobalto
