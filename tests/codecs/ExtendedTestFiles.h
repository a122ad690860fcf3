#pragma once
// Byte builders for hand-made files of the extended readers' formats.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace kobalto::test {

struct FileBytes {
    std::vector<uint8_t> bytes;

    FileBytes& Text(const std::string& s)
    {
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    FileBytes& Raw(std::initializer_list<uint8_t> b)
    {
        bytes.insert(bytes.end(), b);
        return *this;
    }
    FileBytes& Zeros(size_t n)
    {
        bytes.insert(bytes.end(), n, 0);
        return *this;
    }
    FileBytes& U16LE(unsigned v) { return Raw({uint8_t(v), uint8_t(v >> 8)}); }
    FileBytes& U16BE(unsigned v) { return Raw({uint8_t(v >> 8), uint8_t(v)}); }
    FileBytes& U32LE(uint32_t v) { return Raw({uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}); }
    FileBytes& U32BE(uint32_t v) { return Raw({uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}); }
    FileBytes& Append(const FileBytes& other)
    {
        bytes.insert(bytes.end(), other.bytes.begin(), other.bytes.end());
        return *this;
    }
    size_t Size() const { return bytes.size(); }
};

}  // namespace kobalto::test
