#include "tests/support/TestSupport.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

// Fontconfig keeps the patterns of the fonts Cairo looked up for metafile
// text until the process ends; the leak checker is told they are not ours.
extern "C" __attribute__((used)) const char* __lsan_default_suppressions()
{
    // System libraries that keep what they allocate until the process ends.
    return "leak:libfontconfig.so\nleak:libdbus-1.so\n";
}

namespace kobalto::test {

TempDir::TempDir()
{
    std::string pattern = std::filesystem::temp_directory_path().string() + "/kobalto-test-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!mkdtemp(name.data()))
        throw std::runtime_error("cannot make a temporary folder");
    path_ = name.data();
}

TempDir::~TempDir()
{
    std::error_code ec;
    // Read-only test files must not keep the folder alive.
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ec))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

bool SameBytes(const TBitmap& a, const TBitmap& b)
{
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.PixelFormat() != b.PixelFormat())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.ScanLine(y), b.ScanLine(y), static_cast<size_t>(a.Width()) * 3) != 0)
            return false;
    return true;
}

TBitmap PatternBitmap(int width, int height)
{
    return MakeBitmap(width, height, [](int x, int y) {
        return TColor{static_cast<uint8_t>(x * 7 + y * 3), static_cast<uint8_t>(x * 13 ^ y * 5),
                      static_cast<uint8_t>(255 - x - y * 11)};
    });
}

int RunCommand(const std::string& command, std::string* output)
{
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, n);
    int status = pclose(pipe);
    if (output)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HaveTool(const std::string& program)
{
    return RunCommand("command -v " + program + " >/dev/null 2>&1") == 0;
}

std::string ImageMagickConvert()
{
    for (const char* candidate : {"/usr/bin/convert-im6.q16", "/usr/bin/convert"})
        if (access(candidate, X_OK) == 0)
            return candidate;
    return "";
}

std::vector<uint8_t> ZlibCompress(const std::vector<uint8_t>& raw)
{
    uLongf size = compressBound(raw.size());
    std::vector<uint8_t> out(size);
    if (compress(out.data(), &size, raw.data(), raw.size()) != Z_OK)
        throw std::runtime_error("zlib could not compress");
    out.resize(size);
    return out;
}

bool ReadPnm(const std::string& path, TBitmap* out, std::vector<uint8_t>* grey)
{
    const std::vector<uint8_t> bytes = ReadBytes(path);
    size_t pos = 0;
    auto token = [&] {
        // Peers copy comments into the header as "#" lines.
        for (;;) {
            while (pos < bytes.size() && std::isspace(bytes[pos]))
                ++pos;
            if (pos >= bytes.size() || bytes[pos] != '#')
                break;
            while (pos < bytes.size() && bytes[pos] != '\n')
                ++pos;
        }
        std::string t;
        while (pos < bytes.size() && !std::isspace(bytes[pos]))
            t += static_cast<char>(bytes[pos++]);
        return t;
    };
    if (token() != (out ? "P6" : "P5"))
        return false;
    const std::string ws = token();
    const std::string hs = token();
    token();
    if (ws.empty() || hs.empty() || ws.find_first_not_of("0123456789") != std::string::npos ||
        hs.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const int w = std::stoi(ws);
    const int h = std::stoi(hs);
    ++pos;
    const size_t n = static_cast<size_t>(w) * h;
    if (bytes.size() < pos + n * (out ? 3 : 1))
        return false;
    if (grey) {
        grey->assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos),
                     bytes.begin() + static_cast<std::ptrdiff_t>(pos + n));
        return true;
    }
    TBitmap& image = *out;
    image = TBitmap(w, h, TPixelFormat::pf24bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = bytes.data() + pos + (static_cast<size_t>(y) * w + x) * 3;
            image.SetPixel(x, y, TColor{p[0], p[1], p[2]});
        }
    return true;
}

bool DecodeWithPeer(const std::string& path, TBitmap& out)
{
    std::string convert = ImageMagickConvert();
    if (convert.empty())
        return false;
    TempDir dir;
    std::string ppm = dir.File("peer.ppm");
    // The first frame, flattened on white, as 8-bit RGB.
    std::string cmd = convert + " '" + path + "[0]' -auto-orient -background white -alpha remove -alpha off -depth 8 ppm:'" +
                      ppm + "' 2>/dev/null";
    if (RunCommand(cmd) != 0)
        return false;
    return ReadPnm(ppm, &out, nullptr);
}

}  // namespace kobalto::test
