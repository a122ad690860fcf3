#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QHash>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>
#include <QTextDocument>
#include <cmath>

#include "tests/gui/WindowTestSupport.h"
#include "tests/gui/screen/Screen.h"

namespace kobalto {
namespace {

// How far each pixel of an area stands from the area's background (its
// commonest colour), from 0 to 1.
struct InkMap {
    int width = 0, height = 0;
    std::vector<double> ink;
    double At(int x, int y) const { return ink[static_cast<size_t>(y) * width + x]; }
};

// Ink is scaled to the area's strongest, so that a disabled control's grey
// text counts as fully as black text.
InkMap InkOf(const QImage& image, const QRect& area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y) & 0xFFFFFF];
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.begin(); it != counts.end(); ++it)
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    InkMap map{area.width(), area.height(), {}};
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            const int d = std::max({std::abs(qRed(c) - qRed(background)), std::abs(qGreen(c) - qGreen(background)),
                                    std::abs(qBlue(c) - qBlue(background))});
            map.ink.push_back(d / 255.0);
        }
    const double strongest = *std::max_element(map.ink.begin(), map.ink.end());
    if (strongest > 0)
        for (double& v : map.ink)
            v /= strongest;
    return map;
}

// The box a face draws for a character it lacks, as ink, cropped to the box
// with a pixel of margin so that its empty inside counts too. An unassigned
// code point has a glyph in no face.
InkMap MissingGlyphBox(const QFont& font)
{
    const int size = 3 * QFontMetrics(font).height();
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(size / 3, 2 * size / 3), QString(QChar(0x0378)));
    }
    QRect box;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (qGray(image.pixel(x, y)) < 200)
                box |= QRect(x, y, 1, 1);
    if (box.isEmpty())
        return {};
    return InkOf(image, box.adjusted(-1, -1, 1, 1).intersected(image.rect()));
}

// The highest normalised correlation of the box with any place of the area.
double BoxLikeness(const InkMap& area, const InkMap& box)
{
    const int n = box.width * box.height;
    if (n == 0 || box.width > area.width || box.height > area.height)
        return 0;
    double boxMean = 0;
    for (double v : box.ink)
        boxMean += v;
    boxMean /= n;
    double boxVar = 0;
    for (double v : box.ink)
        boxVar += (v - boxMean) * (v - boxMean);
    double best = 0;
    for (int top = 0; top + box.height <= area.height; ++top)
        for (int left = 0; left + box.width <= area.width; ++left) {
            double mean = 0;
            for (int y = 0; y < box.height; ++y)
                for (int x = 0; x < box.width; ++x)
                    mean += area.At(left + x, top + y);
            mean /= n;
            double cross = 0, var = 0;
            for (int y = 0; y < box.height; ++y)
                for (int x = 0; x < box.width; ++x) {
                    const double a = area.At(left + x, top + y) - mean;
                    cross += a * (box.At(x, y) - boxMean);
                    var += a * a;
                }
            if (var > 0 && boxVar > 0)
                best = std::max(best, cross / std::sqrt(var * boxVar));
        }
    return best;
}

// The lines of text in an area: runs of rows whose strong ink is at least
// a sixth of the fullest row's; a descender's few pixels do not join two.
struct Lines {
    int count = 0;
    int lastInkRow = -1;
};

Lines LinesOf(const InkMap& area)
{
    std::vector<int> perRow(static_cast<size_t>(area.height), 0);
    for (int y = 0; y < area.height; ++y)
        for (int x = 0; x < area.width; ++x)
            if (area.At(x, y) >= 0.5)
                ++perRow[static_cast<size_t>(y)];
    const int fullest = *std::max_element(perRow.begin(), perRow.end());
    Lines lines;
    bool inLine = false;
    for (int y = 0; y < area.height; ++y) {
        const int n = perRow[static_cast<size_t>(y)];
        if (n > 0)
            lines.lastInkRow = y;
        const bool text = fullest > 0 && n * 6 >= fullest;
        if (text && !inLine)
            ++lines.count;
        inLine = text;
    }
    return lines;
}

// The row below the lowest the label's text inks when drawn unclipped, on
// its own and not by the label: where the label's bottom must be at least.
int InkBottomUnclipped(const QLabel& label)
{
    const int height = 4 * label.height() + 4 * QFontMetrics(label.font()).height();
    QImage image(label.width(), height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QTextDocument document;
        document.setDocumentMargin(0);
        document.setDefaultFont(label.font());
        document.setTextWidth(label.width());
        document.setDefaultTextOption(QTextOption(Qt::AlignHCenter));
        if (Qt::mightBeRichText(label.text()))
            document.setHtml(label.text());
        else
            document.setPlainText(label.text());
        document.drawContents(&painter);
    }
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != QColor(Qt::white).rgb())
                return y + 1;
    return 0;
}

QString PlainText(const QWidget* control)
{
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return button->text();
    return qobject_cast<const QLabel*>(control)->text();
}

QImage GrabScreen()
{
    // Let the window's last paint reach the server first.
    QTest::qWait(300);
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

// Each control shows its text on screen, in as many lines as it has, none
// cut at the bottom of what shows of the control, and no character as the
// box a face draws for a character it lacks.
void ExpectTextsSeen(const QImage& screen, const std::vector<QWidget*>& controls, const char* when)
{
    for (QWidget* control : controls) {
        SCOPED_TRACE(std::string(when) + ": " + control->objectName().toStdString());
        // What shows of the control: its parents clip it.
        QRect shown(control->mapToGlobal(QPoint(0, 0)), control->size());
        for (QWidget* p = control->parentWidget(); p; p = p->parentWidget())
            shown &= QRect(p->mapToGlobal(QPoint(0, 0)), p->size());
        ASSERT_FALSE(shown.isEmpty());
        const InkMap ink = InkOf(screen, shown);
        const Lines lines = LinesOf(ink);
        const QString text = PlainText(control);
        const int expectedLines = static_cast<int>(text.count(QStringLiteral("<br>")) + text.count('\n')) + 1;
        EXPECT_EQ(lines.count, expectedLines) << "lines seen of " << text.toStdString();
        if (const auto* label = qobject_cast<const QLabel*>(control)) {
            const int bottom = InkBottomUnclipped(*label);
            EXPECT_LE(bottom, ink.height) << "the text is cut at the bottom";
            EXPECT_NEAR(lines.lastInkRow + 1, bottom, 1) << "the screen shows other text than the label holds";
        }
        // A box may be taller than a tight label: search a little around it.
        const QRect around = shown.adjusted(-2, -4, 2, 4).intersected(screen.rect());
        const double likeness = BoxLikeness(InkOf(screen, around), MissingGlyphBox(control->font()));
        // Drawn glyphs stay below 0.5; boxes at fractional places reach 0.85.
        EXPECT_LT(likeness, 0.7) << "a character shows as a missing-glyph box (likeness " << likeness << ")";
    }
}

TEST(RealScreen, TheWindowWritesItsJapaneseTextsWholeBeforeAndAfterADrop)
{
    KOBALTO_SKIP_WITHOUT_SCREEN();
    test::WindowPlace place;
    test::WriteText(place.Settings(), "[MAIN]\nTop=0\nLeft=0\n[OPT]\nTime=1500\n");
    auto w = place.Show();
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    ASSERT_FALSE(w->lbl00->isHidden());
    const std::vector<QWidget*> modeBar = {w->rbtMode1, w->rbtMode2, w->lblZoom};
    std::vector<QWidget*> atStart = modeBar;
    atStart.push_back(w->lbl00);
    ExpectTextsSeen(GrabScreen(), atStart, "at start");

    ASSERT_TRUE(test::WaitFor([&] { return w->lbl00->isHidden(); }, 10000));
    ExpectTextsSeen(GrabScreen(), {w->lbl01, w->lbl02, w->lbl03}, "with the hints");

    const std::string photo = test::SaveBmp(place.In("photo.bmp"), 300, 200, TColor{200, 80, 40});
    test::DropAndWait(*w, {photo});
    ASSERT_TRUE(w->pnlMsg->isHidden());
    const QImage after = GrabScreen();
    ExpectTextsSeen(after, modeBar, "after a drop");
    // The preview shows the dropped picture.
    const QPoint middle = w->imgOut->mapToGlobal(w->imgOut->rect().center());
    EXPECT_EQ(QColor(after.pixel(middle)), QColor(200, 80, 40));
}

}  // namespace
}  // namespace kobalto
