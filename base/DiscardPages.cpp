#include "base/DiscardPages.h"

#include <sys/mman.h>
#include <unistd.h>

namespace kobalto {

void DiscardPages(std::span<uint8_t> bytes)
{
    static const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto first = reinterpret_cast<uintptr_t>(bytes.data());
    // Only pages wholly inside: the neighbours of the bytes, the allocator's
    // own records among them, keep their contents.
    const uintptr_t from = (first + page - 1) / page * page;
    const uintptr_t to = (first + bytes.size()) / page * page;
    if (from < to)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
}

}  // namespace kobalto
