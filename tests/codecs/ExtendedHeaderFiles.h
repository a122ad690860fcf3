#pragma once
// Hand-made headers of the PCX, Photoshop, Paintshop Pro, RLA and Autodesk
// formats, for the edge-case tables.
#include <string>
#include <vector>

#include "tests/codecs/ExtendedTestFiles.h"

namespace kobalto::test {

struct PcxSpec {
    uint8_t manufacturer = 10, version = 5, encoding = 0, bits = 8, planes = 1;
    uint16_t width = 2, height = 1, bytesPerLine = 2;
    std::vector<uint8_t> map{};  // header palette, red, green, blue
};
inline FileBytes PcxHeader(const PcxSpec& s)
{
    FileBytes f;
    f.Raw({s.manufacturer, s.version, s.encoding, s.bits}).U16LE(0).U16LE(0).U16LE(s.width - 1u).U16LE(s.height - 1u);
    f.U16LE(72).U16LE(72);
    std::vector<uint8_t> map = s.map;
    map.resize(48);
    f.bytes.insert(f.bytes.end(), map.begin(), map.end());
    f.Raw({0, s.planes}).U16LE(s.bytesPerLine).U16LE(1).Zeros(58);
    return f;
}

struct PsdSpec {
    uint16_t version = 1, channels = 3;
    uint32_t height = 1, width = 2;
    uint16_t depth = 8, mode = 3;
    std::vector<uint8_t> colorData{};
    uint16_t compression = 0;
};
// Header, colour data, empty resources and layers, the compression word.
inline FileBytes PsdHeader(const PsdSpec& s)
{
    FileBytes f;
    f.Text("8BPS").U16BE(s.version).Zeros(6).U16BE(s.channels).U32BE(s.height).U32BE(s.width);
    f.U16BE(s.depth).U16BE(s.mode).U32BE(static_cast<uint32_t>(s.colorData.size()));
    f.bytes.insert(f.bytes.end(), s.colorData.begin(), s.colorData.end());
    f.U32BE(0).U32BE(0).U16BE(s.compression);
    return f;
}

// Paintshop Pro, format version 5: blocks with chunk sizes.
inline FileBytes PspBlock(uint16_t id, const FileBytes& body)
{
    FileBytes f;
    f.Text("~BK").Raw({0}).U16LE(id).U32LE(static_cast<uint32_t>(body.Size())).Append(body);
    return f;
}
struct PspSpec {
    uint16_t major = 5;
    int32_t width = 2, height = 1;
    uint16_t compression = 0, depth = 24;
    bool grey = false;
};
inline FileBytes PspStart(const PspSpec& s)
{
    FileBytes f;
    f.Text("Paint Shop Pro Image File\n\x1a").Zeros(5).U16LE(s.major).U16LE(0);
    FileBytes image;
    image.U32LE(46).U32LE(uint32_t(s.width)).U32LE(uint32_t(s.height)).Zeros(9).U16LE(s.compression).U16LE(s.depth);
    image.U16LE(1).U32LE(1u << 24).Raw({uint8_t(s.grey)}).Zeros(14);
    return f.Append(PspBlock(0, image));
}
// A raster layer at (left, top) whose channels are given stored as they
// are (bitmap type, channel type, bytes).
struct PspChannel {
    uint16_t bitmapType, channelType;
    std::vector<uint8_t> data;
};
inline FileBytes PspLayer(int32_t left, int32_t top, int32_t width, int32_t height, uint8_t opacity,
                          const std::vector<PspChannel>& channels)
{
    FileBytes info;
    info.U32LE(4 + 2 + 1 + 1 + 32 + 3).U16LE(1).Text("L").Raw({1});
    info.U32LE(uint32_t(left)).U32LE(uint32_t(top)).U32LE(uint32_t(left + width)).U32LE(uint32_t(top + height));
    info.U32LE(0).U32LE(0).U32LE(uint32_t(width)).U32LE(uint32_t(height)).Raw({opacity, 0, 1});
    info.U32LE(8).U16LE(1).U16LE(static_cast<uint16_t>(channels.size()));
    for (const PspChannel& c : channels) {
        FileBytes ch;
        ch.U32LE(16).U32LE(static_cast<uint32_t>(c.data.size())).U32LE(static_cast<uint32_t>(c.data.size()));
        ch.U16LE(c.bitmapType).U16LE(c.channelType);
        ch.bytes.insert(ch.bytes.end(), c.data.begin(), c.data.end());
        info.Append(PspBlock(5, ch));
    }
    return PspBlock(4, info);
}

struct RlaSpec {
    int16_t width = 2, height = 2;
    std::string channels = "rgb", gamma = "";
    int16_t colourChannels = 3, matteChannels = 0, bits = 8, storage = 0;
};
// The header and the offset table; the lines follow at the offsets given.
inline FileBytes RlaHeader(const RlaSpec& s, const std::vector<uint32_t>& offsets)
{
    FileBytes f;
    for (int i = 0; i < 2; ++i)
        f.U16BE(0).U16BE(uint16_t(s.width - 1)).U16BE(0).U16BE(uint16_t(s.height - 1));
    f.U16BE(1).U16BE(uint16_t(s.storage)).U16BE(uint16_t(s.colourChannels)).U16BE(uint16_t(s.matteChannels));
    f.U16BE(0).U16BE(0xFFFE);
    f.Text(s.gamma).Zeros(580 - f.Size()).Text(s.channels).Zeros(658 - f.Size());
    f.U16BE(uint16_t(s.bits)).U16BE(0).U16BE(uint16_t(s.bits)).Zeros(740 - f.Size());
    for (uint32_t o : offsets)
        f.U32BE(o);
    return f;
}

struct CelSpec {
    uint16_t magic = 0x9119, width = 2, height = 1;
    uint8_t depth = 8, compression = 0;
    uint32_t pixelBytes = 2;
};
// Header and a palette whose entry i is (i & 63, 63, 0) in 6 bits.
inline FileBytes CelHeader(const CelSpec& s)
{
    FileBytes f;
    f.U16LE(s.magic).U16LE(s.width).U16LE(s.height).U16LE(0).U16LE(0).Raw({s.depth, s.compression});
    f.U32LE(s.pixelBytes).Zeros(16);
    for (int i = 0; i < 256; ++i)
        f.Raw({uint8_t(i & 63), 63, 0});
    return f;
}

}  // namespace kobalto::test
