#pragma once
// The one-dimensional run-length codes of ITU-T T.4, white and black, as a
// lookup by (length, code): Run(colour, bits, length) is the run a code of
// that length stands for, or -1 when it is no code.
#include <cstdint>

namespace kobalto {

enum class TFaxColor { White, Black };

inline constexpr int kFaxMaxCodeBits = 13;

// The run length of the code, or -1. Make-up codes give 64 and more; a
// terminating code gives 0 to 63.
int FaxRun(TFaxColor color, uint32_t code, int length);

}  // namespace kobalto
