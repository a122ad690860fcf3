#pragma once
// The window's fonts. The Japanese faces are taken where installed, else
// their metric-compatible equivalents, else any font with Japanese glyphs,
// so the texts never show as boxes.
#include <QFont>
#include <QStringList>

namespace kobalto {

// The first installed family of candidates (compared without case), else an
// installed family that writes Japanese, else the first candidate.
QString PickJapaneseFamily(const QStringList& candidates);

// True when some installed family writes Japanese; without one the
// window's texts show as boxes.
bool HaveJapaneseFont();

// Proportional gothic and mincho faces; pixelSize is the character height.
QFont GothicFont(int pixelSize);
QFont MinchoFont(int pixelSize);

// The font at the largest pixel size whose cell (ascent plus descent) is at
// most cellHeight pixels.
QFont FontForCellHeight(QFont font, int cellHeight);

}  // namespace kobalto
