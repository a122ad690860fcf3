#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QRegularExpression>
#include <QSet>

#include "imaging/Extension.h"
#include "tests/gui/WindowTestSupport.h"

namespace kobalto {
namespace {

TEST(DesktopEntry, PassesTheValidatorAndNamesTheProgramAndItsIcon)
{
    const std::string entry = std::string(KOBALTO_APP_DIR) + "/kobalto.desktop";
    if (!test::HaveTool("desktop-file-validate"))
        GTEST_SKIP() << "desktop-file-validate is not installed";
    std::string report;
    EXPECT_EQ(test::RunCommand("desktop-file-validate '" + entry + "' 2>&1", &report), 0) << report;
    EXPECT_EQ(report, "");
    const auto bytes = test::ReadBytes(entry);
    const std::string text(bytes.begin(), bytes.end());
    // %F: a file manager's "Open With" passes the chosen files.
    EXPECT_NE(text.find("\nExec=kobalto %F\n"), std::string::npos);
    EXPECT_NE(text.find("\nIcon=kobalto\n"), std::string::npos);
}

TEST(DesktopEntry, OffersTheProgramForTheTypeOfEveryAcceptedExtension)
{
    // The shared MIME database's globs: "weight:type:*.ext".
    const std::string globs = "/usr/share/mime/globs2";
    if (!test::FileExists(globs))
        GTEST_SKIP() << "no shared MIME database at " << globs;
    QSet<QString> known;
    const QStringList extensions = QString(kExtensionsWithIcons).split(';');
    for (const QString& line : QString::fromStdString(test::ReadText(globs)).split('\n')) {
        const QStringList parts = line.split(':');
        if (parts.size() >= 3 && parts[2].startsWith("*.") && extensions.contains(parts[2].mid(1)))
            known.insert(parts[1]);
    }
    ASSERT_FALSE(known.isEmpty());
    const QString entry = QString::fromStdString(test::ReadText(std::string(KOBALTO_APP_DIR) + "/kobalto.desktop"));
    const QRegularExpressionMatch line = QRegularExpression("\nMimeType=(.*);\n").match(entry);
    ASSERT_TRUE(line.hasMatch());
    const QStringList offered = line.captured(1).split(';');
    for (const QString& type : known)
        EXPECT_TRUE(offered.contains(type)) << type.toStdString();
}

TEST(DesktopEntry, TheMetainfoPassesTheValidatorAndNamesTheEntryAndTheVersion)
{
    if (!test::HaveTool("appstreamcli"))
        GTEST_SKIP() << "appstreamcli is not installed";
    std::string report;
    EXPECT_EQ(test::RunCommand("appstreamcli validate --no-net --pedantic '" KOBALTO_METAINFO_PATH "' 2>&1", &report), 0)
        << report;
    const auto bytes = test::ReadBytes(KOBALTO_METAINFO_PATH);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("<launchable type=\"desktop-id\">kobalto.desktop</launchable>"), std::string::npos);
    EXPECT_TRUE(test::FileExists(std::string(KOBALTO_APP_DIR) + "/kobalto.desktop"));
    EXPECT_NE(text.find("<release version=\"" KOBALTO_VERSION "\""), std::string::npos);
}

TEST(DesktopEntry, TheIconIs32By32In16ColoursAndTheWindowCarriesIt)
{
    const QImage file(QStringLiteral(KOBALTO_APP_DIR "/icons/kobalto-32.png"));
    ASSERT_FALSE(file.isNull());
    EXPECT_EQ(file.size(), QSize(32, 32));
    QSet<QRgb> colours;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            colours.insert(file.pixel(x, y));
    EXPECT_LE(colours.size(), 16);
    // The copy built into the program is the same picture.
    const QImage built = QIcon(QStringLiteral(":/icons/kobalto-32.png")).pixmap(32, 32).toImage();
    EXPECT_EQ(built.convertToFormat(QImage::Format_ARGB32), file.convertToFormat(QImage::Format_ARGB32));
}

}  // namespace
}  // namespace kobalto
