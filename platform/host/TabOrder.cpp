#include "TabOrder.h"

#include "Form.h"
#include "UserControl.h"

#include <algorithm>

namespace {
// The widget that really holds focus for a control: a compound control hands it on.
QWidget *focusTarget(UserControl *control)
{
    QWidget *w = control;
    while (w->focusProxy())
        w = w->focusProxy();
    return w;
}
} // namespace

void applyTabOrder(Form &form)
{
    QList<UserControl *> ordered;
    for (UserControl *c : form.controls()) {
        if (c->TabIndex() >= 0 && (focusTarget(c)->focusPolicy() & Qt::TabFocus))
            ordered.append(c);
    }
    std::stable_sort(
        ordered.begin(), ordered.end(),
        [](const UserControl *a, const UserControl *b) { return a->TabIndex() < b->TabIndex(); });
    for (qsizetype i = 1; i < ordered.size(); ++i)
        QWidget::setTabOrder(focusTarget(ordered.at(i - 1)), focusTarget(ordered.at(i)));
}
