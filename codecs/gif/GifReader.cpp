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

// The most indices LZW data of this many bytes can decode to: every code is
// at least minCodeSize + 1 bits wide, and the nth code after a clear spells
// at most n indices (each table entry is one longer than an earlier one),
// never more than the table holds.
size_t LzwReach(size_t bytes, int minCodeSize)
{
    constexpr size_t kTable = 4096;
    const size_t codes = bytes * 8 / static_cast<size_t>(std::max(minCodeSize + 1, 2));
    if (codes <= kTable)
        return codes * (codes + 1) / 2;
    return kTable * (kTable + 1) / 2 + (codes - kTable) * kTable;
}

// The frame keeps only what the logical screen shows of it and what its
// data reaches: the screen cuts its right and bottom off, a frame lying
// wholly off the screen keeps no pixels, and rows are added only as the
// data reaches them. Each index goes straight to its row in image order, so
// an interlaced frame needs no second copy; its rows are spread over the
// whole frame, so it takes the part of the screen it covers at once.
std::unique_ptr<TGIFFrame> ReadImage(TByteReader& in, const TGIFHeader& header)
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

    const size_t fileWidth = frame->width;
    const int fileHeight = frame->height;
    // A screen without area takes its size from the first frame.
    const bool screen = header.width > 0 && header.height > 0;
    const size_t shownWidth = !screen ? fileWidth
                              : frame->left < header.width ? std::min<size_t>(fileWidth, header.width - frame->left)
                                                            : 0;
    const int shownHeight = !screen ? fileHeight
                            : frame->top < header.height ? std::min(fileHeight, header.height - frame->top)
                                                          : 0;
    if (shownWidth == 0 || shownHeight == 0) {
        frame->width = 0;
        frame->height = 0;
    } else {
        frame->width = static_cast<uint16_t>(shownWidth);
        frame->height = static_cast<uint16_t>(shownHeight);
    }
    if (frame->width != fileWidth || frame->height != fileHeight) {
        frame->fileWidth = static_cast<uint16_t>(fileWidth);
        frame->fileHeight = static_cast<uint16_t>(fileHeight);
    }

    const bool interlaced = frame->Interlaced();
    std::vector<int> order;
    if (interlaced && frame->width > 0) {
        order = GifRowOrder(fileHeight, true);
        frame->data.assign(shownWidth * static_cast<size_t>(shownHeight), 0);
    } else if (frame->width > 0) {
        // Room for the rows the data could reach, so growing never copies.
        const size_t rows = std::min<size_t>(LzwReach(lzw.size(), minCodeSize) / fileWidth + 1, shownHeight);
        frame->data.reserve(rows * shownWidth);
    }
    std::vector<uint8_t>& data = frame->data;
    frame->decoded = DecodeGifLzwRows(lzw, minCodeSize, fileWidth, static_cast<size_t>(fileHeight),
                                      [&](size_t stored, const uint8_t* indices, size_t count) {
        if (frame->width == 0)
            return;  // wholly off the screen, and no row order was made
        const size_t y = interlaced ? static_cast<size_t>(order[stored]) : stored;
        const size_t kept = std::min(count, shownWidth);
        if (kept == 0 || y >= static_cast<size_t>(shownHeight))
            return;
        if (!interlaced) {
            // Rows come in order; a short last row is padded to the width.
            data.insert(data.end(), indices, indices + kept);
            data.resize((y + 1) * shownWidth, 0);
            return;
        }
        std::copy_n(indices, kept, data.begin() + static_cast<std::ptrdiff_t>(y * shownWidth));
    });
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
                auto frame = ReadImage(in, header);
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
