#pragma once
// Hand-built BMP files for the reader's tests: every header kind, field by
// field, with the colour table, masks and pixel bytes the test gives.
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "base/TByteWriter.h"
#include "base/TMemoryStream.h"
#include "graphics/BmpReader.h"
#include "graphics/TBitmap.h"

namespace kobalto::test {

struct BmpSpec {
    uint32_t headerSize = 40;  // 12 core, 16..64 OS/2, 40, 52, 56, 108, 124
    int32_t width = 1;
    int32_t height = 1;        // negative: rows top-down
    uint16_t planes = 1;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    std::vector<TRGBQuad> palette = {};  // 3 bytes an entry for the core header
    std::vector<uint32_t> masks = {};    // red, green, blue[, alpha]
    std::vector<uint8_t> pixels = {};    // exactly as stored in the file
    uint32_t gap = 0;               // bytes between colour table and pixels
    int64_t offset = -1;            // pixel offset; -1 computes it
};

inline std::vector<uint8_t> BuildBmp(const BmpSpec& s)
{
    TByteWriter w;
    w.Text("BM");
    w.U32LE(0);  // file size, patched below
    w.U32LE(0);  // reserved
    w.U32LE(0);  // pixel offset, patched below
    w.U32LE(s.headerSize);
    if (s.headerSize == 12) {
        w.U16LE(static_cast<uint16_t>(s.width));
        w.U16LE(static_cast<uint16_t>(s.height));
        w.U16LE(s.planes);
        w.U16LE(s.bits);
    } else {
        TByteWriter h;
        h.U32LE(static_cast<uint32_t>(s.width));
        h.U32LE(static_cast<uint32_t>(s.height));
        h.U16LE(s.planes);
        h.U16LE(s.bits);
        h.U32LE(s.compression);
        h.U32LE(static_cast<uint32_t>(s.pixels.size()));
        h.U32LE(2835);  // 72 dpi
        h.U32LE(2835);
        h.U32LE(s.colorsUsed);
        h.U32LE(0);
        // Masks live inside the V2 and later headers (OS/2 ones have none).
        const bool os2 = s.headerSize == 64 || (s.headerSize < 40 && s.headerSize > 12);
        if (!os2)
            for (uint32_t m : s.masks)
                h.U32LE(m);
        std::vector<uint8_t> field = h.Data();
        field.resize(s.headerSize >= 4 ? s.headerSize - 4 : 0, 0);
        w.Bytes(field);
        if (s.headerSize == 40)
            for (uint32_t m : s.masks)
                w.U32LE(m);
    }
    for (const TRGBQuad& q : s.palette) {
        w.U8(q.blue);
        w.U8(q.green);
        w.U8(q.red);
        if (s.headerSize != 12)
            w.U8(0);
    }
    w.Fill(s.gap, 0xEE);
    const size_t offset = s.offset >= 0 ? static_cast<size_t>(s.offset) : w.Size();
    w.Bytes(s.pixels);
    w.PatchU32LE(2, static_cast<uint32_t>(w.Size()));
    w.PatchU32LE(10, static_cast<uint32_t>(offset));
    return w.Data();
}

// File rows from their bytes, each padded with zeros to 4 bytes.
inline std::vector<uint8_t> PaddedRows(std::initializer_list<std::vector<uint8_t>> rows)
{
    std::vector<uint8_t> out;
    for (const auto& r : rows) {
        out.insert(out.end(), r.begin(), r.end());
        out.resize((out.size() + 3) / 4 * 4, 0);
    }
    return out;
}

inline TBitmap LoadBmp(const std::vector<uint8_t>& bytes)
{
    TMemoryStream stream(bytes);
    TBitmap b;
    ReadBmp(stream, b);
    return b;
}

inline TRGBQuad Quad(uint8_t r, uint8_t g, uint8_t b) { return TRGBQuad{b, g, r, 0}; }

}  // namespace kobalto::test
