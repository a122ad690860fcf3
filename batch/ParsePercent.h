#pragma once
#include <string_view>

namespace kobalto {

// The integer value of a percentage text: an optional sign and decimal
// digits, nothing else; 0 for any other text or one out of range.
int ParsePercent(std::string_view text);

}  // namespace kobalto
