#include "GlyphAdvances.h"

#include <QChar>
#include <QTextLayout>

GlyphAdvances::GlyphAdvances(const QRawFont &font, const std::optional<QFont> &fallbackFrom)
    : m_font(font)
    , m_fallbackFrom(fallbackFrom)
{
}

const QRawFont &GlyphAdvances::font(int index) const
{
    return index == 0 ? m_font : m_fallbacks.at(size_t(index - 1));
}

void GlyphAdvances::layOut(QStringView text, QList<Glyph> &glyphs)
{
    glyphs.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t code = text[i].unicode();
        if (QChar::isHighSurrogate(code) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        const Glyph &glyph = character(code).glyph;
        if (glyph.font == 0 && !glyphs.isEmpty() && glyphs.last().font == 0)
            glyphs.last().advance += kerning(glyphs.last().index, glyph.index);
        glyphs.append(glyph);
    }
}

// Its glyph, advance and ink, asked of the font the first time the character is met.
const GlyphAdvances::Character &GlyphAdvances::character(char32_t code)
{
    for (const Character &known : m_characters) {
        if (known.code == code)
            return known;
    }
    const auto units = QChar::fromUcs4(code);
    const QStringView text(units);
    const int index = m_fallbackFrom && !m_font.supportsCharacter(code) ? fallbackFor(code) : 0;
    const QRawFont &raw = font(index);
    quint32 glyph = 0;
    int count = 1;
    if (!raw.glyphIndexesForChars(text.data(), int(text.size()), &glyph, &count) || count != 1)
        glyph = 0;
    QPointF advance;
    raw.advancesForGlyphIndexes(&glyph, &advance, 1);
    m_characters.push_back({code, {glyph, index, advance.x(), raw.boundingRect(glyph)}});
    return m_characters.back();
}

// The font Qt's own text layout draws the character in; the font itself when Qt finds none.
int GlyphAdvances::fallbackFor(char32_t code)
{
    QTextLayout layout(QString::fromUcs4(&code, 1), *m_fallbackFrom);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (runs.isEmpty() || !runs.first().rawFont().supportsCharacter(uint(code)))
        return 0;
    const QRawFont found = runs.first().rawFont();
    for (size_t i = 0; i < m_fallbacks.size(); ++i) {
        if (m_fallbacks[i] == found)
            return int(i + 1);
    }
    m_fallbacks.push_back(found);
    return int(m_fallbacks.size());
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
