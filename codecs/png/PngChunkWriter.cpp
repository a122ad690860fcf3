#include "codecs/png/PngChunkWriter.h"

#include <zlib.h>

namespace kobalto {

namespace {

void PutU32BE(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}

}  // namespace

void WritePngChunk(TStream& out, const char* name, std::span<const uint8_t> data)
{
    uint8_t head[8];
    PutU32BE(head, static_cast<uint32_t>(data.size()));
    for (int i = 0; i < 4; ++i)
        head[4 + i] = static_cast<uint8_t>(name[i]);
    uLong crc = crc32(crc32(0, nullptr, 0), head + 4, 4);
    if (!data.empty())
        crc = crc32(crc, data.data(), static_cast<uInt>(data.size()));
    uint8_t tail[4];
    PutU32BE(tail, static_cast<uint32_t>(crc));
    out.WriteBuffer(head, 8);
    if (!data.empty())
        out.WriteBuffer(data.data(), data.size());
    out.WriteBuffer(tail, 4);
}

}  // namespace kobalto
