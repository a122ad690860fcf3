// libFuzzer target: arbitrary bytes through the JPEG picture, header and
// decode, with the settings that change libjpeg's path chosen by the last
// byte. The picture's own failures are expected outcomes; a crash, a hang,
// a sanitizer report or any other exception is a finding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Exceptions.h"
#include "base/TMemoryStream.h"
#include "codecs/TJPEGPicture.h"

namespace {

// Larger inputs add time, not coverage.
constexpr size_t kMaxInputBytes = size_t{1} << 20;
// Pictures above this are refused by the fuzzer, not the decoder: the time
// goes into pixels, not into parsing.
constexpr int64_t kMaxFuzzPixels = int64_t{1} << 22;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kobalto;
    if (size > kMaxInputBytes)
        return 0;
    const uint8_t knobs = size ? data[size - 1] : 0;
    TMemoryStream stream(std::vector<uint8_t>(data, data + size));
    TJPEGPicture picture;
    try {
        picture.LoadFromStream(stream);
        if (int64_t{picture.Width()} * picture.Height() > kMaxFuzzPixels)
            return 0;
        picture.SetPixelFormat(knobs & 1 ? TJPEGPixelFormat::jf8Bit : TJPEGPixelFormat::jf24Bit);
        picture.SetPerformance(knobs & 2 ? TJPEGPerformance::jpBestSpeed : TJPEGPerformance::jpBestQuality);
        picture.SetGrayscale(knobs & 4);
        picture.SetProgressiveDisplay(knobs & 8);
        picture.SetScale(static_cast<TJPEGScale>((knobs >> 4) & 3));
        const TBitmap& bitmap = picture.Bitmap();
        // Reading the corners touches the first and last rows decoded.
        if (!bitmap.Empty()) {
            volatile uint8_t sink = bitmap.Pixel(0, 0).red;
            sink = bitmap.Pixel(bitmap.Width() - 1, bitmap.Height() - 1).blue;
            (void)sink;
        }
    } catch (const kobalto::Exception&) {
    }
    return 0;
}
