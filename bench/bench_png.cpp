// PNG at camera size: reading a 12-megapixel (4000 × 3000) photo-like file
// and writing the half-size picture, the two halves of every PNG the batch
// shrinks, and the per-row stages inside them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include <zlib.h>

#include "base/TMemoryStream.h"
#include "codecs/decompress/WholeInflate.h"
#include "codecs/png/PngRowConverter.h"
#include "codecs/png/PngRowFilter.h"
#include "codecs/png/PngUnfilter.h"
#include "codecs/png/TPNGPicture.h"
#include "graphics/TBitmap.h"

namespace kobalto {
namespace {

// Smooth light with grain.
TBitmap PhotoLike(int width, int height)
{
    TBitmap b(width, height, TPixelFormat::pf24bit);
    uint32_t state = 11;
    for (int y = 0; y < b.Height(); ++y) {
        uint8_t* row = b.ScanLine(y);
        for (int x = 0; x < b.Width(); ++x) {
            state = state * 1664525 + 1013904223;
            const int grain = static_cast<int>(state >> 28) - 8;
            row[3 * x] = static_cast<uint8_t>(std::clamp(200 - (x + y) / 40 + grain, 0, 255));
            row[3 * x + 1] = static_cast<uint8_t>(std::clamp(60 + y / 20 + grain, 0, 255));
            row[3 * x + 2] = static_cast<uint8_t>(std::clamp(40 + x / 22 + grain, 0, 255));
        }
    }
    return b;
}

std::vector<uint8_t> Encode(const TBitmap& b, uint8_t filters)
{
    TPNGPicture png;
    png.AssignBitmap(b);
    png.SetFilterSet(filters);
    TMemoryStream out;
    png.SaveToStream(out);
    return out.TakeBytes();
}

// Written with every filter allowed, as other programs write their files.
const std::vector<uint8_t>& PhotoFile()
{
    static const std::vector<uint8_t> file = Encode(PhotoLike(4000, 3000), 0x1F);
    return file;
}

void BM_PngDecodePhoto(benchmark::State& state)
{
    const std::vector<uint8_t>& file = PhotoFile();
    for (auto _ : state) {
        TMemoryStream in(file);
        TPNGPicture png;
        png.LoadFromStream(in);
        benchmark::DoNotOptimize(png.Width());
    }
    state.SetItemsProcessed(state.iterations() * int64_t{4000} * 3000);
}
BENCHMARK(BM_PngDecodePhoto)->Unit(benchmark::kMillisecond);

void BM_PngEncodeHalfPhoto(benchmark::State& state)
{
    const TBitmap half = PhotoLike(2000, 1500);
    for (auto _ : state)
        benchmark::DoNotOptimize(Encode(half, kPngFilterSub));
    state.SetItemsProcessed(state.iterations() * int64_t{2000} * 1500);
}
BENCHMARK(BM_PngEncodeHalfPhoto)->Unit(benchmark::kMillisecond);

// The photo's image data: its IDAT chunks' contents, end to end.
const std::vector<uint8_t>& PhotoImageData()
{
    static const std::vector<uint8_t> data = [] {
        const std::vector<uint8_t>& file = PhotoFile();
        std::vector<uint8_t> z;
        for (size_t at = 8; at + 12 <= file.size();) {
            const size_t length = size_t{file[at]} << 24 | size_t{file[at + 1]} << 16 | size_t{file[at + 2]} << 8 |
                                  file[at + 3];
            if (std::equal(file.begin() + static_cast<std::ptrdiff_t>(at + 4),
                           file.begin() + static_cast<std::ptrdiff_t>(at + 8), "IDAT"))
                z.insert(z.end(), file.begin() + static_cast<std::ptrdiff_t>(at + 8),
                         file.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
            at += 12 + length;
        }
        return z;
    }();
    return data;
}

constexpr size_t kPhotoImageBytes = size_t{3000} * (4000 * 3 + 1);

// Inflating the photo's image data the two ways the reader can: zlib's
// streaming inflate a row at a time, and the whole stream in one call.
void BM_InflateRowByRow(benchmark::State& state)
{
    const std::vector<uint8_t>& z = PhotoImageData();
    std::vector<uint8_t> row(4000 * 3 + 1);
    for (auto _ : state) {
        z_stream s{};
        inflateInit(&s);
        s.next_in = const_cast<uint8_t*>(z.data());
        s.avail_in = static_cast<uInt>(z.size());
        for (int r = 0; r < 3000; ++r) {
            s.next_out = row.data();
            s.avail_out = static_cast<uInt>(row.size());
            inflate(&s, Z_NO_FLUSH);
        }
        inflateEnd(&s);
        benchmark::DoNotOptimize(row.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kPhotoImageBytes));
}
BENCHMARK(BM_InflateRowByRow)->Unit(benchmark::kMillisecond);

void BM_InflateWhole(benchmark::State& state)
{
    const std::vector<uint8_t>& z = PhotoImageData();
    std::vector<uint8_t> out(kPhotoImageBytes);
    for (auto _ : state)
        benchmark::DoNotOptimize(InflateWhole(z, out));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kPhotoImageBytes));
}
BENCHMARK(BM_InflateWhole)->Unit(benchmark::kMillisecond);

// One 4000-pixel RGB row at a time, 1000 rows per iteration.
constexpr size_t kRowBytes = 4000 * 3;

void BM_PngUnfilter(benchmark::State& state)
{
    const auto type = static_cast<uint8_t>(state.range(0));
    std::vector<uint8_t> row(kRowBytes), prev(kRowBytes);
    for (size_t i = 0; i < kRowBytes; ++i) {
        row[i] = static_cast<uint8_t>(i * 7);
        prev[i] = static_cast<uint8_t>(i * 13);
    }
    for (auto _ : state)
        for (int r = 0; r < 1000; ++r) {
            UnfilterRow(type, row.data(), prev.data(), kRowBytes, 3);
            benchmark::ClobberMemory();
        }
    state.SetBytesProcessed(state.iterations() * int64_t{1000} * kRowBytes);
}
BENCHMARK(BM_PngUnfilter)->Arg(1)->Arg(2)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);

void BM_PngSubFilter(benchmark::State& state)
{
    std::vector<uint8_t> row(kRowBytes);
    for (size_t i = 0; i < kRowBytes; ++i)
        row[i] = static_cast<uint8_t>(i * 7);
    PngRowFilter filter(kPngFilterSub, kRowBytes, 3);
    for (auto _ : state)
        for (int r = 0; r < 1000; ++r)
            benchmark::DoNotOptimize(filter.Filter(row.data(), kRowBytes).data());
    state.SetBytesProcessed(state.iterations() * int64_t{1000} * kRowBytes);
}
BENCHMARK(BM_PngSubFilter)->Unit(benchmark::kMillisecond);

void BM_PngRgbRowToBgr(benchmark::State& state)
{
    PngHeader header;
    header.width = 4000;
    std::vector<uint8_t> raw(kRowBytes), bgr(kRowBytes);
    for (size_t i = 0; i < kRowBytes; ++i)
        raw[i] = static_cast<uint8_t>(i * 7);
    const PngTransparency none;
    const PngGamma identity;
    for (auto _ : state)
        for (int r = 0; r < 1000; ++r) {
            ConvertDirectRow(header, raw.data(), 4000, bgr.data(), nullptr, 0, 1, none, identity);
            benchmark::ClobberMemory();
        }
    state.SetBytesProcessed(state.iterations() * int64_t{1000} * kRowBytes);
}
BENCHMARK(BM_PngRgbRowToBgr)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kobalto
