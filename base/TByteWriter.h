#pragma once
// Builds a byte sequence in memory: the writers' counterpart of TByteReader.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kobalto {

class TByteWriter {
public:
    void U8(uint8_t v) { bytes_.push_back(v); }
    void U16LE(uint16_t v)
    {
        U8(static_cast<uint8_t>(v));
        U8(static_cast<uint8_t>(v >> 8));
    }
    void U16BE(uint16_t v)
    {
        U8(static_cast<uint8_t>(v >> 8));
        U8(static_cast<uint8_t>(v));
    }
    void U32LE(uint32_t v)
    {
        U16LE(static_cast<uint16_t>(v));
        U16LE(static_cast<uint16_t>(v >> 16));
    }
    void U32BE(uint32_t v)
    {
        U16BE(static_cast<uint16_t>(v >> 16));
        U16BE(static_cast<uint16_t>(v));
    }
    void Bytes(std::span<const uint8_t> b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
    void Text(std::string_view s) { bytes_.insert(bytes_.end(), s.begin(), s.end()); }
    void Fill(size_t n, uint8_t v) { bytes_.insert(bytes_.end(), n, v); }
    void PatchU32LE(size_t pos, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes_.at(pos + i) = static_cast<uint8_t>(v >> (8 * i));
    }

    size_t Size() const { return bytes_.size(); }
    const std::vector<uint8_t>& Data() const { return bytes_; }
    std::vector<uint8_t>& Data() { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

}  // namespace kobalto
