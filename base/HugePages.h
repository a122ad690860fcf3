#pragma once
// Large blocks written end to end right after they are allocated (a photo's
// pixels, its inflated image data): 2 MB pages spare the kernel one fault
// for every 4 KB of them, a third of the time of filling a freshly mapped
// block on this kind of machine.
#include <cstddef>
#include <cstdint>

namespace kobalto {

// A hint for the whole 2 MB pages inside [bits, bits + size); failure is
// harmless and blocks under 4 MB are left alone.
void AdviseHugePages(uint8_t* bits, size_t size);

// Gives the whole 2 MB pages inside [bits, bits + size) back to the system:
// a block read once from front to back need not stay behind its reader.
// They read as zero afterwards.
void ReleaseHugePages(uint8_t* bits, size_t size);

}  // namespace kobalto
