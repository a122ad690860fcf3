#pragma once
// Writes a file so that it is either complete or not there at all: the
// content goes to a temporary file in the target's folder, which replaces the
// target only after the whole write succeeded. A failed write leaves any
// existing file untouched.
#include <functional>
#include <string>

#include "base/TStream.h"

namespace kobalto {

void WriteFileSafely(const std::string& path, const std::function<void(TStream&)>& write);

}  // namespace kobalto
