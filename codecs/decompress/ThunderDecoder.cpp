#include "codecs/decompress/ThunderDecoder.h"

#include <algorithm>

namespace kobalto {

namespace {

constexpr int kSkip = 99;
constexpr int kTwoBitDelta[4] = {0, 1, kSkip, -1};
constexpr int kThreeBitDelta[8] = {0, 1, 2, 3, kSkip, -3, -2, -1};

// Pixels of one row, cut at its width.
class TRowWriter {
public:
    TRowWriter(std::span<uint8_t> row, int width) : row_(row), width_(width) {}
    bool Full() const { return n_ >= width_; }
    void Put(int value)
    {
        if (Full())
            return;
        uint8_t& b = row_[static_cast<size_t>(n_) >> 1];
        b = (n_ & 1) ? static_cast<uint8_t>((b & 0xF0) | value) : static_cast<uint8_t>((b & 0x0F) | (value << 4));
        ++n_;
    }

private:
    std::span<uint8_t> row_;
    int width_;
    int n_ = 0;
};

}  // namespace

TDecodeResult TThunderDecoder::Decode(std::span<const uint8_t> source, std::span<uint8_t> target)
{
    std::fill(target.begin(), target.end(), uint8_t{0});
    const size_t rowBytes = (static_cast<size_t>(width_) + 1) / 2;
    const size_t rows = rowBytes ? target.size() / rowBytes : 0;
    TSourceCursor in(source);
    size_t row = 0;
    for (; row < rows && in.Has(1); ++row) {
        TRowWriter out(target.subspan(row * rowBytes, rowBytes), width_);
        int last = 0;
        auto delta = [&](int d) {
            if (d == kSkip)
                return;
            last = (last + d) & 0x0F;
            out.Put(last);
        };
        while (!out.Full() && in.Has(1)) {
            const uint8_t b = in.Next();
            switch (b >> 6) {
            case 0:
                for (int i = 0; i < (b & 0x3F); ++i)
                    out.Put(last);
                break;
            case 1:
                delta(kTwoBitDelta[(b >> 4) & 3]);
                delta(kTwoBitDelta[(b >> 2) & 3]);
                delta(kTwoBitDelta[b & 3]);
                break;
            case 2:
                delta(kThreeBitDelta[(b >> 3) & 7]);
                delta(kThreeBitDelta[b & 7]);
                break;
            default:
                last = b & 0x0F;
                out.Put(last);
                break;
            }
        }
    }
    return {in.Position(), row * rowBytes};
}

}  // namespace kobalto
