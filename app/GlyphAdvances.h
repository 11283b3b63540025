#pragma once

#include <QHash>
#include <QList>
#include <QRawFont>
#include <QStringView>
#include <vector>

// The glyphs, advances and kerning of the characters a window's lines are made of, asked of
// the font once each. Asking the font for advances replaces the glyphs it has rendered with
// bare metrics, so laying out every new figure through it would have each repaint rasterise
// the same glyphs anew.
class GlyphAdvances {
public:
    explicit GlyphAdvances(const QRawFont &font = QRawFont());

    const QRawFont &font() const { return m_font; }

    // One glyph per character of text (a surrogate pair is one character), and the pen's
    // advance after each, kerned with the glyph that follows it.
    void layOut(QStringView text, QList<quint32> &glyphs, QList<qreal> &advances);

private:
    struct Character {
        char32_t code;
        quint32 glyph;
        qreal advance;
    };
    const Character &character(char32_t code);
    qreal kerning(quint32 left, quint32 right);

    QRawFont m_font;
    std::vector<Character> m_characters; // a few dozen at most: labels, digits, separators
    QHash<quint64, qreal> m_kerning;
};
