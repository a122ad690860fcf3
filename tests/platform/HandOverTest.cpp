#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <thread>

#include "platform/HandOverSocket.h"
#include "tests/support/TestSupport.h"

namespace kobalto::platform {
namespace {

using State = HandOverParser::State;
using Bytes = std::vector<uint8_t>;

constexpr uid_t kNobody = 65534;

Bytes Message(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

TEST(HandOverMessage, FilesSurviveTheTripInPiecesOfAnySize)
{
    const std::vector<std::vector<std::string>> lists = {
        {}, {"/a.jpg"}, {"/home/u/写真 1.png", "/x", std::string("/") + std::string(4095, 'n')}};
    for (const auto& files : lists) {
        const Bytes bytes = EncodeHandOver(files);
        ASSERT_FALSE(bytes.empty());
        for (const size_t piece : {size_t{1}, size_t{3}, size_t{7}, bytes.size()}) {
            HandOverParser parser;
            for (size_t at = 0; at < bytes.size(); at += piece)
                parser.Feed(bytes.data() + at, std::min(piece, bytes.size() - at));
            ASSERT_EQ(parser.GetState(), State::Complete) << piece;
            EXPECT_EQ(parser.Files(), files);
        }
    }
    // What the window could not open is never sent.
    for (const std::string& bad : {std::string("a.jpg"), std::string(), std::string("/a\0b", 4),
                                   std::string("/") + std::string(4096, 'n')})
        EXPECT_TRUE(EncodeHandOver({"/ok", bad}).empty());
    EXPECT_TRUE(EncodeHandOver(std::vector<std::string>(kMaxHandOverFiles + 1, "/f")).empty());
}

TEST(HandOverMessage, BrokenMessagesAreRefused)
{
    const std::string head("KOBALTO1\x01\x00\x00\x00", 12);
    const struct {
        std::string bytes;
        State state;
    } cases[] = {
        {"GET / HTTP/1.0\r\n", State::Invalid},
        {"KOBALTO2", State::Invalid},
        {"KOBAL", State::NeedMore},
        {std::string("KOBALTO1\x01\x00\x01\x00", 12), State::Invalid},  // too many files
        {head + std::string("\x00\x00\x00\x00", 4), State::Invalid},     // empty path
        {head + std::string("\x01\x10\x00\x00/", 5), State::Invalid},    // path over the limit
        {head + std::string("\x03\x00\x00\x00" "a/b", 7), State::Invalid},
        {head + std::string("\x03\x00\x00\x00/\x00" "b", 7), State::Invalid},
        {head + std::string("\x03\x00\x00\x00/ab", 7) + "more", State::Invalid},
        {head + std::string("\x03\x00\x00\x00/a", 6), State::NeedMore},
    };
    for (const auto& c : cases) {
        HandOverParser parser;
        const Bytes bytes = Message(c.bytes);
        EXPECT_EQ(parser.Feed(bytes.data(), bytes.size()), c.state) << c.bytes;
        EXPECT_TRUE(parser.Files().empty() || c.state != State::Invalid);
    }
}

// A server answering whatever whole message comes, on its own thread.
class AnsweringServer {
public:
    explicit AnsweringServer(const std::string& path, bool answer = true) : server(path)
    {
        thread_ = std::thread([this, answer] {
            pollfd p{server.Descriptor(), POLLIN, 0};
            if (::poll(&p, 1, 5000) != 1)
                return;
            const int fd = server.Accept();
            if (fd < 0)
                return;
            HandOverConnection connection(fd);
            pollfd c{fd, POLLIN, 0};
            while (connection.Read() == State::NeedMore && ::poll(&c, 1, 5000) == 1) {
            }
            if (connection.Read() == State::Complete && answer)
                connection.Answer();
        });
    }
    ~AnsweringServer() { thread_.join(); }
    HandOverServer server;

private:
    std::thread thread_;
};

TEST(HandOverSocket, FilesReachTheServerAndOnlyItsAnswerCountsAsDelivered)
{
    test::TempDir dir;
    const std::string path = HandOverSocketPath(dir.File("lock"));
    {
        AnsweringServer window(path);
        ASSERT_TRUE(window.server.Listening());
        EXPECT_EQ(::access(path.c_str(), F_OK), 0);
        EXPECT_EQ(HandOverToRunningCopy(path, {"/a.jpg", "/b.png"}), HandOverResult::Delivered);
    }
    // The socket went with its server.
    EXPECT_NE(::access(path.c_str(), F_OK), 0);
    {
        AnsweringServer silent(path, false);
        EXPECT_EQ(HandOverToRunningCopy(path, {"/a.jpg"}), HandOverResult::NoAnswer);
    }
    EXPECT_EQ(HandOverToRunningCopy(path, {"/a.jpg"}), HandOverResult::Unreachable);
}

TEST(HandOverSocket, AServerTakesOverItsOwnStaleSocketButNothingElse)
{
    test::TempDir dir;
    const std::string path = dir.File("socket");
    {
        const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.c_str(), path.size());
        ASSERT_EQ(::bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(stale);
    }
    EXPECT_TRUE(HandOverServer(path).Listening());
    test::WriteBytes(path, {1, 2, 3});
    EXPECT_FALSE(HandOverServer(path).Listening());
    EXPECT_EQ(test::ReadBytes(path), (Bytes{1, 2, 3}));
    // Nor is a plain file taken for the window's socket.
    EXPECT_EQ(HandOverToRunningCopy(path, {}), HandOverResult::Untrusted);
}

// Runs f in a child process as user nobody; returns its exit code.
template <typename F>
int AsNobody(F f)
{
    const pid_t child = ::fork();
    if (child == 0)
        std::_Exit(::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 ? f() : 99);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

TEST(HandOverSocket, AnotherUsersConnectionIsRefusedAndTheirSocketFileNotTrusted)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    test::TempDir dir;
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
    const std::string path = dir.File("socket");
    {
        // Even when the socket's mode lets anybody connect, the server
        // closes another user's connection unread.
        HandOverServer server(path);
        ASSERT_EQ(::chmod(path.c_str(), 0777), 0);
        const int sent = AsNobody([&] {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::memcpy(address.sun_path, path.c_str(), path.size());
            const Bytes bytes = EncodeHandOver({"/a.jpg"});
            return ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                           ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) > 0
                       ? 0
                       : 1;
        });
        ASSERT_EQ(sent, 0);
        EXPECT_EQ(server.Accept(), -1);
    }
    HandOverServer server(path);
    ASSERT_EQ(::lchown(path.c_str(), kNobody, kNobody), 0);
    EXPECT_EQ(HandOverToRunningCopy(path, {"/a.jpg"}), HandOverResult::Untrusted);
}

}  // namespace
}  // namespace kobalto::platform
