#include "GlyphAdvances.h"

#include <QChar>

GlyphAdvances::GlyphAdvances(const QRawFont &font)
    : m_font(font)
{
}

void GlyphAdvances::layOut(QStringView text, QList<quint32> &glyphs, QList<qreal> &advances)
{
    glyphs.clear();
    advances.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t code = text[i].unicode();
        if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        const Character &c = character(code);
        if (!glyphs.isEmpty())
            advances.last() += kerning(glyphs.last(), c.glyph);
        glyphs.append(c.glyph);
        advances.append(c.advance);
    }
}

const GlyphAdvances::Character &GlyphAdvances::character(char32_t code)
{
    for (const Character &known : m_characters) {
        if (known.code == code)
            return known;
    }
    const auto units = QChar::fromUcs4(code);
    const QStringView text(units);
    quint32 glyph = 0;
    int count = 1;
    if (!m_font.glyphIndexesForChars(text.data(), int(text.size()), &glyph, &count) || count != 1)
        glyph = 0;
    QPointF advance;
    m_font.advancesForGlyphIndexes(&glyph, &advance, 1);
    m_characters.push_back({code, glyph, advance.x()});
    return m_characters.back();
}

// What the font's kerning adds to the left glyph's advance before the right one.
qreal GlyphAdvances::kerning(quint32 left, quint32 right)
{
    const quint64 key = (quint64(left) << 32) | right;
    const auto known = m_kerning.constFind(key);
    if (known != m_kerning.cend())
        return *known;
    const quint32 pair[2] = {left, right};
    QPointF plain[2];
    QPointF kerned[2];
    m_font.advancesForGlyphIndexes(pair, plain, 2);
    m_font.advancesForGlyphIndexes(pair, kerned, 2, QRawFont::KernedAdvances);
    const qreal value = kerned[0].x() - plain[0].x();
    m_kerning.insert(key, value);
    return value;
}
