#include "base/Checked.h"

#include <limits>
#include <string>

#include "base/Exceptions.h"
#include "base/Limits.h"
#include "base/Messages.h"

namespace kobalto {

size_t CheckedMul(size_t a, size_t b)
{
    size_t r;
    if (__builtin_mul_overflow(a, b, &r))
        throw EInvalidGraphic(msg::kImageSizeOverflow);
    return r;
}

size_t CheckedAdd(size_t a, size_t b)
{
    size_t r;
    if (__builtin_add_overflow(a, b, &r))
        throw EInvalidGraphic(msg::kImageSizeOverflow);
    return r;
}

void CheckImageSize(int64_t width, int64_t height, std::string_view format)
{
    if (width < 0 || height < 0 || width > kMaxDimension || height > kMaxDimension ||
        width * height > kMaxPixels) {
        throw EInvalidGraphic(
            msg::Format(msg::kImageOverPixelCap, {format, std::to_string(width), std::to_string(height)}));
    }
}

}  // namespace kobalto
