#include <gtest/gtest.h>

#include <poll.h>

#include <QElapsedTimer>

#include "platform/HandOverSocket.h"
#include "platform/SingleInstance.h"
#include "tests/gui/ProgramSupport.h"

namespace kobalto {
namespace {

using platform::HandOverParser;

bool WaitReadable(int fd, int ms)
{
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, ms) == 1;
}

bool NoWindowWasMade(const test::TempDir& dir)
{
    // A window makes its output folder first.
    return !QDir(QString::fromStdString(test::OutputFolderIn(dir))).exists();
}

TEST(SecondInstance, ASecondStartWithoutFilesOnlyAsksTheRunningCopyForItsWindow)
{
    test::TempDir dir;
    const platform::SingleInstance first(dir.File("MutexObjectForKobalto"));
    ASSERT_EQ(first.GetState(), platform::SingleInstance::State::Running);
    platform::HandOverServer server(test::SocketIn(dir));
    ASSERT_TRUE(server.Listening());

    test::Program second(dir, {});
    ASSERT_TRUE(WaitReadable(server.Descriptor(), 10000));
    const int fd = server.Accept();
    ASSERT_GE(fd, 0);
    platform::HandOverConnection connection(fd);
    while (connection.Read() == HandOverParser::State::NeedMore)
        ASSERT_TRUE(WaitReadable(fd, 10000));
    ASSERT_EQ(connection.Read(), HandOverParser::State::Complete);
    EXPECT_TRUE(connection.Files().empty());
    // Nothing ends before the answer.
    EXPECT_FALSE(second.process.waitForFinished(300));
    ASSERT_TRUE(connection.Answer());
    EXPECT_TRUE(second.EndsWithSuccess());
    EXPECT_TRUE(NoWindowWasMade(dir));
}

TEST(SecondInstance, ASecondStartThatCannotReachTheWindowSaysSoAndFails)
{
    test::TempDir dir;
    // The lock is held, but nobody listens.
    const platform::SingleInstance first(dir.File("MutexObjectForKobalto"));
    ASSERT_EQ(first.GetState(), platform::SingleInstance::State::Running);
    QElapsedTimer clock;
    clock.start();
    test::Program second(dir, {"a.jpg", "b.png"});
    ASSERT_TRUE(second.process.waitForFinished(15000));
    EXPECT_GE(clock.elapsed(), platform::kHandOverConnectMs);
    EXPECT_EQ(second.process.exitCode(), 1);
    const QString said = QString::fromUtf8(second.process.readAllStandardError());
    EXPECT_TRUE(said.contains("cannot be reached")) << said.toStdString();
    EXPECT_TRUE(said.contains("2 file(s) not opened")) << said.toStdString();
    EXPECT_TRUE(NoWindowWasMade(dir));
}

TEST(SecondInstance, AFirstStartRunsAndHoldsTheLockAndTheSocket)
{
    test::TempDir dir;
    test::Program first(dir, {});
    ASSERT_TRUE(first.process.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !NoWindowWasMade(dir); }, 10000));
    EXPECT_EQ(first.process.state(), QProcess::Running);
    EXPECT_EQ(platform::SingleInstance(dir.File("MutexObjectForKobalto")).GetState(),
              platform::SingleInstance::State::AnotherRuns);
    EXPECT_TRUE(test::FileExists(test::SocketIn(dir)));
}

}  // namespace
}  // namespace kobalto
