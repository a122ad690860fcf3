#pragma once
// Extended-precision arithmetic (x87 80-bit, 64-bit significand) for pixel
// sizes. Invalid operations and divisions by zero raise instead of producing
// infinities or NaNs, so a bad size never silently becomes a huge allocation.
#include <cstdint>
#include <limits>

namespace kobalto {

using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64,
              "pixel sizes are computed with a 64-bit significand");

// a ÷ b; 0 ÷ 0 or a NaN operand raises EInvalidOp, x ÷ 0 raises EZeroDivide.
Extended Divide(Extended a, Extended b);

// Truncation toward zero; raises EInvalidOp when v is not finite or does not
// fit the result type.
int32_t TruncToInt32(Extended v);
int64_t TruncToInt64(Extended v);

// Round to nearest, ties to even (0.5 → 0, 1.5 → 2, 2.5 → 2).
int64_t RoundHalfEven(Extended v);

}  // namespace kobalto
