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
#include <QPainter>
#include <algorithm>
#include <utility>

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
    m_lines.setFont(font());
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
    if (WindowState() == FormWindowState::Minimized)
        return;
    // A damaged form file could hold no minimum height; the text then keeps its size.
    ZoButton *exit = m_cmdAction[0];
    exit->Move(ScaleWidth() - exit->Width(), 0, exit->Width(), ScaleHeight() / 2);
    m_cmdAction[1]->Move(exit->Left(), ScaleHeight() / 2, exit->Width(), exit->Height());
    const qint32 minHeight = m_zopFormPos->MinHeight();
    if (minHeight > 0)
        setFontSize(fittedFontSize(float(Height()) * 10.0f / float(minHeight)));
}

// The size the height asks for, or the largest at which the longest line still ends left of
// the buttons. Fitted again only when the height, the room or a line's length changes: digits
// are as wide as one another, so a new figure of the same length fits as the last one did.
float frmMain::fittedFontSize(float points)
{
    Fit wanted;
    wanted.points = points;
    wanted.room = m_cmdAction[0]->geometry().left() - clientRect().left() - 2;
    for (int i = 0; i < m_lineCount; ++i)
        wanted.lengths[size_t(i)] = line(i).size();
    if (wanted == m_fit)
        return m_fit.fitted;
    // Widths follow the size nearly in proportion; hinting may make a size a little wider.
    float size = points;
    for (int attempt = 0; attempt < 8 && m_lineCount > 0; ++attempt) {
        setFontSize(size);
        const qreal widest = m_lines.widest(m_lineCount);
        if (widest <= wanted.room || size <= 1)
            break;
        size = std::max(1.0f, float(size * std::max(0, wanted.room) / widest) - 0.05f);
    }
    wanted.fitted = size;
    m_fit = wanted;
    return size;
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
    DrawLine(QStringLiteral("Total="), NumberFormat::grouped(double(total) / 1000, m_grouping),
             QStringLiteral("kb"));
    DrawLine(QStringLiteral("Aval="), NumberFormat::grouped(double(available) / 1000, m_grouping),
             QStringLiteral("kb"));
    if (total != 0) {
        const double used = (double(total) - double(available)) / double(total) * 100;
        DrawLine(QStringLiteral("Used="), NumberFormat::oneDecimal(used, m_locale),
                 QStringLiteral("%"));
    }
    EraseLinesNotDrawn();
    // Painted and sent within the tick: an update posted for later would wake the event loop
    // a second time.
    repaint(std::exchange(m_changed, QRegion()));
    if (QAccessible::isActive())
        MonitorAccessible::linesDrawn(*this);
}

void frmMain::setLocale(const QLocale &locale)
{
    m_locale = locale;
    m_grouping = NumberFormat::Grouping::of(locale);
    m_sample.reset();
}

void frmMain::Clear()
{
    m_shownCount = std::max(m_shownCount, m_lineCount);
    m_lineCount = 0;
}

QString frmMain::line(int i) const
{
    return m_lines.text(i);
}

void frmMain::DrawLine(const QString &label, const QString &figure, const QString &unit)
{
    if (m_lineCount == MonitorLines::MaxLines)
        return;
    const int i = m_lineCount++;
    QRect changed = m_lines.setLine(i, label, figure, unit);
    if (changed.isEmpty()) {
        if (i < m_shownCount)
            return;
        changed = m_lines.rect(i); // the same text as before it was erased
    }
    m_changed += changed.translated(clientRect().topLeft()) & clientRect();
}

// A tick that draws fewer lines than the last (no total any more) clears the rest.
void frmMain::EraseLinesNotDrawn()
{
    for (int i = m_lineCount; i < m_shownCount; ++i)
        m_changed += lineRect(i);
    m_shownCount = m_lineCount;
}

QRect frmMain::lineRect(int i) const
{
    const QRect client = clientRect();
    return m_lines.rect(i).translated(client.topLeft()) & client;
}

// A new font lays the lines out again; Form has already asked for the whole window.
void frmMain::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        m_lines.setFont(font());
    Form::changeEvent(event);
}

void frmMain::paintContents(QPainter &painter, const QRect &area)
{
    painter.setPen(ForeColor().toQColor(palette()));
    m_lines.paint(painter, area, m_lineCount);
}
