#include "codecs/extended/InputRelease.h"

#include <utility>

namespace kobalto {

namespace {

constexpr size_t kReleaseStep = size_t{1} << 18;
// A fault maps the pages of the file around it in aligned blocks of this
// size (the system's default): the block the reader is in is kept, or its
// next fault would map back what was just given.
constexpr size_t kFaultBlock = size_t{64} << 10;

}  // namespace

TReleaseBehind::TReleaseBehind(TInputRelease release, std::span<const uint8_t> input, size_t start)
    : release_(std::move(release)), input_(input), released_(start)
{
}

void TReleaseBehind::Reached(size_t offset)
{
    if (offset > input_.size() || offset < released_ || offset - released_ < kReleaseStep)
        return;
    const auto at = reinterpret_cast<uintptr_t>(input_.data()) + offset;
    const size_t end = offset - at % kFaultBlock;
    if (end <= released_)
        return;
    release_(input_.subspan(released_, end - released_));
    released_ = end;
}

}  // namespace kobalto
