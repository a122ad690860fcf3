#pragma once
// A plain in-memory raster of 15, 16, 24 or 32 bits per pixel. Rows have no
// padding and run bottom-up: image row y (0 = top) is memory row
// Height - 1 - y. A 15- or 16-bit pixel is a little-endian word, a 32-bit
// pixel a little-endian double word (blue in the low byte), a 24-bit pixel
// the bytes blue, green, red.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "base/TStream.h"

namespace kobalto {

class TBitmap;

// Raises EInvalidGraphicOperation when a TGA header cannot hold the size: a
// zero side, or one of 65536 pixels or more.
void CheckTgaSize(int width, int height);

class TBitmap64 {
public:
    // bitCount is 15, 16, 24 or 32; anything else raises
    // EInvalidGraphicOperation. The pixels start black.
    TBitmap64(int width, int height, uint16_t bitCount);
    virtual ~TBitmap64() = default;
    TBitmap64(const TBitmap64&) = delete;
    TBitmap64& operator=(const TBitmap64&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int LineSize() const { return lineSize_; }
    uint32_t RedMask() const { return redMask_; }
    uint32_t GreenMask() const { return greenMask_; }
    uint32_t BlueMask() const { return blueMask_; }
    uint8_t RedShift() const { return redShift_; }
    uint8_t GreenShift() const { return greenShift_; }
    uint8_t BlueShift() const { return blueShift_; }
    // True while the pixel block belongs to someone else.
    bool SharedPixels() const { return sharedPixels_; }
    uint8_t* Pixels() { return pixels_; }
    const uint8_t* Pixels() const { return pixels_; }

    virtual uint16_t GetBitCount() const { return bitCount_; }
    // Image row y, 0 being the top row; raises EInvalidGraphicOperation
    // outside the raster.
    virtual uint8_t* ScanLine(int y);
    const uint8_t* ScanLine(int y) const;
    // A new size gets a new, black block (the old pixels go); the same size
    // keeps everything. Raises EInvalidGraphic for sizes over the caps.
    virtual void SetSize(int width, int height);
    // The raw pixel value at (x, y); coordinates outside the raster are
    // ignored (the read gives 0).
    virtual void SetPixel(int x, int y, uint32_t value);
    virtual uint32_t GetPixel(int x, int y) const;

    // Reads an uncompressed 16-bit (taken as 5-5-5), 24- or 32-bit BMP file,
    // bottom-up or top-down, into this raster's own depth. Raises
    // EFOpenError when the file cannot be opened, EInvalidGraphic when it is
    // not such a BMP.
    virtual void LoadFromBmpFile(const std::string& fileName);
    // Takes the size and pixels of a bitmap of any format, converted to this
    // raster's depth through 8-bit blue, green, red.
    void LoadFromBitmap(const TBitmap& bitmap);

    // An uncompressed 16-bit TGA file, bottom row first. 15-, 16- and 32-bit
    // rasters only; an empty raster, a 24-bit one, or a side of 65536 pixels
    // or more raises EInvalidGraphicOperation. The raster is not changed.
    virtual void SaveToTgaFile(const std::string& fileName) const;
    void SaveToTgaStream(TStream& stream) const;

    virtual void FlipVertical();
    // Exchanges the red and blue fields of every pixel.
    virtual void SwapRedBlue();

    // Uses the caller's block of width × height pixels in place; it must
    // outlive this raster or the next SetSize, and is never freed here.
    void SharePixels(uint8_t* pixels, int width, int height);

private:
    // One image row of 8-bit blue, green, red triples into this depth.
    void PackRow(const uint8_t* bgr, uint8_t* out) const;
    // Raises EInvalidGraphicOperation for a raster a TGA file cannot hold.
    void CheckTgaWritable() const;

    int width_ = 0;
    int height_ = 0;
    int bytesPerPixel_ = 0;
    uint16_t bitCount_ = 0;
    uint8_t* pixels_ = nullptr;
    std::unique_ptr<uint8_t[]> owned_;
    uint8_t redShift_ = 0;
    uint8_t greenShift_ = 0;
    uint8_t blueShift_ = 0;
    uint32_t redMask_ = 0;
    uint32_t greenMask_ = 0;
    uint32_t blueMask_ = 0;
    int lineSize_ = 0;
    bool sharedPixels_ = false;
};

}  // namespace kobalto
