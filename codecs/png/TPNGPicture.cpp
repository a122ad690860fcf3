#include "codecs/png/TPNGPicture.h"

#include "base/Exceptions.h"
#include "codecs/png/PngComposite.h"
#include "codecs/png/PngMessages.h"
#include "codecs/png/PngReader.h"

namespace kobalto {

namespace {

[[noreturn]] void BadSetting(const char* what)
{
    throw EInvalidGraphicOperation(msg::Format(msg::kPngBadSetting, {what}));
}

}  // namespace

void TPNGPicture::ClearChunks()
{
    image_ = PngImage{};
    kept_.clear();
    gamma_.Reset();
    deferred_.reset();
}

int TPNGPicture::Width() const
{
    return deferred_ ? static_cast<int>(deferred_->Header().width) : image_.pixels.Width();
}

int TPNGPicture::Height() const
{
    return deferred_ ? static_cast<int>(deferred_->Header().height) : image_.pixels.Height();
}

const PngImage& TPNGPicture::Image() const
{
    Decode();
    return image_;
}

void TPNGPicture::Decode() const
{
    if (!deferred_)
        return;
    PngFile file = deferred_->Decode();
    image_ = std::move(file.image);
    gamma_ = file.gamma;
    kept_ = std::move(file.kept);
    deferred_.reset();
}

void TPNGPicture::LoadFromStream(TStream& stream)
{
    if (deferDecoding_) {
        if (std::unique_ptr<PngDeferredFile> deferred = PngDeferredFile::Read(stream)) {
            ClearChunks();
            deferred_ = std::move(deferred);
            return;
        }
    }
    PngFile file = ReadPng(stream);
    image_ = std::move(file.image);
    gamma_ = file.gamma;
    kept_ = std::move(file.kept);
}

void TPNGPicture::SaveToStream(TStream& stream) const
{
    Decode();
    if (Empty())
        throw EInvalidGraphicOperation(msg::kPngEmptyPicture);
    WritePng(stream, image_, settings_, gamma_, kept_);
}

void TPNGPicture::AssignBitmap(const TBitmap& source)
{
    AssignBitmap(source, source.Transparent(), source.TransparentColor());
}

void TPNGPicture::AssignBitmap(const TBitmap& source, bool transparent, TColor transparentColor)
{
    PngImage image;
    image.pixels = source;
    image.pixels.SetTransparent(false);
    if (image.Indexed()) {
        if (transparent) {
            // Opaque up to the first entry of the colour, which is transparent.
            const auto& palette = image.pixels.Palette();
            for (size_t i = 0; i < palette.size(); ++i)
                if (TColor{palette[i].red, palette[i].green, palette[i].blue} == transparentColor) {
                    image.entryAlpha.assign(i + 1, 255);
                    image.entryAlpha[i] = 0;
                    break;
                }
        }
    } else {
        image.pixels.SetPixelFormat(TPixelFormat::pf24bit);
        if (transparent)
            image.key = transparentColor;
    }
    ClearChunks();
    image_ = std::move(image);
}

void TPNGPicture::Draw(TBitmap& target, int x, int y) const
{
    DrawPngImage(Image(), target, x, y);
}

std::unique_ptr<TBitmap> TPNGPicture::TakeBitmapOnWhite()
{
    Decode();
    // Indexed pixels need a 24-bit raster anyway: they are drawn.
    if (image_.Indexed() || image_.pixels.Empty())
        return nullptr;
    CompositeOnWhite(image_);
    auto bitmap = std::make_unique<TBitmap>(std::move(image_.pixels));
    ClearChunks();
    return bitmap;
}

std::unique_ptr<TBitmap> TPNGPicture::TakeWorkingBitmap()
{
    if (std::unique_ptr<TBitmap> bitmap = TakeBitmapOnWhite())
        return bitmap;
    return TGraphic::TakeWorkingBitmap();
}

std::unique_ptr<TBitmap> TPNGPicture::TakeStretchedBitmap(const TStretchTarget& targetFor, TRowGate* rows)
{
    // A transparent picture's key colour is its bottom-left pixel, which the
    // stretch may never pick.
    if (!deferred_ || Transparent())
        return nullptr;
    const auto [width, height] = targetFor(Width(), Height());
    const std::shared_ptr<PngDeferredFile> file = std::move(deferred_);
    ClearChunks();
    // A copy of this picture may still need the file's bytes.
    return std::make_unique<TBitmap>(file->DecodeStretched(width, height, file.use_count() == 1, rows));
}

void TPNGPicture::SetFilterSet(uint8_t filterSet)
{
    if (filterSet > 0x1F)
        BadSetting("filter set");
    settings_.filterSet = filterSet;
}

void TPNGPicture::SetCompressionLevel(int level)
{
    if (level < 0 || level > 9)
        BadSetting("compression level");
    settings_.compressionLevel = level;
}

void TPNGPicture::SetInterlaceMethod(uint8_t method)
{
    if (method > 1)
        BadSetting("interlace method");
    settings_.interlace = method;
}

void TPNGPicture::SetMaxIdatSize(uint32_t size)
{
    if (size == 0)
        BadSetting("IDAT size");
    settings_.maxIdatSize = size;
}

const TGraphicClass& PNGPictureClass()
{
    static const TGraphicClass cls{"TPNGPicture", [] { return std::make_unique<TPNGPicture>(); }, nullptr};
    return cls;
}

}  // namespace kobalto
