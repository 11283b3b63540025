#pragma once

#include "GlyphAdvances.h"

#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringView>
#include <array>
#include <optional>

class QPainter;
class QPaintDevice;

// The monitor's lines of text, one below the other from the top of the area they are drawn in,
// each laid out once when its text changes and drawn again from that layout at every paint.
//
// A line the font covers whole is placed from the font's own glyphs and kerning, without text
// shaping. A character the font lacks (French, Persian and Arabic separators are missing from
// Liberation Sans) is drawn from the fallback font Qt's text layout takes it from, so no line
// shows a missing-glyph box. Glyphs stand on quarter pixels: each is rasterised in at most four
// ways, once, instead of anew for every fraction of a pixel a new figure puts it on.
class MonitorLines {
public:
    static constexpr int MaxLines = 3;

    // device gives the resolution the font is measured at.
    explicit MonitorLines(const QPaintDevice *device);

    // The font to draw in; the lines are laid out again in it.
    void setFont(const QFont &font);

    // Sets line i (0 to MaxLines - 1) to label, figure and unit, written one after another.
    // Gives the area to repaint: where the glyphs from the first character that changed on
    // draw, now and before; empty when the text stays as it was.
    QRect setLine(int i, QStringView label, QStringView figure, QStringView unit);
    QString text(int i) const { return m_lines.at(size_t(i)).text; }
    // Where line i stands, as wide as its text with a pixel of room for antialiased edges.
    QRect rect(int i) const;
    // The width of the widest of the first count lines, pixels.
    qreal widest(int count) const;

    // Draws, of the first count lines, the glyphs that reach into area: a repaint of one
    // changed figure draws that figure's glyphs, not the lines around it.
    void paint(QPainter &painter, const QRect &area, int count) const;

private:
    struct Line {
        QString text;
        QList<GlyphAdvances::Glyph> glyphs;
        // Apart, for drawing runs straight from them: the glyph indexes and where each glyph
        // starts on the baseline.
        QList<quint32> indexes;
        QList<QPointF> positions;
        // Where each glyph draws, and the whole line, from the line's start on the baseline.
        QList<QRectF> inks;
        QRectF ink;
        qreal width = 0;
    };

    void layOut(Line &line);
    // Where the glyphs of line i from glyph first on draw, in whole pixels.
    QRect inkFrom(int i, qsizetype first) const;
    qreal baseline(int i) const;
    qreal lineHeight() const;
    QFont drawingFont() const;

    const QPaintDevice *m_device;
    QFont m_font;
    std::array<Line, MaxLines> m_lines;
    GlyphAdvances m_glyphs; // made when a line is first laid out in the font
    qreal m_ascent = 0;     // of that font
    mutable std::optional<qreal> m_lineHeight;
    mutable QGlyphRun m_run; // a view of part of a line while it is drawn
};
