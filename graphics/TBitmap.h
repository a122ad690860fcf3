#pragma once
// A device-independent raster: rows bottom-up in memory, each padded to a
// multiple of 4 bytes, in one of seven pixel formats, with a palette for the
// indexed ones. New bitmaps and newly grown area are white. With the
// transparency switch on, the key colour is the bottom-left pixel's colour,
// looked up anew at every draw.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/FreshMemory.h"
#include "graphics/TColor.h"
#include "graphics/TGraphic.h"
#include "graphics/TPixelFormat.h"

namespace kobalto {

class TBitmap : public TGraphic {
public:
    TBitmap() = default;
    TBitmap(int width, int height, TPixelFormat format = TPixelFormat::pf24bit);
    // For decoders that write every pixel: the same bitmap without the white
    // fill, whose pixel bytes are undefined until written (row padding is
    // zero, indexed formats get the standard palette).
    static TBitmap ForDecoding(int width, int height, TPixelFormat format);
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    TBitmap(TBitmap&& other) noexcept;
    TBitmap& operator=(TBitmap&& other) noexcept;
    ~TBitmap() override = default;

    const char* ClassName() const override { return "TBitmap"; }
    std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TBitmap>(*this); }

    int Width() const override { return width_; }
    int Height() const override { return height_; }
    TPixelFormat PixelFormat() const { return format_; }

    // Keeps the top-left content where old and new size overlap; new area is
    // white. Raises EInvalidGraphic for sizes above the pixel cap.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, height_); }
    void SetHeight(int height) { SetSize(width_, height); }
    // Converts every pixel to the new format. An indexed target gets a
    // standard palette and each pixel its nearest entry.
    void SetPixelFormat(TPixelFormat format);

    // Bytes from one memory row to the next (a multiple of 4).
    size_t Stride() const { return stride_; }
    // Image row y, 0 being the top row.
    uint8_t* ScanLine(int y) { return bits_.Data() + static_cast<size_t>(height_ - 1 - y) * stride_; }
    const uint8_t* ScanLine(int y) const
    {
        return bits_.Data() + static_cast<size_t>(height_ - 1 - y) * stride_;
    }
    // The whole pixel block, bottom row first.
    uint8_t* Bits() { return bits_.Data(); }
    const uint8_t* Bits() const { return bits_.Data(); }
    size_t ImageSize() const { return stride_ * static_cast<size_t>(height_); }

    // Indexed formats only; its size is at most 2^bits entries.
    std::vector<TRGBQuad>& Palette() { return palette_; }
    const std::vector<TRGBQuad>& Palette() const { return palette_; }

    TColor Pixel(int x, int y) const;
    // Direct formats store the colour; indexed ones the nearest palette entry.
    void SetPixel(int x, int y, TColor color);
    void Fill(TColor color);

    // The colour of the bottom-left pixel (white for an empty bitmap).
    TColor TransparentColor() const;

    void LoadFromStream(TStream& stream) override;  // a BMP file
    void SaveToStream(TStream& stream) const override;  // a BMP file in this format
    void AssignBitmap(const TBitmap& source) override { *this = source; }
    void Draw(TBitmap& target, int x, int y) const override;
    // The pixels as they are, moved out without a copy.
    std::unique_ptr<TBitmap> TakeWorkingBitmap() override { return std::make_unique<TBitmap>(std::move(*this)); }

    // Drops the pixels: 0 × 0, format kept.
    void Clear();

    static size_t StrideFor(int width, TPixelFormat format);

private:
    void Allocate(int width, int height, TPixelFormat format);

    int width_ = 0;
    int height_ = 0;
    TPixelFormat format_ = TPixelFormat::pf24bit;
    size_t stride_ = 0;
    TFreshBlock bits_;
    std::vector<TRGBQuad> palette_;
};

}  // namespace kobalto
