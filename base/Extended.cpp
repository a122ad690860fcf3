#include "base/Extended.h"

#include <cfenv>
#include <cmath>

#include "base/Exceptions.h"

namespace kobalto {

Extended Divide(Extended a, Extended b)
{
    if (std::isnan(a) || std::isnan(b))
        throw EInvalidOp();
    if (b == 0) {
        if (a == 0)
            throw EInvalidOp();
        throw EZeroDivide();
    }
    if (std::isinf(a) && std::isinf(b))
        throw EInvalidOp();
    return a / b;
}

namespace {

template <typename T>
T TruncChecked(Extended v)
{
    if (!std::isfinite(v))
        throw EInvalidOp();
    Extended t = std::trunc(v);
    // The bounds are exact in extended precision for both 32- and 64-bit types.
    if (t < static_cast<Extended>(std::numeric_limits<T>::min()) ||
        t >= -static_cast<Extended>(std::numeric_limits<T>::min()))
        throw EInvalidOp();
    return static_cast<T>(t);
}

}  // namespace

int32_t TruncToInt32(Extended v) { return TruncChecked<int32_t>(v); }
int64_t TruncToInt64(Extended v) { return TruncChecked<int64_t>(v); }

int64_t RoundHalfEven(Extended v)
{
    if (!std::isfinite(v))
        throw EInvalidOp();
    // Ties to even, independent of the current rounding mode.
    Extended f = std::floor(v);
    Extended diff = v - f;
    Extended r = f;
    if (diff > 0.5L || (diff == 0.5L && std::fmod(f, 2.0L) != 0))
        r = f + 1;
    return TruncToInt64(r);
}

}  // namespace kobalto
