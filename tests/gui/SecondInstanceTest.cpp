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

// The program itself, started with its lock folder and home in dir.
class Program {
public:
    explicit Program(const test::TempDir& dir, const QString& fontConfig = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        if (!fontConfig.isEmpty())
            env.insert("FONTCONFIG_FILE", fontConfig);
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(dir.Path()));
        env.insert("HOME", QString::fromStdString(dir.Path()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(KOBALTO_WINDOW_PATH), {});
    }
    ~Program()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    QProcess process;
};

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

TEST(SecondInstance, WithoutAJapaneseFaceTheWindowOpensAndNamesThePackagesOnce)
{
    test::TempDir dir;
    Program first(dir, QStringLiteral(KOBALTO_NO_JAPANESE_FONTS));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QDir(QString::fromStdString(dir.File("Kobalto"))).exists(); }, 10000));
    QTest::qWait(300);
    EXPECT_EQ(first.process.state(), QProcess::Running);
    const QStringList lines = QString::fromUtf8(first.process.readAllStandardError()).split('\n');
    EXPECT_EQ(lines.filter(QStringLiteral("fonts-ipafont-gothic and fonts-ipafont-mincho")).size(), 1)
        << lines.join('\n').toStdString();
}

}  // namespace
}  // namespace kobalto
