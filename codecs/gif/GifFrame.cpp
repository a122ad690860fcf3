#include "codecs/gif/GifFrame.h"

#include "codecs/gif/GifHeader.h"
#include "codecs/gif/GifInterlace.h"

namespace kobalto {

TGIFFrame::TGIFFrame(const TGIFFrame& other)
    : left(other.left),
      top(other.top),
      width(other.width),
      height(other.height),
      packed(other.packed),
      fileWidth(other.fileWidth),
      fileHeight(other.fileHeight),
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
    const size_t start = GifStoredRow(y, DescriptorHeight(), Interlaced()) * static_cast<size_t>(DescriptorWidth());
    if (decoded <= start)
        return 0;
    return decoded - start >= width ? width : static_cast<int>(decoded - start);
}

std::vector<uint8_t> TGIFFrame::FullData() const
{
    std::vector<uint8_t> full(data);
    full.resize(static_cast<size_t>(width) * height, 0);
    return full;
}

const TGIFColorMap& TGIFFrame::ActiveColorMap(const TGIFHeader& header) const
{
    return colorMap.Empty() ? header.colorMap : colorMap;
}

}  // namespace kobalto
