// JPEG at camera size: decoding and encoding a 12-megapixel (4000 × 3000)
// photo-like picture, the two halves of every JPEG the batch shrinks.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "codecs/jpeg/JpegEncoder.h"
#include "codecs/jpeg/TJPEGPicture.h"
#include "base/TMemoryStream.h"
#include "graphics/TBitmap.h"

namespace kobalto {
namespace {

// Smooth light with grain, so the file is about as large as a camera's.
const TBitmap& Photo()
{
    static const TBitmap photo = [] {
        TBitmap b(4000, 3000, TPixelFormat::pf24bit);
        uint32_t state = 7;
        for (int y = 0; y < b.Height(); ++y) {
            uint8_t* row = b.ScanLine(y);
            for (int x = 0; x < b.Width(); ++x) {
                state = state * 1664525 + 1013904223;
                const int grain = static_cast<int>(state >> 27) - 16;
                row[3 * x] = static_cast<uint8_t>(std::clamp(200 - (x + y) / 40 + grain, 0, 255));
                row[3 * x + 1] = static_cast<uint8_t>(std::clamp(60 + y / 20 + grain, 0, 255));
                row[3 * x + 2] = static_cast<uint8_t>(std::clamp(40 + x / 22 + grain, 0, 255));
            }
        }
        return b;
    }();
    return photo;
}

const std::vector<uint8_t>& PhotoFile()
{
    static const std::vector<uint8_t> file = EncodeJpeg(Photo(), {92, false, false});
    return file;
}

void BM_JpegDecode12Mp(benchmark::State& state)
{
    const std::vector<uint8_t>& file = PhotoFile();
    for (auto _ : state) {
        TMemoryStream stream(file);
        TJPEGPicture picture;
        picture.LoadFromStream(stream);
        benchmark::DoNotOptimize(picture.Bitmap().Bits());
    }
    state.counters["file MB"] = static_cast<double>(file.size()) / 1e6;
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 12'000'000);
}
BENCHMARK(BM_JpegDecode12Mp)->Unit(benchmark::kMillisecond);

void BM_JpegEncode12MpQuality80(benchmark::State& state)
{
    const TBitmap& photo = Photo();
    for (auto _ : state) {
        std::vector<uint8_t> file = EncodeJpeg(photo, {80, false, false});
        benchmark::DoNotOptimize(file.data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 12'000'000);
}
BENCHMARK(BM_JpegEncode12MpQuality80)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kobalto
