#include "codecs/gif/GifExtensions.h"

#include "codecs/gif/GifError.h"
#include "codecs/gif/GifMessages.h"

namespace kobalto {

std::vector<uint8_t> ReadGifSubBlocks(TByteReader& in)
{
    std::vector<uint8_t> data;
    for (uint8_t n = in.U8(); n != 0; n = in.U8()) {
        auto block = in.Take(n);
        data.insert(data.end(), block.begin(), block.end());
    }
    return data;
}

void SkipGifSubBlocks(TByteReader& in)
{
    for (uint8_t n = in.U8(); n != 0; n = in.U8())
        in.Skip(n);
}

void TGIFExtension::Write(TByteWriter& out) const
{
    out.U8(kIntroducer);
    out.U8(Label());
    WriteData(out);
    out.U8(0);
}

void TGIFGraphicControlExtension::Read(TByteReader& in)
{
    const uint8_t size = in.U8();
    if (size < 4)
        throw EGIFException(msg::kGifInvalidData);
    TByteReader block = in.Sub(size);
    packed_ = block.U8();
    delay_ = block.U16LE();
    transparentIndex_ = block.U8();
    // Writers that put more in the block, or more blocks after it, are
    // tolerated: the rest is skipped.
    SkipGifSubBlocks(in);
}

void TGIFGraphicControlExtension::WriteData(TByteWriter& out) const
{
    out.U8(4);
    out.U8(packed_);
    out.U16LE(delay_);
    out.U8(transparentIndex_);
}

void TGIFDataExtension::Read(TByteReader& in)
{
    for (uint8_t n = in.U8(); n != 0; n = in.U8()) {
        auto block = in.Take(n);
        blocks_.emplace_back(block.begin(), block.end());
    }
}

void TGIFDataExtension::WriteData(TByteWriter& out) const
{
    for (const auto& block : blocks_) {
        out.U8(static_cast<uint8_t>(block.size()));
        out.Bytes(block);
    }
}

}  // namespace kobalto
