#pragma once
// Small metafiles for tests: an EMF or a placeable WMF around records the
// test writes with a TByteWriter.
#include <cstdint>
#include <functional>
#include <vector>

#include "base/TByteWriter.h"

namespace kobalto::test {

// The header of an EMF whose frame is width × height pixels at 96 per inch,
// reference device 1920 × 1080 pixels on 508 × 285.75 mm, with room for
// handles objects; its file size field (offset 48) is left 0.
inline void WriteEmfHeader(TByteWriter& w, int width, int height, uint16_t handles)
{
    const int64_t fw = (int64_t{width} * 2540 + 48) / 96, fh = (int64_t{height} * 2540 + 48) / 96;
    const uint32_t head[] = {1, 108, 0, 0, uint32_t(width - 1), uint32_t(height - 1), 0, 0, uint32_t(fw),
                             uint32_t(fh), 0x464D4520, 0x10000, 0, 0};
    for (uint32_t v : head)
        w.U32LE(v);
    w.U16LE(handles);
    w.U16LE(0);
    const uint32_t rest[] = {0, 0, 0, 1920, 1080, 508, 286, 0, 0, 0, 508000, 285750};
    for (uint32_t v : rest)
        w.U32LE(v);
}

// The placeable header of a width × height unit box at 96 units per inch
// and the standard header of a WMF with objects object slots.
inline void WriteWmfHeaders(TByteWriter& w, int width, int height, uint16_t objects)
{
    w.U32LE(0x9AC6CDD7);
    const uint16_t placeable[] = {0, 0, 0, uint16_t(width), uint16_t(height), 96, 0, 0};
    for (uint16_t v : placeable)
        w.U16LE(v);
    uint16_t sum = 0;
    for (size_t i = 0; i < 20; i += 2)
        sum ^= static_cast<uint16_t>(w.Data()[i] | w.Data()[i + 1] << 8);
    w.U16LE(sum);
    const uint16_t standard[] = {1, 9, 0x300, 0, 0, objects, 0, 0, 0};
    for (uint16_t v : standard)
        w.U16LE(v);
}

// An EMF (see WriteEmfHeader) with the records written by body (each
// starting with its type and size) and an end record.
inline std::vector<uint8_t> BuildEmf(int width, int height, const std::function<void(TByteWriter&)>& body)
{
    TByteWriter w;
    WriteEmfHeader(w, width, height, 16);
    body(w);
    const uint32_t eof[] = {14, 20, 0, 16, 20};
    for (uint32_t v : eof)
        w.U32LE(v);
    w.PatchU32LE(48, static_cast<uint32_t>(w.Size()));
    return std::move(w.Data());
}

// A placeable WMF (see WriteWmfHeaders) with the window set to the box, the
// records of body and an end record.
inline std::vector<uint8_t> BuildWmf(int width, int height, const std::function<void(TByteWriter&)>& body)
{
    TByteWriter w;
    WriteWmfHeaders(w, width, height, 8);
    body(w);
    w.U32LE(3);
    w.U16LE(0);
    return std::move(w.Data());
}

// One EMF record of 32-bit fields.
inline void EmfRecord(TByteWriter& w, uint32_t type, std::initializer_list<uint32_t> fields)
{
    w.U32LE(type);
    w.U32LE(static_cast<uint32_t>(8 + 4 * fields.size()));
    for (uint32_t v : fields)
        w.U32LE(v);
}

// One WMF record of 16-bit parameters.
inline void WmfRecord(TByteWriter& w, uint16_t function, std::initializer_list<uint16_t> params)
{
    w.U32LE(static_cast<uint32_t>(3 + params.size()));
    w.U16LE(function);
    for (uint16_t v : params)
        w.U16LE(v);
}

}  // namespace kobalto::test
