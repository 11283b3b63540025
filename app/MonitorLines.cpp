#include "MonitorLines.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

MonitorLines::MonitorLines(const QPaintDevice *device)
    : m_device(device)
{
}

void MonitorLines::setFont(const QFont &font)
{
    m_font = font;
    m_lineHeight.reset();
    m_glyphs = GlyphAdvances();
    for (Line &line : m_lines) {
        if (!line.text.isEmpty())
            layOut(line);
    }
}

QRect MonitorLines::setLine(int i, QStringView label, QStringView figure, QStringView unit)
{
    Line &line = m_lines.at(size_t(i));
    const qsizetype length = label.size() + figure.size() + unit.size();
    // How much of the line stays as it is; compared in place, so an unchanged line costs
    // nothing more.
    qsizetype same = 0;
    const QStringView parts[] = {label, figure, unit};
    for (const QStringView part : parts) {
        qsizetype k = 0;
        while (k < part.size() && same < line.text.size() && line.text[same] == part[k])
            ++k, ++same;
        if (k < part.size())
            break;
    }
    if (same == length && line.text.size() == length)
        return {};
    // The glyph the first changed character is drawn by: a surrogate pair is one glyph.
    const QStringView kept = QStringView(line.text).first(same);
    const qsizetype firstChanged =
        same - std::count_if(kept.begin(), kept.end(), [](QChar c) { return c.isLowSurrogate(); });
    const QRect before = inkFrom(i, firstChanged);
    line.text.resize(0);
    line.text.append(label).append(figure).append(unit);
    layOut(line);
    return before | inkFrom(i, firstChanged);
}

QRect MonitorLines::rect(int i) const
{
    const qreal height = lineHeight();
    const QRectF line(0, i * height, m_lines.at(size_t(i)).width, height);
    return line.toAlignedRect().adjusted(0, -1, 2, 1);
}

qreal MonitorLines::widest(int count) const
{
    qreal widest = 0;
    for (int i = 0; i < count; ++i)
        widest = std::max(widest, m_lines.at(size_t(i)).width);
    return widest;
}

QRect MonitorLines::inkFrom(int i, qsizetype first) const
{
    const Line &line = m_lines[size_t(i)];
    QRectF ink;
    for (qsizetype g = first; g < line.inks.size(); ++g)
        ink |= line.inks[g];
    return ink.translated(0, baseline(i)).toAlignedRect();
}

// Each stretch of glyphs in one font that reach into the area is drawn as one run, straight
// from the line's own arrays.
void MonitorLines::paint(QPainter &painter, const QRect &area, int count) const
{
    for (int i = 0; i < count; ++i) {
        const Line &line = m_lines[size_t(i)];
        const qreal base = baseline(i);
        const QRectF reach = QRectF(area).translated(0, -base);
        if (!line.ink.intersects(reach))
            continue;
        const qsizetype glyphs = line.glyphs.size();
        qsizetype from = -1;
        for (qsizetype g = 0; g <= glyphs; ++g) {
            const bool drawn = g < glyphs && line.inks[g].left() <= reach.right() &&
                               line.inks[g].right() >= reach.left();
            if (from >= 0 && (!drawn || line.glyphs[g].font != line.glyphs[from].font)) {
                m_run.setRawFont(m_glyphs.font(line.glyphs[from].font));
                m_run.setRawData(line.indexes.constData() + from, line.positions.constData() + from,
                                 int(g - from));
                painter.drawGlyphRun(QPointF(0, base), m_run);
                from = -1;
            }
            if (drawn && from < 0)
                from = g;
        }
    }
}

// The glyphs of the font's own character map, with its kerning, each starting on a quarter
// pixel; a character the font lacks comes from its fallback font.
void MonitorLines::layOut(Line &line)
{
    if (!m_glyphs.font().isValid()) {
        m_glyphs = GlyphAdvances(QRawFont::fromFont(drawingFont()), m_font);
        m_ascent = m_glyphs.font().ascent();
    }
    m_glyphs.layOut(line.text, line.glyphs);
    line.indexes.clear();
    line.positions.clear();
    line.inks.clear();
    line.ink = QRectF();
    qreal x = 0;
    for (const GlyphAdvances::Glyph &glyph : std::as_const(line.glyphs)) {
        const qreal start = std::round(x * 4) / 4;
        line.indexes.append(glyph.index);
        line.positions.append(QPointF(start, 0));
        // A pixel of room for antialiased edges.
        line.inks.append(glyph.ink.translated(start, 0).adjusted(-1, -1, 1, 1));
        line.ink |= line.inks.last();
        x += glyph.advance;
    }
    line.width = x;
}

qreal MonitorLines::baseline(int i) const
{
    return i * lineHeight() + m_ascent;
}

// The font without other fonts merged in: the lines take each glyph from it, or from a fallback
// font chosen once per character, and Qt need not look up fallback fonts for every layout.
QFont MonitorLines::drawingFont() const
{
    QFont primary = m_font;
    primary.setStyleStrategy(QFont::StyleStrategy(primary.styleStrategy() | QFont::NoFontMerging));
    return primary;
}

// Asked of the font only once there are lines to place, so that the window maps without
// waiting for the font database; then kept until the font changes.
qreal MonitorLines::lineHeight() const
{
    if (!m_lineHeight)
        m_lineHeight = QFontMetricsF(drawingFont(), m_device).height();
    return *m_lineHeight;
}
