#pragma once
// Text and path helpers. Paths use "/" as separator; texts are UTF-8.
#include <string>
#include <string_view>

namespace kobalto {

// ASCII-only lower-casing: multi-byte UTF-8 sequences pass unchanged, so no
// byte of a multi-byte character is ever mistaken for a letter.
std::string LowerAscii(std::string_view s);

// The text after the last "/" (the whole text when there is none).
std::string FileNamePart(std::string_view path);
// Everything up to, not including, the last "/" ("" when there is none).
std::string FolderPart(std::string_view path);

}  // namespace kobalto
