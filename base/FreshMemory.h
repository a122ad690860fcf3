#pragma once
// Hints for a large block that is about to be written end to end.
#include <cstddef>

namespace kobalto {

// Asks the kernel for 2 MB pages where they fit in the block and maps all
// of its pages now, in one call: a photo-sized block otherwise costs one
// page fault per 4 KB on first write, which on a virtual machine is a good
// part of the time of filling it. Hints only; a kernel that refuses them
// changes nothing. Small blocks are left alone.
void PrepareForWriting(void* block, size_t size);

}  // namespace kobalto
