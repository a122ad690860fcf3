// Kobalto: one window that shrinks the image files dropped on it.
//   kobalto [FILE...]   files run as a drop once the window shows; while a
//                       window runs, they go to it instead
#include <QApplication>
#include <QFile>
#include <QIcon>
#include <cstdio>

#include "app/Fonts.h"

#include "app/CommandLine.h"
#include "app/HandOverListener.h"
#include "app/TfrmMain.h"
#include "platform/Desktop.h"
#include "platform/HandOverSocket.h"
#include "platform/ProgramPaths.h"
#include "platform/SingleInstance.h"

int main(int argc, char** argv)
{
    using namespace kobalto;
    const std::vector<std::string> files =
        CommandLineFiles(std::vector<std::string>(argv, argv + argc), WorkingFolder());

    // Before anything reaches the display: a second copy hands its files to
    // the running window and ends.
    const std::string lockPath = platform::SingleInstanceLockPath();
    const std::string socketPath = platform::HandOverSocketPath(lockPath);
    const platform::SingleInstance instance(lockPath);
    if (instance.GetState() == platform::SingleInstance::State::AnotherRuns) {
        const platform::HandOverResult result = platform::HandOverToRunningCopy(socketPath, files);
        if (result == platform::HandOverResult::Delivered)
            return 0;
        // Files are never lost without a word.
        std::fprintf(stderr, "kobalto: %s\n", platform::HandOverFailureText(result, socketPath).c_str());
        if (!files.empty())
            std::fprintf(stderr, "kobalto: %zu file(s) not opened\n", files.size());
        return 1;
    }
    // Listening before the window exists: early senders wait in the queue.
    std::unique_ptr<platform::HandOverServer> server;
    if (instance.GetState() == platform::SingleInstance::State::Running)
        server = std::make_unique<platform::HandOverServer>(socketPath);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kobalto"));
    QApplication::setApplicationDisplayName(QStringLiteral("Kobalto"));
    QApplication::setDesktopFileName(QStringLiteral("kobalto"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/kobalto-32.png")));

    // The window still opens; its texts show as boxes until a face is added.
    if (!HaveJapaneseFont())
        std::fputs("kobalto: no installed font writes Japanese, so the window's texts show as boxes; "
                   "install fonts-ipafont-gothic and fonts-ipafont-mincho\n",
                   stderr);

    const std::string settings = platform::SettingsFilePath();
    TfrmMain frmMain({platform::DesktopFolder() + "/Kobalto", settings,
                      platform::SettingsFileToRead(settings, platform::ProgramPath())});
    HandOverListener listener(std::move(server));
    QObject::connect(&listener, &HandOverListener::filesArrived, &frmMain, &TfrmMain::OpenFiles);
    frmMain.show();
    if (!files.empty()) {
        QStringList paths;
        for (const std::string& file : files)
            paths.push_back(QFile::decodeName(QByteArray::fromStdString(file)));
        frmMain.OpenFiles(paths);
    }
    return app.exec();
}
