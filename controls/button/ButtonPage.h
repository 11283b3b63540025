#pragma once

#include <QList>
#include <QObject>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;

// The push-button's own property page, "Button", 5925 x 3495 twips: Value, Switch, Alignment,
// DELTA, Caption, MousePointer and ToolTipText of the button. It reaches the button only
// through these public properties, by name, so every write runs the button's setter with its
// redraw and PropertyChanged; of several selected controls only the first is read and written.
//
// The host hands the page the selection, then calls SelectionChanged to load the fields and
// ApplyChanges to write them back. Editing any field sets Changed, which enables the host's
// Apply; the host clears it after applying. Loading neither clears nor guards Changed: a field
// the load changes marks the page changed, as an edit would.
class ButtonPage : public QWidget {
    Q_OBJECT
public:
    explicit ButtonPage(QWidget *parent = nullptr);

    QList<QObject *> SelectedControls() const { return m_selectedControls; }
    void setSelectedControls(const QList<QObject *> &controls) { m_selectedControls = controls; }
    bool Changed() const { return m_changed; }
    void setChanged(bool changed);

    // Loads every field from the first selected control.
    void SelectionChanged();
    // Writes every field to the first selected control: Value and Switch as checked (a greyed
    // box is false), Alignment and DELTA as 16-bit numbers, Caption through ConvertCaption, the
    // pointer shape of the chosen entry, ToolTipText. Both numbers are checked before anything
    // is written: text that is not a 16-bit whole number throws HostError (TypeMismatch or
    // Overflow) naming the field, and the control stays as it was.
    void ApplyChanges();

    // Every "^" becomes a carriage return, so a caption of several lines can be typed into the
    // one-line field; the length stays the same.
    static QString ConvertCaption(const QString &text);

signals:
    void ChangedChanged(bool changed);

private:
    QObject *firstSelected() const;
    // Selects the entry of the pointer shape; a shape the list does not hold selects
    // "99 - Custom".
    void SetPointerIndex(int pointer);
    void markChanged() { setChanged(true); }

    QLineEdit *txtCaption;
    QLineEdit *txtDelta;
    QLineEdit *txtAlignment;
    QComboBox *cboMouse;
    QLineEdit *txtToolTopText;
    QCheckBox *chkSwitch;
    QCheckBox *chkValue;

    QList<QObject *> m_selectedControls;
    bool m_changed = false;
};
