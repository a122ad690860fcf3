#include "codecs/gif/GifLzwDecoder.h"

#include <algorithm>
#include <array>

#include "codecs/gif/GifError.h"
#include "codecs/gif/GifMessages.h"

namespace kobalto {

namespace {

constexpr int kMaxBits = 12;
constexpr int kTableSize = 1 << kMaxBits;
constexpr unsigned kMask = kTableSize - 1;

// Reads codes least significant bit first.
class CodeReader {
public:
    explicit CodeReader(std::span<const uint8_t> data) : data_(data) {}

    // False when fewer than width bits are left.
    bool Next(int width, unsigned& code)
    {
        while (bits_ < width) {
            if (pos_ >= data_.size())
                return false;
            acc_ |= static_cast<uint32_t>(data_[pos_++]) << bits_;
            bits_ += 8;
        }
        code = acc_ & ((1u << width) - 1);
        acc_ >>= width;
        bits_ -= width;
        return true;
    }

private:
    std::span<const uint8_t> data_;
    size_t pos_ = 0;
    uint32_t acc_ = 0;
    int bits_ = 0;
};

struct Table {
    std::array<uint16_t, kTableSize> prefix{};
    std::array<uint8_t, kTableSize> suffix{};
    std::array<uint8_t, kTableSize> first{};
    std::array<uint16_t, kTableSize> length{};
};

// Hands the string of code to sink, cut to room indices. The string is
// known from its last index backwards, so it is spelled into scratch first;
// indices beyond room are walked over but not kept. Returns the string's
// full length.
size_t Emit(const Table& t, unsigned code, size_t room, std::array<uint8_t, kTableSize>& scratch,
            const GifIndexSink& sink)
{
    const size_t len = t.length[code & kMask];
    size_t i = len;
    unsigned c = code & kMask;
    while (i > room) {
        c = t.prefix[c] & kMask;
        --i;
    }
    const size_t kept = i;
    while (i > 0) {
        scratch[i - 1] = t.suffix[c];
        c = t.prefix[c] & kMask;
        --i;
    }
    if (kept > 0)
        sink(scratch.data(), kept);
    return len;
}

}  // namespace

size_t DecodeGifLzw(std::span<const uint8_t> data, int minCodeSize, size_t limit, const GifIndexSink& sink)
{
    if (minCodeSize < 1 || minCodeSize > kMaxBits - 1)
        throw EGIFException(msg::kGifInvalidData);
    const unsigned clear = 1u << minCodeSize;
    const unsigned end = clear + 1;

    Table t;
    for (unsigned i = 0; i < clear; ++i) {
        t.suffix[i] = static_cast<uint8_t>(i);
        t.first[i] = static_cast<uint8_t>(i);
        t.length[i] = 1;
    }

    std::array<uint8_t, kTableSize> scratch;
    CodeReader reader(data);
    int width = minCodeSize + 1;
    unsigned next = clear + 2;
    int previous = -1;
    size_t pos = 0;
    unsigned code;
    while (pos < limit && reader.Next(width, code)) {
        if (code == clear) {
            width = minCodeSize + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (code == end)
            break;
        if (previous < 0) {
            if (code > clear)
                throw EGIFException(msg::kGifInvalidData);
        } else {
            const unsigned p = static_cast<unsigned>(previous);
            if (code > next || (code == next && next >= kTableSize))
                throw EGIFException(msg::kGifInvalidData);
            if (next < kTableSize) {
                // For code == next the new entry is the one being decoded:
                // the previous string and its own first index.
                const unsigned idx = next & kMask;
                t.prefix[idx] = static_cast<uint16_t>(p);
                t.suffix[idx] = code == next ? t.first[p & kMask] : t.first[code & kMask];
                t.first[idx] = t.first[p & kMask];
                t.length[idx] = static_cast<uint16_t>(t.length[p & kMask] + 1);
                ++next;
                if (next == (1u << width) && width < kMaxBits)
                    ++width;
            }
        }
        pos += Emit(t, code, limit - pos, scratch, sink);
        previous = static_cast<int>(code);
    }
    return pos < limit ? pos : limit;
}

size_t DecodeGifLzw(std::span<const uint8_t> data, int minCodeSize, std::span<uint8_t> out)
{
    size_t pos = 0;
    return DecodeGifLzw(data, minCodeSize, out.size(), [&](const uint8_t* indices, size_t count) {
        std::copy_n(indices, count, out.begin() + static_cast<std::ptrdiff_t>(pos));
        pos += count;
    });
}

}  // namespace kobalto
