// The plain stretch at photo size: how many source bytes a second it gets
// through when halving a 6000 × 4000 24-bit picture.
#include <benchmark/benchmark.h>

#include "graphics/Draw.h"
#include "graphics/TBitmap.h"
#include "imaging/Scaling.h"

namespace kobalto {
namespace {

TBitmap PhotoSized()
{
    TBitmap b(6000, 4000, TPixelFormat::pf24bit);
    for (int y = 0; y < b.Height(); ++y) {
        uint8_t* row = b.ScanLine(y);
        for (int x = 0; x < b.Width() * 3; ++x)
            row[x] = static_cast<uint8_t>(x * 31 + y * 17);
    }
    return b;
}

void BM_StretchHalf(benchmark::State& state)
{
    const TBitmap source = PhotoSized();
    TBitmap target(3000, 2000, TPixelFormat::pf24bit);
    for (auto _ : state) {
        StretchBitmap(target, source);
        benchmark::DoNotOptimize(target.Bits());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(source.ImageSize()));
}
BENCHMARK(BM_StretchHalf)->Unit(benchmark::kMillisecond);

void BM_ScaleBitmapHalf(benchmark::State& state)
{
    const TBitmap source = PhotoSized();
    for (auto _ : state) {
        state.PauseTiming();
        TBitmap b = source;
        state.ResumeTiming();
        ScaleBitmap(b, 3000, 2000, 0);
        benchmark::DoNotOptimize(b.Bits());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(source.ImageSize()));
}
BENCHMARK(BM_ScaleBitmapHalf)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kobalto
