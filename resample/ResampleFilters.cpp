#include "resample/ResampleFilters.h"

namespace kobalto {

namespace {

// The nearest extended values to 8/9 and 16/9.
constexpr Extended kEightNinths = 8.0L / 9.0L;
constexpr Extended kSixteenNinths = 16.0L / 9.0L;

}  // namespace

Extended CubicKernel(Extended d)
{
    if (d < 1)
        return ((d * d - d) - 1) * (d - 1);
    return (-(d - 1)) * (d - 2) * (d - 2);
}

Extended LagrangeKernel(Extended d)
{
    if (d < 1)
        return ((d - 2) * 0.5L) * (d + 1) * (d - 1);
    return ((-(d - 3)) * (d - 2) * (d - 1)) / 6;
}

Extended MitchellKernel(Extended d)
{
    if (d < 1)
        return (((d * 7) * d) * d) / 6 - (d * 2) * d + kEightNinths;
    return ((d * 2) * d - (d * 10) / 3) - (((d * 7) * d) * d) / 18 + kSixteenNinths;
}

std::array<Extended, 4> BSplineColumnWeights(Extended fx)
{
    Extended a[5];
    for (int k = 1; k <= 4; ++k) {
        const Extended t = k - fx;
        a[k] = (t * t * t) / 6;
    }
    return {a[1],
            a[2] - 4 * a[1],
            (a[3] - 4 * a[2]) + 6 * a[1],
            ((a[4] - 4 * a[3]) + 6 * a[2]) - 4 * a[1]};
}

std::array<Extended, 4> BSplineRowWeights(Extended fy)
{
    Extended b[4];
    for (int k = 0; k <= 3; ++k) {
        const Extended t = fy + k;
        b[k] = (t * t * t) / 6;
    }
    return {((b[3] - 4 * b[2]) + 6 * b[1]) - 4 * b[0],
            (b[2] - 4 * b[1]) + 6 * b[0],
            b[1] - 4 * b[0],
            b[0]};
}

}  // namespace kobalto
