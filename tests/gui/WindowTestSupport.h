#pragma once
// Shared by the window's tests: a window with its own output folder and
// settings file, pictures to drop, drops as a file manager makes them, and a
// watcher that answers the error box.
#include <QApplication>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <memory>

#include "app/TFileDrop.h"
#include "app/TfrmMain.h"
#include "tests/support/TestSupport.h"

namespace kobalto::test {

inline void WriteText(const std::string& path, const std::string& text)
{
    WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

inline std::string ReadText(const std::string& path)
{
    const auto bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// A BMP of one colour.
inline std::string SaveBmp(const std::string& path, int width, int height, TColor colour)
{
    MakeBitmap(width, height, [colour](int, int) { return colour; }).SaveToFile(path);
    return path;
}

inline QStringList ToQt(const std::vector<std::string>& paths)
{
    QStringList list;
    for (const std::string& p : paths)
        list.push_back(QString::fromStdString(p));
    return list;
}

// Drags urls onto target and drops them at point, as a file manager does;
// returns whether the drop was accepted.
inline bool SendDrop(QWidget& target, const QList<QUrl>& urls, QPoint point = {40, 60})
{
    QMimeData data;
    data.setUrls(urls);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(point, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(point, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &move);
    QDropEvent drop(QPointF(point), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
    return drop.isAccepted();
}

inline QList<QUrl> FileUrls(const std::vector<std::string>& paths)
{
    QList<QUrl> urls;
    for (const std::string& p : paths)
        urls.push_back(QUrl::fromLocalFile(QString::fromStdString(p)));
    return urls;
}

// The drop target hands the drop over once the drop itself is finished;
// this runs that hand-over, so the whole drop is done on return.
inline void DropAndWait(QWidget& target, const std::vector<std::string>& paths)
{
    SendDrop(target, FileUrls(paths));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}

inline bool WaitFor(const std::function<bool()>& condition, int ms = 3000)
{
    return QTest::qWaitFor(condition, ms);
}

// Answers every error box that opens while it lives, keeping the texts.
class ErrorBoxWatcher {
public:
    ErrorBoxWatcher()
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts_.push_back(box->text().toStdString());
                box->done(QMessageBox::Ok);
            }
        });
        timer_.start(5);
    }
    const std::vector<std::string>& Texts() const { return texts_; }

private:
    QTimer timer_;
    std::vector<std::string> texts_;
};

// A window with its own output folder and settings file.
class WindowPlace {
public:
    std::string Out() const { return dir_.File("out"); }
    std::string In(const std::string& name) const { return dir_.File(name); }
    std::string Settings() const { return dir_.File("kobalto.ini"); }

    std::unique_ptr<TfrmMain> Make(const std::string& settings = {}) const
    {
        return std::make_unique<TfrmMain>(TfrmMain::Places{Out(), settings.empty() ? Settings() : settings});
    }
    // Makes and shows the window, and waits until it is on screen.
    std::unique_ptr<TfrmMain> Show(const std::string& settings = {}) const
    {
        auto window = Make(settings);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        return window;
    }

private:
    TempDir dir_;
};

}  // namespace kobalto::test
