#pragma once
// Texts of the JPEG picture.
#include "base/Messages.h"

namespace kobalto::msg {

inline constexpr const char* kJpegError = "JPEG エラー #%d";
inline constexpr const char* kJpegCannotResize = "JPEG イメージのサイズは変更できません";
inline constexpr const char* kJpegTooManyScans = "JPEG file has more than %d scans.";
inline constexpr const char* kJpegTooShort = "JPEG file is too short for a %d x %d picture.";

}  // namespace kobalto::msg
