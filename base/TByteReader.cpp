#include "base/TByteReader.h"

#include "base/Exceptions.h"
#include "base/Messages.h"

namespace kobalto {

TByteReader::TByteReader(std::span<const uint8_t> bytes, std::string_view format, TruncatedFn onTruncated)
    : bytes_(bytes), format_(format), onTruncated_(onTruncated)
{
}

void TByteReader::Truncated() const
{
    if (onTruncated_)
        onTruncated_(format_);
    throw EReadError(msg::kStreamReadError);
}

uint8_t TByteReader::U8()
{
    Need(1);
    return bytes_[pos_++];
}

uint16_t TByteReader::U16LE()
{
    Need(2);
    uint16_t v = static_cast<uint16_t>(bytes_[pos_] | (bytes_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
}

uint16_t TByteReader::U16BE()
{
    Need(2);
    uint16_t v = static_cast<uint16_t>((bytes_[pos_] << 8) | bytes_[pos_ + 1]);
    pos_ += 2;
    return v;
}

uint32_t TByteReader::U32LE()
{
    Need(4);
    const uint8_t* p = bytes_.data() + pos_;
    pos_ += 4;
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

uint32_t TByteReader::U32BE()
{
    Need(4);
    const uint8_t* p = bytes_.data() + pos_;
    pos_ += 4;
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

std::span<const uint8_t> TByteReader::Take(size_t n)
{
    Need(n);
    auto s = bytes_.subspan(pos_, n);
    pos_ += n;
    return s;
}

TByteReader TByteReader::Sub(size_t n)
{
    TByteReader sub(Take(n), format_, onTruncated_);
    sub.order_ = order_;
    return sub;
}

void TByteReader::Seek(size_t pos)
{
    if (pos > bytes_.size())
        Truncated();
    pos_ = pos;
}

}  // namespace kobalto
