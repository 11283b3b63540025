#include "FormAccessible.h"

#include "AccessibleFactory.h"
#include "Form.h"
#include "UserControl.h"

FormAccessible::FormAccessible(Form *form)
    : QAccessibleWidget(form, QAccessible::Window)
{
}

void FormAccessible::install()
{
    installAccessibleFactory<accessibleFor<Form, FormAccessible>>();
}

Form *FormAccessible::form() const
{
    return static_cast<Form *>(widget());
}

QAccessible::Role FormAccessible::role() const
{
    if (!form()->isWindow())
        return QAccessible::Client;
    return form()->BorderStyle() == FormBorderStyle::FixedDialog ? QAccessible::Dialog
                                                                 : QAccessible::Window;
}

QWidgetList FormAccessible::controls() const
{
    QWidgetList shown;
    for (QObject *child : form()->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (!widget || widget->isWindow())
            continue;
        auto *control = qobject_cast<UserControl *>(widget);
        if (control && control->InvisibleAtRunTime() && form()->userMode())
            continue;
        shown.append(widget);
    }
    return shown;
}

int FormAccessible::childCount() const
{
    return int(controls().size());
}

QAccessibleInterface *FormAccessible::child(int index) const
{
    return QAccessible::queryAccessibleInterface(controls().value(index));
}

int FormAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    return int(controls().indexOf(qobject_cast<QWidget *>(child->object())));
}
