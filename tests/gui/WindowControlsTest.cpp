#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>

#include "app/Fonts.h"
#include "app/WindowTexts.h"
#include "tests/gui/WindowTestSupport.h"

namespace kobalto {
namespace {

TEST(WindowControls, TheModeButtonsSwitchThePercentageControlsAndTheFocus)
{
    test::WindowPlace place;
    auto w = place.Show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    QWidget* percentControls[] = {w->lblZoom, w->edtZoom, w->lblRate};

    QTest::mouseClick(w->rbtMode2, Qt::LeftButton);
    EXPECT_TRUE(w->rbtMode2->isChecked());
    EXPECT_FALSE(w->AutomaticMode());
    for (QWidget* c : percentControls)
        EXPECT_TRUE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_TRUE(w->edtZoom->hasFocus());

    QTest::mouseClick(w->rbtMode1, Qt::LeftButton);
    EXPECT_TRUE(w->rbtMode1->isChecked());
    EXPECT_TRUE(w->AutomaticMode());
    for (QWidget* c : percentControls)
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_FALSE(w->edtZoom->hasFocus());
}

TEST(WindowControls, TheKeyFilterPassesDigitsAndControlCharactersOnly)
{
    const struct {
        char32_t key;
        bool passes;
    } keys[] = {
        {'0', true},  {'9', true},  {8, true},     {0x16, true},   {0x03, true},  {0x7F, true},
        {'\r', false}, {0x1B, false}, {'a', false}, {'-', false},   {'.', false},  {' ', false},
        {'+', false}, {U'５', false}, {U'縮', false}, {'/', false}, {':', false},
    };
    for (const auto& k : keys)
        EXPECT_EQ(TfrmMain::edtZoomKeyPress(k.key), k.passes ? k.key : 0) << static_cast<uint32_t>(k.key);
}

// Types one character the way a keyboard layout delivers it, also ones the
// test library's key table does not know.
void Type(QWidget* target, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

TEST(WindowControls, TypingIntoThePercentageKeepsDigitsUpToTwo)
{
    test::WindowPlace place;
    auto w = place.Show();
    w->rbtMode2->click();
    QLineEdit* edit = w->edtZoom;
    QSignalSpy returns(edit, &QLineEdit::returnPressed);
    edit->clear();
    Type(edit, "a-.5x");
    EXPECT_EQ(edit->text(), "5");
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Enter);
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(returns.count(), 0);
    Type(edit, QString::fromUtf8("５5"));
    EXPECT_EQ(edit->text(), "55");
    QTest::keyClick(edit, '7');
    EXPECT_EQ(edit->text(), "55") << "a third digit";
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "5");
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(edit->text(), "");
    // A longer text from the settings shows whole and can be shortened.
    edit->setText("150");
    EXPECT_EQ(edit->text(), "150");
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, '1');
    EXPECT_EQ(edit->text(), "150");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "15");
}

class MessagePanel : public ::testing::Test {
protected:
    std::unique_ptr<TfrmMain> ShowWithTime(const char* time)
    {
        if (time)
            test::WriteText(place.Settings(), std::string("[OPT]\nTime=") + time + "\n");
        return place.Show();
    }
    static bool ShowsIntroduction(const TfrmMain& w)
    {
        return !w.lbl00->isHidden() && w.lbl01->isHidden() && w.lbl02->isHidden() && w.lbl03->isHidden();
    }
    test::WindowPlace place;
};

TEST_F(MessagePanel, TheIntroductionGivesWayToTheThreeHintsAfterTheStoredTime)
{
    auto w = ShowWithTime("60");
    EXPECT_TRUE(ShowsIntroduction(*w));
    const QStringList lines = QString::fromUtf8(texts::kIntroduction).split('\n');
    ASSERT_EQ(lines.size(), 3);
    for (const QString& line : lines)
        EXPECT_TRUE(w->lbl00->text().contains(line.toHtmlEscaped())) << line.toStdString();
    EXPECT_TRUE(lines[0].contains("Kobalto") && lines[0].contains(texts::kPublisherAddress));
    // All three lines show: ink over more than two line heights, none cut
    // at the label's bottom.
    const QImage intro = w->lbl00->grab().toImage();
    int first = -1, last = -1;
    for (int y = 0; y < intro.height(); ++y)
        for (int x = 0; x < intro.width(); ++x)
            if (intro.pixelColor(x, y).red() < 128) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
    EXPECT_GT(last - first, 2 * 15);
    EXPECT_LT(last, intro.height() - 1);
    EXPECT_EQ(w->timMsg->interval(), 60);
    ASSERT_TRUE(test::WaitFor([&] { return w->lbl00->isHidden(); }));
    EXPECT_FALSE(w->timMsg->isActive());
    EXPECT_EQ(w->lbl01->geometry(), QRect(0, 0, 636, 12));
    EXPECT_EQ(w->Label1->geometry(), QRect(0, 12, 636, 7));
    EXPECT_EQ(w->lbl02->geometry(), QRect(0, 19, 636, 21));
    EXPECT_EQ(w->lbl03->geometry(), QRect(0, 39, 636, 12));
    for (QLabel* hint : {w->lbl01, w->lbl02, w->lbl03})
        EXPECT_FALSE(hint->isHidden()) << hint->objectName().toStdString();
}

TEST_F(MessagePanel, AFaceTallerThanTheBoxesGrowsTheLabelsAndThePanelInsteadOfCuttingALine)
{
    test::WriteText(place.Settings(), "[OPT]\nTime=60\n");
    auto w = place.Make();
    // Three introduction lines of 24 pixels cannot fit the 44 pixels left.
    w->lbl00->setFont(MinchoFont(24));
    w->pnlMsg->setFont(MinchoFont(20));
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    EXPECT_GE(w->lbl00->height(), 2 * 24 + QFontMetrics(w->lbl00->font()).ascent());
    EXPECT_GE(w->pnlMsg->height(), w->lbl00->geometry().bottom() + 1);
    // Still centred over the preview.
    EXPECT_EQ(w->pnlMsg->y(), w->imgOut->y() + (w->imgOut->height() - w->pnlMsg->height()) / 2);

    ASSERT_TRUE(test::WaitFor([&] { return w->lbl00->isHidden(); }));
    const int ascent = QFontMetrics(w->lbl01->font()).ascent();
    for (QLabel* hint : {w->lbl01, w->lbl02, w->lbl03}) {
        EXPECT_GE(hint->height(), ascent) << hint->objectName().toStdString();
        EXPECT_LE(hint->geometry().bottom(), w->pnlMsg->height() - 1) << hint->objectName().toStdString();
    }
    EXPECT_LE(w->lbl01->geometry().bottom(), w->lbl02->y());
    EXPECT_LE(w->lbl02->y() + ascent, w->lbl03->y());
    EXPECT_GT(w->pnlMsg->height(), 51);
}

TEST_F(MessagePanel, ATimeOfZeroKeepsTheIntroduction)
{
    for (const char* time : {"0", "-5"}) {
        auto w = ShowWithTime(time);
        QTest::qWait(100);
        EXPECT_TRUE(ShowsIntroduction(*w)) << time;
        EXPECT_FALSE(w->timMsg->isActive()) << time;
    }
}

TEST_F(MessagePanel, WithoutSettingsTheIntroductionStaysTenSeconds)
{
    auto w = ShowWithTime(nullptr);
    EXPECT_TRUE(w->timMsg->isActive());
    EXPECT_EQ(w->timMsg->interval(), 10000);
    EXPECT_TRUE(ShowsIntroduction(*w));
}

}  // namespace
}  // namespace kobalto
