#include "formats/tga/TBitmap64.h"

#include <cstring>
#include <new>
#include <span>
#include <utility>
#include <vector>

#include "base/Checked.h"
#include "base/Exceptions.h"
#include "base/Limits.h"
#include "base/Messages.h"
#include "base/SafeFileWriter.h"
#include "base/TByteReader.h"
#include "base/TByteWriter.h"
#include "formats/FormatsMessages.h"
#include "base/TFileStream.h"
#include "graphics/GraphicsMessages.h"
#include "graphics/PixelRows.h"
#include "graphics/TBitmap.h"

namespace kobalto {

namespace {

constexpr uint32_t kMaxTgaSide = 0xFFFF;  // the header's width and height are words

[[noreturn]] void BmpTruncated(std::string_view) { throw EInvalidGraphic(msg::kInvalidBitmap); }

uint32_t LoadPixel(const uint8_t* p, int bytes)
{
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

void StorePixel(uint8_t* p, int bytes, uint32_t v)
{
    for (int i = 0; i < bytes; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

TBitmap64::TBitmap64(int width, int height, uint16_t bitCount) : bitCount_(bitCount)
{
    switch (bitCount) {
    case 15:
        bytesPerPixel_ = 2;
        redMask_ = 0x7C00, greenMask_ = 0x03E0, blueMask_ = 0x001F;
        redShift_ = 10, greenShift_ = 5, blueShift_ = 0;
        break;
    case 16:
        bytesPerPixel_ = 2;
        redMask_ = 0xF800, greenMask_ = 0x07E0, blueMask_ = 0x001F;
        redShift_ = 11, greenShift_ = 5, blueShift_ = 0;
        break;
    case 24:
    case 32:
        bytesPerPixel_ = bitCount / 8;
        redMask_ = 0xFF0000, greenMask_ = 0xFF00, blueMask_ = 0xFF;
        redShift_ = 16, greenShift_ = 8, blueShift_ = 0;
        break;
    default:
        throw EInvalidGraphicOperation(msg::Format(msg::kBitmap64NoFormat, {std::to_string(bitCount)}));
    }
    SetSize(width, height);
}

uint8_t* TBitmap64::ScanLine(int y)
{
    return const_cast<uint8_t*>(std::as_const(*this).ScanLine(y));
}

const uint8_t* TBitmap64::ScanLine(int y) const
{
    if (y < 0 || y >= height_)
        throw EInvalidGraphicOperation(msg::kScanLineOutOfRange);
    return pixels_ + static_cast<size_t>(lineSize_) * static_cast<size_t>(height_ - 1 - y);
}

void TBitmap64::SetSize(int width, int height)
{
    if (width == width_ && height == height_)
        return;
    CheckImageSize(width, height, "TBitmap64");
    const size_t bytes = CheckedMul(CheckedMul(static_cast<size_t>(width), static_cast<size_t>(height)),
                                    static_cast<size_t>(bytesPerPixel_));
    std::unique_ptr<uint8_t[]> block;
    if (bytes != 0) {
        block.reset(new (std::nothrow) uint8_t[bytes]());
        if (!block)
            throw EOutOfMemory();
    }
    owned_ = std::move(block);
    pixels_ = owned_.get();
    sharedPixels_ = false;
    width_ = width;
    height_ = height;
    lineSize_ = bytesPerPixel_ * width;
}

void TBitmap64::SharePixels(uint8_t* pixels, int width, int height)
{
    CheckImageSize(width, height, "TBitmap64");
    owned_.reset();
    pixels_ = pixels;
    sharedPixels_ = true;
    width_ = width;
    height_ = height;
    lineSize_ = bytesPerPixel_ * width;
}

void TBitmap64::SetPixel(int x, int y, uint32_t value)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    StorePixel(ScanLine(y) + static_cast<size_t>(x) * bytesPerPixel_, bytesPerPixel_, value);
}

uint32_t TBitmap64::GetPixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    return LoadPixel(ScanLine(y) + static_cast<size_t>(x) * bytesPerPixel_, bytesPerPixel_);
}

void TBitmap64::FlipVertical()
{
    std::vector<uint8_t> buffer(static_cast<size_t>(lineSize_));
    for (int i = 0; i < height_ / 2; ++i) {
        uint8_t* a = ScanLine(i);
        uint8_t* b = ScanLine(height_ - 1 - i);
        std::memcpy(buffer.data(), a, buffer.size());
        std::memcpy(a, b, buffer.size());
        std::memcpy(b, buffer.data(), buffer.size());
    }
}

void TBitmap64::SwapRedBlue()
{
    const size_t count = static_cast<size_t>(width_) * static_cast<size_t>(height_);
    uint8_t* p = pixels_;
    for (size_t i = 0; i < count; ++i, p += bytesPerPixel_) {
        uint32_t v = LoadPixel(p, bytesPerPixel_);
        switch (bitCount_) {
        // The unused top bit of a 15-bit pixel must not leak into green.
        case 15: v = ((v >> 10) & 0x1F) | (v & 0x03E0) | ((v & 0x1F) << 10); break;
        case 16: v = ((v >> 11) & 0x1F) | (v & 0x07E0) | ((v & 0x1F) << 11); break;
        default: v = (v & 0xFF00FF00u) | ((v >> 16) & 0xFF) | ((v & 0xFF) << 16); break;
        }
        StorePixel(p, bytesPerPixel_, v);
    }
}

void TBitmap64::PackRow(const uint8_t* bgr, uint8_t* out) const
{
    for (int x = 0; x < width_; ++x, bgr += 3, out += bytesPerPixel_) {
        const unsigned b = bgr[0], g = bgr[1], r = bgr[2];
        switch (bitCount_) {
        case 15: StorePixel(out, 2, ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3)); break;
        case 16: StorePixel(out, 2, ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)); break;
        default:
            out[0] = static_cast<uint8_t>(b);
            out[1] = static_cast<uint8_t>(g);
            out[2] = static_cast<uint8_t>(r);
            if (bytesPerPixel_ == 4)
                out[3] = 0;
            break;
        }
    }
}

void TBitmap64::LoadFromBitmap(const TBitmap& bitmap)
{
    SetSize(bitmap.Width(), bitmap.Height());
    std::vector<uint8_t> bgr(static_cast<size_t>(width_) * 3);
    for (int y = 0; y < height_; ++y) {
        RowToBgr24(bitmap, y, bgr.data());
        PackRow(bgr.data(), ScanLine(y));
    }
}

void TBitmap64::LoadFromBmpFile(const std::string& fileName)
{
    const std::string file = ReadWholeFile(fileName);
    TByteReader r(std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()), "BMP", BmpTruncated);
    if (r.U8() != 'B' || r.U8() != 'M')
        throw EInvalidGraphic(msg::kInvalidBitmap);
    r.Skip(8);  // file size and the reserved words
    const uint32_t dataOffset = r.U32LE();
    const uint32_t headerSize = r.U32LE();
    if (headerSize < 40)
        throw EInvalidGraphic(msg::kBitmap64NotWindowsBmp);
    const int32_t width = r.I32LE();
    const int32_t height = r.I32LE();
    r.Skip(2);  // planes
    const uint16_t bits = r.U16LE();
    const uint32_t compression = r.U32LE();
    if (compression != 0 || (bits != 16 && bits != 24 && bits != 32))
        throw EInvalidGraphic(msg::kBitmap64BmpKind);
    // A negative height means the rows run top-down.
    const bool topDown = height < 0;
    const int64_t rows = topDown ? -int64_t{height} : height;
    CheckImageSize(width, rows, "BMP");
    const size_t stride = (CheckedMul(static_cast<size_t>(width), bits) + 31) / 32 * 4;
    r.Seek(dataOffset);
    std::span<const uint8_t> data = r.Take(CheckedMul(stride, static_cast<size_t>(rows)));

    SetSize(width, static_cast<int>(rows));
    std::vector<uint8_t> bgr(static_cast<size_t>(width) * 3);
    for (int64_t i = 0; i < rows; ++i) {
        const uint8_t* in = data.data() + static_cast<size_t>(i) * stride;
        for (int x = 0; x < width; ++x) {
            uint8_t* o = bgr.data() + 3 * static_cast<size_t>(x);
            if (bits == 16) {
                // 16-bit BMPs without masks are 5-5-5.
                const unsigned v = in[2 * x] | (in[2 * x + 1] << 8);
                o[0] = Expand5(v & 31);
                o[1] = Expand5((v >> 5) & 31);
                o[2] = Expand5((v >> 10) & 31);
            } else {
                std::memcpy(o, in + static_cast<size_t>(x) * (bits / 8), 3);
            }
        }
        const int y = static_cast<int>(topDown ? i : rows - 1 - i);
        PackRow(bgr.data(), ScanLine(y));
    }
}

void CheckTgaSize(int width, int height)
{
    if (width <= 0 || height <= 0)
        throw EInvalidGraphicOperation(msg::Format(msg::kCannotWriteEmpty, {"TGA"}));
    if (static_cast<uint32_t>(width) > kMaxTgaSide || static_cast<uint32_t>(height) > kMaxTgaSide)
        throw EInvalidGraphicOperation(
            msg::Format(msg::kSideTooLong, {std::to_string(width), std::to_string(height), "TGA"}));
}

void TBitmap64::CheckTgaWritable() const
{
    CheckTgaSize(width_, height_);
    if (bytesPerPixel_ == 3)
        throw EInvalidGraphicOperation(msg::kTga24Bit);
}

void TBitmap64::SaveToTgaStream(TStream& stream) const
{
    CheckTgaWritable();
    TByteWriter out;
    out.U8(0);  // no image ID
    out.U8(0);  // no colour map
    out.U8(2);  // uncompressed true colour
    out.Fill(5, 0);  // colour map: first entry, length, entry size
    out.U16LE(0);  // X origin
    out.U16LE(0);  // Y origin
    out.U16LE(static_cast<uint16_t>(width_));
    out.U16LE(static_cast<uint16_t>(height_));
    out.U8(16);
    out.U8(0);  // no attribute bits, origin at the lower left

    // Memory rows already run bottom-up, the order the lower-left origin asks
    // for, so the block converts front to back.
    const size_t count = CheckedMul(static_cast<size_t>(width_), static_cast<size_t>(height_));
    out.Data().reserve(CheckedAdd(out.Size(), CheckedMul(count, 2)));
    const uint8_t* p = pixels_;
    const unsigned greenShift = bitCount_ == 16 ? greenShift_ + 1u : greenShift_;
    for (size_t i = 0; i < count; ++i, p += bytesPerPixel_) {
        unsigned word;
        if (bytesPerPixel_ == 2) {
            const unsigned v = LoadPixel(p, 2);
            word = (((v & redMask_) >> redShift_) << 10) | (((v & greenMask_) >> greenShift) << 5) |
                   (v & 0xFF & blueMask_);
        } else {
            word = ((p[2] >> 3u) << 10) | ((p[1] >> 3u) << 5) | (p[0] >> 3u);
        }
        out.U16LE(static_cast<uint16_t>(word));
    }
    stream.WriteBuffer(out.Data().data(), out.Size());
}

void TBitmap64::SaveToTgaFile(const std::string& fileName) const
{
    // A refused raster must not even create the temporary file.
    CheckTgaWritable();
    WriteFileSafely(fileName, [this](TStream& stream) { SaveToTgaStream(stream); });
}

}  // namespace kobalto
