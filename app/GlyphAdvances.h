#pragma once

#include <QFont>
#include <QHash>
#include <QList>
#include <QRawFont>
#include <QStringView>
#include <optional>
#include <vector>

// The glyphs, advances and kerning of the characters a window's lines are made of, asked of
// the font once each. Asking the font for advances replaces the glyphs it has rendered with
// bare metrics, so laying out every new figure through it would have each repaint rasterise
// the same glyphs anew.
//
// Given the window's font with font merging on, a character the font lacks (a French, Persian
// or Arabic separator in Liberation Sans) comes from the fallback font Qt's text layout would
// take it from, found once per character.
class GlyphAdvances {
public:
    explicit GlyphAdvances(const QRawFont &font = QRawFont(),
                           const std::optional<QFont> &fallbackFrom = std::nullopt);

    const QRawFont &font() const { return m_font; }
    // The font a glyph of layOut's comes from: 0 the font itself, then the fallback fonts.
    const QRawFont &font(int index) const;

    // One glyph per character of text (a surrogate pair is one character), and the pen's
    // advance after each, kerned with the glyph that follows it in the same font. fonts, when
    // asked for, gets the font of each glyph; without fallback fonts all are 0.
    void layOut(QStringView text, QList<quint32> &glyphs, QList<qreal> &advances,
                QList<int> *fonts = nullptr);

private:
    struct Character {
        char32_t code;
        int font;
        quint32 glyph;
        qreal advance;
    };
    const Character &character(char32_t code);
    int fallbackFor(char32_t code);
    qreal kerning(quint32 left, quint32 right);

    QRawFont m_font;
    std::optional<QFont> m_fallbackFrom;
    std::vector<QRawFont> m_fallbacks;
    std::vector<Character> m_characters; // a few dozen at most: labels, digits, separators
    QHash<quint64, qreal> m_kerning;     // of the font itself; fallback glyphs are rare
};
