#include "codecs/tiff/TiffPredictor.h"

namespace kobalto {

namespace {

template <int Bits, bool BigEndian>
unsigned Load(const uint8_t* p)
{
    if constexpr (Bits == 8)
        return p[0];
    else if constexpr (BigEndian)
        return static_cast<unsigned>(p[0] << 8 | p[1]);
    else
        return static_cast<unsigned>(p[1] << 8 | p[0]);
}

template <int Bits, bool BigEndian>
void Store(uint8_t* p, unsigned v)
{
    if constexpr (Bits == 8) {
        p[0] = static_cast<uint8_t>(v);
    } else {
        p[BigEndian ? 0 : 1] = static_cast<uint8_t>(v >> 8);
        p[BigEndian ? 1 : 0] = static_cast<uint8_t>(v);
    }
}

// The running sums of the Step samples of a pixel stay in registers, so a
// sample does not wait for the one before it to reach memory and come back.
template <int Bits, bool BigEndian, int Step>
void UndoFixed(uint8_t* row, int width)
{
    constexpr size_t bytes = Bits / 8;
    unsigned sum[Step];
    for (int s = 0; s < Step; ++s)
        sum[s] = Load<Bits, BigEndian>(row + s * bytes);
    for (int x = 1; x < width; ++x) {
        uint8_t* p = row + static_cast<size_t>(x) * Step * bytes;
        for (int s = 0; s < Step; ++s) {
            sum[s] += Load<Bits, BigEndian>(p + s * bytes);
            Store<Bits, BigEndian>(p + s * bytes, sum[s]);
        }
    }
}

template <int Bits, bool BigEndian>
void Undo(uint8_t* row, int width, int samplesPerPixel)
{
    switch (samplesPerPixel) {
    case 1: return UndoFixed<Bits, BigEndian, 1>(row, width);
    case 3: return UndoFixed<Bits, BigEndian, 3>(row, width);
    case 4: return UndoFixed<Bits, BigEndian, 4>(row, width);
    default: break;
    }
    constexpr size_t bytes = Bits / 8;
    const size_t step = static_cast<size_t>(samplesPerPixel);
    const size_t count = static_cast<size_t>(width) * step;
    for (size_t i = step; i < count; ++i) {
        uint8_t* p = row + i * bytes;
        Store<Bits, BigEndian>(p, Load<Bits, BigEndian>(p) + Load<Bits, BigEndian>(p - step * bytes));
    }
}

}  // namespace

void UndoHorizontalPredictor(uint8_t* row, int width, int samplesPerPixel, int bitsPerSample, bool bigEndian)
{
    if (bitsPerSample == 8)
        Undo<8, false>(row, width, samplesPerPixel);
    else if (bitsPerSample == 16 && bigEndian)
        Undo<16, true>(row, width, samplesPerPixel);
    else if (bitsPerSample == 16)
        Undo<16, false>(row, width, samplesPerPixel);
}

}  // namespace kobalto
