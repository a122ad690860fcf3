#include "app/TfrmMain.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include "app/BitmapToQImage.h"
#include "app/PaintBanner.h"
#include "app/WindowTexts.h"
#include "base/SafeFileWriter.h"
#include "imaging/Scaling.h"
#include "platform/FileSystem.h"

namespace kobalto {

namespace {

// pnlOut's distance from the window's left edge: the banner's strip.
constexpr int kOutLeft = 13;
constexpr int kMemuHeight = 24;
constexpr int kBannerSize = 12;

ScreenArea AreaOf(const QScreen* screen)
{
    if (!screen)
        return {};
    const QRect a = screen->availableGeometry();
    return {a.left(), a.top(), a.left() + a.width(), a.top() + a.height()};
}

// The introduction's lines one font height apart, as the label is cut to
// three such lines: a substitute face's own line gap would push the third out.
QString IntroductionText(int lineHeight)
{
    const QStringList lines = QString::fromUtf8(texts::kIntroduction).split('\n');
    QStringList escaped;
    for (const QString& line : lines)
        escaped.push_back(line.toHtmlEscaped());
    return QStringLiteral("<div style=\"line-height:%1px; -qt-line-height-type:fixed\">%2</div>")
        .arg(lineHeight)
        .arg(escaped.join("<br>"));
}

void ShowError(QWidget* parent, const std::exception& e)
{
    QMessageBox::critical(parent, QGuiApplication::applicationDisplayName(), QString::fromUtf8(e.what()));
}

}  // namespace

TfrmMain::TfrmMain(Places places, QWidget* parent)
    : QWidget(parent),
      settingsFile_(std::move(places.settingsFile)),
      settingsReadFile_(std::move(places.settingsReadFile))
{
    if (settingsReadFile_.empty())
        settingsReadFile_ = settingsFile_;
    state_.outputFolder = std::move(places.outputFolder);
    CreateControls();
    FormCreate();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::FormCreate()
{
    // A folder that cannot be made shows up as failed writes, file by file.
    platform::EnsureFolder(state_.outputFolder);
    // Temporaries of a run killed while it wrote.
    RemoveStaleTemporaries(state_.outputFolder);
    previewBitmap_ = TBitmap();
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Restoring from the task bar shows the window again; the settings
    // belong to the first showing only.
    if (shown_ || event->spontaneous())
        return;
    shown_ = true;
    FormShow();
    ShowingChanged();
}

void TfrmMain::FormShow()
{
    // Widgets paint through a back buffer already: nothing flickers.
    const QScreen* start = screen() ? screen() : QGuiApplication::primaryScreen();
    const auto areaAt = [start](int x, int y) {
        const QScreen* s = QGuiApplication::screenAt(QPoint(x, y));
        return AreaOf(s ? s : start);
    };
    const WindowSettings s = LoadWindowSettings(settingsReadFile_, width(), height(), AreaOf(start), areaAt);
    move(s.rect.left, s.rect.top);
    resize(s.rect.width, s.rect.height);
    normalRect_ = s.rect;
    if (s.maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
    if (s.percentMode)
        rbtMode2->setChecked(true);
    edtZoom->setText(QString::fromStdString(s.zoom));
    lbl00->setText(IntroductionText(lbl00->font().pixelSize()));
    ArrangeMessagePanel();
}

void TfrmMain::ShowingChanged()
{
    update();
    const int time = LoadMessageTime(settingsReadFile_);
    timMsg->setInterval(std::max(time, 0));
    // A timer of no interval never fires: the introduction then stays.
    if (time > 0)
        timMsg->start();
}

void TfrmMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    RememberNormalRect();
    FormResize();
}

void TfrmMain::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    RememberNormalRect();
}

void TfrmMain::RememberNormalRect()
{
    if (!shown_ || (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen)))
        return;
    normalRect_ = {pos().x(), pos().y(), width(), height()};
}

void TfrmMain::FormResize()
{
    update(BannerStrip(height()));
    pnlOut->setGeometry(kOutLeft, 0, width() - kOutLeft, height());
    pnlMemu->setGeometry(0, 0, pnlOut->width(), kMemuHeight);
    imgOut->setGeometry(0, kMemuHeight, pnlOut->width(), std::max(0, pnlOut->height() - kMemuHeight));
    try {
        RefreshPreview();
    } catch (const std::exception& e) {
        ShowError(this, e);
    }
    ProcessMessages();
    CentreMessagePanel();
}

// Centred over the preview; in a narrow window cut off on both sides.
void TfrmMain::CentreMessagePanel()
{
    pnlMsg->move((imgOut->width() - pnlMsg->width()) / 2, imgOut->y() + (imgOut->height() - pnlMsg->height()) / 2);
}

void TfrmMain::RefreshPreview()
{
    if (imgOut->width() <= 0 || imgOut->height() <= 0) {
        imgOut->setPixmap(QPixmap());
        return;
    }
    PictureHolder holder;
    holder.Bitmap() = previewBitmap_;
    FitPictureToBox(holder, imgOut->width(), imgOut->height(), 0);
    imgOut->setPixmap(QPixmap::fromImage(BitmapToQImage(holder.Bitmap())));
}

void TfrmMain::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), kNavy);
    PaintBanner(painter, font(), height(), QString::fromUtf8(texts::kBanner), kBannerSize);
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

bool TfrmMain::FormCloseQuery()
{
    WindowSettings s;
    s.rect = normalRect_;
    s.maximised = isMaximized();
    s.percentMode = rbtMode2->isChecked();
    s.zoom = edtZoom->text().toStdString();
    try {
        SaveWindowSettings(settingsFile_, s);
    } catch (const std::exception& e) {
        // The window stays; the next close tries again from the first value.
        ShowError(this, e);
        return false;
    }
    return true;
}

void TfrmMain::rbtMode1Click(QRadioButton* sender)
{
    const bool percent = sender->property("tag").toInt() == 2;
    lblZoom->setEnabled(percent);
    edtZoom->setEnabled(percent);
    lblRate->setEnabled(percent);
    if (percent)
        edtZoom->setFocus();
}

void TfrmMain::timMsgTimer()
{
    timMsg->stop();
    lbl00->hide();
    lbl01->show();
    lbl02->show();
    lbl03->show();
    ArrangeMessagePanel();
}

void TfrmMain::imgOutDblClick()
{
    if (platform::FileExists(state_.lastOutputPath))
        QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromUtf8(state_.lastOutputPath)));
}

void TfrmMain::lbl00Click()
{
    QDesktopServices::openUrl(QUrl(QString::fromUtf8(texts::kPublisherAddress)));
}

char32_t TfrmMain::edtZoomKeyPress(char32_t key)
{
    if (key == '\r' || key == 0x1B)
        return 0;
    // Backspace, the clipboard shortcuts and Delete.
    if (key < 0x20 || key == 0x7F)
        return key;
    if (key >= '0' && key <= '9')
        return key;
    return 0;
}

bool TfrmMain::FilterZoomKey(QKeyEvent& event)
{
    // Keys that type nothing (arrows, Home) are no characters to filter.
    const QString text = event.text();
    bool printable = false;
    for (const char32_t c : text.toUcs4()) {
        if (edtZoomKeyPress(c) == 0)
            return true;
        printable = printable || c >= 0x20;
    }
    // A digit into a full box is refused, also when a longer text came from
    // the settings file.
    const qsizetype kept = edtZoom->text().size() - edtZoom->selectedText().size();
    return printable && kept >= kZoomLength;
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edtZoom && event->type() == QEvent::KeyPress)
        return FilterZoomKey(*static_cast<QKeyEvent*>(event));
    if (watched == imgOut && event->type() == QEvent::MouseButtonDblClick) {
        imgOutDblClick();
        return true;
    }
    if (watched == lbl00 && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && lbl00->rect().contains(mouse->position().toPoint()))
            lbl00Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace kobalto
