#include "app/TFileDrop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>

#include "base/Exceptions.h"

namespace kobalto {

namespace {

// A drop of files only reads them: copying is asked for where the file
// manager allows it, so no source ever takes the drop for a move and deletes
// its files.
void AcceptAsCopy(QDropEvent& event)
{
    if (event.possibleActions() & Qt::CopyAction) {
        event.setDropAction(Qt::CopyAction);
        event.accept();
    } else {
        event.acceptProposedAction();
    }
}

}  // namespace

TFileDrop::TFileDrop(QWidget* owner) : QObject(owner), owner_(owner)
{
    AttachTarget();
}

TFileDrop::~TFileDrop()
{
    DetachTarget();
}

void TFileDrop::SetAccept(bool accept)
{
    if (accept == accept_)
        return;
    accept_ = accept;
    if (target_)
        target_->setAcceptDrops(accept_);
}

void TFileDrop::SetControl(QWidget* control)
{
    DetachTarget();
    if (control_)
        disconnect(control_, &QObject::destroyed, this, nullptr);
    control_ = control;
    if (control_) {
        // A control that goes takes the drops with it.
        connect(control_, &QObject::destroyed, this, [this] {
            target_ = nullptr;
            accept_ = false;
        });
    }
    AttachTarget();
}

void TFileDrop::AttachTarget()
{
    QWidget* target = control_ ? control_.data() : owner_;
    if (!target || (!control_ && !target->isWindow()))
        throw Exception("Invalidate Window Handle in FileDrop");
    target_ = target;
    target_->installEventFilter(this);
    target_->setAcceptDrops(accept_);
}

void TFileDrop::DetachTarget()
{
    if (target_) {
        target_->removeEventFilter(this);
        target_->setAcceptDrops(false);
    }
    target_ = nullptr;
}

QStringList TFileDrop::LocalPaths(const QMimeData& data)
{
    QStringList paths;
    if (!data.hasUrls())
        return paths;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            paths.push_back(url.toLocalFile());
    return paths;
}

bool TFileDrop::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != target_ || !accept_)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        const QMimeData* data = drag->mimeData();
        if (data && !LocalPaths(*data).isEmpty())
            AcceptAsCopy(*drag);
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop:
        DropFiles(*static_cast<QDropEvent*>(event));
        return true;
    default:
        return false;
    }
}

void TFileDrop::DropFiles(QDropEvent& event)
{
    const QMimeData* data = event.mimeData();
    const QStringList files = data ? LocalPaths(*data) : QStringList();
    if (files.isEmpty()) {
        event.ignore();
        return;
    }
    AcceptAsCopy(event);
    const QPoint point = event.position().toPoint();
    QMetaObject::invokeMethod(this, [this, files, point] { Deliver(files, point); }, Qt::QueuedConnection);
}

void TFileDrop::PostFiles(const QStringList& files)
{
    if (files.isEmpty())
        return;
    QMetaObject::invokeMethod(this, [this, files] { Deliver(files, QPoint()); }, Qt::QueuedConnection);
}

void TFileDrop::Deliver(const QStringList& files, QPoint point)
{
    if (!OnFileDrop)
        return;
    try {
        OnFileDrop(this, static_cast<int>(files.size()), files, point.x(), point.y());
    } catch (const std::exception& e) {
        QMessageBox::critical(target_ ? target_->window() : nullptr, QGuiApplication::applicationDisplayName(),
                              QString::fromUtf8(e.what()));
    }
}

}  // namespace kobalto
