#include "codecs/jpeg/TJPEGPicture.h"

#include "base/ReadStreamRest.h"
#include "codecs/jpeg/JpegDecoder.h"
#include "codecs/jpeg/JpegEncoder.h"
#include "codecs/jpeg/JpegExifOrientation.h"
#include "codecs/jpeg/JpegMessages.h"
#include "codecs/jpeg/JpegSampledDecoder.h"
#include "graphics/Draw.h"

namespace kobalto {

TJPEGPicture::TJPEGPicture(const TJPEGPicture& other)
    : TGraphic(other),
      settings_(other.settings_),
      data_(other.data_),
      bitmap_(other.bitmap_ ? std::make_unique<TBitmap>(*other.bitmap_) : nullptr)
{
}

std::pair<int, int> TJPEGPicture::DecodedSize() const
{
    if (bitmap_)
        return {bitmap_->Width(), bitmap_->Height()};
    if (!data_)
        return {0, 0};
    // libjpeg's scaled size: the stored size divided by 2^scale, rounded up.
    const int shift = static_cast<int>(settings_.scale);
    auto scaled = [shift](int side) { return (side + (1 << shift) - 1) >> shift; };
    const TJpegHeader& h = data_->header;
    const bool swap = OrientationSwapsSides(h.orientation);
    return {scaled(swap ? h.height : h.width), scaled(swap ? h.width : h.height)};
}

int TJPEGPicture::Width() const { return DecodedSize().first; }

int TJPEGPicture::Height() const { return DecodedSize().second; }

void TJPEGPicture::SetWidth(int) { throw EInvalidGraphicOperation(msg::kJpegCannotResize); }

void TJPEGPicture::SetHeight(int) { throw EInvalidGraphicOperation(msg::kJpegCannotResize); }

void TJPEGPicture::LoadFromStream(TStream& stream)
{
    auto data = std::make_shared<TJPEGData>();
    data->loaded = ReadStreamRest(stream, "JPEG");
    data->header = ReadJpegHeader(data->Bytes());
    data_ = std::move(data);
    bitmap_.reset();
    settings_.progressiveEncoding = data_->header.multiScan;
}

void TJPEGPicture::SaveToStream(TStream& stream) const
{
    if (!data_) {
        auto data = std::make_shared<TJPEGData>();
        static const TBitmap kEmpty;
        const TBitmap& source = bitmap_ ? *bitmap_ : kEmpty;
        data->encoded = EncodeJpeg(source, {settings_.compressionQuality, settings_.grayscale,
                                          settings_.progressiveEncoding});
        data->header.width = source.Width();
        data->header.height = source.Height();
        data->header.grayscale = settings_.grayscale;
        data->header.multiScan = settings_.progressiveEncoding;
        data_ = std::move(data);
    }
    stream.WriteBuffer(data_->Bytes().data(), data_->Bytes().size());
}

void TJPEGPicture::AssignBitmap(const TBitmap& source)
{
    auto copy = std::make_unique<TBitmap>(source);
    data_.reset();
    bitmap_ = std::move(copy);
}

TJpegDecodeOptions TJPEGPicture::DecodeOptions() const
{
    TJpegDecodeOptions o;
    o.scaleShift = static_cast<int>(settings_.scale);
    o.grayscale = settings_.grayscale;
    o.bestSpeed = settings_.performance == TJPEGPerformance::jpBestSpeed;
    o.eightBit = settings_.pixelFormat == TJPEGPixelFormat::jf8Bit;
    o.smoothing = settings_.smoothing;
    o.progressiveDisplay = settings_.progressiveDisplay;
    o.orientation = data_ ? data_->header.orientation : 1;
    return o;
}

const TBitmap& TJPEGPicture::Bitmap() const
{
    if (!bitmap_) {
        if (!data_)
            bitmap_ = std::make_unique<TBitmap>();
        else
            bitmap_ = std::make_unique<TBitmap>(DecodeJpeg(data_->Bytes(), DecodeOptions()));
    }
    return *bitmap_;
}

std::unique_ptr<TBitmap> TJPEGPicture::ReleaseBitmap()
{
    Bitmap();
    return std::move(bitmap_);
}

void TJPEGPicture::UseWorkingSettings()
{
    SetScale(TJPEGScale::jsFullSize);
    SetPixelFormat(TJPEGPixelFormat::jf24Bit);
    SetPerformance(TJPEGPerformance::jpBestQuality);
}

std::unique_ptr<TBitmap> TJPEGPicture::TakeWorkingBitmap()
{
    UseWorkingSettings();
    std::unique_ptr<TBitmap> bitmap = ReleaseBitmap();
    bitmap->SetPixelFormat(TPixelFormat::pf24bit);  // a grey file decodes to 8 bits
    return bitmap;
}

std::unique_ptr<TBitmap> TJPEGPicture::TakeStretchedBitmap(const TStretchTarget& targetFor, TRowGate*)
{
    // A transparent picture's key colour is its bottom-left pixel, which the
    // stretch may never pick; a decoded bitmap is there already.
    if (!data_ || bitmap_ || Transparent())
        return nullptr;
    UseWorkingSettings();
    const auto [width, height] = targetFor(Width(), Height());
    std::optional<TBitmap> stretched = DecodeJpegStretched(data_->Bytes(), DecodeOptions(), width, height);
    if (!stretched)
        return nullptr;
    return std::make_unique<TBitmap>(std::move(*stretched));
}

void TJPEGPicture::Draw(TBitmap& target, int x, int y) const { DrawBitmap(target, x, y, Bitmap()); }

void TJPEGPicture::DropDecodedBitmap()
{
    // A bitmap that was assigned, not decoded, is the only copy of the
    // picture: it stays.
    if (data_)
        bitmap_.reset();
}

void TJPEGPicture::SetPerformance(TJPEGPerformance performance)
{
    if (performance == settings_.performance)
        return;
    settings_.performance = performance;
    DropDecodedBitmap();
}

void TJPEGPicture::SetPixelFormat(TJPEGPixelFormat format)
{
    if (format == settings_.pixelFormat)
        return;
    settings_.pixelFormat = format;
    DropDecodedBitmap();
}

void TJPEGPicture::SetScale(TJPEGScale scale)
{
    if (scale == settings_.scale)
        return;
    settings_.scale = scale;
    DropDecodedBitmap();
}

const TGraphicClass& JPEGPictureClass()
{
    static const TGraphicClass cls{"TJPEGPicture", [] { return std::make_unique<TJPEGPicture>(); }, nullptr};
    return cls;
}

}  // namespace kobalto
