#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include "app/WindowTexts.h"
#include "tests/gui/WindowTestSupport.h"

namespace kobalto {
namespace {

QString TextOf(QWidget* w)
{
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    return {};
}

TEST(WindowLayout, ControlsStandAtTheirBoundsWithTheirTextsAndStates)
{
    test::WindowPlace place;
    auto w = place.Make();
    const struct {
        QWidget* control;
        QWidget* parent;
        QRect bounds;
        const char* text;
        bool visible;
        bool enabled;
    } controls[] = {
        {w->pnlOut, w.get(), {17, 0, 636, 504}, "", true, true},
        {w->pnlMemu, w->pnlOut, {0, 0, 636, 24}, "", true, true},
        {w->rbtMode1, w->pnlMemu, {8, 3, std::max(129, w->rbtMode1->sizeHint().width()), 17}, texts::kModeAutomatic,
         true, true},
        {w->rbtMode2, w->pnlMemu, {146, 3, std::max(155, w->rbtMode2->sizeHint().width()), 17},
         "縮小率(%)を指定して縮小", true, true},
        {w->lblZoom, w->pnlMemu, {307, 5, std::max(46, w->lblZoom->sizeHint().width()), 12}, "縮小率 : ", true,
         false},
        {w->edtZoom, w->pnlMemu, {356, 3, 53, 17}, "", true, false},
        {w->lblRate, w->pnlMemu, {417, 6, std::max(6, w->lblRate->sizeHint().width()), 12}, "%", true, false},
        {w->imgOut, w->pnlOut, {0, 24, 636, 480}, "", true, true},
        {w->pnlMsg, w->pnlOut, {0, 113, 636, 51}, "", true, true},
        {w->lbl01, w->pnlMsg, {0, 0, 636, 12}, "画像をダブルクリックすると関連付けされているプレビューが開く", false, true},
        {w->Label1, w->pnlMsg, {0, 0, 636, 7}, "", true, true},
        {w->lbl02, w->pnlMsg, {0, 19, 636, 21},
         "使用できる拡張子は ( .bmp, .dib, .jpg,. jpeg, .gif, .png, tif, .tiff, .rle, .rla , .tga )", false, true},
        {w->lbl03, w->pnlMsg, {0, 39, 636, 12},
         "ここに画像をドロップするとデスクトップの「Kobalto」フォルダに縮小画像が出来ます", false, true},
        // Below the spacer, filling the rest of the panel.
        {w->lbl00, w->pnlMsg, {0, 7, 636, 44}, "", true, true},
    };
    for (const auto& c : controls) {
        SCOPED_TRACE(c.control->objectName().toStdString());
        EXPECT_EQ(c.control->parentWidget(), c.parent);
        EXPECT_EQ(c.control->geometry(), c.bounds);
        EXPECT_EQ(TextOf(c.control).toStdString(), c.text);
        EXPECT_EQ(!c.control->isHidden(), c.visible);
        EXPECT_EQ(c.control->isEnabled(), c.enabled);
    }
    // A substitute face may be wider than the original: the mode bar's
    // texts still show whole, and its controls do not overlap.
    for (QWidget* c : {static_cast<QWidget*>(w->rbtMode1), static_cast<QWidget*>(w->rbtMode2),
                       static_cast<QWidget*>(w->lblZoom), static_cast<QWidget*>(w->lblRate)})
        EXPECT_LE(c->sizeHint().width(), c->width()) << c->objectName().toStdString();
    EXPECT_LE(w->rbtMode1->geometry().right(), w->rbtMode2->x());
    EXPECT_LE(w->rbtMode2->geometry().right(), w->lblZoom->x());
    EXPECT_LE(w->lblZoom->geometry().right(), w->edtZoom->x());
    EXPECT_LE(w->edtZoom->geometry().right(), w->lblRate->x());
    EXPECT_EQ(w->size(), QSize(670, 542));
    EXPECT_EQ(w->minimumSize(), QSize(475, 396));
    EXPECT_EQ(w->windowTitle(), "Kobalto");
    EXPECT_FALSE(w->windowIcon().isNull());
    EXPECT_TRUE(w->rbtMode1->isChecked());
    EXPECT_EQ(w->rbtMode1->property("tag").toInt(), 1);
    EXPECT_EQ(w->rbtMode2->property("tag").toInt(), 2);
    EXPECT_FALSE(w->timMsg->isActive());
    EXPECT_EQ(w->timMsg->interval(), 5000);
    EXPECT_TRUE(w->FileDrop1->Accept());
    EXPECT_EQ(w->FileDrop1->Target(), w.get());
    // Tab order: the two modes, then the percentage; nothing else takes
    // the focus.
    std::vector<std::string> tabOrder;
    for (QWidget* next = w->rbtMode1; tabOrder.size() < 10; next = next->nextInFocusChain()) {
        if (next->focusPolicy() & Qt::TabFocus)
            tabOrder.push_back(next->objectName().toStdString());
        if (next->nextInFocusChain() == w->rbtMode1)
            break;
    }
    EXPECT_EQ(tabOrder, (std::vector<std::string>{"rbtMode1", "rbtMode2", "edtZoom"}));
}

// Whether the faces write Japanese is seen on a real screen
// (tests/gui/screen/); a font object's answer here is no proof.
TEST(WindowLayout, ColoursAndFontSizes)
{
    test::WindowPlace place;
    auto w = place.Make();
    EXPECT_EQ(w->pnlMsg->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(w->lbl00->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    const struct {
        QWidget* control;
        int pixelSize;
    } fonts[] = {{w->rbtMode2, 12}, {w->lbl02, 12}, {w->lbl03, 12}, {w->lbl00, 15}};
    for (const auto& f : fonts)
        EXPECT_EQ(f.control->font().pixelSize(), f.pixelSize) << f.control->objectName().toStdString();
    // Gothic for the window, mincho for the messages.
    EXPECT_NE(w->font().family(), w->pnlMsg->font().family());
}

TEST(WindowLayout, ResizingPlacesTheOutputPanelBesideTheBannerAndRefitsThePreview)
{
    test::WindowPlace place;
    auto w = place.Show();
    const struct {
        QSize client;
        QRect pnlOut, imgOut;
        QPoint pnlMsg;
    } cases[] = {
        {{475, 396}, {13, 0, 462, 396}, {0, 24, 462, 372}, {-87, 184}},
        {{649, 504}, {13, 0, 636, 504}, {0, 24, 636, 480}, {0, 238}},
        {{800, 600}, {13, 0, 787, 600}, {0, 24, 787, 576}, {75, 286}},
    };
    for (const auto& c : cases) {
        w->resize(c.client);
        ASSERT_TRUE(test::WaitFor([&] { return w->size() == c.client; }));
        EXPECT_EQ(w->pnlOut->geometry(), c.pnlOut);
        EXPECT_EQ(w->pnlMemu->geometry(), QRect(0, 0, c.pnlOut.width(), 24));
        EXPECT_EQ(w->imgOut->geometry(), c.imgOut);
        EXPECT_EQ(w->imgOut->pixmap().size(), c.imgOut.size());
        EXPECT_EQ(w->pnlMsg->pos(), c.pnlMsg);
        EXPECT_EQ(w->pnlMsg->size(), QSize(636, 51));
    }
    // Before the first drop the preview is all white.
    const QImage preview = w->imgOut->pixmap().toImage();
    EXPECT_EQ(preview.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(preview.pixelColor(preview.width() - 1, preview.height() - 1), QColor(Qt::white));
}

TEST(WindowLayout, TheBannerReadsUpwardInWhiteOnTheNavyStrip)
{
    test::WindowPlace place;
    auto w = place.Show();
    w->resize(649, 504);
    ASSERT_TRUE(test::WaitFor([&] { return w->size() == QSize(649, 504); }));
    const QImage shot = w->grab().toImage();
    const QColor navy(0, 0, 128);
    EXPECT_EQ(shot.pixelColor(0, 0), navy);
    EXPECT_EQ(shot.pixelColor(6, 10), navy);
    int lowest = -1, highest = shot.height(), rightmost = -1;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < 13; ++x)
            if (shot.pixelColor(x, y).lightness() > 200) {
                lowest = std::max(lowest, y);
                highest = std::min(highest, y);
                rightmost = std::max(rightmost, x);
            }
    // One line of bold italic text, about 140 pixels long, whose cell of 12
    // pixels stands 12 pixels above the bottom and spans the strip.
    ASSERT_GE(lowest, 0) << "no banner text";
    EXPECT_LE(lowest, 504 - 11);
    EXPECT_GE(lowest, 504 - 20);
    EXPECT_GT(lowest - highest, 100);
    EXPECT_LT(lowest - highest, 200);
    EXPECT_LE(rightmost, 12);
}

}  // namespace
}  // namespace kobalto
