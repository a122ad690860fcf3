#include "batch/FormatSizeText.h"

#include <cmath>
#include <cstdint>

#include "base/Extended.h"

namespace kobalto {

float BytesToKb(long long bytes) { return static_cast<float>(static_cast<Extended>(bytes) / 1024); }

namespace {

std::string GroupThousands(uint64_t value)
{
    std::string digits = std::to_string(value);
    std::string out;
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        if (i != 0 && (n - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

}  // namespace

std::string FormatSizeText(float kb)
{
    const char* unit = "KB";
    if (kb > 1000) {
        kb = kb / 1024.0f;
        unit = "MB";
    }
    // Tenths, halves away from zero.
    const Extended tenths = static_cast<Extended>(kb) * 10;
    const int64_t r = TruncToInt64(tenths < 0 ? tenths - 0.5L : tenths + 0.5L);
    const uint64_t magnitude = r < 0 ? static_cast<uint64_t>(-r) : static_cast<uint64_t>(r);
    std::string text = (r < 0 ? "-" : "") + GroupThousands(magnitude / 10) + "." + std::to_string(magnitude % 10);
    // Sizes whose text outgrows the nine-character field stay whole: cutting
    // their leading digits would report a wrong number.
    return text + unit;
}

}  // namespace kobalto
