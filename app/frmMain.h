#pragma once

#include "Form.h"

#include <QLocale>
#include <QString>
#include <array>

class MemoryStatusSource;
class Timer;

// The monitor window. Every tick of timMeasure samples total and available physical memory
// and draws three lines, "Total=", "Aval=" and "Used=", one below the other. The window keeps
// the lines of the last tick so that painting can draw them again.
class frmMain : public Form {
    Q_OBJECT
public:
    // Loads the window's design from its form file; memory is where the ticks sample from.
    explicit frmMain(MemoryStatusSource &memory, QWidget *parent = nullptr);

    Timer *timMeasure() const { return m_timMeasure; }

    // The sampling tick: sample, clear, then draw the lines.
    void timMeasure_Timer();

    // The drawing surface: Clear forgets the lines and goes back to the top; DrawLine adds
    // label, figure and unit as one line below the previous one.
    void Clear();
    void DrawLine(const QString &label, const QString &figure, const QString &unit);
    int lineCount() const { return m_lineCount; }
    QString line(int i) const { return m_lines.at(size_t(i)); }

    // The locale whose separators the figures use (the user's, unless a test says otherwise).
    void setLocale(const QLocale &locale) { m_locale = locale; }

protected:
    void paintContents(QPainter &painter) override;

private:
    void ReadMemoryStatus(qint64 &total, qint64 &available);

    MemoryStatusSource &m_memory;
    Timer *m_timMeasure = nullptr;
    QLocale m_locale = QLocale::system();
    std::array<QString, 3> m_lines;
    int m_lineCount = 0;
};
