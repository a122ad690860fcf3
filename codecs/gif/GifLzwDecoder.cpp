#include "codecs/gif/GifLzwDecoder.h"

#include <algorithm>
#include <array>
#include <vector>

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

// Writes the string of code at dst, cut to room indices. The string is
// known from its last index backwards; indices beyond room are walked over
// but not stored. Returns the string's full length.
size_t Emit(const Table& t, unsigned code, uint8_t* dst, size_t room)
{
    const size_t len = t.length[code & kMask];
    size_t i = len;
    unsigned c = code & kMask;
    while (i > room) {
        c = t.prefix[c] & kMask;
        --i;
    }
    while (i > 0) {
        dst[i - 1] = t.suffix[c];
        c = t.prefix[c] & kMask;
        --i;
    }
    return len;
}

// Where decoded indices go: Room() indices may be written at Place(), then
// Commit(n) takes n of them.
struct SpanOutput {
    std::span<uint8_t> out;
    size_t pos = 0;
    uint8_t* Place() { return out.data() + pos; }
    size_t Room() const { return out.size() - pos; }
    void Commit(size_t n) { pos += n; }
};

// Rows of width indices, handed on one by one. The buffer holds a row and
// the longest string, so a string crossing into the next row is written
// whole and moved to the front once the row has gone. Indices past the
// last row are dropped.
struct RowOutput {
    size_t width;
    size_t rows;
    const GifRowSink& sink;
    std::vector<uint8_t> buffer;
    size_t fill = 0;
    size_t row = 0;

    RowOutput(size_t w, size_t r, const GifRowSink& s) : width(w), rows(r), sink(s), buffer(w + kTableSize) {}
    uint8_t* Place() { return buffer.data() + fill; }
    size_t Room() const { return buffer.size() - fill; }
    void Commit(size_t n)
    {
        fill += n;
        while (fill >= width) {
            if (row < rows)
                sink(row++, buffer.data(), width);
            std::copy(buffer.begin() + static_cast<std::ptrdiff_t>(width),
                      buffer.begin() + static_cast<std::ptrdiff_t>(fill), buffer.begin());
            fill -= width;
        }
    }
    void Finish()
    {
        if (fill > 0 && row < rows)
            sink(row, buffer.data(), fill);
    }
};

template <typename Output>
size_t Decode(std::span<const uint8_t> data, int minCodeSize, size_t limit, Output& output)
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
        const size_t room = output.Room();
        const size_t len = Emit(t, code, output.Place(), room);
        output.Commit(std::min(len, room));
        pos += len;
        previous = static_cast<int>(code);
    }
    return pos < limit ? pos : limit;
}

}  // namespace

size_t DecodeGifLzw(std::span<const uint8_t> data, int minCodeSize, std::span<uint8_t> out)
{
    SpanOutput output{out};
    return Decode(data, minCodeSize, out.size(), output);
}

size_t DecodeGifLzwRows(std::span<const uint8_t> data, int minCodeSize, size_t width, size_t rows,
                        const GifRowSink& sink)
{
    RowOutput output(width, rows, sink);
    const size_t decoded = Decode(data, minCodeSize, width * rows, output);
    output.Finish();
    return decoded;
}

}  // namespace kobalto
