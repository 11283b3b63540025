#include "FontObject.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {
// Weights are 100..900 in steps of 100; Qt 6 uses the same scale.
QFont::Weight qtWeight(int weight)
{
    return QFont::Weight(std::clamp(weight, 1, 1000));
}
} // namespace

QFont FontObject::toQFont() const
{
    QFont font(Name);
    if (std::isfinite(Size) && Size > 0)
        font.setPointSizeF(Size);
    font.setWeight(qtWeight(Bold ? std::max<int>(Weight, 700) : Weight));
    font.setItalic(Italic);
    font.setUnderline(Underline);
    font.setStrikeOut(Strikethrough);
    return font;
}

FontObject FontObject::fromQFont(const QFont &font)
{
    FontObject f;
    f.Name = font.family();
    f.Size = float(font.pointSizeF());
    f.Weight = qint16(font.weight());
    f.Bold = font.weight() >= QFont::Bold;
    f.Italic = font.italic();
    f.Underline = font.underline();
    f.Strikethrough = font.strikeOut();
    return f;
}

void installFontSubstitutions()
{
    const QStringList sansTwins{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("Nimbus Sans")};
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sansTwins);
    QFont::insertSubstitutions(QStringLiteral("Arial"), sansTwins);
}
