#pragma once
// Building PNG files chunk by chunk for the tests, broken ones included, and
// reading them back.
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/TMemoryStream.h"
#include "codecs/png/TPNGPicture.h"

namespace kobalto::pngtest {

using Bytes = std::vector<uint8_t>;

inline void PutU32(Bytes& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

inline uint32_t GetU32(const Bytes& b, size_t pos)
{
    return (uint32_t{b[pos]} << 24) | (uint32_t{b[pos + 1]} << 16) | (uint32_t{b[pos + 2]} << 8) | b[pos + 3];
}

inline const Bytes kSignature{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

// One chunk with its length and CRC; crcDelta spoils the CRC.
inline Bytes Chunk(const std::string& name, const Bytes& data, uint32_t crcDelta = 0)
{
    Bytes out;
    PutU32(out, static_cast<uint32_t>(data.size()));
    out.insert(out.end(), name.begin(), name.end());
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(name.data()), 4);
    if (!data.empty())  // a null buffer would restart the CRC
        crc = crc32(crc, data.data(), static_cast<uInt>(data.size()));
    PutU32(out, static_cast<uint32_t>(crc) + crcDelta);
    return out;
}

inline Bytes Ihdr(uint32_t width, uint32_t height, uint8_t depth, uint8_t colorType, uint8_t interlace = 0,
                  uint8_t compression = 0, uint8_t filter = 0)
{
    Bytes d;
    PutU32(d, width);
    PutU32(d, height);
    d.insert(d.end(), {depth, colorType, compression, filter, interlace});
    return d;
}

inline Bytes Deflate(const Bytes& raw, int level = 6)
{
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes out(size);
    compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), level);
    out.resize(size);
    return out;
}

inline Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A whole file: signature, IHDR, the chunks given, IDAT with raw (already
// filtered rows) compressed, IEND.
inline Bytes File(const Bytes& ihdr, const Bytes& raw, std::initializer_list<Bytes> before = {})
{
    Bytes out = Concat({kSignature, Chunk("IHDR", ihdr)});
    for (const Bytes& b : before)
        out.insert(out.end(), b.begin(), b.end());
    return Concat({out, Chunk("IDAT", Deflate(raw)), Chunk("IEND", {})});
}

inline TPNGPicture Load(const Bytes& bytes)
{
    TMemoryStream stream(bytes);
    TPNGPicture png;
    png.LoadFromStream(stream);
    return png;
}

inline Bytes Save(const TPNGPicture& png)
{
    TMemoryStream stream;
    png.SaveToStream(stream);
    return stream.TakeBytes();
}

struct ChunkInfo {
    std::string name;
    uint32_t length;
    size_t dataPos;
};

// The chunks of a well-formed file, in order.
inline std::vector<ChunkInfo> Chunks(const Bytes& file)
{
    std::vector<ChunkInfo> out;
    for (size_t pos = 8; pos + 12 <= file.size();) {
        const uint32_t length = GetU32(file, pos);
        out.push_back({std::string(file.begin() + pos + 4, file.begin() + pos + 8), length, pos + 8});
        pos += 12 + length;
    }
    return out;
}

}  // namespace kobalto::pngtest
