#include "codecs/gif/GifWriter.h"

#include <algorithm>

#include "codecs/gif/GifError.h"
#include "codecs/gif/GifLzwEncoder.h"
#include "codecs/gif/GifMessages.h"

namespace kobalto {

namespace {

// The table's entries, then black up to 2^bits entries.
void WriteColorTable(TByteWriter& out, const TGIFColorMap& map, int bits)
{
    for (const TColor& c : map.Colors()) {
        out.U8(c.red);
        out.U8(c.green);
        out.U8(c.blue);
    }
    out.Fill(static_cast<size_t>((1 << bits) - map.Count()) * 3, 0);
}

// Bits per pixel of a frame: its own map's, or the global map's.
int FrameBits(const TGIFHeader& header, const TGIFFrame& frame)
{
    return frame.colorMap.Empty() ? header.colorMap.BitsPerPixel() : frame.colorMap.BitsPerPixel();
}

void WriteFrame(const TGIFFrame& frame, int imageBits, TByteWriter& out)
{
    // Readers refuse an image without area, so none is written.
    if (frame.width == 0 || frame.height == 0)
        throw EGIFException(msg::kGifEmptyImage);
    for (const auto& extension : frame.extensions)
        extension->Write(out);

    uint8_t packed;
    const int mapBits = frame.colorMap.BitsPerPixel();
    if (!frame.colorMap.Empty()) {
        packed = static_cast<uint8_t>((frame.colorMap.Optimized() ? 0xA0 : 0x80) | (mapBits - 1));
    } else {
        packed = static_cast<uint8_t>(frame.packed & 0x58);
    }
    out.U8(TGIFFrame::kSeparator);
    out.U16LE(frame.left);
    out.U16LE(frame.top);
    out.U16LE(frame.width);
    out.U16LE(frame.height);
    out.U8(packed);
    if (!frame.colorMap.Empty())
        WriteColorTable(out, frame.colorMap, mapBits);

    int bits = mapBits;
    int colors = frame.colorMap.Count();
    if (frame.colorMap.Empty()) {
        bits = imageBits;
        colors = 1 << std::max(bits, 1);
    }
    // A frame read from a damaged file may hold fewer rows than it shows.
    const bool whole = frame.data.size() == static_cast<size_t>(frame.width) * frame.height;
    EncodeGifLzw(whole ? frame.data : frame.FullData(), frame.width, frame.height, (packed & TGIFFrame::kInterlaced) != 0, bits, colors, out);
}

}  // namespace

TGIFVersion GifStreamVersion(const TGIFFrameList& frames)
{
    if (frames.Count() == 0)
        throw EGIFException(msg::kGifUnsupportedVersion);
    for (int i = 0; i < frames.Count(); ++i)
        if (frames[i].Version() == TGIFVersion::gv89a)
            return TGIFVersion::gv89a;
    return TGIFVersion::gv87a;
}

void WriteGif(const TGIFHeader& header, const TGIFFrameList& frames, TByteWriter& out)
{
    const TGIFVersion version = GifStreamVersion(frames);
    out.Text("GIF");
    out.Text(version == TGIFVersion::gv89a ? "89a" : "87a");
    out.U16LE(header.width);
    out.U16LE(header.height);

    // Colour resolution and bits per pixel: the largest of the header and
    // the frames.
    int largest = header.colorMap.BitsPerPixel();
    for (int i = 0; i < frames.Count(); ++i)
        largest = std::max(largest, FrameBits(header, frames[i]));
    const int resolution = std::max(largest, 1) - 1;
    uint8_t packed = static_cast<uint8_t>(resolution << 4);
    const int globalBits = header.colorMap.BitsPerPixel();
    if (!header.colorMap.Empty()) {
        // The size field must describe the global table that follows.
        packed = static_cast<uint8_t>(packed | 0x80 | (globalBits - 1));
        if (header.colorMap.Optimized())
            packed |= 0x08;
    } else {
        packed = static_cast<uint8_t>(packed | resolution);
    }
    out.U8(packed);
    out.U8(header.backgroundIndex);
    out.U8(header.aspect);
    if (!header.colorMap.Empty())
        WriteColorTable(out, header.colorMap, globalBits);

    for (int i = 0; i < frames.Count(); ++i)
        WriteFrame(frames[i], largest, out);
    out.U8(0x3B);
}

}  // namespace kobalto
