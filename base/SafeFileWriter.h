#pragma once
// Writes a file so that it is either complete or not there at all: the
// content goes to a temporary file in the target's folder, which replaces the
// target only after the whole write succeeded. A failed write leaves any
// existing file untouched and no temporary behind.
#include <functional>
#include <string>

#include "base/TStream.h"

namespace kobalto {

// A path that is a folder, or a link naming nothing, raises EFCreateError
// with the path; a link to a file is followed, so the link stays and the
// file it names is replaced. A failed write or sync raises EWriteError
// naming the path and the system's reason; the writer's own exceptions pass
// as they are.
void WriteFileSafely(const std::string& path, const std::function<void(TStream&)>& write);

// Removes what a run killed in the middle of a write left in folder: regular
// files named like the temporaries above (".kobalto-" and six letters or
// digits), owned by this user, unchanged for at least maxAge seconds and
// not locked by a writer still at work. Nothing else is touched; errors are
// ignored. Returns how many went.
int RemoveStaleTemporaries(const std::string& folder, int maxAgeSeconds = 60);

}  // namespace kobalto
