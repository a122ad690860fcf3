#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "platform/HandOverSocket.h"
#include "platform/SingleInstance.h"
#include "tests/gui/ProgramSupport.h"

namespace kobalto {
namespace {

bool NoWindowWasMade(const test::TempDir& dir)
{
    // A window makes its output folder first.
    return !QDir(QString::fromStdString(test::OutputFolderIn(dir))).exists();
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
