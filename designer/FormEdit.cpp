#include "FormEdit.h"

#include <utility>

FormEdit::FormEdit(const QString &description, FormState before, FormState after, Show show)
    : QUndoCommand(description)
    , m_before(std::move(before))
    , m_after(std::move(after))
    , m_show(std::move(show))
{
}

void FormEdit::undo()
{
    m_show(m_before);
}

void FormEdit::redo()
{
    if (std::exchange(m_made, false))
        return;
    m_show(m_after);
}
