#include "app/PaintBanner.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include "app/Fonts.h"

namespace kobalto {

namespace {

// The strip's place below the window's top edge and its right edge, both
// measured from the client area.
constexpr int kStripTop = 3;
constexpr int kStripWidth = 16;

}  // namespace

QRect BannerStrip(int clientHeight)
{
    return QRect(0, kStripTop, kStripWidth, std::max(0, clientHeight + 1 - kStripTop));
}

void PaintBanner(QPainter& painter, const QFont& baseFont, int clientHeight, const QString& text, int size)
{
    const QRect strip = BannerStrip(clientHeight);
    painter.save();
    painter.setClipRect(strip);
    painter.fillRect(strip, kNavy);

    QFont font(baseFont);
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setBold(true);
    font.setItalic(true);
    font = FontForCellHeight(font, size);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // One line whose cell stands on the strip's bottom, turned a quarter to
    // the left: the text runs upward and its cell spans the strip's width.
    painter.translate(strip.left(), strip.top() + strip.height() - size);
    painter.rotate(-90);
    painter.drawText(QPoint(0, QFontMetrics(font).ascent()), text);
    painter.restore();
}

}  // namespace kobalto
