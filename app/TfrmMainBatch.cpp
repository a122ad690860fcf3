// The window's side of the drop batch.
#include <QCoreApplication>
#include <QFile>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>

#include "app/TFileDrop.h"
#include "app/TfrmMain.h"

namespace kobalto {

void TfrmMain::FileDrop1FileDrop(TFileDrop*, int, const QStringList& files, int, int)
{
    std::vector<std::string> paths;
    paths.reserve(static_cast<size_t>(files.size()));
    for (const QString& file : files)
        paths.push_back(QFile::encodeName(file).toStdString());
    ProcessDroppedFiles(paths, *this, state_);
}

void TfrmMain::OpenFiles(const QStringList& files)
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    FileDrop1->PostFiles(files);
}

bool TfrmMain::AutomaticMode()
{
    return rbtMode1->isChecked();
}

std::string TfrmMain::PercentText()
{
    return edtZoom->text().toStdString();
}

void TfrmMain::SetPercentText(const std::string& text)
{
    edtZoom->setText(QString::fromStdString(text));
}

void TfrmMain::HideMessagePanel()
{
    pnlMsg->hide();
}

void TfrmMain::SetCaption(const std::string& caption)
{
    setWindowTitle(QString::fromStdString(caption));
}

void TfrmMain::ShowPreview(const TBitmap& bitmap)
{
    previewBitmap_ = bitmap;
    RefreshPreview();
}

void TfrmMain::SetBusyCursor(bool busy)
{
    // Nested batches stack their cursors; each file restores its own.
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void TfrmMain::ProcessMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TfrmMain::ShowWarning(const std::string& title, const std::string& text)
{
    QMessageBox::warning(this, QString::fromStdString(title), QString::fromStdString(text));
}

void TfrmMain::FileDone(const FileReport& report)
{
    emit fileDone(QString::fromStdString(report.outputPath));
    // The caption and the preview of this file show while the next one loads.
    ProcessMessages();
}

}  // namespace kobalto
