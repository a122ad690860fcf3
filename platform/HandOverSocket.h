#pragma once
// Files for the running window from a later start, over a local socket
// beside the single-instance lock. Only the same user takes part: the server
// refuses peers of another user, and the sender trusts neither a socket file
// of another user nor a server running as one.
#include <string>
#include <vector>

#include "platform/HandOverMessage.h"

namespace kobalto::platform {

// The lock's path with ".socket" added.
std::string HandOverSocketPath(const std::string& lockPath);

// The user id of the process at the other end of a connected local socket;
// false when the system cannot tell.
bool PeerUserId(int fd, unsigned& userId);

// The running window's end: a listening socket that never blocks.
class HandOverServer {
public:
    // Takes the path over from a copy that ended without removing its socket;
    // anything else found there is left alone and nothing listens.
    explicit HandOverServer(std::string path);
    ~HandOverServer();
    HandOverServer(const HandOverServer&) = delete;
    HandOverServer& operator=(const HandOverServer&) = delete;

    bool Listening() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }
    // The next waiting connection of this user, non-blocking, or -1 when none
    // waits. Connections of other users are closed unread.
    int Accept();

private:
    std::string path_;
    int fd_ = -1;
    unsigned long long device_ = 0, inode_ = 0;
};

// One accepted connection, read as its bytes arrive.
class HandOverConnection {
public:
    explicit HandOverConnection(int fd) : fd_(fd) {}
    ~HandOverConnection();
    HandOverConnection(const HandOverConnection&) = delete;
    HandOverConnection& operator=(const HandOverConnection&) = delete;

    int Descriptor() const { return fd_; }
    // Reads what has arrived without blocking. A sender that stops before a
    // whole message makes it Invalid.
    HandOverParser::State Read();
    const std::vector<std::string>& Files() const { return parser_.Files(); }
    // Tells the sender the files are taken. False when the sender is gone
    // (it gave up waiting and told its user so): the files must not open.
    bool Answer();

private:
    int fd_;
    bool ended_ = false;
    HandOverParser parser_;
};

enum class HandOverResult {
    Delivered,
    Unreachable,  // no socket to connect to
    Untrusted,    // the socket or the server belongs to another user
    NoAnswer,     // the window took no files in time
    TooLarge,     // the files exceed what a message carries (or a name is not absolute)
};

// Waits up to this long for the socket to accept a connection (the window
// may be starting), then this long for the window's answer.
inline constexpr int kHandOverConnectMs = 2000;
inline constexpr int kHandOverAnswerMs = 10000;

// Sends files (absolute paths; none only brings the window forward) to the
// running window at socketPath and waits for its answer.
HandOverResult HandOverToRunningCopy(const std::string& socketPath, const std::vector<std::string>& files);

// Why a hand-over failed, for the user.
std::string HandOverFailureText(HandOverResult result, const std::string& socketPath);

}  // namespace kobalto::platform
