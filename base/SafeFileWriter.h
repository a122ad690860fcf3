#pragma once
// Writes a file so that it is either complete or not there at all: the
// content goes to a temporary file in the target's folder, which replaces the
// target only after the whole write succeeded. A failed write leaves any
// existing file untouched.
#include <sys/types.h>

#include <functional>
#include <string>

#include "base/TStream.h"

namespace kobalto {

// The mode a new file gets under the process's umask. The first call reads
// the umask; make it before starting threads that create files.
mode_t DefaultFileMode();

void WriteFileSafely(const std::string& path, const std::function<void(TStream&)>& write);

}  // namespace kobalto
