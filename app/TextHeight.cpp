#include "app/TextHeight.h"

#include <QFontMetrics>
#include <algorithm>
#include <QImage>
#include <QLabel>

namespace kobalto {

int InkedTextHeight(const QLabel& label)
{
    if (label.text().isEmpty() || label.width() <= 0)
        return 0;
    // A twin of the label, tall enough for any line a face could push down,
    // drawn on a transparent image: every touched pixel is ink.
    QLabel twin;
    twin.setFont(label.font());
    twin.setTextFormat(label.textFormat());
    twin.setAlignment(label.alignment());
    twin.setWordWrap(label.wordWrap());
    twin.setMargin(label.margin());
    twin.setIndent(label.indent());
    twin.setText(label.text());
    const int lines = static_cast<int>(label.text().count('\n') + label.text().count(QStringLiteral("<br>"))) + 1;
    const int tall = std::max(label.height(), twin.heightForWidth(label.width())) + 2 * lines * QFontMetrics(label.font()).height();
    twin.resize(label.width(), tall);
    QImage image(twin.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    twin.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    for (int y = image.height() - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(row[x]) != 0)
                return y + 1;
    }
    return 0;
}

}  // namespace kobalto
