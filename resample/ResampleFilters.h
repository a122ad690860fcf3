#pragma once
// Interpolation kernels of the smooth resampler. Every value is formed in
// extended precision in a fixed order of operations, because the byte a pixel
// rounds to depends on it.
#include <array>

#include "base/Extended.h"

namespace kobalto {

// Kernels over a distance 0 ≤ d ≤ 2 from the sample point; nothing else is
// ever asked for.
Extended CubicKernel(Extended d);      // cubic convolution, a = −1
Extended LagrangeKernel(Extended d);   // cubic Lagrange
Extended MitchellKernel(Extended d);   // Mitchell–Netravali, B = C = 1/3

// Uniform cubic B-spline weights of the four neighbours −1, 0, 1, 2 around the
// base pixel, for a fraction 0 ≤ f < 1. Columns and rows are built through
// different differences, which round differently; both routes are kept.
std::array<Extended, 4> BSplineColumnWeights(Extended fx);
std::array<Extended, 4> BSplineRowWeights(Extended fy);

}  // namespace kobalto
