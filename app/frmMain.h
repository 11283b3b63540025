#pragma once

#include "Form.h"
#include "MemoryStatus.h"
#include "MonitorLines.h"
#include "NumberFormat.h"

#include <QLocale>
#include <QRegion>
#include <QString>
#include <array>
#include <optional>

class Timer;
class ZoButton;
class ZoFormPos;
class ZoOnTop;

// The monitor window. Every tick of timMeasure samples total and available physical memory
// and draws three lines, "Total=", "Aval=" and "Used=", one below the other. The window keeps
// the lines of the last tick so that painting can draw them again.
//
// It has no title bar: dragging the client area with the left button moves it, its thin frame
// resizes it, and the text follows the window's height. Two buttons stacked at the right edge
// end the program (Exit, cmdAction 0) and open the options dialog (Options, cmdAction 1). The
// on-top state is kept in the settings store under "frmMain", "OnTop"; zopFormPos keeps the
// placement.
class frmMain : public Form {
    Q_OBJECT
public:
    // Loads the window's design from its form file; memory is where the ticks sample from.
    explicit frmMain(MemoryStatusSource &memory, QWidget *parent = nullptr);

    Timer *timMeasure() const { return m_timMeasure; }
    ZoOnTop *zopOnTop() const { return m_zopOnTop; }
    ZoFormPos *zopFormPos() const { return m_zopFormPos; }
    ZoButton *cmdAction(int Index) const { return m_cmdAction.at(size_t(Index)); }

    // --- Event handlers ---

    // Load: the on-top state from the settings store, True when missing or unreadable.
    void Form_Load();
    // Unload: the on-top state back to the store, as True or False.
    void Form_Unload();
    // A left-button drag over the client area moves the window.
    void Form_MouseMove(qint16 Button, qint16 Shift, float X, float Y);
    // 0 Exit unloads the window; 1 Options shows a new options dialog modally.
    void cmdAction_Click(int Index);
    // The sampling tick: sample, clear, then draw the lines.
    void timMeasure_Timer();

    // Sizes the text to the window's height (10 points at the design height MinHeight), but
    // never so large that the longest line runs under the buttons, and stacks the buttons at
    // the right edge, each half the client height; nothing while minimised. Runs at every
    // paint and after every size change.
    void Layout();

    // The drawing surface: Clear goes back to the top line; DrawLine sets label, figure and
    // unit as one line below the previous one. The window keeps the lines it shows and, at
    // the end of the tick, repaints only what changed in a line, and the lines the tick no
    // longer draws.
    void Clear();
    void DrawLine(const QString &label, const QString &figure, const QString &unit);
    int lineCount() const { return m_lineCount; }
    QString line(int i) const;
    // Where line i stands in the window, pixels, as wide as its text.
    QRect lineRect(int i) const;

    // The locale whose grouping and separators the figures use (the user's, unless a test
    // says otherwise).
    void setLocale(const QLocale &locale);

protected:
    void paintContents(QPainter &painter, const QRect &area) override;
    void changeEvent(QEvent *event) override;

private:
    void ReadMemoryStatus(qint64 &total, qint64 &available);
    void setFontSize(float points);
    float fittedFontSize(float points);
    void EraseLinesNotDrawn();

    MemoryStatusSource &m_memory;
    Timer *m_timMeasure = nullptr;
    ZoOnTop *m_zopOnTop = nullptr;
    ZoFormPos *m_zopFormPos = nullptr;
    std::array<ZoButton *, 2> m_cmdAction{};
    QLocale m_locale = QLocale::system();
    NumberFormat::Grouping m_grouping = NumberFormat::Grouping::of(m_locale);
    // The last sample: the same one draws the same lines.
    std::optional<MemorySample> m_sample;
    MonitorLines m_lines{this};
    int m_lineCount = 0;  // drawn by the tick under way
    int m_shownCount = 0; // shown before it
    QRegion m_changed;    // what the tick has changed so far
    // What the last fit of the text to the width was made for, and what it gave.
    struct Fit {
        float points = 0;
        int room = 0;
        std::array<qsizetype, MonitorLines::MaxLines> lengths{};
        float fitted = 0;
        friend bool operator==(const Fit &a, const Fit &b)
        {
            return a.points == b.points && a.room == b.room && a.lengths == b.lengths;
        }
    };
    Fit m_fit;
};
