// kobalto-drop-demo: the window with a drop of the given files made right
// after it shows, for screenshots. Built on request only and never
// installed, so no user starts it by accident.
//   kobalto-drop-demo --out FOLDER --settings FILE [--wait MS] FILE...
#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QIcon>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <cstdio>

#include "app/TfrmMain.h"

int main(int argc, char** argv)
{
    using namespace kobalto;
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Kobalto"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/kobalto-32.png")));

    QString out, settings;
    int waitMs = 500;
    QList<QUrl> urls;
    const QStringList args = QApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size())
            out = args[++i];
        else if (args[i] == "--settings" && i + 1 < args.size())
            settings = args[++i];
        else if (args[i] == "--wait" && i + 1 < args.size())
            waitMs = args[++i].toInt();
        else
            urls.push_back(QUrl::fromLocalFile(QFileInfo(args[i]).absoluteFilePath()));
    }
    if (out.isEmpty() || settings.isEmpty() || urls.isEmpty()) {
        std::fprintf(stderr, "usage: kobalto-drop-demo --out FOLDER --settings FILE [--wait MS] FILE...\n");
        return 2;
    }

    TfrmMain frmMain({out.toStdString(), settings.toStdString()});
    QObject::connect(&frmMain, &TfrmMain::fileDone, [&frmMain](const QString& path) {
        std::printf("done %s\ncaption %s\n", qPrintable(path), qPrintable(frmMain.windowTitle()));
        std::fflush(stdout);
    });
    frmMain.show();
    QTimer::singleShot(waitMs, &frmMain, [&frmMain, urls] {
        // What a file manager sends: a uri-list dragged in, then dropped
        // in the window's middle.
        QMimeData data;
        data.setUrls(urls);
        const QPoint middle(frmMain.width() / 2, frmMain.height() / 2);
        QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frmMain, &enter);
        QDropEvent drop(QPointF(middle), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&frmMain, &drop);
    });
    return app.exec();
}
