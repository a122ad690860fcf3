#pragma once
// The vertical banner along the window's left edge.
#include <QColor>
#include <QRect>
#include <QString>

class QPainter;
class QFont;

namespace kobalto {

inline const QColor kNavy(0, 0, 128);

// The strip the banner fills, in client coordinates: from 3 pixels below the
// top to the bottom, 16 pixels wide. The panel beside it covers its right
// edge.
QRect BannerStrip(int clientHeight);

// Fills the strip navy and draws text in white bold italic Arial with a cell
// height of size pixels, reading upward from the strip's bottom; baseFont
// gives the other properties. Called while the window paints.
void PaintBanner(QPainter& painter, const QFont& baseFont, int clientHeight, const QString& text, int size);

}  // namespace kobalto
