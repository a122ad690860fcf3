#include "codecs/GifFrame.h"

#include "codecs/GifHeader.h"

namespace kobalto {

TGIFFrame::TGIFFrame(const TGIFFrame& other)
    : left(other.left),
      top(other.top),
      width(other.width),
      height(other.height),
      packed(other.packed),
      colorMap(other.colorMap),
      data(other.data),
      decoded(other.decoded)
{
    for (const auto& e : other.extensions)
        extensions.push_back(e->Clone());
}

TGIFGraphicControlExtension* TGIFFrame::GraphicControl() const
{
    // A file may carry more than one; the last before the image counts.
    TGIFGraphicControlExtension* found = nullptr;
    for (const auto& e : extensions)
        if (auto* gce = dynamic_cast<TGIFGraphicControlExtension*>(e.get()))
            found = gce;
    return found;
}

int TGIFFrame::TransparentIndex() const
{
    const TGIFGraphicControlExtension* gce = GraphicControl();
    return gce && gce->Transparent() ? gce->TransparentColorIndex() : -1;
}

TGIFVersion TGIFFrame::Version() const
{
    return colorMap.Optimized() || !extensions.empty() ? TGIFVersion::gv89a : TGIFVersion::gv87a;
}

int TGIFFrame::DecodedInRow(int y) const
{
    // The row's place in the file: an interlaced image stores every eighth
    // row from 0, then from 4, every fourth from 2, every second from 1.
    size_t stored = static_cast<size_t>(y);
    if (Interlaced()) {
        const size_t h = height;
        const size_t pass1 = (h + 7) / 8, pass2 = (h + 3) / 8, pass3 = (h + 1) / 4;
        if (y % 8 == 0)
            stored = static_cast<size_t>(y) / 8;
        else if (y % 8 == 4)
            stored = pass1 + static_cast<size_t>(y) / 8;
        else if (y % 4 == 2)
            stored = pass1 + pass2 + static_cast<size_t>(y) / 4;
        else
            stored = pass1 + pass2 + pass3 + static_cast<size_t>(y) / 2;
    }
    const size_t start = stored * width;
    if (decoded <= start)
        return 0;
    return decoded - start >= width ? width : static_cast<int>(decoded - start);
}

const TGIFColorMap& TGIFFrame::ActiveColorMap(const TGIFHeader& header) const
{
    return colorMap.Empty() ? header.colorMap : colorMap;
}

}  // namespace kobalto
