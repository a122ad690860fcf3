#include "resample/ResampleBitmap.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/Exceptions.h"
#include "graphics/TBitmap.h"
#include "resample/ResampleFilters.h"
#include "resample/ResampleMessages.h"
#include "resample/TBmpData24.h"

namespace kobalto {

namespace {

// The fixed frame of one resampling: source, target and the extended ratios
// that map a target pixel back to its source point.
struct TResampleJob {
    const TBmpData24& source;
    const TBmpData24& target;
    Extended rx;
    Extended ry;
};

// Runs pixel(sx, sy, out) for every target pixel, rows outside, columns inside.
template <typename PixelFn>
void ForEachTargetPixel(const TResampleJob& job, PixelFn pixel)
{
    for (int y = 0; y < job.target.Height(); ++y) {
        const Extended sy = y * job.ry;
        for (int x = 0; x < job.target.Width(); ++x) {
            const Extended sx = x * job.rx;
            pixel(sx, sy, job.target.PixelPtr(x, y));
        }
    }
}

void ResampleNearest(const TResampleJob& job)
{
    const TBmpData24& src = job.source;
    ForEachTargetPixel(job, [&src](Extended sx, Extended sy, uint8_t* out) {
        const int i = static_cast<int>(std::min<int64_t>(RoundHalfEven(sx), src.Width() - 1));
        const int j = static_cast<int>(std::min<int64_t>(RoundHalfEven(sy), src.Height() - 1));
        const uint8_t* p = src.PixelPtr(i, j);
        out[0] = p[0];
        out[1] = p[1];
        out[2] = p[2];
    });
}

void ResampleBilinear(const TResampleJob& job)
{
    const TBmpData24& src = job.source;
    ForEachTargetPixel(job, [&src](Extended sx, Extended sy, uint8_t* out) {
        const int i0 = std::max(TruncToInt32(sx), 0);
        const int i1 = i0 + 1 > src.Width() - 1 ? i0 : i0 + 1;
        const int j0 = std::max(TruncToInt32(sy), 0);
        const int j1 = j0 + 1 > src.Height() - 1 ? j0 : j0 + 1;
        const Extended fx = sx - i0;
        const Extended gx = 1 - fx;
        const Extended fy = sy - j0;
        const Extended gy = 1 - fy;
        const uint8_t* p00 = src.PixelPtr(i0, j0);
        const uint8_t* p10 = src.PixelPtr(i1, j0);
        const uint8_t* p01 = src.PixelPtr(i0, j1);
        const uint8_t* p11 = src.PixelPtr(i1, j1);
        for (int c = 0; c < 3; ++c) {
            const Extended top = p00[c] * gx + p10[c] * fx;
            const Extended bottom = p01[c] * gx + p11[c] * fx;
            out[c] = ClampToByte(top * gy + bottom * fy);
        }
    });
}

// An out-of-range neighbour reads the base pixel's column or row rather than
// the nearest edge; its weight still comes from its own position.
inline int SubstituteIndex(int index, int base, int size)
{
    return index >= 0 && index <= size - 1 ? index : base;
}

// 4 × 4 convolution; the kernel is evaluated afresh for both distances of
// every sample.
template <Extended (*Kernel)(Extended)>
void ResampleConvolution(const TResampleJob& job)
{
    const TBmpData24& src = job.source;
    ForEachTargetPixel(job, [&src](Extended sx, Extended sy, uint8_t* out) {
        const int n = TruncToInt32(sx);
        const int p = TruncToInt32(sy);
        Extended sum[3] = {0, 0, 0};
        for (int j = p - 1; j <= p + 2; ++j) {
            const int row = SubstituteIndex(j, p, src.Height());
            for (int i = n - 1; i <= n + 2; ++i) {
                const Extended wx = Kernel(std::fabs(sx - i));
                const Extended wy = Kernel(std::fabs(sy - j));
                const uint8_t* px = src.PixelPtr(SubstituteIndex(i, n, src.Width()), row);
                for (int c = 0; c < 3; ++c)
                    sum[c] = sum[c] + (px[c] * wx) * wy;
            }
        }
        for (int c = 0; c < 3; ++c)
            out[c] = ClampToByte(sum[c]);
    });
}

// The B-spline's eight weights are computed once per target pixel.
void ResampleBSpline(const TResampleJob& job)
{
    const TBmpData24& src = job.source;
    ForEachTargetPixel(job, [&src](Extended sx, Extended sy, uint8_t* out) {
        const int n = TruncToInt32(sx);
        const int p = TruncToInt32(sy);
        const std::array<Extended, 4> wx = BSplineColumnWeights(sx - n);
        const std::array<Extended, 4> wy = BSplineRowWeights(sy - p);
        Extended sum[3] = {0, 0, 0};
        for (int j = p - 1; j <= p + 2; ++j) {
            const int row = SubstituteIndex(j, p, src.Height());
            const Extended yw = wy[static_cast<size_t>(j - p + 1)];
            for (int i = n - 1; i <= n + 2; ++i) {
                const Extended xw = wx[static_cast<size_t>(i - n + 1)];
                const uint8_t* px = src.PixelPtr(SubstituteIndex(i, n, src.Width()), row);
                for (int c = 0; c < 3; ++c)
                    sum[c] = sum[c] + (px[c] * xw) * yw;
            }
        }
        for (int c = 0; c < 3; ++c)
            out[c] = ClampToByte(sum[c]);
    });
}

}  // namespace

uint8_t ClampToByte(Extended v)
{
    if (v < 0)
        return 0;
    if (v > 255)
        return 255;
    return static_cast<uint8_t>(RoundHalfEven(v));
}

std::unique_ptr<TBitmap> CloneBitmap(const TBitmap& bitmap)
{
    return std::make_unique<TBitmap>(bitmap);
}

bool ResampleBitmap(std::unique_ptr<TBitmap>& bitmap, int newWidth, int newHeight, TResampleFilter filter)
{
    if (!bitmap)
        throw EInvalidGraphicOperation(msg::kResampleNoBitmap);
    TBitmap& source = *bitmap;
    if (source.PixelFormat() != TPixelFormat::pf24bit)
        return false;
    // A zero target side fails here, before any object exists.
    const Extended rx = Divide(source.Width(), newWidth);
    const Extended ry = Divide(source.Height(), newHeight);
    // An empty source would be read outside its rows; a negative side has no
    // meaning. Both are refused rather than guessed at.
    if (source.Width() <= 0 || source.Height() <= 0)
        throw EInvalidGraphicOperation(msg::kResampleEmptySource);
    if (newWidth < 0 || newHeight < 0)
        throw EInvalidGraphicOperation(msg::kResampleNegativeTarget);

    // The target starts as the source's top-left corner on white; filters
    // outside the named six leave it so.
    std::unique_ptr<TBitmap> target = CloneBitmap(source);
    target->SetWidth(newWidth);
    target->SetHeight(newHeight);

    {
        const TBmpData24 sourceRows(source);
        const TBmpData24 targetRows(*target);
        const TResampleJob job{sourceRows, targetRows, rx, ry};
        switch (filter) {
        case TResampleFilter::rfNearest: ResampleNearest(job); break;
        case TResampleFilter::rfBilinear: ResampleBilinear(job); break;
        case TResampleFilter::rfCubic: ResampleConvolution<CubicKernel>(job); break;
        case TResampleFilter::rfLagrange: ResampleConvolution<LagrangeKernel>(job); break;
        case TResampleFilter::rfBSpline: ResampleBSpline(job); break;
        case TResampleFilter::rfMitchell: ResampleConvolution<MitchellKernel>(job); break;
        default: break;
        }
    }

    bitmap = std::move(target);
    return true;
}

}  // namespace kobalto
