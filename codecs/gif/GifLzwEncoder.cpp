#include "codecs/gif/GifLzwEncoder.h"

#include <array>
#include <vector>

#include "codecs/gif/GifError.h"
#include "codecs/gif/GifInterlace.h"
#include "codecs/gif/GifMessages.h"

namespace kobalto {

namespace {

constexpr int kMaxBits = 12;
// The table restarts once the next free code would pass this.
constexpr unsigned kLastCode = 4094;

// Packs codes least significant bit first into sub-blocks of 255 bytes,
// each written as soon as it is full.
class CodeWriter {
public:
    explicit CodeWriter(TByteWriter& out) : out_(out) {}

    void Put(unsigned code, int width)
    {
        acc_ |= static_cast<uint32_t>(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            Byte(static_cast<uint8_t>(acc_));
            acc_ >>= 8;
            bits_ -= 8;
        }
    }

    // The last bits as a whole byte, the last partial sub-block and the
    // terminator.
    void Finish()
    {
        if (bits_ > 0)
            Byte(static_cast<uint8_t>(acc_));
        acc_ = 0;
        bits_ = 0;
        if (count_ > 0)
            Flush();
        out_.U8(0);
    }

private:
    void Byte(uint8_t b)
    {
        block_[count_++] = b;
        if (count_ == 255)
            Flush();
    }
    void Flush()
    {
        out_.U8(static_cast<uint8_t>(count_));
        out_.Bytes(std::span<const uint8_t>(block_.data(), count_));
        count_ = 0;
    }

    TByteWriter& out_;
    std::array<uint8_t, 255> block_{};
    size_t count_ = 0;
    uint32_t acc_ = 0;
    int bits_ = 0;
};

// (prefix, pixel) → code, open addressing over a table twice the codes'
// count; a stamp per clear empties it without touching every slot.
class StringTable {
public:
    StringTable() : keys_(kSize), codes_(kSize), stamps_(kSize, 0) {}

    void Reset() { ++stamp_; }

    // The slot of key: where it is stored, or where it would go.
    size_t Find(uint32_t key) const
    {
        size_t slot = (key * 2654435761u) >> (32 - kBits);
        while (stamps_[slot] == stamp_ && keys_[slot] != key)
            slot = (slot + 1) & (kSize - 1);
        return slot;
    }
    bool Used(size_t slot) const { return stamps_[slot] == stamp_; }
    uint16_t Code(size_t slot) const { return codes_[slot]; }
    void Store(size_t slot, uint32_t key, uint16_t code)
    {
        keys_[slot] = key;
        codes_[slot] = code;
        stamps_[slot] = stamp_;
    }

private:
    static constexpr int kBits = 13;
    static constexpr size_t kSize = size_t{1} << kBits;
    std::vector<uint32_t> keys_;
    std::vector<uint16_t> codes_;
    std::vector<uint32_t> stamps_;
    uint32_t stamp_ = 1;
};

}  // namespace

void EncodeGifLzw(std::span<const uint8_t> pixels, int width, int height, bool interlaced, int bits, int colorCount,
                  TByteWriter& out)
{
    if (bits < 2)
        bits = 2;
    out.U8(static_cast<uint8_t>(bits));
    const unsigned clear = 1u << bits;
    const unsigned end = clear + 1;

    CodeWriter writer(out);
    StringTable table;
    int codeWidth = bits + 1;
    unsigned limit = (1u << codeWidth) - 1;
    unsigned next = clear + 2;

    auto emit = [&](unsigned code) {
        writer.Put(code, codeWidth);
        if (code == clear) {
            codeWidth = bits + 1;
            limit = (1u << codeWidth) - 1;
        } else if (next > limit) {
            ++codeWidth;
            limit = codeWidth >= kMaxBits ? 4096 : (1u << codeWidth) - 1;
        }
    };
    auto check = [&](uint8_t index) {
        if (index >= colorCount)
            throw EGIFException(msg::kGifColorNotInTable);
        return index;
    };

    emit(clear);
    const size_t total = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (total > 0 && pixels.size() >= total) {
        const std::vector<int> rows = GifRowOrder(height, interlaced);
        unsigned prefix = check(pixels[static_cast<size_t>(rows[0]) * static_cast<size_t>(width)]);
        bool firstPixel = true;
        for (int y : rows) {
            const uint8_t* row = pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
            for (int x = firstPixel ? 1 : 0; x < width; ++x) {
                const uint8_t k = check(row[x]);
                const uint32_t key = (prefix << 8) | k;
                const size_t slot = table.Find(key);
                if (table.Used(slot)) {
                    prefix = table.Code(slot);
                    continue;
                }
                emit(prefix);
                prefix = k;
                if (next > kLastCode) {
                    emit(clear);
                    table.Reset();
                    next = clear + 2;
                } else {
                    table.Store(slot, key, static_cast<uint16_t>(next++));
                }
            }
            firstPixel = false;
        }
        emit(prefix);
    }
    emit(end);
    writer.Finish();
}

}  // namespace kobalto
