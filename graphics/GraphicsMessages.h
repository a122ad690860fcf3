#pragma once
// Texts of the platform picture layer.
#include "base/Messages.h"

namespace kobalto::msg {

inline constexpr const char* kInvalidBitmap = "ビットマップイメージが不正です";
inline constexpr const char* kInvalidMetafile = "メタファイルが不正です";
inline constexpr const char* kCannotSaveKind = "%s は保存できません";
inline constexpr const char* kCannotAssign = "%s に代入できません";
inline constexpr const char* kMetafileTooLarge = "A %s file cannot hold a picture of %s x %s pixels.";

// Our own texts.
inline constexpr const char* kBmpTooLarge = "Bitmap too large for a BMP file";

}  // namespace kobalto::msg
