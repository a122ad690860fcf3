// Files handed to the window from outside, as a file manager's "Open With"
// and a dock do: the real program on a display of its own.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFileInfo>
#include <cstring>

#include "imaging/SaveImageFile.h"
#include "tests/gui/ProgramSupport.h"
#include "tests/gui/WindowTestSupport.h"

namespace kobalto {
namespace {

class OpenWith : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!test::VirtualDisplay::Available())
            GTEST_SKIP() << "Xvfb is not installed: the program cannot be shown";
        if (QStandardPaths::findExecutable("xwininfo").isEmpty())
            GTEST_SKIP() << "xwininfo is not installed: the window's caption cannot be read";
        display = std::make_unique<test::VirtualDisplay>();
        ASSERT_FALSE(display->Name().isEmpty()) << "Xvfb did not start";
        ASSERT_TRUE(QDir().mkpath(Inputs()));
        TBitmap a = test::PatternBitmap(64, 48);
        ASSERT_TRUE(SaveImageFile(a, dir.File("in/a.jpg"), false));
        TBitmap b = test::PatternBitmap(40, 30);
        ASSERT_TRUE(SaveImageFile(b, dir.File("in/b.png"), false));
    }

    QString Inputs() const { return QString::fromStdString(dir.File("in")); }
    std::string Out(const std::string& name) const { return test::OutputFolderIn(dir) + "/" + name; }

    std::unique_ptr<test::Program> StartWindow(const QStringList& files = {})
    {
        auto window = std::make_unique<test::Program>(dir, files, display->Name(), Inputs());
        EXPECT_TRUE(test::WaitFor([&] { return test::FileExists(test::SocketIn(dir)); }, 10000));
        return window;
    }

    // The caption's file name, once one file is done.
    QString CaptionName() const
    {
        const QStringList captions = display->Captions();
        return captions.size() == 1 ? captions[0].section(" ( ", 0, 0) : QString();
    }

    // Sends raw bytes over the window's socket, as a stranger might.
    void SendRaw(const std::string& bytes)
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = test::SocketIn(dir);
        std::memcpy(address.sun_path, path.data(), path.size());
        ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL), static_cast<ssize_t>(bytes.size()));
        ::close(fd);
    }

    test::TempDir dir;
    std::unique_ptr<test::VirtualDisplay> display;
};

TEST_F(OpenWith, ASecondStartHandsItsFilesToTheWindowWhichIgnoresGarbage)
{
    auto window = StartWindow();
    SendRaw("GET / HTTP/1.0\r\n\r\n");
    SendRaw(std::string("KOBALTO1\xff\xff\xff\xff", 12));
    SendRaw(std::string("KOBALTO1\x01\x00\x00\x00\x05\x00\x00\x00rel/x", 17));
    SendRaw(std::string("KOBALTO1\x01\x00\x00\x00\x40\x00\x00\x00/cut", 16));

    // Relative names, as a shell gives them, against the later start's folder.
    test::Program second(dir, {"a.jpg", "b.png"}, display->Name(), Inputs());
    ASSERT_TRUE(second.EndsWithSuccess()) << second.process.readAllStandardError().toStdString();
    EXPECT_TRUE(test::WaitFor([&] { return CaptionName() == "b.png"; }, 10000)) << display->Captions().join('|').toStdString();
    EXPECT_TRUE(test::FileExists(Out("a.jpg")));
    EXPECT_TRUE(test::FileExists(Out("b.png")));
    EXPECT_EQ(window->process.state(), QProcess::Running);

    // Without files, a later start only brings the window forward.
    test::Program third(dir, {}, display->Name());
    EXPECT_TRUE(third.EndsWithSuccess());
    EXPECT_EQ(window->process.state(), QProcess::Running);
}

TEST_F(OpenWith, FilesReachAWindowBusyWithABatchAndRunBetweenItsFiles)
{
    // Twenty names of one PNG of noise above 2000 KB: each is shrunk and
    // compressed anew, which takes a while.
    uint32_t seed = 1;
    TBitmap noise = test::MakeBitmap(1100, 700, [&seed](int, int) {
        seed = seed * 1664525u + 1013904223u;
        return TColor{static_cast<uint8_t>(seed >> 24), static_cast<uint8_t>(seed >> 16), static_cast<uint8_t>(seed >> 8)};
    });
    const std::string big = dir.File("big.png");
    ASSERT_TRUE(SaveImageFile(noise, big, false));
    ASSERT_GT(test::ReadBytes(big).size(), 2000u * 1024);
    QStringList batch;
    for (int i = 1; i <= 20; ++i) {
        const QString name = QStringLiteral("big%1.png").arg(i, 2, 10, QLatin1Char('0'));
        ASSERT_EQ(::link(big.c_str(), dir.File("in/" + name.toStdString()).c_str()), 0);
        batch.push_back(name);
    }
    // The first start takes its own files as a drop once the window shows.
    auto window = StartWindow(batch);
    ASSERT_TRUE(test::WaitFor([&] { return test::FileExists(Out("big01.png")); }, 20000));
    ASSERT_FALSE(test::FileExists(Out("big20.png"))) << "the batch ended too soon to be busy";

    test::Program second(dir, {"a.jpg", "b.png"}, display->Name(), Inputs());
    ASSERT_TRUE(second.EndsWithSuccess()) << second.process.readAllStandardError().toStdString();
    ASSERT_TRUE(test::WaitFor([&] { return CaptionName() == "big20.png"; }, 40000))
        << display->Captions().join('|').toStdString();
    ASSERT_TRUE(test::FileExists(Out("a.jpg")));
    ASSERT_TRUE(test::FileExists(Out("b.png")));
    // Handed over in the middle, done before the batch went on to its end.
    const auto modified = [&](const std::string& name) { return QFileInfo(QString::fromStdString(Out(name))).lastModified(); };
    EXPECT_LT(modified("b.png"), modified("big20.png"));
}

}  // namespace
}  // namespace kobalto
