#include "codecs/gif/GifReader.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/Limits.h"
#include "base/TByteReader.h"
#include "codecs/gif/GifError.h"
#include "codecs/gif/GifInterlace.h"
#include "codecs/gif/GifLzwDecoder.h"
#include "codecs/gif/GifMessages.h"

namespace kobalto {

namespace {

constexpr uint8_t kExtensionIntroducer = 0x21;
constexpr uint8_t kTrailer = 0x3B;

void ReadColorTable(TByteReader& in, int entries, TGIFColorMap& map)
{
    auto bytes = in.Take(static_cast<size_t>(entries) * 3);
    map.Clear();
    for (int i = 0; i < entries; ++i)
        map.Add(TColor{bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]});
}

// The cap's own text, raised as a GIF failure.
[[noreturn]] void RaiseTooLarge(int64_t width, int64_t height)
{
    try {
        CheckImageSize(width, height, "GIF");
    } catch (const EInvalidGraphic& e) {
        throw EGIFException(e.what());
    }
    throw EGIFException(msg::kGifImageTooLarge);
}

void ReadHeader(TByteReader& in, TGIFHeader& header)
{
    if (in.Remaining() < 3 || std::string(reinterpret_cast<const char*>(in.Bytes().data()), 3) != "GIF")
        throw EGIFException(msg::kGifInvalidSignature);
    in.Skip(3);
    auto version = in.Take(3);
    const std::string v(reinterpret_cast<const char*>(version.data()), 3);
    if (v != "87a" && v != "89a")
        throw EGIFException(msg::kGifUnsupportedVersion);
    header.width = in.U16LE();
    header.height = in.U16LE();
    const uint8_t packed = in.U8();
    header.backgroundIndex = in.U8();
    header.aspect = in.U8();
    header.colorResolution = static_cast<uint8_t>((packed >> 4) & 0x07);
    if (int64_t{header.width} * header.height > kMaxPixels)
        RaiseTooLarge(header.width, header.height);
    if (packed & 0x80) {
        ReadColorTable(in, 2 << (packed & 0x07), header.colorMap);
        header.colorMap.SetOptimized((packed & 0x08) != 0);
    }
}

// Rows in image order from rows in the order the file stores them.
std::vector<uint8_t> Deinterlace(const std::vector<uint8_t>& stored, int width, int height)
{
    std::vector<uint8_t> rows(stored.size());
    const std::vector<int> order = GifRowOrder(height, true);
    for (size_t i = 0; i < order.size(); ++i)
        std::copy_n(stored.begin() + static_cast<std::ptrdiff_t>(i * width), width,
                    rows.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(order[i]) * width));
    return rows;
}

std::unique_ptr<TGIFFrame> ReadImage(TByteReader& in)
{
    auto frame = std::make_unique<TGIFFrame>();
    frame->left = in.U16LE();
    frame->top = in.U16LE();
    frame->width = in.U16LE();
    frame->height = in.U16LE();
    frame->packed = in.U8();
    if (frame->width == 0 || frame->height == 0)
        throw EGIFException(msg::kGifInvalidData);
    if (frame->packed & TGIFFrame::kLocalTable) {
        ReadColorTable(in, 2 << (frame->packed & 0x07), frame->colorMap);
        frame->colorMap.SetOptimized((frame->packed & TGIFFrame::kSorted) != 0);
    }
    const int minCodeSize = in.U8();
    const std::vector<uint8_t> lzw = ReadGifSubBlocks(in);
    // Pixels the data never reaches stay 0.
    frame->data.assign(static_cast<size_t>(frame->width) * frame->height, 0);
    frame->decoded = DecodeGifLzw(lzw, minCodeSize, frame->data);
    if (frame->Interlaced())
        frame->data = Deinterlace(frame->data, frame->width, frame->height);
    return frame;
}

std::unique_ptr<TGIFExtension> ReadExtension(TByteReader& in)
{
    const uint8_t label = in.U8();
    if (label == TGIFGraphicControlExtension::kLabel) {
        auto gce = std::make_unique<TGIFGraphicControlExtension>();
        gce->Read(in);
        return gce;
    }
    auto data = std::make_unique<TGIFDataExtension>(label);
    data->Read(in);
    return data;
}

}  // namespace

void ReadGif(std::span<const uint8_t> bytes, TGIFHeader& header, TGIFFrameList& frames)
{
    TByteReader in(bytes, "GIF", GifTruncated);
    header = TGIFHeader{};
    frames.Clear();
    ReadHeader(in, header);

    std::vector<std::unique_ptr<TGIFExtension>> pending;
    int64_t pixels = 0;
    for (;;) {
        // A file that ends, or goes on with something else, after complete
        // frames keeps them: many writers leave out the trailer or append
        // another file.
        if (in.Remaining() == 0 && frames.Count() > 0)
            break;
        const size_t blockStart = in.Position();
        const uint8_t kind = in.U8();
        if (kind == kTrailer)
            break;
        try {
            if (kind == kExtensionIntroducer) {
                pending.push_back(ReadExtension(in));
            } else if (kind == TGIFFrame::kSeparator) {
                // Frames beyond the pixel cap are not decoded at all.
                TByteReader peek = in;
                peek.Skip(4);
                const int64_t w = peek.U16LE();
                const int64_t h = peek.U16LE();
                if (pixels + w * h > kMaxPixels) {
                    if (frames.Count() == 0)
                        RaiseTooLarge(w, h);
                    break;
                }
                pixels += w * h;
                auto frame = ReadImage(in);
                frame->extensions = std::move(pending);
                pending.clear();
                frames.Add(std::move(frame));
            } else if (frames.Count() > 0) {
                break;
            } else {
                throw EGIFException(msg::kGifUnknownBlock);
            }
        } catch (const EGIFException&) {
            // A damaged later frame does not take the complete ones with it.
            if (frames.Count() == 0)
                throw;
            in.Seek(blockStart);
            break;
        }
    }
    if (frames.Count() == 0)
        throw EGIFException(msg::kGifPrematureEnd);
}

}  // namespace kobalto
