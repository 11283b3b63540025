#pragma once

#include <QByteArray>
#include <QStringList>
#include <QUndoCommand>
#include <functional>

// The form at one moment: its file text and the keys of the selected controls.
struct FormState {
    QByteArray text;
    QStringList selection;
};

// One edit of the form, of whatever kind, as the undo stack keeps it: the form before and after.
// Undo and redo put the whole form back as it was, selection included, through `show`. The edit
// is already made when it is pushed, so the first redo does nothing.
class FormEdit : public QUndoCommand {
public:
    using Show = std::function<void(const FormState &)>;

    FormEdit(const QString &description, FormState before, FormState after, Show show);

    void undo() override;
    void redo() override;

private:
    FormState m_before;
    FormState m_after;
    Show m_show;
    bool m_made = true;
};
