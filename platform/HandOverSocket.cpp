#include "platform/HandOverSocket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

namespace kobalto::platform {

namespace {

using Clock = std::chrono::steady_clock;

bool MakeAddress(const std::string& path, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.data(), path.size());
    return true;
}

bool IsOwnSocket(const struct stat& st)
{
    return S_ISSOCK(st.st_mode) && st.st_uid == ::geteuid();
}

int RemainingMs(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

void SetTimeout(int fd, int option, int ms)
{
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    // A zero timeout means none at all: keep at least a millisecond.
    if (ms <= 0)
        tv = {0, 1000};
    ::setsockopt(fd, SOL_SOCKET, option, &tv, sizeof tv);
}

// A connection to a server of this user, or -1 with the reason in result.
int Connect(const std::string& path, Clock::time_point deadline, HandOverResult& result)
{
    sockaddr_un address;
    result = HandOverResult::Unreachable;
    if (!MakeAddress(path, address))
        return -1;
    for (;;) {
        struct stat st;
        if (::lstat(path.c_str(), &st) == 0) {
            if (!IsOwnSocket(st)) {
                result = HandOverResult::Untrusted;
                return -1;
            }
            const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            if (fd < 0)
                return -1;
            // A full queue of waiting connections makes connect wait; no longer
            // than the deadline.
            SetTimeout(fd, SO_SNDTIMEO, RemainingMs(deadline));
            if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
                // The file was checked before: the server itself must be ours
                // too, as the file may have been swapped in between.
                unsigned peer = 0;
                if (PeerUserId(fd, peer) && peer == ::geteuid())
                    return fd;
                ::close(fd);
                result = HandOverResult::Untrusted;
                return -1;
            }
            const int error = errno;
            ::close(fd);
            if (error != ECONNREFUSED && error != EAGAIN && error != ENOENT && error != EINTR)
                return -1;
        }
        // Not there yet: the window may be starting.
        if (Clock::now() >= deadline)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

bool SendAll(int fd, const std::vector<uint8_t>& bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::string HandOverSocketPath(const std::string& lockPath)
{
    return lockPath + ".socket";
}

bool PeerUserId(int fd, unsigned& userId)
{
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 || size != sizeof credentials)
        return false;
    userId = credentials.uid;
    return true;
}

HandOverServer::HandOverServer(std::string path) : path_(std::move(path))
{
    sockaddr_un address;
    if (!MakeAddress(path_, address))
        return;
    struct stat st;
    if (::lstat(path_.c_str(), &st) == 0) {
        // The caller holds the single-instance lock, so a socket of ours here
        // is left from a copy that crashed.
        if (!IsOwnSocket(st) || ::unlink(path_.c_str()) != 0)
            return;
    }
    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd_ < 0)
        return;
    // Connections wait in the queue until listen, so nobody gets in while
    // the mode is still the umask's.
    if (::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(path_.c_str(), 0600) != 0 || ::lstat(path_.c_str(), &st) != 0 || ::listen(fd_, 16) != 0) {
        ::close(fd_);
        fd_ = -1;
        return;
    }
    device_ = st.st_dev;
    inode_ = st.st_ino;
}

HandOverServer::~HandOverServer()
{
    if (fd_ < 0)
        return;
    ::close(fd_);
    // Only our own file: a later copy may already have put its socket there.
    struct stat st;
    if (::lstat(path_.c_str(), &st) == 0 && st.st_dev == device_ && st.st_ino == inode_)
        ::unlink(path_.c_str());
}

int HandOverServer::Accept()
{
    while (fd_ >= 0) {
        const int fd = ::accept4(fd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return -1;
        }
        unsigned peer = 0;
        if (PeerUserId(fd, peer) && peer == ::geteuid())
            return fd;
        ::close(fd);
    }
    return -1;
}

HandOverConnection::~HandOverConnection()
{
    if (fd_ >= 0)
        ::close(fd_);
}

HandOverParser::State HandOverConnection::Read()
{
    uint8_t buffer[4096];
    while (!ended_ && parser_.GetState() == HandOverParser::State::NeedMore) {
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n > 0) {
            parser_.Feed(buffer, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        // Ended or failed before the whole message.
        ended_ = true;
    }
    return ended_ && parser_.GetState() == HandOverParser::State::NeedMore ? HandOverParser::State::Invalid
                                                                             : parser_.GetState();
}

bool HandOverConnection::Answer()
{
    const uint8_t taken = kHandOverTaken;
    ssize_t n;
    do
        n = ::send(fd_, &taken, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
    while (n < 0 && errno == EINTR);
    return n == 1;
}

HandOverResult HandOverToRunningCopy(const std::string& socketPath, const std::vector<std::string>& files)
{
    const std::vector<uint8_t> message = EncodeHandOver(files);
    if (message.empty())
        return HandOverResult::TooLarge;
    HandOverResult result;
    const int fd = Connect(socketPath, Clock::now() + std::chrono::milliseconds(kHandOverConnectMs), result);
    if (fd < 0)
        return result;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kHandOverAnswerMs);
    result = HandOverResult::NoAnswer;
    SetTimeout(fd, SO_SNDTIMEO, RemainingMs(deadline));
    if (SendAll(fd, message)) {
        pollfd waiting{fd, POLLIN, 0};
        int ready;
        do
            ready = ::poll(&waiting, 1, RemainingMs(deadline));
        while (ready < 0 && errno == EINTR);
        uint8_t answer = 0;
        if (ready > 0 && ::recv(fd, &answer, 1, MSG_DONTWAIT) == 1 && answer == kHandOverTaken)
            result = HandOverResult::Delivered;
    }
    ::close(fd);
    return result;
}

std::string HandOverFailureText(HandOverResult result, const std::string& socketPath)
{
    switch (result) {
    case HandOverResult::Delivered:
        return {};
    case HandOverResult::Unreachable:
        return "the running window cannot be reached at " + socketPath;
    case HandOverResult::Untrusted:
        return socketPath + " belongs to another user; nothing was sent";
    case HandOverResult::NoAnswer:
        return "the running window did not answer in time";
    case HandOverResult::TooLarge:
        return "the files are too many, or their names too long, to hand over";
    }
    return {};
}

}  // namespace kobalto::platform
