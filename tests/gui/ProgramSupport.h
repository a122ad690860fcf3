#pragma once
// Shared by the tests that start the program itself: a copy of kobalto with
// its home, lock folder and output folder in a temporary folder, optionally
// on a display of its own under Xvfb.
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <memory>

#include "tests/support/TestSupport.h"

namespace kobalto::test {

// An X server of its own, on the first free display.
class VirtualDisplay {
public:
    static bool Available() { return !QStandardPaths::findExecutable("Xvfb").isEmpty(); }

    VirtualDisplay()
    {
        server_.start("Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24"});
        if (server_.waitForReadyRead(15000))
            name_ = ":" + QString::fromLatin1(server_.readLine()).trimmed();
    }
    ~VirtualDisplay()
    {
        server_.terminate();
        if (!server_.waitForFinished(5000))
            server_.kill();
    }
    // Empty when the server did not start.
    const QString& Name() const { return name_; }

    // The captions of kobalto's windows on the display.
    QStringList Captions() const
    {
        QProcess info;
        // xwininfo writes names in the locale's encoding; in the C locale a
        // Japanese caption would not come through.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LC_ALL", "C.UTF-8");
        info.setProcessEnvironment(env);
        info.start("xwininfo", {"-display", name_, "-root", "-children"});
        info.waitForFinished(5000);
        QStringList captions;
        static const QRegularExpression line(R"re(^\s*0x[0-9a-f]+ "(.*)": \("kobalto" "kobalto"\))re");
        for (const QString& text : QString::fromUtf8(info.readAllStandardOutput()).split('\n')) {
            const QRegularExpressionMatch m = line.match(text);
            if (m.hasMatch())
                captions.push_back(m.captured(1));
        }
        return captions;
    }

private:
    QProcess server_;
    QString name_;
};

// The program, with home and lock folder in dir; on display when one is
// given, otherwise on the offscreen platform.
class Program {
public:
    Program(const TempDir& dir, const QStringList& arguments, const QString& display = {},
            const QString& workingFolder = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(dir.Path()));
        env.insert("HOME", QString::fromStdString(dir.Path()));
        env.insert("XDG_CONFIG_HOME", QString::fromStdString(dir.File("config")));
        if (display.isEmpty()) {
            env.insert("QT_QPA_PLATFORM", "offscreen");
        } else {
            env.insert("QT_QPA_PLATFORM", "xcb");
            env.insert("DISPLAY", display);
        }
        process.setProcessEnvironment(env);
        if (!workingFolder.isEmpty())
            process.setWorkingDirectory(workingFolder);
        process.start(QStringLiteral(KOBALTO_WINDOW_PATH), arguments);
    }
    ~Program()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    // Waits for the end; true when it ended by itself with code 0.
    bool EndsWithSuccess(int ms = 15000)
    {
        return process.waitForFinished(ms) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }
    QProcess process;
};

// Where a program started in dir writes: its home has no desktop folder.
inline std::string OutputFolderIn(const TempDir& dir)
{
    return dir.File("Kobalto");
}

// The program's socket for later starts, once it listens.
inline std::string SocketIn(const TempDir& dir)
{
    return dir.File("MutexObjectForKobalto.socket");
}

}  // namespace kobalto::test
