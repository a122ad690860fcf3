#include <algorithm>
#include <cmath>

#include "codecs/color/ColorConversions.h"

namespace kobalto {

namespace {

uint8_t Clamp(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

void Pixel(int y, int cb, int cr, const std::array<std::array<int, 256>, 4>& t, uint8_t* d)
{
    d[2] = Clamp(y + t[0][cr]);
    d[1] = Clamp(y + t[1][cb] + t[2][cr]);
    d[0] = Clamp(y + t[3][cb]);
}

}  // namespace

// A table entry as an int. Coefficients come from the file, and absurd ones
// (or NaN) must give wrong colours, never an undefined conversion; the sums
// are clamped to a byte later anyway.
int TableTerm(double v)
{
    constexpr double kLimit = 1 << 20;
    if (!(v > -kLimit))
        return -static_cast<int>(kLimit);
    if (v > kLimit)
        return static_cast<int>(kLimit);
    return static_cast<int>(std::nearbyint(v));
}

std::array<std::array<int, 256>, 4> YCbCrTables(const std::array<double, 3>& k)
{
    // The factors are kept in single precision before use.
    const float kr = static_cast<float>(2 - 2 * k[0]);
    const float kb = static_cast<float>(2 - 2 * k[2]);
    const float greenR = k[1] != 0 ? static_cast<float>(k[0] * (2 - 2 * k[0]) / k[1]) : 0.0f;
    const float greenB = k[1] != 0 ? static_cast<float>(k[2] * (2 - 2 * k[2]) / k[1]) : 0.0f;
    std::array<std::array<int, 256>, 4> t{};
    for (int i = 0; i < 256; ++i) {
        const double c = i - 128;
        t[0][i] = TableTerm(c * kr);
        t[1][i] = TableTerm(-(c * greenB));
        t[2][i] = TableTerm(-(c * greenR));
        t[3][i] = TableTerm(c * kb);
    }
    return t;
}

void YCbCrToBgr(const uint8_t* samples, int samplesPerPixel, int width,
                const std::array<std::array<int, 256>, 4>& tables, uint8_t* out)
{
    const size_t step = static_cast<size_t>(samplesPerPixel);
    for (int x = 0; x < width; ++x) {
        const uint8_t* s = samples + x * step;
        Pixel(s[0], s[1], s[2], tables, out + 3 * x);
    }
}

void YCbCrBlocksToBgr(const uint8_t* samples, int h, int v, int width, int rows,
                      const std::array<std::array<int, 256>, 4>& tables, uint8_t* const* out)
{
    const int blocks = (width + h - 1) / h;
    const size_t blockBytes = static_cast<size_t>(h * v + 2);
    for (int b = 0; b < blocks; ++b) {
        const uint8_t* block = samples + b * blockBytes;
        const int cb = block[h * v];
        const int cr = block[h * v + 1];
        for (int dy = 0; dy < v && dy < rows; ++dy)
            for (int dx = 0; dx < h; ++dx) {
                const int x = b * h + dx;
                if (x < width)
                    Pixel(block[dy * h + dx], cb, cr, tables, out[dy] + 3 * x);
            }
    }
}

}  // namespace kobalto
