#include "formats/pcx/PcxRunLength.h"

namespace kobalto {

void AppendPcxRunLength(std::span<const uint8_t> line, std::vector<uint8_t>& out)
{
    constexpr size_t kMaxRun = 63;
    const size_t n = line.size();
    size_t i = 0;
    while (i < n) {
        const uint8_t v = line[i];
        size_t run = 1;
        while (i + run < n && run < kMaxRun && line[i + run] == v)
            ++run;
        if (run > 1 || v >= 0xC0)
            out.push_back(static_cast<uint8_t>(0xC0 | run));
        out.push_back(v);
        i += run;
    }
}

}  // namespace kobalto
