#pragma once
// Texts of the resampler: our own, since the system said nothing of its own
// here.
#include "base/Messages.h"

namespace kobalto::msg {

inline constexpr const char* kResampleNoBitmap = "Cannot resample: there is no bitmap";
inline constexpr const char* kResampleEmptySource =
    "Cannot resample an empty bitmap; the source needs at least 1 x 1 pixels";
inline constexpr const char* kResampleNegativeTarget = "Cannot resample to a negative size";
inline constexpr const char* kRowAccessNeeds24Bit = "Row access needs a 24-bit bitmap";

}  // namespace kobalto::msg
