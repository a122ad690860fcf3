// libFuzzer target: arbitrary bytes through the JPEG picture, header and
// decode, with the settings that change libjpeg's path chosen by the last
// byte. The picture's own failures are expected outcomes; a crash, a hang,
// a sanitizer report or any other exception is a finding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/Exceptions.h"
#include "base/TMemoryStream.h"
#include "codecs/jpeg/TJPEGPicture.h"
#include "fuzz/driver/FuzzHarness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kobalto;
    if (size > fuzz::kMaxInputBytes)
        return 0;
    const uint8_t knobs = size ? data[size - 1] : 0;
    TMemoryStream stream(std::vector<uint8_t>(data, data + size));
    TJPEGPicture picture;
    try {
        picture.LoadFromStream(stream);
        if (fuzz::TooLarge(picture.Width(), picture.Height()))
            return 0;
        picture.SetPixelFormat(knobs & 1 ? TJPEGPixelFormat::jf8Bit : TJPEGPixelFormat::jf24Bit);
        picture.SetPerformance(knobs & 2 ? TJPEGPerformance::jpBestSpeed : TJPEGPerformance::jpBestQuality);
        picture.SetGrayscale(knobs & 4);
        picture.SetProgressiveDisplay(knobs & 8);
        picture.SetScale(static_cast<TJPEGScale>((knobs >> 4) & 3));
        fuzz::TouchCorners(picture.Bitmap());
    } catch (const kobalto::Exception&) {
    }
    return 0;
}
