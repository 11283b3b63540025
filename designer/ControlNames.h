#pragma once

#include <QList>
#include <QString>

// A control as a form tells it apart: its name and, for a member of a control array, its index
// (-1 for a control that stands alone). Names compare without regard to case.
struct ControlName {
    QString name;
    int index = -1;

    // As the control's object name reads: "cmdAction(0)", or the name alone.
    QString key() const;
    bool operator==(const ControlName &other) const;
};

// The rules that keep every control of a form apart, for pasting and for renaming.
namespace ControlNames {
// The highest index a control array takes.
inline constexpr int MaxIndex = 32767;

// A name starts with a letter, holds letters, digits and underscores, and has at most 40
// characters.
bool isValidName(const QString &name);

// Names for controls pasted, in order, into a form that holds `taken`. A control whose name
// and index are free keeps them. A member of an array that the form already holds gets the
// array's next free index, so arrays stay whole. Any other control whose name is taken gets
// its name's stem numbered from 1, the first that is free ("Label1" becomes "Label2",
// "timMeasure" "timMeasure1").
QList<ControlName> forPaste(QList<ControlName> taken, const QList<ControlName> &pasted);

// Why the control `from` cannot become `to` among the form's `others` (every other control),
// or an empty text when it can. A member of an array is renamed with its whole array, so
// only controls outside the array count against a new name.
QString refusal(const QList<ControlName> &others, const ControlName &from, const ControlName &to);
} // namespace ControlNames
