#include "frmMain.h"

#include "FormFile.h"
#include "KelvoControls.h"
#include "MemoryStatus.h"
#include "NumberFormat.h"
#include "Timer.h"

#include <QFontMetricsF>
#include <QPainter>

frmMain::frmMain(MemoryStatusSource &memory, QWidget *parent)
    : Form(QStringLiteral("frmMain"), parent)
    , m_memory(memory)
{
    FormFile::load(*this, QStringLiteral(":/forms/frmMain.json"), kelvoControls());
    m_timMeasure = control<Timer>(QStringLiteral("timMeasure"));
    Q_ASSERT(m_timMeasure);
    connect(m_timMeasure, &Timer::Tick, this, &frmMain::timMeasure_Timer);
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
