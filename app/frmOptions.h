#pragma once

#include "Form.h"

#include <QLocale>
#include <QStringView>
#include <array>
#include <optional>

class Label;
class TextBox;
class ZoButton;
class frmMain;

// The options dialog, opened modally by the monitor's Options button, a new one each time. It
// shows the program's description, version and copyright, edits the monitor's sampling period
// and switches its always-on-top state. It keeps nothing of its own: it reads the monitor's
// values when it loads, writes the on-top state at once on every click of its switch, and the
// period when the user leaves with Return. Escape leaves without changing the period.
class frmOptions : public Form {
    Q_OBJECT
public:
    // Loads the dialog's design from its form file; monitor is the window it edits.
    explicit frmOptions(frmMain &monitor, QWidget *parent = nullptr);

    TextBox *txtInterval() const { return m_txtInterval; }
    ZoButton *cmdAction(int Index) const { return m_cmdAction.at(size_t(Index)); }
    Label *lblVersion() const { return m_lblVersion; }
    Label *lblCopyright() const { return m_lblCopyright; }

    // The period that Return takes from a text: a number as the locale writes it, or as C
    // writes it when the locale cannot read it, rounded to the nearest whole millisecond (a
    // half to the even one), from 0 to 65535. Anything else gives none, and the text is shown
    // in red: colouring and Return both ask this.
    static std::optional<qint32> periodFrom(QStringView text, const QLocale &locale);

    // --- Event handlers ---

    // Load, in order: the version line, the copyright line, the monitor's period, its
    // on-top state.
    void Form_Load();
    // Black text while it is a period Return can take, pure red otherwise.
    void txtInterval_Change();
    // 0 On top: the monitor follows the switch at once. 1 Return: applies the period, unloads.
    void cmdAction_Click(int Index);

private:
    frmMain &m_monitor;
    TextBox *m_txtInterval = nullptr;
    Label *m_lblVersion = nullptr;
    Label *m_lblCopyright = nullptr;
    std::array<ZoButton *, 2> m_cmdAction{};
};
