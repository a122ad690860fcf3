#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>

#include "app/Settings.h"
#include "tests/gui/WindowTestSupport.h"

namespace kobalto {
namespace {

class WindowSettingsFile : public ::testing::Test {
protected:
    std::unique_ptr<TfrmMain> ShowWith(const std::string& ini)
    {
        test::WriteText(place.Settings(), ini);
        return place.Show();
    }
    static QRect Area(const TfrmMain& w) { return w.screen()->availableGeometry(); }

    test::WindowPlace place;
};

TEST_F(WindowSettingsFile, AfterACloseTheFileHoldsAllEightKeysInWriteOrder)
{
    auto w = place.Show();
    w->move(30, 40);
    w->resize(600, 450);
    ASSERT_TRUE(test::WaitFor([&] { return w->pos() == QPoint(30, 40) && w->size() == QSize(600, 450); }));
    w->rbtMode2->click();
    w->edtZoom->setText("55");
    EXPECT_TRUE(w->close());
    EXPECT_EQ(test::ReadText(place.Settings()),
              "[MAIN]\nTop=40\nLeft=30\nWidth=600\nHeight=450\nMaxim=0\n[OPT]\nTime=2000\nZoom=55\nMode=1\n");

    // The next show puts everything back.
    auto again = place.Show();
    EXPECT_EQ(again->pos(), QPoint(30, 40));
    EXPECT_EQ(again->size(), QSize(600, 450));
    EXPECT_TRUE(again->rbtMode2->isChecked());
    EXPECT_EQ(again->edtZoom->text(), "55");
    EXPECT_EQ(again->timMsg->interval(), 2000);
}

TEST_F(WindowSettingsFile, AFileReadElsewhereIsLeftAloneAndHandQuotedValuesReadBare)
{
    const std::string beside = place.In("beside.ini");
    test::WriteText(beside, "[OPT]\nMode=\"1\"\nZoom=\"50\"\n");
    TfrmMain w(TfrmMain::Places{place.Out(), place.Settings(), beside});
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_TRUE(w.rbtMode2->isChecked());
    EXPECT_EQ(w.edtZoom->text(), "50");
    EXPECT_TRUE(w.close());
    EXPECT_EQ(test::ReadText(beside), "[OPT]\nMode=\"1\"\nZoom=\"50\"\n");
    EXPECT_NE(test::ReadText(place.Settings()).find("Zoom=50\n"), std::string::npos);
}

TEST_F(WindowSettingsFile, WithoutAFileTheWindowOpensCentredInTheAutomaticMode)
{
    auto w = place.Show();
    const QRect area = Area(*w);
    EXPECT_EQ(w->size(), QSize(670, 542));
    EXPECT_EQ(w->pos(), QPoint(area.left() + (area.width() - 670) / 2, area.top() + (area.height() - 542) / 2));
    EXPECT_TRUE(w->rbtMode1->isChecked());
    EXPECT_EQ(w->edtZoom->text(), "80");
    EXPECT_FALSE(w->isMaximized());
}

TEST_F(WindowSettingsFile, StoredPlacesAreReadAndFittedIntoTheFreeArea)
{
    const struct {
        const char* ini;
        // Expected position and size; INT_MIN: centred, INT_MAX: against the
        // area's right or bottom edge.
        int left, top, width, height;
    } cases[] = {
        {"[MAIN]\nTop=0x40\nLeft=10\n", 10, 64, 670, 542},
        {"[main]\ntop=abc\nleft=12\n", 12, INT_MIN, 670, 542},
        {"[MAIN]\nLeft=5000\nTop=5000\n", INT_MAX, INT_MAX, 670, 542},
        {"[MAIN]\nLeft=-30\nTop=-5\n", 0, 0, 670, 542},
        {"[MAIN]\nLeft=0\nTop=0\nWidth=100\nHeight=50\n", 0, 0, 475, 396},
        {"[MAIN]\nLeft=20\nTop=10\nWidth=500\nHeight=400\n", 20, 10, 500, 400},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ini);
        auto w = ShowWith(c.ini);
        const QRect area = Area(*w);
        const int left = c.left == INT_MAX ? area.right() + 1 - c.width : c.left;
        const int top = c.top == INT_MAX   ? area.bottom() + 1 - c.height
                        : c.top == INT_MIN ? area.top() + (area.height() - c.height) / 2
                                           : c.top;
        EXPECT_EQ(w->pos(), QPoint(left, top));
        EXPECT_EQ(w->size(), QSize(c.width, c.height));
    }
}

TEST_F(WindowSettingsFile, ModeAndALongPercentageComeBackAsStored)
{
    auto w = ShowWith("[OPT]\nMode=1\nZoom=150\n");
    EXPECT_TRUE(w->rbtMode2->isChecked());
    EXPECT_TRUE(w->edtZoom->isEnabled());
    EXPECT_EQ(w->edtZoom->text(), "150");
    w = ShowWith("[OPT]\nZoom=\n");
    EXPECT_TRUE(w->rbtMode1->isChecked());
    EXPECT_EQ(w->edtZoom->text(), "");
}

TEST_F(WindowSettingsFile, AMaximisedWindowStoresItsNormalRectangle)
{
    auto w = ShowWith("[MAIN]\nTop=30\nLeft=20\nWidth=500\nHeight=400\nMaxim=1\n");
    ASSERT_TRUE(test::WaitFor([&] { return w->isMaximized(); }));
    EXPECT_TRUE(w->close());
    EXPECT_EQ(test::ReadText(place.Settings()),
              "[MAIN]\nTop=30\nLeft=20\nWidth=500\nHeight=400\nMaxim=1\n[OPT]\nTime=2000\nZoom=80\nMode=0\n");
}

TEST_F(WindowSettingsFile, AFailedWriteShowsTheErrorAndKeepsTheWindowOpen)
{
    // A file stands where the settings' folder should be.
    test::WriteText(place.In("blocked"), "");
    const std::string ini = place.In("blocked") + "/kobalto.ini";
    auto w = place.Show(ini);
    {
        test::ErrorBoxWatcher boxes;
        EXPECT_FALSE(w->close());
        ASSERT_EQ(boxes.Texts().size(), 1u);
        EXPECT_EQ(boxes.Texts()[0], ini + " に書き込めません");
    }
    EXPECT_TRUE(w->isVisible());
    // The next close tries again from the first value.
    ASSERT_TRUE(QFile::remove(QString::fromStdString(place.In("blocked"))));
    EXPECT_TRUE(w->close());
    EXPECT_NE(test::ReadText(ini).find("Top="), std::string::npos);
}

TEST(WindowSettingsLoad, APlaceOnAnotherScreenIsFittedIntoThatScreen)
{
    test::TempDir dir;
    const std::string ini = dir.File("s.ini");
    const ScreenArea first{0, 0, 1920, 1040}, second{1920, 30, 3200, 1024};
    const auto areaAt = [&](int x, int) { return x >= 1920 ? second : first; };
    const struct {
        const char* ini;
        WindowRect expected;
    } cases[] = {
        {"[MAIN]\nLeft=2000\nTop=0\n", {2000, 30, 670, 542}},
        {"[MAIN]\nLeft=3000\nTop=900\n", {2530, 482, 670, 542}},
        {"[MAIN]\nLeft=100\nTop=900\nWidth=2500\nHeight=1200\n", {-580, -160, 2500, 1200}},
        {"", {625, 249, 670, 542}},
        {"[MAIN]\nLeft=0\nTop=0\nWidth=99999999\nHeight=0x7fffffff\n", {1920 - 32767, 1040 - 32767, 32767, 32767}},
    };
    for (const auto& c : cases) {
        test::WriteText(ini, c.ini);
        const WindowRect r = LoadWindowSettings(ini, 670, 542, first, areaAt).rect;
        EXPECT_EQ(r.left, c.expected.left) << c.ini;
        EXPECT_EQ(r.top, c.expected.top) << c.ini;
        EXPECT_EQ(r.width, c.expected.width) << c.ini;
        EXPECT_EQ(r.height, c.expected.height) << c.ini;
    }
}

}  // namespace
}  // namespace kobalto
