#include "codecs/png/PngChunkReader.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstring>

#include "base/TByteReader.h"
#include "codecs/png/PngErrors.h"
#include "codecs/png/PngSignature.h"

namespace kobalto {

bool PngChunkHeader::Is(const char* fourLetters) const
{
    return std::memcmp(name.data(), fourLetters, 4) == 0;
}

PngChunkReader::PngChunkReader(TStream& stream) : stream_(stream)
{
    const int64_t size = stream.Size();
    const int64_t pos = stream.Position();
    streamLeft_ = size > pos ? static_cast<uint64_t>(size - pos) : 0;
}

void PngChunkReader::ReadExact(void* out, size_t count)
{
    if (count > streamLeft_ || stream_.Read(out, count) != count)
        throw EPngUnexpectedEnd();
    streamLeft_ -= count;
}

void PngChunkReader::ReadSignature()
{
    uint8_t bytes[8];
    if (streamLeft_ < 8)
        throw EPNGInvalidFileHeader();
    ReadExact(bytes, 8);
    if (std::memcmp(bytes, kPngSignature.data(), 8) != 0)
        throw EPNGInvalidFileHeader();
}

PngChunkHeader PngChunkReader::Next()
{
    if (pending_) {
        pending_ = false;
        return pendingHeader_;
    }
    uint8_t bytes[8];
    ReadExact(bytes, 8);
    TByteReader r(bytes, "PNG", PngTruncated);
    PngChunkHeader h;
    h.length = r.U32BE();
    std::memcpy(h.name.data(), r.Take(4).data(), 4);
    // The data and the CRC must still be there: a length is never trusted.
    if (uint64_t{h.length} + 4 > streamLeft_)
        throw EPngUnexpectedEnd();
    dataLeft_ = h.length;
    critical_ = h.Critical();
    // The same CRC-32 as zlib's, several times faster on large chunks.
    crc_ = libdeflate_crc32(0, bytes + 4, 4);
    return h;
}

void PngChunkReader::Unread(const PngChunkHeader& header)
{
    pending_ = true;
    pendingHeader_ = header;
}

size_t PngChunkReader::ReadSome(uint8_t* out, size_t max)
{
    const size_t n = std::min<size_t>(max, dataLeft_);
    if (n == 0)
        return 0;
    ReadExact(out, n);
    crc_ = libdeflate_crc32(static_cast<uint32_t>(crc_), out, n);
    dataLeft_ -= static_cast<uint32_t>(n);
    return n;
}

std::optional<std::vector<uint8_t>> PngChunkReader::ReadAll()
{
    std::vector<uint8_t> data(dataLeft_);
    ReadSome(data.data(), data.size());
    if (!EndChunk())
        return std::nullopt;
    return data;
}

PngChunkReader::Mark PngChunkReader::Here()
{
    return {stream_.Position(), streamLeft_, dataLeft_, crc_, critical_};
}

void PngChunkReader::Rewind(const Mark& mark)
{
    stream_.SetPosition(mark.position);
    streamLeft_ = mark.streamLeft;
    dataLeft_ = mark.dataLeft;
    crc_ = mark.crc;
    critical_ = mark.critical;
    pending_ = false;
}

bool PngChunkReader::EndChunk()
{
    uint8_t scratch[4096];
    while (ReadSome(scratch, sizeof scratch) != 0) {
    }
    uint8_t bytes[4];
    ReadExact(bytes, 4);
    if (TByteReader(bytes, "PNG", PngTruncated).U32BE() == static_cast<uint32_t>(crc_))
        return true;
    if (critical_)
        throw EPngInvalidCRC();
    return false;
}

}  // namespace kobalto
