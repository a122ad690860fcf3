#pragma once
// Caps on what a decoder may allocate from a header's word.
#include <cstdint>
#include <string_view>

namespace kobalto {

inline constexpr int64_t kMaxPixels = int64_t{1} << 28;     // 268 megapixels
inline constexpr int64_t kMaxDimension = int64_t{1} << 24;  // per side
// The most a reader takes into memory from one file: the largest picture
// under kMaxPixels with four 16-bit samples per pixel still fits.
inline constexpr int64_t kMaxFileBytes = int64_t{1} << 31;

// Pixel bytes a file may lack and still load with the rest filled: a file
// cut short loads, but one that declares far more than it holds would only
// make the reader allocate and clear memory no data can fill.
inline constexpr uint64_t kMissingBytesAllowance = uint64_t{4} << 20;

// True when a file holds so little of the declared bytes that filling the
// rest would cost far more than the file's data: less than a quarter of
// them, and more than the allowance missing.
constexpr bool HoldsFarTooLittle(uint64_t declared, uint64_t held)
{
    return declared > held && declared - held > kMissingBytesAllowance && held < declared / 4;
}

// Raises EInvalidGraphic naming the format when width × height is not a
// picture we are willing to allocate (negative, over a side cap, or over
// kMaxPixels). A zero side passes: callers decide what an empty picture means.
void CheckImageSize(int64_t width, int64_t height, std::string_view format);

}  // namespace kobalto
