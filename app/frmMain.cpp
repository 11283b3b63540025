#include "frmMain.h"

#include "AppInfo.h"
#include "DesignedControl.h"
#include "FormFile.h"
#include "KelvoControls.h"
#include "MemoryStatus.h"
#include "MonitorAccessible.h"
#include "NumberFormat.h"
#include "SettingsStore.h"
#include "TextConvert.h"
#include "Timer.h"
#include "button/ZoButton.h"
#include "formhelpers/ZoFormPos.h"
#include "formhelpers/ZoOnTop.h"
#include "frmOptions.h"

#include <QAccessible>
#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
const QString FormFileName = QStringLiteral(":/forms/frmMain.json");
const QString OnTopKey = QStringLiteral("OnTop");
} // namespace

frmMain::frmMain(MemoryStatusSource &memory, QWidget *parent)
    : Form(QStringLiteral("frmMain"), parent)
    , m_memory(memory)
{
    // The window's own handlers run before those its controls connect while loading.
    connect(this, &Form::Load, this, &frmMain::Form_Load);
    connect(this, &Form::Unload, this, &frmMain::Form_Unload);
    connect(this, &Form::MouseMove, this, &frmMain::Form_MouseMove);
    connect(this, &Form::Paint, this, &frmMain::Layout);
    connect(this, &Form::Resize, this, &frmMain::Layout);

    MonitorAccessible::install();
    FormFile::load(*this, FormFileName, kelvoControls());
    // Window lists and assistive technologies name the window; without a caption there is no
    // title bar for it to show in.
    setWindowTitle(QLatin1String(App::Title));
    m_timMeasure = designedControl<Timer>(*this, FormFileName, QStringLiteral("timMeasure"));
    m_zopOnTop = designedControl<ZoOnTop>(*this, FormFileName, QStringLiteral("zopOnTop"));
    m_zopFormPos = designedControl<ZoFormPos>(*this, FormFileName, QStringLiteral("zopFormPos"));
    for (int i = 0; i < int(m_cmdAction.size()); ++i) {
        m_cmdAction[size_t(i)] =
            designedControl<ZoButton>(*this, FormFileName, QStringLiteral("cmdAction"), i);
        connect(m_cmdAction[size_t(i)], &ZoButton::Click, this, [this, i] { cmdAction_Click(i); });
    }
    connect(m_timMeasure, &Timer::Tick, this, &frmMain::timMeasure_Timer);
}

void frmMain::Form_Load()
{
    const QString text = GetSetting(App::Title, Name(), OnTopKey, TextConvert::fromBoolean(true));
    m_zopOnTop->setOnTop(TextConvert::toBoolean(text).value_or(true));
}

void frmMain::Form_Unload()
{
    SaveSetting(App::Title, Name(), OnTopKey, TextConvert::fromBoolean(m_zopOnTop->OnTop()));
}

void frmMain::Form_MouseMove(qint16 Button, qint16 Shift, float X, float Y)
{
    Q_UNUSED(Shift)
    Q_UNUSED(X)
    Q_UNUSED(Y)
    if (Button == 1)
        DragWindow();
}

void frmMain::cmdAction_Click(int Index)
{
    switch (Index) {
    case 0:
        unload();
        break;
    case 1: {
        // A new dialog for every opening, so it always shows the current values.
        frmOptions dialog(*this);
        dialog.ShowModal();
        break;
    }
    default:
        break;
    }
}

void frmMain::Layout()
{
    if (WindowState() == 1)
        return;
    // A damaged form file could hold no minimum height; the text then keeps its size.
    const qint32 minHeight = m_zopFormPos->MinHeight();
    if (minHeight > 0)
        setFontSize(float(Height()) * 10.0f / float(minHeight));
    ZoButton *exit = m_cmdAction[0];
    exit->Move(ScaleWidth() - exit->Width(), 0, exit->Width(), ScaleHeight() / 2);
    m_cmdAction[1]->Move(exit->Left(), ScaleHeight() / 2, exit->Width(), exit->Height());
}

void frmMain::setFontSize(float points)
{
    if (Font()->Size == points)
        return;
    FontObject resized = *Font();
    resized.Size = points;
    setFont(makeFont(resized));
}

void frmMain::ReadMemoryStatus(qint64 &total, qint64 &available)
{
    const MemorySample sample = m_memory.read();
    total = sample.total;
    available = sample.available;
}

void frmMain::timMeasure_Timer()
{
    qint64 total = 0;
    qint64 available = 0;
    ReadMemoryStatus(total, available);
    // Most ticks at rest sample what the last one did: nothing to format or repaint.
    if (m_sample && m_sample->total == total && m_sample->available == available)
        return;
    m_sample = MemorySample{total, available};
    Clear();
    DrawLine(QStringLiteral("Total="), NumberFormat::grouped(double(total) / 1000, m_locale),
             QStringLiteral("kb"));
    DrawLine(QStringLiteral("Aval="), NumberFormat::grouped(double(available) / 1000, m_locale),
             QStringLiteral("kb"));
    if (total != 0) {
        const double used = (double(total) - double(available)) / double(total) * 100;
        DrawLine(QStringLiteral("Used="), NumberFormat::oneDecimal(used, m_locale),
                 QStringLiteral("%"));
    }
    EraseLinesNotDrawn();
    if (QAccessible::isActive())
        MonitorAccessible::linesDrawn(*this);
}

void frmMain::setLocale(const QLocale &locale)
{
    m_locale = locale;
    m_sample.reset();
}

void frmMain::Clear()
{
    m_shownCount = std::max(m_shownCount, m_lineCount);
    m_lineCount = 0;
}

QString frmMain::line(int i) const
{
    return m_lines.at(size_t(i)).text;
}

void frmMain::DrawLine(const QString &label, const QString &figure, const QString &unit)
{
    if (m_lineCount == int(m_lines.size()))
        return;
    const int i = m_lineCount++;
    ShownLine &line = m_lines[size_t(i)];
    const bool shown = i < m_shownCount;
    const qsizetype length = label.size() + figure.size() + unit.size();
    // How much of the line stays as it is; compared in place, so an unchanged line costs
    // nothing more.
    qsizetype same = 0;
    if (shown) {
        const QStringView parts[] = {label, figure, unit};
        for (const QStringView part : parts) {
            qsizetype k = 0;
            while (k < part.size() && same < line.text.size() && line.text[same] == part[k])
                ++k, ++same;
            if (k < part.size())
                break;
        }
        if (same == length && line.text.size() == length)
            return;
    }
    const QRect before = shown ? lineRect(i) : QRect();
    const qreal changedFrom = shown ? xOf(line, same) : 0;
    line.text = label + figure + unit;
    layOut(line);
    // Only from the first character that changed on; a glyph may reach a pixel to the left.
    QRect changed = before | lineRect(i);
    changed.setLeft(std::max(changed.left(), clientRect().left() + int(changedFrom) - 1));
    update(changed);
}

// A tick that draws fewer lines than the last (no total any more) clears the rest.
void frmMain::EraseLinesNotDrawn()
{
    for (int i = m_lineCount; i < m_shownCount; ++i)
        update(lineRect(i));
    m_shownCount = m_lineCount;
}

// The line's glyphs straight from the font's character map, with the font's own kerning: no
// text shaping. Glyphs stand on quarter pixels, which the eye cannot tell from exact places:
// each glyph is then rasterised in at most four ways, once, instead of anew for every fraction
// of a pixel a new figure puts it on.
void frmMain::layOut(ShownLine &line)
{
    if (!m_glyphs.font().isValid())
        m_glyphs = GlyphAdvances(QRawFont::fromFont(lineFont()));
    QList<quint32> glyphs;
    QList<qreal> advances;
    m_glyphs.layOut(line.text, glyphs, advances);
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    qreal x = 0;
    for (const qreal advance : advances) {
        positions.append(QPointF(std::round(x * 4) / 4, 0));
        x += advance;
    }
    line.run.setRawFont(m_glyphs.font());
    line.run.setGlyphIndexes(glyphs);
    line.run.setPositions(positions);
    line.width = x;
}

// Where the line's character `end` starts.
qreal frmMain::xOf(const ShownLine &line, qsizetype end) const
{
    const QList<QPointF> positions = line.run.positions();
    return end < positions.size() ? positions[end].x() : line.width;
}

QRect frmMain::lineRect(int i) const
{
    return lineRect(i, m_lines.at(size_t(i)).width);
}

// A pixel of room around the text's box takes in antialiased edges.
QRect frmMain::lineRect(int i, qreal width) const
{
    const QRect client = clientRect();
    const qreal height = lineHeight();
    const QRectF line(0, i * height, width, height);
    return line.toAlignedRect().adjusted(0, -1, 2, 1).translated(client.topLeft()) & client;
}

// A new font lays the lines out again; Form has already asked for the whole window.
void frmMain::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        m_lineHeight.reset();
        m_glyphs = GlyphAdvances();
        for (int i = 0; i < m_lineCount; ++i)
            layOut(m_lines[size_t(i)]);
    }
    Form::changeEvent(event);
}

void frmMain::paintContents(QPainter &painter, const QRect &area)
{
    painter.setPen(ForeColor().toQColor(palette()));
    const QPoint client = clientRect().topLeft();
    const qreal height = lineHeight();
    const qreal ascent = m_glyphs.font().ascent();
    for (int i = 0; i < m_lineCount; ++i) {
        if (area.intersects(lineRect(i).translated(-client)))
            painter.drawGlyphRun(QPointF(0, i * height + ascent), m_lines[size_t(i)].run);
    }
}

// The window's font without other fonts merged in for missing characters: the lines are drawn
// from the font's own glyphs only, and Qt then need not ask the system for the fallback fonts.
QFont frmMain::lineFont() const
{
    QFont primary = font();
    primary.setStyleStrategy(QFont::StyleStrategy(primary.styleStrategy() | QFont::NoFontMerging));
    return primary;
}

// Asked of the font only once there are lines to place, so that the window maps without
// waiting for the font database; then kept until the font changes.
qreal frmMain::lineHeight() const
{
    if (!m_lineHeight)
        m_lineHeight = QFontMetricsF(lineFont(), this).height();
    return *m_lineHeight;
}
