#pragma once
// One running copy per user: the first copy holds an exclusive flock on a
// lock file, and a later start finds it held. The kernel drops the lock when
// the holder ends, however it ends, so a crash leaves nothing behind.
#include <string>

namespace kobalto::platform {

// "MutexObjectForKobalto" in $XDG_RUNTIME_DIR, which is private to the user;
// without one, in the temporary folder with the user id in its name.
std::string SingleInstanceLockPath();
// The same choice over given inputs.
std::string SingleInstanceLockPathFrom(const std::string& runtimeDir, const std::string& tempDir,
                                       unsigned userId);

class SingleInstance {
public:
    enum class State {
        Running,       // this copy holds the lock
        AnotherRuns,   // another copy holds it
        Unguarded,     // no lock could be set up; the copy runs without one
    };

    explicit SingleInstance(const std::string& lockPath = SingleInstanceLockPath());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    State GetState() const { return state_; }

private:
    int fd_ = -1;
    State state_ = State::Unguarded;
};

}  // namespace kobalto::platform
