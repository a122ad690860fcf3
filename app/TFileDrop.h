#pragma once
// A drop target: turns a drop of files from a file manager onto a window
// into one OnFileDrop event with the local paths in drop order and the drop
// point in the window's client coordinates. URLs that are no local files are
// ignored; folders arrive as paths like files.
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>

class QDropEvent;
class QMimeData;

namespace kobalto {

class TFileDrop;
using TFileDropEvent =
    std::function<void(TFileDrop* sender, int num, const QStringList& files, int x, int y)>;

class TFileDrop : public QObject {
    Q_OBJECT
public:
    // owner's window catches the drops while no Control is set.
    explicit TFileDrop(QWidget* owner);
    ~TFileDrop() override;

    bool Accept() const { return accept_; }
    void SetAccept(bool accept);
    QWidget* Control() const { return control_; }
    // nullptr: the owner, which must then be a window.
    void SetControl(QWidget* control);
    // The widget whose drops are caught now.
    QWidget* Target() const { return target_; }

    // Called once per drop, after the drop itself has been accepted and
    // finished, so the file manager never waits for a long batch. An error
    // escaping it is shown in an error box and the program runs on.
    TFileDropEvent OnFileDrop;

    // Files that reach the window other than by dragging (its command line,
    // a later start) make a drop of their own at no point: delivered the same
    // way, with the same error box, once the current event is done.
    void PostFiles(const QStringList& files);

    // The local paths of a drop's data, in order.
    static QStringList LocalPaths(const QMimeData& data);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AttachTarget();
    void DetachTarget();
    void DropFiles(QDropEvent& event);
    void Deliver(const QStringList& files, QPoint point);

    QWidget* owner_;
    QPointer<QWidget> control_;
    QPointer<QWidget> target_;
    bool accept_ = true;
};

}  // namespace kobalto
