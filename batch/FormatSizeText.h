#pragma once
#include <string>

namespace kobalto {

// A size in KB as the caption shows it: one decimal digit, thousands
// separated by ",", "KB" up to 1000 KB and "MB" above (976.6KB, 1,000.0KB,
// 2.9MB).
std::string FormatSizeText(float kb);

// Bytes to KB in single precision, as the caption's sizes are kept.
float BytesToKb(long long bytes);

}  // namespace kobalto
