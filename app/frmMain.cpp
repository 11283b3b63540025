#include "frmMain.h"

#include "AppInfo.h"
#include "DesignedControl.h"
#include "FormFile.h"
#include "KelvoControls.h"
#include "MemoryStatus.h"
#include "NumberFormat.h"
#include "SettingsStore.h"
#include "TextConvert.h"
#include "Timer.h"
#include "button/ZoButton.h"
#include "formhelpers/ZoFormPos.h"
#include "formhelpers/ZoOnTop.h"
#include "frmOptions.h"

#include <QFontMetricsF>
#include <QPainter>

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

    FormFile::load(*this, FormFileName, kelvoControls());
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
}

void frmMain::Clear()
{
    m_lineCount = 0;
    update();
}

void frmMain::DrawLine(const QString &label, const QString &figure, const QString &unit)
{
    if (m_lineCount == int(m_lines.size()))
        return;
    QString &text = m_lines[size_t(m_lineCount++)];
    text.clear();
    text.append(label).append(figure).append(unit);
    update();
}

void frmMain::paintContents(QPainter &painter)
{
    painter.setFont(font());
    painter.setPen(ForeColor().toQColor(palette()));
    const QFontMetricsF metrics(font(), this);
    qreal y = 0;
    for (int i = 0; i < m_lineCount; ++i) {
        painter.drawText(QPointF(0, y + metrics.ascent()), m_lines[size_t(i)]);
        y += metrics.height();
    }
}
