#pragma once

#include <QFont>
#include <QHash>
#include <QList>
#include <QRawFont>
#include <QRectF>
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

    struct Glyph {
        quint32 index;
        int font;      // 0 the font itself, then the fallback fonts
        qreal advance; // the pen's advance after it, kerned with the glyph that follows
        QRectF ink;    // where it draws, from the pen's position on the baseline
    };
    // One glyph per character of text (a surrogate pair is one character), kerned with the
    // glyph that follows it in the same font. Fills glyphs anew, keeping its capacity.
    void layOut(QStringView text, QList<Glyph> &glyphs);

private:
    struct Character {
        char32_t code;
        Glyph glyph;
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
