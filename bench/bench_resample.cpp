// Resampling a 512 × 512 picture to a 64 × 64 icon, the size the icon writer
// asks for. The clone alone is measured too: every call starts with one, so
// the difference is the filter's own work.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "graphics/TBitmap.h"
#include "resample/ResampleBitmap.h"

namespace {

using kobalto::TBitmap;
using kobalto::TColor;
using kobalto::TResampleFilter;

const TBitmap& Source()
{
    static const TBitmap source = [] {
        TBitmap b(512, 512, kobalto::TPixelFormat::pf24bit);
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                b.SetPixel(x, y, TColor{static_cast<uint8_t>(x ^ y), static_cast<uint8_t>(x * 3 + y),
                                        static_cast<uint8_t>(255 - y)});
        return b;
    }();
    return source;
}

void Resample(benchmark::State& state, TResampleFilter filter)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto bitmap = kobalto::CloneBitmap(Source());
        state.ResumeTiming();
        bool ok = kobalto::ResampleBitmap(bitmap, 64, 64, filter);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(bitmap->Bits());
    }
    state.SetItemsProcessed(state.iterations() * 64 * 64);
}

void BM_ResampleBSpline(benchmark::State& state) { Resample(state, TResampleFilter::rfBSpline); }
void BM_ResampleBilinear(benchmark::State& state) { Resample(state, TResampleFilter::rfBilinear); }

void BM_CloneOnly(benchmark::State& state)
{
    for (auto _ : state) {
        auto bitmap = kobalto::CloneBitmap(Source());
        benchmark::DoNotOptimize(bitmap->Bits());
    }
}

}  // namespace

BENCHMARK(BM_ResampleBSpline);
BENCHMARK(BM_ResampleBilinear);
BENCHMARK(BM_CloneOnly);
BENCHMARK_MAIN();
