#pragma once
// The JPEG picture: the compressed file kept in memory, decoded into a bitmap
// only when one is needed and encoded from a bitmap only when saved, steered
// by eight settings. Decoding applies the file's EXIF orientation, so the
// picture's width, height and pixels are those of the upright photo.
#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "base/FreshMemory.h"
#include "codecs/jpeg/EJPEG.h"
#include "codecs/jpeg/JpegDecoder.h"
#include "codecs/jpeg/JpegHeader.h"
#include "codecs/jpeg/JpegSettings.h"
#include "codecs/registry/TGraphicClass.h"
#include "graphics/TBitmap.h"

namespace kobalto {

// The compressed file with what its header said; shared between copies.
struct TJPEGData {
    TFreshBlock loaded;             // the file as loaded
    std::vector<uint8_t> encoded;   // or what a bitmap was encoded to
    TJpegHeader header;

    std::span<const uint8_t> Bytes() const
    {
        return loaded.Data() ? std::span<const uint8_t>(loaded.Data(), loaded.Size()) : std::span(encoded);
    }
};

class TJPEGPicture : public TGraphic {
public:
    TJPEGPicture() : settings_(JPEGDefaults()) {}
    TJPEGPicture(const TJPEGPicture& other);

    const char* ClassName() const override { return "TJPEGPicture"; }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TJPEGPicture>(*this); }

    // Upright and scaled as the settings say; 0 when there is no picture.
    int Width() const override;
    int Height() const override;
    // A JPEG picture's size comes from its file: raises EInvalidGraphicOperation.
    [[noreturn]] void SetWidth(int width);
    [[noreturn]] void SetHeight(int height);

    // Keeps every remaining byte of the stream and reads the header; nothing
    // is decoded yet. Raises EJPEG for a file libjpeg refuses (an empty one
    // included); the picture is then unchanged.
    void LoadFromStream(TStream& stream) override;
    // Writes the compressed file: the loaded bytes unchanged, or the bitmap
    // encoded now with the settings.
    void SaveToStream(TStream& stream) const override;
    // Keeps a copy of source and drops any compressed data.
    void AssignBitmap(const TBitmap& source) override;
    void Draw(TBitmap& target, int x, int y) const override;
    // Decodes at full size, 24 bits and best quality, whatever the settings
    // said, and hands the decoded bitmap over: it is the biggest thing a
    // batch holds.
    std::unique_ptr<TBitmap> TakeWorkingBitmap() override;
    // With the settings TakeWorkingBitmap uses, decodes only what the stretch
    // picks, unless the picture is transparent or the file needs its whole
    // decode (grey, an orientation that turns it a quarter).
    std::unique_ptr<TBitmap> TakeStretchedBitmap(const TStretchTarget& targetFor, TRowGate* rows = nullptr) override;

    // The decoded bitmap, decoded now if there is none.
    const TBitmap& Bitmap() const;
    // Hands the decoded bitmap over, decoding it first if needed, without a
    // copy. A picture with compressed data decodes it again when asked.
    std::unique_ptr<TBitmap> ReleaseBitmap();
    bool HasBitmap() const { return bitmap_ != nullptr; }
    bool HasCompressedData() const { return data_ != nullptr; }
    // From the file's header.
    bool GrayscaleFile() const { return data_ && data_->header.grayscale; }
    int Orientation() const { return data_ ? data_->header.orientation : 1; }

    const TJPEGSettings& Settings() const { return settings_; }
    void SetCompressionQuality(int quality) { settings_.compressionQuality = quality; }
    void SetGrayscale(bool on) { settings_.grayscale = on; }
    void SetProgressiveDisplay(bool on) { settings_.progressiveDisplay = on; }
    void SetSmoothing(bool on) { settings_.smoothing = on; }
    // These three change the decoded pixels: a different value drops the
    // decoded bitmap, to be decoded again when needed.
    void SetPerformance(TJPEGPerformance performance);
    void SetPixelFormat(TJPEGPixelFormat format);
    void SetScale(TJPEGScale scale);

private:
    void DropDecodedBitmap();
    // Full size, 24 bits, best quality: what the scaler works on.
    void UseWorkingSettings();
    TJpegDecodeOptions DecodeOptions() const;
    // Width and height of the bitmap there is or the decode would give.
    std::pair<int, int> DecodedSize() const;

    TJPEGSettings settings_;
    // Decoding and encoding on demand fill these from const operations.
    mutable std::shared_ptr<const TJPEGData> data_;
    mutable std::unique_ptr<TBitmap> bitmap_;
};

const TGraphicClass& JPEGPictureClass();

}  // namespace kobalto
