#include "base/HugePages.h"

#include <sys/mman.h>

namespace kobalto {

namespace {
constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
}

void AdviseHugePages(uint8_t* bits, size_t size)
{
    if (size < 2 * kHugePage)
        return;
    const uintptr_t start = (reinterpret_cast<uintptr_t>(bits) + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(bits) + size) & ~(kHugePage - 1);
    if (end > start)
        madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

void ReleaseHugePages(uint8_t* bits, size_t size)
{
    const uintptr_t start = (reinterpret_cast<uintptr_t>(bits) + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(bits) + size) & ~(kHugePage - 1);
    if (end > start)
        madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED);
}

}  // namespace kobalto
