#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QRawFont>

#include "app/BitmapToQImage.h"
#include "app/Fonts.h"
#include "graphics/TBitmap.h"
#include "tests/support/TestSupport.h"

namespace kobalto {
namespace {

TEST(BitmapToQImage, EveryPixelKeepsItsColourAndPlace)
{
    for (const TPixelFormat format : {TPixelFormat::pf24bit, TPixelFormat::pf32bit, TPixelFormat::pf8bit}) {
        // Odd widths pad their rows; the top row must come out on top.
        for (const int width : {1, 3, 7}) {
            TBitmap b = test::PatternBitmap(width, 5);
            b.SetPixelFormat(format);
            const QImage image = BitmapToQImage(b);
            ASSERT_EQ(image.size(), QSize(width, 5));
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < width; ++x) {
                    const TColor c = b.Pixel(x, y);
                    ASSERT_EQ(image.pixelColor(x, y), QColor(c.red, c.green, c.blue))
                        << static_cast<int>(format) << " " << x << "," << y;
                }
        }
    }
    EXPECT_TRUE(BitmapToQImage(TBitmap()).isNull());
}

TEST(Fonts, InstalledFacesAreFoundWithoutCaseAndJapaneseIsAlwaysCovered)
{
    const QStringList installed = QFontDatabase::families();
    ASSERT_FALSE(installed.isEmpty());
    EXPECT_EQ(PickJapaneseFamily({"No Such Face", installed.front().toUpper()}), installed.front());
    const QString fallback = PickJapaneseFamily({"No Such Face"});
    if (!QFontDatabase::families(QFontDatabase::Japanese).isEmpty()) {
        EXPECT_TRUE(QFontDatabase::writingSystems(fallback).contains(QFontDatabase::Japanese));
    }
    for (const QFont& font : {GothicFont(12), MinchoFont(15)}) {
        const QRawFont raw = QRawFont::fromFont(font, QFontDatabase::Japanese);
        ASSERT_TRUE(raw.isValid());
        EXPECT_TRUE(raw.supportsCharacter(U'縮')) << raw.familyName().toStdString();
    }
}

TEST(Fonts, ACellHeightGivesTheLargestFontThatFits)
{
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setItalic(true);
    for (const int cell : {12, 20}) {
        const QFont fitted = FontForCellHeight(font, cell);
        EXPECT_LE(QFontMetrics(fitted).height(), cell);
        QFont bigger(fitted);
        bigger.setPixelSize(fitted.pixelSize() + 1);
        EXPECT_GT(QFontMetrics(bigger).height(), cell);
        EXPECT_TRUE(fitted.bold() && fitted.italic());
    }
}

}  // namespace
}  // namespace kobalto
