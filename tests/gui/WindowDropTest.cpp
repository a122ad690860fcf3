#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>

#include "app/WindowTexts.h"
#include "batch/FormatSizeText.h"
#include "tests/gui/WindowTestSupport.h"

namespace kobalto {
namespace {

constexpr TColor kRed{200, 30, 30};

class WindowDrop : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = place.Show();
        // A client of 649 × 504 gives a preview box of 636 × 480.
        window->resize(649, 504);
        ASSERT_TRUE(test::WaitFor([&] { return window->imgOut->size() == QSize(636, 480); }));
    }

    test::WindowPlace place;
    std::unique_ptr<TfrmMain> window;
};

TEST_F(WindowDrop, ADropRunsTheBatchAndSetsTheCaptionAndThePreview)
{
    // 8 bits per pixel keep the file below 2000 KB: copied, shown unscaled.
    const std::string photo = place.In("photo.bmp");
    TBitmap picture = test::MakeBitmap(1000, 750, [](int, int) { return kRed; });
    picture.SetPixelFormat(TPixelFormat::pf8bit);
    picture.SaveToFile(photo);
    ASSERT_TRUE(test::SendDrop(*window, test::FileUrls({photo})));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);

    const std::string out = place.Out() + "/photo.bmp";
    ASSERT_TRUE(test::FileExists(out));
    EXPECT_EQ(test::ReadBytes(out), test::ReadBytes(photo));
    EXPECT_EQ(window->LastOutputPath(), out);
    const std::string size = FormatSizeText(BytesToKb(static_cast<long long>(test::ReadBytes(photo).size())));
    EXPECT_EQ(window->windowTitle().toStdString(), "photo.bmp ( " + size + " → " + size + " ) - Kobalto");
    EXPECT_TRUE(window->pnlMsg->isHidden());
    EXPECT_EQ(window->PreviewBitmap().Width(), 1000);

    // 1000 × 750 in 636 × 480 is 636 × 477: one white row above, two below.
    const QImage preview = window->imgOut->pixmap().toImage();
    ASSERT_EQ(preview.size(), QSize(636, 480));
    const QColor white(Qt::white);
    for (const int x : {0, 318, 635}) {
        EXPECT_EQ(preview.pixelColor(x, 0), white) << x;
        EXPECT_NE(preview.pixelColor(x, 1), white) << x;
        EXPECT_NE(preview.pixelColor(x, 477), white) << x;
        EXPECT_EQ(preview.pixelColor(x, 478), white) << x;
        EXPECT_EQ(preview.pixelColor(x, 479), white) << x;
    }
}

TEST_F(WindowDrop, ALargeFileIsShrunkAndTheCaptionReportsBothSizes)
{
    // 2,250,054 bytes: above 2000 KB, so the automatic mode scales by
    // 2000 / 2197.3 to 910 × 682.
    const std::string photo = test::SaveBmp(place.In("big.bmp"), 1000, 750, kRed);
    test::DropAndWait(*window, {photo});
    const std::string out = place.Out() + "/big.bmp";
    TBitmap written;
    written.LoadFromFile(out);
    EXPECT_EQ(written.Width(), 910);
    EXPECT_EQ(written.Height(), 682);
    EXPECT_EQ(window->windowTitle().toStdString(),
              "big.bmp ( 2.1MB → " + FormatSizeText(BytesToKb(static_cast<long long>(test::ReadBytes(out).size()))) +
                  " ) - Kobalto");
}

TEST_F(WindowDrop, AnEmptyDropOnlyHidesTheMessagePanel)
{
    const QPixmap before = window->imgOut->pixmap();
    window->FileDrop1FileDrop(window->FileDrop1, 0, {}, 0, 0);
    EXPECT_TRUE(window->pnlMsg->isHidden());
    EXPECT_EQ(window->windowTitle(), "Kobalto");
    EXPECT_TRUE(window->LastOutputPath().empty());
    EXPECT_EQ(window->imgOut->pixmap().toImage(), before.toImage());
    EXPECT_TRUE(QDir(QString::fromStdString(place.Out())).isEmpty());
}

TEST_F(WindowDrop, ThePercentageModeTakesTheBoxAsItIsWhenTheFileComes)
{
    const std::string a = test::SaveBmp(place.In("a.bmp"), 40, 20, kRed);
    window->rbtMode2->click();
    window->edtZoom->setText("5");
    test::DropAndWait(*window, {a});
    EXPECT_EQ(window->edtZoom->text(), "10");
    EXPECT_EQ(window->PreviewBitmap().Width(), 4);
    window->edtZoom->setText("150");
    test::DropAndWait(*window, {a});
    EXPECT_EQ(test::ReadBytes(place.Out() + "/a.bmp"), test::ReadBytes(a));
}

TEST_F(WindowDrop, AFailingFileShowsTheErrorBoxAndTheProgramRunsOn)
{
    const std::string broken = place.In("broken.bmp");
    test::WriteText(broken, "BM not really a bitmap");
    const std::string good = test::SaveBmp(place.In("good.bmp"), 30, 20, kRed);
    {
        test::ErrorBoxWatcher boxes;
        test::DropAndWait(*window, {broken, good});
        ASSERT_EQ(boxes.Texts().size(), 1u);
        EXPECT_EQ(boxes.Texts()[0].rfind(broken + ": ", 0), 0u) << boxes.Texts()[0];
    }
    EXPECT_FALSE(test::FileExists(place.Out() + "/good.bmp"));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    test::DropAndWait(*window, {good});
    EXPECT_TRUE(test::FileExists(place.Out() + "/good.bmp"));
}

TEST_F(WindowDrop, TheWindowRepaintsAndTimersFireBetweenTheFilesOfABatch)
{
    std::vector<std::string> files;
    for (int i = 0; i < 4; ++i)
        files.push_back(test::SaveBmp(place.In("f" + std::to_string(i) + ".bmp"), 300, 200, kRed));
    int ticks = 0, paints = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        window->update();
    });
    timer.start(0);
    struct PaintCounter : QObject {
        int* paints;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                ++*paints;
            return false;
        }
    } counter;
    counter.paints = &paints;
    window->installEventFilter(&counter);
    std::vector<std::pair<int, int>> seen;
    QObject::connect(window.get(), &TfrmMain::fileDone, [&] { seen.emplace_back(ticks, paints); });
    // Measured from inside the batch: the drop is delivered with no event
    // loop running around it.
    test::DropAndWait(*window, files);
    timer.stop();
    ASSERT_EQ(seen.size(), 4u);
    for (size_t i = 1; i < seen.size(); ++i) {
        EXPECT_GT(seen[i].first, seen[i - 1].first) << "no timer between files " << i - 1 << " and " << i;
        EXPECT_GT(seen[i].second, seen[i - 1].second) << "no repaint between files " << i - 1 << " and " << i;
    }
}

TEST_F(WindowDrop, ADropDuringABatchRunsAsANestedBatchToItsEnd)
{
    const std::string a = test::SaveBmp(place.In("a.bmp"), 30, 20, kRed);
    const std::string b = test::SaveBmp(place.In("b.bmp"), 30, 20, kRed);
    const std::string c = test::SaveBmp(place.In("c.bmp"), 30, 20, kRed);
    QDir().mkpath(QString::fromStdString(place.In("other")));
    const std::string n = test::SaveBmp(place.In("other/n.bmp"), 30, 20, kRed);
    std::vector<std::string> order;
    bool dropped = false;
    QObject::connect(window.get(), &TfrmMain::fileDone, [&](const QString& path) {
        order.push_back(path.section('/', -1).toStdString());
        if (!dropped) {
            dropped = true;
            test::SendDrop(*window, test::FileUrls({n}));
        }
    });
    test::DropAndWait(*window, {a, b, c});
    EXPECT_EQ(order, (std::vector<std::string>{"a.bmp", "n.bmp", "b.bmp", "c.bmp"}));
    EXPECT_EQ(window->windowTitle().left(5), "c.bmp");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// Records what the window asks the desktop to open.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    OpenedUrls()
    {
        for (const char* scheme : {"file", "https"})
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~OpenedUrls() override
    {
        for (const char* scheme : {"file", "https"})
            QDesktopServices::unsetUrlHandler(scheme);
    }
    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls.push_back(url); }
};

TEST_F(WindowDrop, DoubleClickingThePreviewOpensTheLastOutputAndTheIntroductionThePublisher)
{
    OpenedUrls opened;
    QTest::mouseDClick(window->imgOut, Qt::LeftButton);
    EXPECT_TRUE(opened.urls.isEmpty()) << "nothing was written yet";

    const std::string a = test::SaveBmp(place.In("a.bmp"), 30, 20, kRed);
    test::DropAndWait(*window, {a});
    QTest::mouseDClick(window->imgOut, Qt::LeftButton);
    ASSERT_EQ(opened.urls.size(), 1);
    EXPECT_EQ(opened.urls[0], QUrl::fromLocalFile(QString::fromStdString(place.Out() + "/a.bmp")));

    // The output went away: nothing to open.
    QFile::remove(QString::fromStdString(place.Out() + "/a.bmp"));
    QTest::mouseDClick(window->imgOut, Qt::LeftButton);
    EXPECT_EQ(opened.urls.size(), 1);

    window->pnlMsg->show();
    QTest::mouseClick(window->lbl00, Qt::LeftButton);
    ASSERT_EQ(opened.urls.size(), 2);
    EXPECT_EQ(opened.urls[1], QUrl(QString::fromUtf8(texts::kPublisherAddress)));
}

}  // namespace
}  // namespace kobalto

#include "WindowDropTest.moc"
