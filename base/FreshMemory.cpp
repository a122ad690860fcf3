#include "base/FreshMemory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace kobalto {

void PrepareForWriting(void* block, size_t size)
{
    constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
    constexpr size_t kWorthIt = size_t{1} << 20;
    if (size < kWorthIt)
        return;
    const uintptr_t first = reinterpret_cast<uintptr_t>(block);
    const uintptr_t last = first + size;
    const uintptr_t hugeStart = (first + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t hugeEnd = last & ~(kHugePage - 1);
    if (hugeEnd > hugeStart)
        madvise(reinterpret_cast<void*>(hugeStart), hugeEnd - hugeStart, MADV_HUGEPAGE);
    // Whole pages inside the block only: its neighbours are not ours to touch.
    const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t start = (first + page - 1) & ~(page - 1);
    const uintptr_t end = last & ~(page - 1);
    if (end > start)
        madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
}

}  // namespace kobalto
