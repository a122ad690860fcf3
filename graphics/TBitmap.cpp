#include "graphics/TBitmap.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "base/Exceptions.h"
#include "base/FreshMemory.h"
#include "base/Limits.h"
#include "graphics/BmpReader.h"
#include "graphics/BmpWriter.h"
#include "graphics/Draw.h"
#include "graphics/PackedIndex.h"
#include "graphics/Palettes.h"
#include "graphics/PixelRows.h"

namespace kobalto {

int BitsPerPixel(TPixelFormat format)
{
    switch (format) {
    case TPixelFormat::pf1bit: return 1;
    case TPixelFormat::pf4bit: return 4;
    case TPixelFormat::pf8bit: return 8;
    case TPixelFormat::pf15bit: return 15;
    case TPixelFormat::pf16bit: return 16;
    case TPixelFormat::pf24bit: return 24;
    case TPixelFormat::pf32bit: return 32;
    }
    return 24;
}

int StorageBitsPerPixel(TPixelFormat format)
{
    return format == TPixelFormat::pf15bit ? 16 : BitsPerPixel(format);
}

size_t UsedRowBytes(int width, TPixelFormat format)
{
    return (static_cast<size_t>(width) * static_cast<size_t>(StorageBitsPerPixel(format)) + 7) / 8;
}

bool IsIndexed(TPixelFormat format)
{
    return format == TPixelFormat::pf1bit || format == TPixelFormat::pf4bit || format == TPixelFormat::pf8bit;
}

size_t TBitmap::StrideFor(int width, TPixelFormat format)
{
    return (UsedRowBytes(width, format) + 3) / 4 * 4;
}

TBitmap::TBitmap(int width, int height, TPixelFormat format)
{
    Allocate(width, height, format);
    if (IsIndexed(format))
        palette_ = StandardPalette(format);
    Fill(kWhite);
}

TBitmap TBitmap::ForDecoding(int width, int height, TPixelFormat format)
{
    TBitmap b;
    b.Allocate(width, height, format);
    if (IsIndexed(format))
        b.palette_ = StandardPalette(format);
    return b;
}

TBitmap::TBitmap(const TBitmap& other) : TGraphic(other)
{
    Allocate(other.width_, other.height_, other.format_);
    if (ImageSize() != 0)
        std::memcpy(bits_.Data(), other.bits_.Data(), ImageSize());
    palette_ = other.palette_;
}

TBitmap& TBitmap::operator=(const TBitmap& other)
{
    if (this != &other) {
        TBitmap copy(other);
        *this = std::move(copy);
    }
    return *this;
}

TBitmap::TBitmap(TBitmap&& other) noexcept
    : TGraphic(other),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      format_(other.format_),
      stride_(std::exchange(other.stride_, 0)),
      bits_(std::move(other.bits_)),
      palette_(std::move(other.palette_))
{
}

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept
{
    if (this != &other) {
        TGraphic::operator=(other);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        format_ = other.format_;
        stride_ = std::exchange(other.stride_, 0);
        bits_ = std::move(other.bits_);
        palette_ = std::move(other.palette_);
    }
    return *this;
}

void TBitmap::Allocate(int width, int height, TPixelFormat format)
{
    CheckImageSize(width, height, "bitmap");
    size_t stride = StrideFor(width, format);
    size_t size = stride * static_cast<size_t>(height);
    TFreshBlock bits;
    try {
        bits = TFreshBlock(size);  // written end to end right away
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory();
    }
    // Row padding is zero so that written files are reproducible; that takes
    // in the unused low bits of a packed row's last byte, which pixel writes
    // leave as they are.
    const size_t whole = static_cast<size_t>(width) * static_cast<size_t>(StorageBitsPerPixel(format)) / 8;
    if (whole < stride)
        for (int y = 0; y < height; ++y)
            std::memset(bits.Data() + static_cast<size_t>(y) * stride + whole, 0, stride - whole);
    width_ = width;
    height_ = height;
    format_ = format;
    stride_ = stride;
    bits_ = std::move(bits);
}

void TBitmap::Clear()
{
    width_ = height_ = 0;
    stride_ = 0;
    bits_ = TFreshBlock();
}

void TBitmap::SetSize(int width, int height)
{
    if (width == width_ && height == height_)
        return;
    TBitmap grown;
    grown.Allocate(width, height, format_);
    grown.palette_ = palette_;
    grown.Fill(kWhite);
    const int rows = std::min(height, height_);
    const int columns = std::min(width, width_);
    const int bits = StorageBitsPerPixel(format_);
    const size_t bytes = UsedRowBytes(columns, format_);
    // Pixels past the old width that share the last copied byte.
    const int tailEnd = std::min(width, static_cast<int>(bytes * 8 / bits));
    for (int y = 0; y < rows; ++y) {
        std::memcpy(grown.ScanLine(y), ScanLine(y), bytes);
        for (int x = columns; x < tailEnd; ++x)
            grown.SetPixel(x, y, kWhite);
    }
    bool transparent = Transparent();
    *this = std::move(grown);
    SetTransparent(transparent);
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == format_)
        return;
    TBitmap converted;
    converted.Allocate(width_, height_, format);
    if (IsIndexed(format))
        converted.palette_ = StandardPalette(format);
    std::vector<uint8_t> row(static_cast<size_t>(width_) * 3);
    for (int y = 0; y < height_; ++y) {
        RowToBgr24(*this, y, row.data());
        Bgr24ToRow(converted, y, row.data());
    }
    bool transparent = Transparent();
    *this = std::move(converted);
    SetTransparent(transparent);
}

TColor TBitmap::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return kWhite;
    const uint8_t* row = ScanLine(y);
    auto entry = [this](unsigned i) {
        return i < palette_.size() ? TColor{palette_[i].red, palette_[i].green, palette_[i].blue} : kBlack;
    };
    switch (format_) {
    case TPixelFormat::pf1bit:
    case TPixelFormat::pf4bit:
    case TPixelFormat::pf8bit: return entry(ReadPackedIndex(row, x, BitsPerPixel(format_)));
    case TPixelFormat::pf24bit: return {row[3 * x + 2], row[3 * x + 1], row[3 * x]};
    case TPixelFormat::pf32bit: return {row[4 * x + 2], row[4 * x + 1], row[4 * x]};
    default: {
        uint8_t out[3];
        std::vector<uint8_t> line(static_cast<size_t>(width_) * 3);
        RowToBgr24(*this, y, line.data());
        std::memcpy(out, line.data() + 3 * x, 3);
        return {out[2], out[1], out[0]};
    }
    }
}

void TBitmap::SetPixel(int x, int y, TColor color)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    uint8_t* row = ScanLine(y);
    switch (format_) {
    case TPixelFormat::pf24bit:
        row[3 * x] = color.blue;
        row[3 * x + 1] = color.green;
        row[3 * x + 2] = color.red;
        return;
    case TPixelFormat::pf32bit:
        row[4 * x] = color.blue;
        row[4 * x + 1] = color.green;
        row[4 * x + 2] = color.red;
        row[4 * x + 3] = 0;
        return;
    case TPixelFormat::pf1bit:
    case TPixelFormat::pf4bit:
    case TPixelFormat::pf8bit:
        WritePackedIndex(row, x, BitsPerPixel(format_), static_cast<uint8_t>(NearestPaletteIndex(palette_, color)));
        return;
    case TPixelFormat::pf15bit:
    case TPixelFormat::pf16bit: {
        unsigned v = format_ == TPixelFormat::pf15bit
                         ? (color.blue >> 3) | ((color.green >> 3) << 5) | ((color.red >> 3) << 10)
                         : (color.blue >> 3) | ((color.green >> 2) << 5) | ((color.red >> 3) << 11);
        row[2 * x] = static_cast<uint8_t>(v);
        row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
        return;
    }
    }
}

void TBitmap::Fill(TColor color)
{
    if (height_ == 0 || width_ == 0)
        return;
    if (format_ == TPixelFormat::pf24bit && color == kWhite) {
        const size_t used = static_cast<size_t>(width_) * 3;
        if (used == stride_) {
            std::memset(bits_.Data(), 0xFF, ImageSize());
        } else {
            for (int y = 0; y < height_; ++y)
                std::memset(bits_.Data() + static_cast<size_t>(y) * stride_, 0xFF, used);
        }
        return;
    }
    // Fill one row pixel by pixel, then copy it to the others.
    for (int x = 0; x < width_; ++x)
        SetPixel(x, 0, color);
    const uint8_t* first = ScanLine(0);
    for (int y = 1; y < height_; ++y)
        std::memcpy(ScanLine(y), first, stride_);
}

TColor TBitmap::TransparentColor() const
{
    if (width_ == 0 || height_ == 0)
        return kWhite;
    return Pixel(0, height_ - 1);
}

void TBitmap::LoadFromStream(TStream& stream)
{
    TBitmap loaded;
    ReadBmp(stream, loaded);
    bool transparent = Transparent();
    *this = std::move(loaded);
    SetTransparent(transparent);
}

void TBitmap::SaveToStream(TStream& stream) const
{
    WriteBmp(stream, *this);
}

void TBitmap::Draw(TBitmap& target, int x, int y) const
{
    DrawBitmap(target, x, y, *this);
}

}  // namespace kobalto
