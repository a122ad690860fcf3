#pragma once
// Size arithmetic that refuses to wrap. Used for every size derived from a
// file's header before anything is allocated.
#include <cstddef>
#include <cstdint>

namespace kobalto {

// Both raise EInvalidGraphic ("Image size overflow") on overflow.
size_t CheckedMul(size_t a, size_t b);
size_t CheckedAdd(size_t a, size_t b);

}  // namespace kobalto
