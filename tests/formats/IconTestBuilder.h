#pragma once
// Builds icon files for tests: a directory, then each image as a 40-byte
// header (height doubled), colour table, colour rows and mask rows, all rows
// bottom-up and padded to 4 bytes; or an image given as raw bytes (a PNG).
#include <cstdint>
#include <functional>
#include <vector>

#include "base/TByteWriter.h"

namespace kobalto::test {

struct IconImageSpec {
    int width = 16;
    int height = 16;
    int bits = 24;
    std::vector<uint32_t> palette{};  // 0x00RRGGBB; padded with zeros to 2^bits entries
    // The stored value of pixel (x, y), y from the top: an index, or 0x00RRGGBB
    // (with alpha in the top byte for 32 bits).
    std::function<uint32_t(int, int)> pixel = [](int, int) { return 0u; };
    std::function<bool(int, int)> masked = [](int, int) { return false; };
    uint32_t headerImageSize = 0;
    std::vector<uint8_t> raw{};  // when not empty, stored instead of a bitmap
    // Directory fields; -1 takes the image's own.
    int entryWidth = -1;
    int entryHeight = -1;
    int entryBits = -1;
};

inline std::vector<uint8_t> IconImageBytes(const IconImageSpec& s)
{
    if (!s.raw.empty())
        return s.raw;
    TByteWriter w;
    w.U32LE(40);
    w.U32LE(static_cast<uint32_t>(s.width));
    w.U32LE(static_cast<uint32_t>(s.height * 2));
    w.U16LE(1);
    w.U16LE(static_cast<uint16_t>(s.bits));
    w.U32LE(0);
    w.U32LE(s.headerImageSize);
    w.Fill(16, 0);
    if (s.bits <= 8)
        for (size_t i = 0; i < (size_t{1} << s.bits); ++i) {
            const uint32_t c = i < s.palette.size() ? s.palette[i] : 0;
            w.U32LE(c & 0xFFFFFF);
        }
    const size_t rowBytes = (static_cast<size_t>(s.width) * s.bits + 31) / 32 * 4;
    for (int y = s.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(rowBytes, 0);
        for (int x = 0; x < s.width; ++x) {
            const uint32_t v = s.pixel(x, y);
            switch (s.bits) {
            case 1: row[x / 8] |= static_cast<uint8_t>((v & 1) << (7 - x % 8)); break;
            case 4: row[x / 2] |= static_cast<uint8_t>((v & 15) << (x % 2 ? 0 : 4)); break;
            case 8: row[x] = static_cast<uint8_t>(v); break;
            default:
                for (int k = 0; k < s.bits / 8; ++k)
                    row[static_cast<size_t>(x) * (s.bits / 8) + k] = static_cast<uint8_t>(v >> (8 * k));
            }
        }
        w.Bytes(row);
    }
    const size_t maskBytes = (static_cast<size_t>(s.width) + 31) / 32 * 4;
    for (int y = s.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(maskBytes, 0);
        for (int x = 0; x < s.width; ++x)
            if (s.masked(x, y))
                row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        w.Bytes(row);
    }
    return w.Data();
}

inline std::vector<uint8_t> BuildIcon(const std::vector<IconImageSpec>& images)
{
    TByteWriter w;
    w.U16LE(0);
    w.U16LE(1);
    w.U16LE(static_cast<uint16_t>(images.size()));
    std::vector<std::vector<uint8_t>> blobs;
    for (const IconImageSpec& s : images)
        blobs.push_back(IconImageBytes(s));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const IconImageSpec& s = images[i];
        const int ew = s.entryWidth >= 0 ? s.entryWidth : s.width;
        const int eh = s.entryHeight >= 0 ? s.entryHeight : s.height;
        w.U8(static_cast<uint8_t>(ew));  // 256 wraps to 0, as the format wants
        w.U8(static_cast<uint8_t>(eh));
        w.U8(s.bits <= 4 ? static_cast<uint8_t>(1 << s.bits) : 0);
        w.U8(0);
        w.U16LE(1);
        w.U16LE(static_cast<uint16_t>(s.entryBits >= 0 ? s.entryBits : s.bits));
        w.U32LE(static_cast<uint32_t>(blobs[i].size()));
        w.U32LE(offset);
        offset += static_cast<uint32_t>(blobs[i].size());
    }
    for (const auto& b : blobs)
        w.Bytes(b);
    return w.Data();
}

}  // namespace kobalto::test
