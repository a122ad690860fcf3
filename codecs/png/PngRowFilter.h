#pragma once
// Choosing and applying the filter of each row on output.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kobalto {

// The filter set: one flag per filter type.
enum : uint8_t {
    kPngFilterNone = 1 << 0,
    kPngFilterSub = 1 << 1,
    kPngFilterUp = 1 << 2,
    kPngFilterAverage = 1 << 3,
    kPngFilterPaeth = 1 << 4,
};

class PngRowFilter {
public:
    // rowBytes is the longest row to come; bpp the bytes per complete pixel.
    PngRowFilter(uint8_t filterSet, size_t rowBytes, int bpp);

    // The row above is all zero again (a new image or pass).
    void Restart();
    // Filters a row of length bytes: the result starts with the filter-type
    // byte and stays valid until the next call.
    std::span<const uint8_t> Filter(const uint8_t* row, size_t length);

private:
    void Candidate(int type, const uint8_t* row, size_t length);

    uint8_t set_;
    size_t bpp_;
    // previous_ holds the row above, after a call the row itself: the
    // candidate of None. Each buffer has the type byte in front.
    std::vector<uint8_t> previous_;
    std::vector<uint8_t> candidates_[5];
};

}  // namespace kobalto
