#pragma once
// The system's own texts of the base layer, verbatim, and the one routine
// that fills their %s / %d places.
#include <string>
#include <string_view>
#include <initializer_list>

namespace kobalto::msg {

inline constexpr const char* kCannotCreateFile = "ファイル %s を作成できません";
inline constexpr const char* kCannotOpenFile = "ファイル %s は開けません";
inline constexpr const char* kStreamReadError = "ストリームからの読み込みエラー";
inline constexpr const char* kStreamWriteError = "ストリームへの書き込みエラー";
inline constexpr const char* kOutOfMemory = "メモリが不足しています";
inline constexpr const char* kInvalidFloatOp = "不正な浮動小数点数演算命令";
inline constexpr const char* kFloatZeroDivide = "0 による浮動小数点数除算";
inline constexpr const char* kFileTooLarge =
    "Cannot load %s file of %s bytes: more than the limit of 2147483648 bytes.";
inline constexpr const char* kCannotCreateDirectory = "ディレクトリを作成することができません";

// Our own texts, for what the system never said.
inline constexpr const char* kImageSizeOverflow = "Image size overflow";
inline constexpr const char* kCannotWriteFile = "Cannot write %s.";
inline constexpr const char* kCannotWriteFileBecause = "Cannot write %s: %s.";
inline constexpr const char* kImageOverPixelCap =
    "Cannot load %s image of %d x %d pixels: more than the limit of 268435456 pixels.";

// Replaces each %s or %d, left to right, by the next argument; "%%" is "%".
std::string Format(std::string_view pattern, std::initializer_list<std::string_view> args);

}  // namespace kobalto::msg
