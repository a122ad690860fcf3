// Kobalto: one window that shrinks the image files dropped on it.
#include <QApplication>
#include <QIcon>
#include <cstdio>

#include "app/Fonts.h"

#include "app/TfrmMain.h"
#include "platform/Desktop.h"
#include "platform/ProgramPaths.h"
#include "platform/SingleInstance.h"

int main(int argc, char** argv)
{
    using namespace kobalto;
    // Before anything reaches the display: a second copy ends silently.
    const platform::SingleInstance instance;
    if (instance.GetState() == platform::SingleInstance::State::AnotherRuns)
        return 0;

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

    TfrmMain frmMain({platform::DesktopFolder() + "/Kobalto", platform::SettingsFilePath()});
    frmMain.show();
    return app.exec();
}
