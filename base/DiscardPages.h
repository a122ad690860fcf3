#pragma once
// Memory a program still owns but no longer needs the contents of.
#include <cstdint>
#include <span>

namespace kobalto {

// Gives the whole pages among bytes back to the system at once, without
// freeing the allocation: they read as zero afterwards and take memory again
// only when written. For large buffers consumed from the front.
void DiscardPages(std::span<uint8_t> bytes);

}  // namespace kobalto
