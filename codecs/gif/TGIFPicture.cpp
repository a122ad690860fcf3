#include "codecs/gif/TGIFPicture.h"

#include <algorithm>
#include <vector>

#include "base/TByteWriter.h"
#include "base/ReadStreamRest.h"
#include "base/TStream.h"
#include "codecs/gif/GifError.h"
#include "codecs/gif/GifMessages.h"
#include "codecs/gif/GifReader.h"
#include "codecs/gif/GifWriter.h"
#include "graphics/TBitmap.h"

namespace kobalto {

TGIFPicture::TGIFPicture(const TGIFPicture& other)
    : TGraphic(other), header_(other.header_), conversion_(other.conversion_), compression_(other.compression_)
{
    for (int i = 0; i < other.frames_.Count(); ++i)
        frames_.Add(std::make_unique<TGIFFrame>(other.frames_[i]));
}

void TGIFPicture::Clear()
{
    header_ = TGIFHeader{};
    frames_.Clear();
}

int TGIFPicture::Width() const
{
    if ((header_.width == 0 || header_.height == 0) && frames_.Count() > 0)
        return frames_[0].left + frames_[0].width;
    return header_.width;
}

int TGIFPicture::Height() const
{
    if ((header_.width == 0 || header_.height == 0) && frames_.Count() > 0)
        return frames_[0].top + frames_[0].height;
    return header_.height;
}

void TGIFPicture::LoadFromStream(TStream& stream)
{
    const TFreshBlock bytes = ReadStreamRest(stream, "GIF");
    TGIFHeader header;
    TGIFFrameList frames;
    ReadGif({bytes.Data(), bytes.Size()}, header, frames);
    header_ = std::move(header);
    frames_ = std::move(frames);
}

void TGIFPicture::SaveToStream(TStream& stream) const
{
    if (compression_ != TGIFCompression::kLzw)
        throw EGIFException(msg::kGifRunLengthNotWritten);
    TByteWriter out;
    WriteGif(header_, frames_, out);
    stream.WriteBuffer(out.Data().data(), out.Size());
}

void TGIFPicture::AssignBitmap(const TBitmap& source)
{
    auto frame = FrameFromBitmap(source, conversion_);
    Clear();
    header_.width = std::max(header_.width, static_cast<uint16_t>(frame->left + frame->width));
    header_.height = std::max(header_.height, static_cast<uint16_t>(frame->top + frame->height));
    frames_.Add(std::move(frame));
}

void TGIFPicture::Draw(TBitmap& target, int x, int y) const
{
    // Several frames show their first one over the target, as one does.
    if (frames_.Count() == 0)
        return;
    const TGIFFrame& frame = frames_[0];
    const TGIFColorMap& map = frame.ActiveColorMap(header_);
    const int transparent = frame.TransparentIndex();
    // Clipped to the logical screen and to the target.
    const int screenRight = x + Width();
    const int screenBottom = y + Height();
    const int left = std::max({x, x + frame.left, 0});
    const int top = std::max({y, y + frame.top, 0});
    const int right = std::min({screenRight, x + frame.left + frame.width, target.Width()});
    const int bottom = std::min({screenBottom, y + frame.top + frame.height, target.Height()});
    if (left >= right || top >= bottom)
        return;
    const bool direct = target.PixelFormat() == TPixelFormat::pf24bit;
    for (int ty = top; ty < bottom; ++ty) {
        const int fy = ty - y - frame.top;
        const int reached = frame.DecodedInRow(fy);
        uint8_t* row = direct ? target.ScanLine(ty) : nullptr;
        for (int tx = left; tx < right; ++tx) {
            const int fx = tx - x - frame.left;
            if (fx >= reached)
                break;
            const int index = frame.Pixel(fx, fy);
            if (index == transparent)
                continue;
            // Indices past the colour map are black.
            const TColor c = index < map.Count() ? map[index] : kBlack;
            if (direct) {
                row[3 * tx] = c.blue;
                row[3 * tx + 1] = c.green;
                row[3 * tx + 2] = c.red;
            } else {
                target.SetPixel(tx, ty, c);
            }
        }
    }
}

const TGraphicClass& GIFPictureClass()
{
    static const TGraphicClass cls{"TGIFPicture", [] { return std::make_unique<TGIFPicture>(); }, nullptr};
    return cls;
}

}  // namespace kobalto
