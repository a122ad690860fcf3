#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/FileSystem.h"

namespace kobalto::platform {

namespace {

constexpr const char* kLockName = "MutexObjectForKobalto";

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

}  // namespace

std::string SingleInstanceLockPathFrom(const std::string& runtimeDir, const std::string& tempDir,
                                       unsigned userId)
{
    if (!runtimeDir.empty() && runtimeDir.front() == '/' && DirectoryExists(runtimeDir))
        return runtimeDir + "/" + kLockName;
    const std::string temp = !tempDir.empty() && tempDir.front() == '/' ? tempDir : "/tmp";
    return temp + "/" + kLockName + "-" + std::to_string(userId);
}

std::string SingleInstanceLockPath()
{
    return SingleInstanceLockPathFrom(Env("XDG_RUNTIME_DIR"), Env("TMPDIR"), ::geteuid());
}

SingleInstance::SingleInstance(const std::string& lockPath)
{
    // No symbolic links: in a shared temporary folder another user could
    // point the name elsewhere.
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0)
        return;
    struct stat st;
    // A lock file of another user is not ours to trust: holding it would let
    // that user keep this program from starting.
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
        return;
    int rc;
    do
        rc = ::flock(fd_, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc == 0)
        state_ = State::Running;
    else if (errno == EWOULDBLOCK)
        state_ = State::AnotherRuns;
}

SingleInstance::~SingleInstance()
{
    // Closing the descriptor releases the lock; the file stays for the next
    // start, as removing it could race with a copy that just opened it.
    if (fd_ >= 0)
        ::close(fd_);
}

}  // namespace kobalto::platform
