#include <gtest/gtest.h>

#include <QDir>

#include "tests/gui/WindowTestSupport.h"

namespace kobalto {
namespace {

struct DropRecord {
    int num = 0;
    QStringList files;
    QPoint point;
    int events = 0;
};

class FileDrop : public ::testing::Test {
protected:
    void SetUp() override
    {
        target.resize(200, 150);
        target.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&target));
        drop.OnFileDrop = [this](TFileDrop* sender, int num, const QStringList& files, int x, int y) {
            EXPECT_EQ(sender, &drop);
            ++record.events;
            record.num = num;
            record.files = files;
            record.point = {x, y};
        };
    }
    bool Drop(const QList<QUrl>& urls, QPoint point = {40, 60})
    {
        const bool accepted = test::SendDrop(target, urls, point);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        return accepted;
    }

    test::TempDir dir;
    QWidget target;
    TFileDrop drop{&target};
    DropRecord record;
};

TEST_F(FileDrop, ADropOfFilesIsOneEventWithTheLocalPathsInOrderAndThePoint)
{
    // A path far beyond 254 characters arrives whole.
    QString deep = QString::fromStdString(dir.Path());
    for (int i = 0; i < 6; ++i)
        deep += "/" + QString(50, QChar('a' + i));
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString longFile = deep + "/写真 1.bmp";
    ASSERT_GT(longFile.toUtf8().size(), 300);
    const QString folder = QString::fromStdString(dir.Path());
    const QList<QUrl> urls{QUrl::fromLocalFile("/photos/b.bmp"), QUrl("https://example.org/c.bmp"),
                           QUrl::fromLocalFile(longFile), QUrl::fromLocalFile(folder),
                           QUrl::fromLocalFile("/photos/a.bmp")};
    EXPECT_TRUE(Drop(urls, {17, 33}));
    EXPECT_EQ(record.events, 1);
    EXPECT_EQ(record.num, 4);
    EXPECT_EQ(record.files, (QStringList{"/photos/b.bmp", longFile, folder, "/photos/a.bmp"}));
    EXPECT_EQ(record.point, QPoint(17, 33));
}

TEST_F(FileDrop, OnlyDropsThatCarryLocalFilesAreTaken)
{
    EXPECT_FALSE(Drop({QUrl("https://example.org/a.bmp"), QUrl("ftp://example.org/b.bmp")}));
    EXPECT_FALSE(Drop({}));
    EXPECT_EQ(record.events, 0);
}

TEST_F(FileDrop, AcceptSwitchesTheTargetOffAndOnAgain)
{
    drop.SetAccept(false);
    EXPECT_FALSE(target.acceptDrops());
    EXPECT_FALSE(Drop({QUrl::fromLocalFile("/photos/a.bmp")}));
    EXPECT_EQ(record.events, 0);
    drop.SetAccept(true);
    EXPECT_TRUE(target.acceptDrops());
    EXPECT_TRUE(Drop({QUrl::fromLocalFile("/photos/a.bmp")}));
    EXPECT_EQ(record.events, 1);
}

TEST_F(FileDrop, ADropWithNoHandlerIsAcceptedAndDoesNothing)
{
    drop.OnFileDrop = nullptr;
    EXPECT_TRUE(Drop({QUrl::fromLocalFile("/photos/a.bmp")}));
    EXPECT_EQ(record.events, 0);
}

TEST_F(FileDrop, AnErrorInTheHandlerIsShownAndLaterDropsStillWork)
{
    drop.OnFileDrop = [](TFileDrop*, int, const QStringList&, int, int) { throw Exception("壊れたファイル"); };
    {
        test::ErrorBoxWatcher boxes;
        EXPECT_TRUE(Drop({QUrl::fromLocalFile("/photos/a.bmp")}));
        EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"壊れたファイル"});
    }
    int later = 0;
    drop.OnFileDrop = [&](TFileDrop*, int, const QStringList&, int, int) { ++later; };
    EXPECT_TRUE(Drop({QUrl::fromLocalFile("/photos/a.bmp")}));
    EXPECT_EQ(later, 1);
}

TEST_F(FileDrop, AControlTakesTheDropsAndAControlThatGoesTakesThemAlong)
{
    auto* child = new QWidget(&target);
    child->setGeometry(0, 0, 100, 100);
    child->show();
    drop.SetControl(child);
    EXPECT_EQ(drop.Target(), child);
    EXPECT_FALSE(target.acceptDrops());
    EXPECT_TRUE(child->acceptDrops());
    delete child;
    EXPECT_EQ(drop.Target(), nullptr);
    EXPECT_FALSE(drop.Accept());
    drop.SetControl(nullptr);
    EXPECT_EQ(drop.Target(), &target);

    QWidget owner;
    QWidget inner(&owner);
    EXPECT_THROW(TFileDrop{&inner}, Exception);
}

}  // namespace
}  // namespace kobalto
