#pragma once
// Texts of the image pipeline.
#include "base/Messages.h"

namespace kobalto::msg {

inline constexpr const char* kFileNotFound = "ファイル %s が見つかりません";
inline constexpr const char* kEmptyPicture = "The file holds no picture.";
inline constexpr const char* kNoIconImage = "No image of the icon file %s can be read.";
inline constexpr const char* kCannotWriteFormat = "%s: Kobalto cannot write %s files";

}  // namespace kobalto::msg
