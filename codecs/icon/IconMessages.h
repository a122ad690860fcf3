#pragma once
// Texts of the icon readers.
#include "base/Messages.h"

namespace kobalto::msg {

inline constexpr const char* kInvalidIconImage = "The icon image is invalid.";
inline constexpr const char* kIconHoldsNoImage = "The icon holds no image that can be read.";

}  // namespace kobalto::msg
