#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QDir>
#include <QProcess>
#include <QTest>

#include "platform/SingleInstance.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

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

TEST(SecondInstance, ASecondStartEndsAtOnceWhileTheFirstHoldsTheLock)
{
    test::TempDir dir;
    const platform::SingleInstance first(dir.File("MutexObjectForKobalto"));
    ASSERT_EQ(first.GetState(), platform::SingleInstance::State::Running);
    QElapsedTimer clock;
    clock.start();
    Program second(dir);
    ASSERT_TRUE(second.process.waitForFinished(10000));
    EXPECT_EQ(second.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.process.exitCode(), 0);
    EXPECT_LT(clock.elapsed(), 5000);
    // It ended before making its output folder: no window was made.
    EXPECT_FALSE(test::FileExists(dir.File("Kobalto")) || QDir(QString::fromStdString(dir.File("Kobalto"))).exists());
}

TEST(SecondInstance, AFirstStartRunsAndHoldsTheLock)
{
    test::TempDir dir;
    Program first(dir);
    ASSERT_TRUE(first.process.waitForStarted());
    // Up once its output folder exists; meanwhile the lock is held.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QDir(QString::fromStdString(dir.File("Kobalto"))).exists(); }, 10000));
    EXPECT_EQ(first.process.state(), QProcess::Running);
    EXPECT_EQ(platform::SingleInstance(dir.File("MutexObjectForKobalto")).GetState(),
              platform::SingleInstance::State::AnotherRuns);
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
