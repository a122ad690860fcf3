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
