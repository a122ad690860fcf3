#include "formats/psd/PackBits.h"

#include <algorithm>

namespace kobalto {

namespace {

constexpr size_t kMaxRun = 128;

void AppendLiterals(std::span<const uint8_t> bytes, std::vector<uint8_t>& out)
{
    while (!bytes.empty()) {
        const size_t n = std::min(bytes.size(), kMaxRun);
        out.push_back(static_cast<uint8_t>(n - 1));
        out.insert(out.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        bytes = bytes.subspan(n);
    }
}

}  // namespace

size_t AppendPackBits(std::span<const uint8_t> row, std::vector<uint8_t>& out)
{
    const size_t before = out.size();
    const size_t n = row.size();
    size_t literalStart = 0;
    size_t i = 0;
    while (i < n) {
        const uint8_t v = row[i];
        size_t run = 1;
        while (i + run < n && run < kMaxRun && row[i + run] == v)
            ++run;
        // Three equal bytes always pay as a run. Two pay only where the open
        // literal is empty or its last chunk full (or one short of full):
        // elsewhere they would cost a header to split it.
        const size_t open = (i - literalStart) % kMaxRun;
        if (run >= 3 || (run == 2 && (open == 0 || open == kMaxRun - 1))) {
            AppendLiterals(row.subspan(literalStart, i - literalStart), out);
            out.push_back(static_cast<uint8_t>(257 - run));
            out.push_back(v);
            i += run;
            literalStart = i;
        } else {
            i += run;
        }
    }
    AppendLiterals(row.subspan(literalStart, n - literalStart), out);
    return out.size() - before;
}

}  // namespace kobalto
