#include "app/Fonts.h"

#include <QFontDatabase>
#include <QFontMetrics>

namespace kobalto {

QString PickJapaneseFamily(const QStringList& candidates)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString& wanted : candidates)
        for (const QString& family : installed)
            if (family.compare(wanted, Qt::CaseInsensitive) == 0)
                return family;
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    if (!japanese.isEmpty())
        return japanese.front();
    return candidates.isEmpty() ? QString() : candidates.front();
}

bool HaveJapaneseFont()
{
    return !QFontDatabase::families(QFontDatabase::Japanese).isEmpty();
}

namespace {

QFont JapaneseFont(const QStringList& candidates, int pixelSize)
{
    QFont font(PickJapaneseFamily(candidates));
    font.setPixelSize(pixelSize);
    return font;
}

}  // namespace

QFont GothicFont(int pixelSize)
{
    return JapaneseFont({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
                         QStringLiteral("IPA Pゴシック")},
                        pixelSize);
}

QFont MinchoFont(int pixelSize)
{
    return JapaneseFont({QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("MS PMincho"), QStringLiteral("IPAPMincho"),
                         QStringLiteral("IPA P明朝")},
                        pixelSize);
}

QFont FontForCellHeight(QFont font, int cellHeight)
{
    for (int size = cellHeight; size > 1; --size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).height() <= cellHeight)
            return font;
    }
    font.setPixelSize(1);
    return font;
}

}  // namespace kobalto
