#pragma once
// Settings in a profile ("ini") file of [section] headers and key=value
// lines. Sections and keys compare without regard to ASCII case; values are
// read with their surrounding blanks removed, then one pair of matching
// quotes (" or ') around the whole value. Every call opens the file anew, so
// nothing is cached between calls.
#include <optional>
#include <string>
#include <string_view>

namespace kobalto::platform {

// Longest text a read returns, in bytes.
inline constexpr size_t kProfileTextMax = 2047;

// The value of key in section, cut to kProfileTextMax bytes (never inside a
// UTF-8 character); def when the file, the section or the key is missing. A
// key that is present with an empty value reads as empty text.
std::string ReadProfileString(const std::string& file, std::string_view section, std::string_view key,
                              std::string_view def);
// Replaces the key's value, or appends the key at the end of its section, or
// appends the section at the end of the file (creating the file). Line breaks
// in the value become blanks, so a value cannot add lines of its own. False
// when the file could not be written; then the file is as it was.
bool WriteProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value);

// Decimal with an optional sign, or hexadecimal after "0x"/"0X"; any other
// text, and a value outside 32 bits, gives def.
int ReadProfileInt(const std::string& file, std::string_view section, std::string_view key, int def);
bool WriteProfileInt(const std::string& file, std::string_view section, std::string_view key, int value);

// Read as an integer: non-zero is true. Written as "1" or "0".
bool ReadProfileBool(const std::string& file, std::string_view section, std::string_view key, bool def);
bool WriteProfileBool(const std::string& file, std::string_view section, std::string_view key, bool value);

// The integer reading of a value text, as ReadProfileInt uses it.
std::optional<int> ParseProfileInt(std::string_view text);

}  // namespace kobalto::platform
