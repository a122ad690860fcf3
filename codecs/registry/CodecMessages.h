#pragma once
// Texts of the picture container and the registries.
#include "base/Messages.h"

namespace kobalto::msg {

inline constexpr const char* kUnknownExtension = "拡張子 .%s の画像形式は処理できません";
inline constexpr const char* kRegisterTwice = "Attempt to register %s twice.";

}  // namespace kobalto::msg
