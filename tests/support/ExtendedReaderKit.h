#pragma once
// Hand-made TIFF files for the extended readers' tests: a directory of
// entries, written little- or big-endian, with the pixel data after it.
#include <cstdint>
#include <string>
#include <vector>

namespace kobalto::test {

struct TiffField {
    uint16_t tag;
    uint16_t type;  // 3 SHORT, 4 LONG, 5 RATIONAL (numerator, denominator pairs), 7 UNDEFINED
    std::vector<uint32_t> values;
};

// A TIFF whose first directory holds fields (sorted as given) and whose
// strip data follows the header; every value 0xFFFF'FFFF in a field of tag
// 273 or 324 (the offsets) is replaced by the position of strips[i]. A second
// directory with nextFields follows when it is not empty.
std::vector<uint8_t> MakeTiff(bool bigEndian, std::vector<TiffField> fields,
                              const std::vector<std::vector<uint8_t>>& strips,
                              std::vector<TiffField> nextFields = {});

// The text of the exception the loader raises, empty when it loads.
template <typename Load>
std::string ErrorText(Load&& load)
{
    try {
        load();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

}  // namespace kobalto::test

#include <functional>
#include <map>

#include "graphics/TBitmap.h"

namespace kobalto::test {

// The files the corpus README lists for a folder, with their class
// ("valid", "questionable" or "broken").
std::vector<std::pair<std::string, std::string>> CorpusFileStatuses(const std::string& folder);

// Decodes path with a peer into a 24-bit bitmap, the colour without its
// alpha: through tiff2rgba first when asked, else ImageMagick. translucent
// marks the pixels whose alpha is below full: the readers here keep the
// stored colour there, the peers premultiply or blend it.
bool PeerPixels(const std::string& path, bool tiff2rgba, TBitmap& out, std::vector<bool>& translucent);

// The same through Pillow (the system's python3), for formats whose variants
// ImageMagick misreads.
bool PillowPixels(const std::string& path, TBitmap& out, std::vector<bool>& translucent);

// Pixels of a and b (same size) whose channels differ by more than
// tolerance, not counting the translucent ones.
int64_t DifferentPixels(const TBitmap& a, const TBitmap& b, int tolerance, const std::vector<bool>& translucent);

// How one corpus file came out.
enum class CorpusClass { Equal, Refused, BrokenClean, QuestionableClean, NoPeer, Unexpected };

struct CorpusRules {
    std::string folder;
    // Reads a file; raises on failure.
    std::function<TBitmap(const std::string& path)> load;
    // Peers that decode a file; false when one cannot. A file matches when
    // it matches one of them (each peer misreads some variants).
    std::vector<std::function<bool(const std::string& path, TBitmap& out, std::vector<bool>& translucent)>> peers;
    // Texts of the refusals of variants these readers do not support.
    std::vector<std::string> refusals;
    // Per-file channel tolerance and the reason for it (default 2: 16-bit
    // samples reduce by truncation here and by rounding in the peers).
    std::map<std::string, std::pair<int, std::string>> tolerance;
    // Valid files whose pixels differ from every peer, with the reason.
    std::map<std::string, std::string> knownDifferences;
};

// Runs every listed file, prints one line per file and returns the count of
// each class. Unexpected outcomes are printed with their reason.
std::map<CorpusClass, int> RunCorpus(const CorpusRules& rules);

}  // namespace kobalto::test
