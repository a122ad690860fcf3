#pragma once
// The decompressors of the extended readers. Each reads only inside the
// source span and writes only inside the target span: the cursors below are
// the only way they touch bytes, so a run that would pass either end is cut
// there by construction.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace kobalto {

struct TDecodeResult {
    size_t consumed = 0;  // source bytes used
    size_t produced = 0;  // target bytes written
};

class TDecoder {
public:
    virtual ~TDecoder() = default;
    // Set-up and tear-down of decoders with library state; the reader calls
    // DecodeEnd also when an error passes.
    virtual void DecodeInit() {}
    // Decodes one strip, tile, row or block.
    virtual TDecodeResult Decode(std::span<const uint8_t> source, std::span<uint8_t> target) = 0;
    virtual void DecodeEnd() {}
};

// Reading side: every read checks what is left.
class TSourceCursor {
public:
    explicit TSourceCursor(std::span<const uint8_t> s) : s_(s) {}
    size_t Left() const { return s_.size() - pos_; }
    bool Has(size_t n) const { return n <= Left(); }
    uint8_t Next() { return s_[pos_++]; }  // only after Has(1)
    // Up to n bytes, fewer where the source ends.
    std::span<const uint8_t> Take(size_t n)
    {
        n = std::min(n, Left());
        auto part = s_.subspan(pos_, n);
        pos_ += n;
        return part;
    }
    void Skip(size_t n) { pos_ += std::min(n, Left()); }
    size_t Position() const { return pos_; }

private:
    std::span<const uint8_t> s_;
    size_t pos_ = 0;
};

// Writing side: every write is cut to the room left.
class TTargetCursor {
public:
    explicit TTargetCursor(std::span<uint8_t> t) : t_(t) {}
    size_t Room() const { return t_.size() - pos_; }
    bool Full() const { return pos_ == t_.size(); }
    void Fill(uint8_t value, size_t n)
    {
        n = std::min(n, Room());
        if (n == 0)
            return;  // an empty target has no memory to point at
        std::memset(t_.data() + pos_, value, n);
        pos_ += n;
    }
    void Copy(std::span<const uint8_t> bytes)
    {
        const size_t n = std::min(bytes.size(), Room());
        if (n == 0)
            return;
        std::memcpy(t_.data() + pos_, bytes.data(), n);
        pos_ += n;
    }
    // A pixel of several bytes repeated count times, cut to whole pixels.
    void Repeat(std::span<const uint8_t> pixel, size_t count)
    {
        for (size_t i = 0; i < count && Room() >= pixel.size(); ++i)
            Copy(pixel);
    }
    size_t Position() const { return pos_; }

private:
    std::span<uint8_t> t_;
    size_t pos_ = 0;
};

}  // namespace kobalto
