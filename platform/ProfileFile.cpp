#include "platform/ProfileFile.h"

#include <unistd.h>

#include <charconv>
#include <fstream>
#include <iterator>
#include <vector>

#include "base/SafeFileWriter.h"
#include "base/TStream.h"
#include "base/Text.h"
#include "platform/FileSystem.h"

namespace kobalto::platform {

namespace {

constexpr std::string_view kBlanks = " \t\r\n\f\v";

std::string_view Trim(std::string_view s)
{
    const size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const size_t last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

// A hand-edited value may stand in quotes ("50" or '50'): one matching pair
// around the whole value is not part of it.
std::string_view Unquote(std::string_view s)
{
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        return s.substr(1, s.size() - 2);
    return s;
}

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && LowerAscii(a) == LowerAscii(b);
}

// The file as lines without their ends; the line end the file uses is kept
// for the lines a write adds.
struct ProfileText {
    std::vector<std::string> lines;
    std::string eol = "\n";
};

std::optional<ProfileText> Load(const std::string& file)
{
    if (!FileExists(file))
        return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ProfileText text;
    if (content.find("\r\n") != std::string::npos)
        text.eol = "\r\n";
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::string line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        text.lines.push_back(std::move(line));
        start = end + 1;
    }
    return text;
}

// Where a key stands in the file. Only the first section of a name and the
// first key of a name within it count, as later ones are never read.
struct KeyPlace {
    std::optional<size_t> sectionLine;
    std::optional<size_t> keyLine;
    size_t lastLineOfSection = 0;  // the last non-blank line of the section
    std::string value;
};

std::optional<std::string_view> SectionName(std::string_view line)
{
    line = Trim(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    line.remove_prefix(1);
    const size_t close = line.find(']');
    return Trim(close == std::string_view::npos ? line : line.substr(0, close));
}

KeyPlace Find(const ProfileText& text, std::string_view section, std::string_view key)
{
    KeyPlace place;
    for (size_t i = 0; i < text.lines.size(); ++i) {
        const std::string_view line = text.lines[i];
        if (const auto name = SectionName(line)) {
            if (place.sectionLine)
                break;
            if (SameName(*name, section))
                place.sectionLine = place.lastLineOfSection = i;
            continue;
        }
        if (!place.sectionLine)
            continue;
        const std::string_view trimmed = Trim(line);
        if (trimmed.empty())
            continue;
        place.lastLineOfSection = i;
        const size_t eq = trimmed.find('=');
        if (place.keyLine || trimmed.front() == ';' || eq == std::string_view::npos)
            continue;
        if (SameName(Trim(trimmed.substr(0, eq)), key)) {
            place.keyLine = i;
            place.value = std::string(Unquote(Trim(trimmed.substr(eq + 1))));
        }
    }
    return place;
}

// Cuts to at most max bytes without splitting a UTF-8 character.
std::string CutText(std::string_view s, size_t max)
{
    if (s.size() <= max)
        return std::string(s);
    size_t n = max;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
        --n;
    return std::string(s.substr(0, n));
}

bool Save(const std::string& file, const ProfileText& text)
{
    // A settings file the user made read-only stays as it is.
    if (FileExists(file) && ::access(file.c_str(), W_OK) != 0)
        return false;
    std::string content;
    for (const std::string& line : text.lines)
        content += line + text.eol;
    try {
        WriteFileSafely(file, [&content](TStream& out) { out.WriteBuffer(content.data(), content.size()); });
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

}  // namespace

std::string ReadProfileString(const std::string& file, std::string_view section, std::string_view key,
                              std::string_view def)
{
    const auto text = Load(file);
    if (!text)
        return CutText(def, kProfileTextMax);
    const KeyPlace place = Find(*text, section, key);
    return CutText(place.keyLine ? std::string_view(place.value) : def, kProfileTextMax);
}

bool WriteProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value)
{
    std::string oneLine(value);
    for (char& c : oneLine)
        if (c == '\r' || c == '\n')
            c = ' ';
    ProfileText text = Load(file).value_or(ProfileText{});
    const KeyPlace place = Find(text, section, key);
    if (place.keyLine) {
        std::string& line = text.lines[*place.keyLine];
        const std::string_view oldKey = Trim(std::string_view(line).substr(0, line.find('=')));
        line = std::string(oldKey) + "=" + oneLine;
    } else if (place.sectionLine) {
        text.lines.insert(text.lines.begin() + static_cast<std::ptrdiff_t>(place.lastLineOfSection) + 1,
                          std::string(key) + "=" + oneLine);
    } else {
        text.lines.push_back("[" + std::string(section) + "]");
        text.lines.push_back(std::string(key) + "=" + oneLine);
    }
    return Save(file, text);
}

std::optional<int> ParseProfileInt(std::string_view text)
{
    text = Trim(text);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    } else if (!text.empty() && text.front() == '+') {
        // from_chars takes "-" but not "+".
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return std::nullopt;
    }
    if (text.empty() || (base == 16 && text.front() == '-'))
        return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

int ReadProfileInt(const std::string& file, std::string_view section, std::string_view key, int def)
{
    const auto text = Load(file);
    if (!text)
        return def;
    const KeyPlace place = Find(*text, section, key);
    if (!place.keyLine)
        return def;
    return ParseProfileInt(place.value).value_or(def);
}

bool WriteProfileInt(const std::string& file, std::string_view section, std::string_view key, int value)
{
    return WriteProfileString(file, section, key, std::to_string(value));
}

bool ReadProfileBool(const std::string& file, std::string_view section, std::string_view key, bool def)
{
    return ReadProfileInt(file, section, key, def ? 1 : 0) != 0;
}

bool WriteProfileBool(const std::string& file, std::string_view section, std::string_view key, bool value)
{
    return WriteProfileString(file, section, key, value ? "1" : "0");
}

}  // namespace kobalto::platform
