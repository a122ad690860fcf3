#include "codecs/psp/PspBlocks.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "codecs/extended/ExtendedError.h"
#include "codecs/extended/ExtendedMessages.h"

namespace kobalto {

namespace {

constexpr std::string_view kSignature = "Paint Shop Pro Image File";
constexpr size_t kSignatureBytes = 32;

[[noreturn]] void Invalid() { RaiseExtended(msg::kInvalidImageFormat, {msg::kFormatPsp}); }

TPspRect Rect(TByteReader& r)
{
    TPspRect rect;
    rect.left = static_cast<int32_t>(r.U32LE());
    rect.top = static_cast<int32_t>(r.U32LE());
    rect.right = static_cast<int32_t>(r.U32LE());
    rect.bottom = static_cast<int32_t>(r.U32LE());
    return rect;
}

// From version 4 on a chunk starts with its size; what follows it up to
// that size is read, the rest (fields of later versions) stepped over.
TByteReader Chunk(TByteReader& body, int major)
{
    if (major < 4)
        return body.Sub(body.Remaining());
    const uint32_t size = body.U32LE();
    if (size < 4)
        Invalid();
    return body.Sub(size - 4);
}

}  // namespace

TPspFile::TPspFile(std::span<const uint8_t> bytes) : blocks_(bytes, msg::kFormatPsp, ExtendedTruncated)
{
    const std::span<const uint8_t> signature = blocks_.Take(kSignatureBytes);
    for (size_t i = 0; i < kSignature.size(); ++i)
        if (std::tolower(signature[i]) != std::tolower(static_cast<unsigned char>(kSignature[i])))
            Invalid();
    major_ = blocks_.U16LE();
    blocks_.Skip(2);  // minor version
    if (major_ < 3)
        Invalid();
}

bool TPspFile::NextBlock(TByteReader& r, uint16_t& id, TByteReader& body) const
{
    if (r.Remaining() == 0)
        return false;
    if (r.U32BE() != 0x7E424B00)  // "~BK\0"
        Invalid();
    id = r.U16LE();
    if (major_ < 4)
        r.Skip(4);  // the initial length
    body = r.Sub(r.U32LE());
    return true;
}

TPspImage TPspFile::ReadImage(TByteReader body) const
{
    TByteReader c = Chunk(body, major_);
    TPspImage image;
    const auto width = static_cast<int32_t>(c.U32LE());
    const auto height = static_cast<int32_t>(c.U32LE());
    c.Skip(9);  // resolution and its unit
    image.compression = c.U16LE();
    image.bitDepth = c.U16LE();
    c.Skip(6);  // planes, colour count
    image.grey = c.U8() != 0;
    if (width < 1 || height < 1)
        Invalid();
    image.width = width;
    image.height = height;
    return image;
}

std::vector<TRGBQuad> TPspFile::ReadPalette(TByteReader body) const
{
    TByteReader c = Chunk(body, major_);
    const uint32_t count = c.U32LE();
    if (count == 0 || count > 256)
        RaiseExtended(msg::kInvalidPalette, {msg::kFormatPsp});
    // Version 4 on: the entries follow the chunk.
    TByteReader& entries = major_ < 4 ? c : body;
    std::vector<TRGBQuad> palette(count);
    for (TRGBQuad& q : palette) {
        q.blue = entries.U8();
        q.green = entries.U8();
        q.red = entries.U8();
        entries.U8();
    }
    return palette;
}

TPspLayer TPspFile::ReadLayer(TByteReader body) const
{
    TPspLayer layer;
    const size_t start = body.Position();
    TByteReader c = Chunk(body, major_);
    c.Skip(major_ < 4 ? 256 : c.U16LE());  // the name
    layer.type = c.U8();
    layer.image = Rect(c);
    layer.saved = Rect(c);
    layer.opacity = c.U8();
    c.Skip(1);  // blend mode
    layer.visible = (c.U8() & 1) != 0;
    if (major_ < 4) {
        // Version 3 has no chunk sizes: the channel blocks start at the
        // first block mark after the layer's fixed fields.
        const std::span<const uint8_t> all = body.Bytes();
        size_t at = start + c.Position();
        while (at + 4 <= all.size() && !(all[at] == '~' && all[at + 1] == 'B' && all[at + 2] == 'K' && all[at + 3] == 0))
            ++at;
        body.Seek(std::min(at, all.size()));
    } else {
        Chunk(body, major_);  // bitmap and channel counts: the blocks say it
    }
    uint16_t id;
    TByteReader channelBody(std::span<const uint8_t>{}, msg::kFormatPsp, ExtendedTruncated);
    while (NextBlock(body, id, channelBody)) {
        if (id != kPspChannelBlock)
            continue;
        TByteReader info = Chunk(channelBody, major_);
        const uint32_t compressed = info.U32LE();
        info.Skip(4);  // the unpacked length, not always right
        TPspChannel channel;
        channel.bitmapType = info.U16LE();
        channel.channelType = info.U16LE();
        // Version 3: the data follows the fields; later, the chunk.
        TByteReader& data = major_ < 4 ? info : channelBody;
        channel.data = data.Take(compressed);
        layer.channels.push_back(channel);
    }
    return layer;
}

}  // namespace kobalto
