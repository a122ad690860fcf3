// The GIF writer's stages on a photo-like 1000 × 750 picture (a 2000 × 1500
// photo shrunk to half): the octree quantiser, the Floyd–Steinberg ditherer,
// and the LZW coder in both directions. Each stage touches every pixel once.
#include <benchmark/benchmark.h>

#include <vector>

#include "base/TByteWriter.h"
#include "codecs/gif/GifColorQuantizer.h"
#include "codecs/gif/GifColorReduction.h"
#include "codecs/gif/GifLzwDecoder.h"
#include "codecs/gif/GifLzwEncoder.h"
#include "graphics/TBitmap.h"

namespace kobalto {
namespace {

// Smooth gradients with fine noise, like a photograph.
TBitmap PhotoLike(int width, int height)
{
    TBitmap b(width, height, TPixelFormat::pf24bit);
    uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        uint8_t* row = b.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = static_cast<int>((seed >> 16) % 24) - 12;
            auto clamp = [](int v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
            row[3 * x] = clamp(160 - x * 96 / width + noise);
            row[3 * x + 1] = clamp(96 + (x + y) * 96 / (width + height) + noise);
            row[3 * x + 2] = clamp(32 + y * 192 / height + noise);
        }
    }
    return b;
}

const TBitmap& Source()
{
    static const TBitmap source = PhotoLike(1000, 750);
    return source;
}

std::vector<TRGBQuad> SourcePalette()
{
    const TBitmap* list[] = {&Source()};
    return CreateOptimizedPaletteFromManyBitmaps(list, 256, 8, false);
}

void SetPixels(benchmark::State& state)
{
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * Source().Width() * Source().Height());
}

void BM_GifOctreePalette(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(SourcePalette());
    SetPixels(state);
}
BENCHMARK(BM_GifOctreePalette)->Unit(benchmark::kMillisecond);

void BM_GifFloydSteinberg(benchmark::State& state)
{
    const std::vector<TRGBQuad> palette = SourcePalette();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReduceColorsToPalette(Source(), palette, TDitherMode::kFloydSteinberg));
    SetPixels(state);
}
BENCHMARK(BM_GifFloydSteinberg)->Unit(benchmark::kMillisecond);

std::vector<uint8_t> Indices()
{
    const TBitmap reduced = ReduceColorsToPalette(Source(), SourcePalette(), TDitherMode::kFloydSteinberg);
    std::vector<uint8_t> indices;
    for (int y = 0; y < reduced.Height(); ++y)
        indices.insert(indices.end(), reduced.ScanLine(y), reduced.ScanLine(y) + reduced.Width());
    return indices;
}

void BM_GifLzwEncode(benchmark::State& state)
{
    const std::vector<uint8_t> indices = Indices();
    for (auto _ : state) {
        TByteWriter out;
        EncodeGifLzw(indices, Source().Width(), Source().Height(), false, 8, 256, out);
        benchmark::DoNotOptimize(out.Data().data());
    }
    SetPixels(state);
}
BENCHMARK(BM_GifLzwEncode)->Unit(benchmark::kMillisecond);

void BM_GifLzwDecode(benchmark::State& state)
{
    const std::vector<uint8_t> indices = Indices();
    TByteWriter out;
    EncodeGifLzw(indices, Source().Width(), Source().Height(), false, 8, 256, out);
    // The sub-blocks' contents joined, as the reader hands them over.
    std::vector<uint8_t> data;
    const auto& b = out.Data();
    for (size_t pos = 1, n = b[pos++]; n != 0; pos += n, n = b[pos++])
        data.insert(data.end(), b.begin() + static_cast<std::ptrdiff_t>(pos),
                    b.begin() + static_cast<std::ptrdiff_t>(pos + n));
    std::vector<uint8_t> decoded(indices.size());
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeGifLzw(data, 8, decoded));
    SetPixels(state);
}
BENCHMARK(BM_GifLzwDecode)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kobalto
