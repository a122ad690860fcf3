#include "codecs/extended/InputRelease.h"

#include <utility>

namespace kobalto {

namespace {

constexpr size_t kReleaseStep = size_t{1} << 20;

}  // namespace

TReleaseBehind::TReleaseBehind(TInputRelease release, std::span<const uint8_t> input, size_t start)
    : release_(std::move(release)), input_(input), released_(start)
{
}

void TReleaseBehind::Reached(size_t offset)
{
    if (offset > input_.size() || offset < released_ || offset - released_ < kReleaseStep)
        return;
    release_(input_.subspan(released_, offset - released_));
    released_ = offset;
}

}  // namespace kobalto
