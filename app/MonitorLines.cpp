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
    const QRect before = line.text.isEmpty() ? QRect() : rect(i);
    const qreal changedFrom = same < line.starts.size() ? line.starts[same] : line.width;
    line.text.resize(0);
    line.text.append(label).append(figure).append(unit);
    layOut(line);
    // A glyph may reach a pixel to the left of where it starts.
    QRect changed = before | rect(i);
    changed.setLeft(std::max(changed.left(), int(changedFrom) - 1));
    return changed;
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

void MonitorLines::paint(QPainter &painter, const QRect &area, int count) const
{
    if (count == 0)
        return;
    const qreal height = lineHeight();
    const qreal ascent = m_glyphs.font().ascent();
    for (int i = 0; i < count; ++i) {
        if (!area.intersects(rect(i)))
            continue;
        for (const QGlyphRun &run : m_lines[size_t(i)].runs)
            painter.drawGlyphRun(QPointF(0, i * height + ascent), run);
    }
}

// The glyphs of the font's own character map, with its kerning; a run of its own for each
// fallback font a character needs.
void MonitorLines::layOut(Line &line)
{
    if (!m_glyphs.font().isValid())
        m_glyphs = GlyphAdvances(QRawFont::fromFont(drawingFont()), m_font);
    QList<quint32> glyphs;
    QList<qreal> advances;
    QList<int> fonts;
    m_glyphs.layOut(line.text, glyphs, advances, &fonts);
    line.runs.clear();
    line.starts.clear();
    QList<quint32> runGlyphs;
    QList<QPointF> runPositions;
    const auto endRun = [&](int font) {
        if (runGlyphs.isEmpty())
            return;
        QGlyphRun run;
        run.setRawFont(m_glyphs.font(font));
        run.setGlyphIndexes(runGlyphs);
        run.setPositions(runPositions);
        line.runs.append(run);
        runGlyphs.clear();
        runPositions.clear();
    };
    qreal x = 0;
    for (qsizetype g = 0; g < glyphs.size(); ++g) {
        if (g > 0 && fonts[g] != fonts[g - 1])
            endRun(fonts[g - 1]);
        const qreal at = std::round(x * 4) / 4;
        runGlyphs.append(glyphs[g]);
        runPositions.append(QPointF(at, 0));
        line.starts.append(at);
        x += advances[g];
    }
    if (!glyphs.isEmpty())
        endRun(fonts.last());
    line.width = x;
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
