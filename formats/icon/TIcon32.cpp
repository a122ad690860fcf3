#include "formats/icon/TIcon32.h"

#include <algorithm>

#include "base/Exceptions.h"
#include "base/Limits.h"
#include "base/TByteReader.h"
#include "base/TFileStream.h"
#include "codecs/icon/ReadIconFile.h"

namespace kobalto {

namespace {

// Where the fields are when the image follows a one-entry directory.
constexpr size_t kEntryBitCount = 12;
constexpr size_t kEntryBytes = 14;
constexpr size_t kHeaderWidth = 26;
constexpr size_t kHeaderHeight = 30;
constexpr size_t kHeaderImageSize = 42;
constexpr int64_t kColorStart = 62;
// Below this the header's image size is not believed: the entry's byte
// count less the header and a 16-pixel mask is taken instead.
constexpr int64_t kSmallestImageSize = 100;
constexpr int64_t kHeaderAndSmallMask = 104;

}  // namespace

TIcon32::TIcon32() : bitmap_(0, 0, TPixelFormat::pf32bit) {}

bool TIcon32::LoadFromFile(const std::string& fileName)
{
    TFileStream stream(fileName, TFileStream::Mode::OpenRead);
    try {
        return LoadFromStream(stream);
    } catch (const Exception&) {
        return false;
    }
}

bool TIcon32::LoadFromStream(TStream& stream)
{
    data_.clear();
    data_ = ReadRestOfStream(stream);
    return DecodeData();
}

void TIcon32::SetIconSize(int width, int height)
{
    iconWidth_ = width;
    iconHeight_ = height;
}

void TIcon32::SetBitmap(const TBitmap& bitmap)
{
    bitmap_ = bitmap;
    bitmap_.SetPixelFormat(TPixelFormat::pf32bit);
}

bool TIcon32::DecodeData()
{
    try {
        return Decode();
    } catch (const Exception&) {
        return false;
    }
}

bool TIcon32::Decode()
{
    if (data_.empty())
        return false;
    if (data_.size() <= kEntryBitCount || data_[kEntryBitCount] != 32) {
        data_.clear();
        return false;
    }
    // Every fixed field must lie inside the data: the reader raises otherwise.
    TByteReader r(data_, "ICO");
    r.Seek(kEntryBytes);
    const int64_t entryBytes = r.I32LE();
    r.Seek(kHeaderWidth);
    const int64_t width = r.I32LE();
    // The header's height counts the mask's rows too.
    r.Seek(kHeaderHeight);
    const int64_t height = r.I32LE() / 2;
    r.Seek(kHeaderImageSize);
    int64_t imageSize = r.I32LE();
    if (imageSize < kSmallestImageSize)
        imageSize = entryBytes - kHeaderAndSmallMask;
    if (width <= 0 || height <= 0)
        return false;
    CheckImageSize(width, height, "ICO");

    // The colour rows must be in the file before their bitmap is made: a
    // small file must not get a huge white picture. The walk takes whole
    // 4-byte groups and ends after the last row or once it reaches the image
    // size, whichever comes first.
    if (kColorStart + width * height * 4 > static_cast<int64_t>(data_.size()))
        return false;
    const int64_t walkBytes = std::clamp<int64_t>(imageSize, 0, width * height * 4);
    const int64_t groups = (walkBytes + 3) / 4;

    TBitmap decoded(static_cast<int>(width), static_cast<int>(height), TPixelFormat::pf32bit);
    for (int64_t i = 0; i < groups; ++i) {
        const uint8_t* p = data_.data() + kColorStart + 4 * i;
        const int x = static_cast<int>(i % width);
        const int y = static_cast<int>(height - 1 - i / width);
        decoded.SetPixel(x, y, TColor{p[2], p[1], p[0]});
    }
    SetIconSize(static_cast<int>(width), static_cast<int>(height));
    bitmap_ = std::move(decoded);
    return true;
}

}  // namespace kobalto
